#include "ui/win32/Win32Library.h"

namespace kest::ui::win32 {

HMODULE LoadSystemLibrary(const wchar_t* name) {
  DWORD oldMode = 0;
  const bool quiet =
      ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
  HMODULE library = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Systems without the search flags refuse them: the plain search then.
  if (!library && ::GetLastError() == ERROR_INVALID_PARAMETER) library = ::LoadLibraryW(name);
  if (quiet) ::SetThreadErrorMode(oldMode, nullptr);
  return library;
}

} // namespace kest::ui::win32
