// Keeping our windows alive while a system dialog (a message box, a file
// dialog) runs the thread's messages in a loop of its own.
#include "ui/windowing/Backend.h"
#include "ui/windowing/WindowSystem.h"

#include "ui/win32/Win32ServicesInternal.h" // last: it brings windows.h

#include <utility>

namespace kest::ui::win32 {

namespace {
// The innermost dialog of this thread: a thread timer carries no data.
thread_local SystemDialogScope* tCurrent = nullptr;
} // namespace

SystemDialogScope::SystemDialogScope() {
  // A menu that holds the mouse lets go before the dialog takes over.
  if (const WindowHandle c = GetCaptureWnd()) SendMsg(c, WM_CANCELMODE);
  fOuter = tCurrent;
  tCurrent = this;
  fTimer = ::SetTimer(nullptr, 0, kModalIdleIntervalMs, &SystemDialogScope::Tick);
}

SystemDialogScope::~SystemDialogScope() {
  if (fTimer) ::KillTimer(nullptr, fTimer);
  tCurrent = fOuter;
}

void CALLBACK SystemDialogScope::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (tCurrent) tCurrent->KeepAlive();
}

void SystemDialogScope::KeepAlive() {
  // The dialog's loop may run our timer again while we dispatch.
  if (fInTick) return;
  fInTick = true;
  // Nothing may unwind through the system's frames: errors wait for Finish.
  try {
    if (!fError) RunModalIdleIfDue(TickCount());
    DispatchAllButInput();
    CurrentBackend().Flush();
  } catch (...) {
    if (!fError) fError = std::current_exception();
  }
  fInTick = false;
}

void SystemDialogScope::Finish() {
  if (fTimer) ::KillTimer(nullptr, fTimer);
  fTimer = 0;
  if (fError) std::rethrow_exception(std::exchange(fError, nullptr));
}

} // namespace kest::ui::win32
