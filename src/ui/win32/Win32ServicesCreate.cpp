// The services of the installed Win32 backend: owners are its native windows.
#include "ui/win32/Win32ServicesInternal.h" // last: it brings windows.h

namespace kest::ui::win32 {

// The backend's own (Win32Backend.h).
std::uint64_t NativeWindowId(WindowHandle h);

std::unique_ptr<Services> CreateServices() {
  return CreateServices([](WindowHandle h) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(NativeWindowId(h)));
  });
}

} // namespace kest::ui::win32
