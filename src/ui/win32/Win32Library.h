#pragma once
// windows.h as the backend's files take it (include it after our headers:
// its macros would rename our names), and loading the system's optional
// libraries when they are first needed.
#include "WindowsLast.h"

namespace kest::ui::win32 {

// A library of the system folder only (never one planted beside the host),
// without the system's error box when it is missing; null then.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a loaded library as its type; null when either is missing.
template <typename Fn> Fn SystemFunction(HMODULE library, const char* name) {
  return library ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)))
                 : nullptr;
}

} // namespace kest::ui::win32
