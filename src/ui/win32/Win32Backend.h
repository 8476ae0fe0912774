#pragma once
// The Win32 display backend. The headless backend stays the default; the
// module on Windows installs this one when its editor first opens. Nothing
// here exposes Windows types: native windows are plain integer ids (HWNDs).
#include <cstdint>
#include <memory>

#include "ui/windowing/Backend.h"

namespace kest::ui::win32 {

// The backend for the calling thread's windows; null when its window
// classes cannot be registered.
std::unique_ptr<Backend> Create();

// Installs the Win32 backend unless it already is the current one (every
// editor of the process shares it; installing drops all windows). False when
// it cannot be created; the current backend then stays.
bool Install();
bool Installed();

// A top-level window of the toolkit that stands for a foreign native window
// (the host's editor window): its native window is a child of that window
// covering its client area, it follows the host's window in size and place,
// and forms become its children. Destroying it leaves the foreign window
// alone; when the foreign window goes first, the toolkit windows stay until
// they are destroyed and nothing is drawn any more. 0 when the id is not a
// window or the Win32 backend is not installed.
WindowHandle WrapForeignWindow(std::uint64_t nativeWindow);

// The native window (HWND) of a toolkit top-level window (0: none yet, or gone).
std::uint64_t NativeWindowId(WindowHandle h);

// What a host's idle call runs: PumpPending on this backend (nothing when
// another backend is installed). The host's own loop delivers the native
// messages; only the toolkit's nested loops (menus) pump the thread's
// native queue themselves.
void Idle();

} // namespace kest::ui::win32
