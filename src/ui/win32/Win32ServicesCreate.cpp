// The services of the installed Win32 backend: owners are its native windows.
#include "ui/win32/Win32Backend.h"

#include "ui/win32/Win32ServicesInternal.h" // last: it brings windows.h

namespace kest::ui::win32 {

std::unique_ptr<Services> CreateServices() {
  return CreateServices([](WindowHandle h) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(NativeWindowId(h)));
  });
}

} // namespace kest::ui::win32
