// Keeping our windows alive while a system dialog (a message box, a file
// dialog) runs the thread's messages in a loop of its own.
#include "ui/windowing/Backend.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/win32/Win32ServicesInternal.h" // last: it brings windows.h

#include <utility>

namespace kest::ui::win32 {

namespace {
// The innermost dialog of this thread: a thread timer carries no data.
thread_local SystemDialogScope* tCurrent = nullptr;
thread_local SystemDialogScope* tOuter = nullptr;

bool IsInputMessage(std::uint32_t m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_KEYFIRST && m <= WM_KEYLAST);
}
} // namespace

SystemDialogScope::SystemDialogScope() {
  // A menu that holds the mouse lets go before the dialog takes over.
  if (const WindowHandle c = GetCaptureWnd()) SendMsg(c, WM_CANCELMODE);
  tOuter = tCurrent;
  tCurrent = this;
  fTimer = ::SetTimer(nullptr, 0, kModalIdleIntervalMs, &SystemDialogScope::Tick);
}

SystemDialogScope::~SystemDialogScope() {
  if (fTimer) ::KillTimer(nullptr, fTimer);
  tCurrent = tOuter;
  tOuter = nullptr;
}

void CALLBACK SystemDialogScope::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (tCurrent) tCurrent->KeepAlive();
}

void SystemDialogScope::KeepAlive() {
  // The dialog's loop may run our timer again while we dispatch.
  if (fInTick) return;
  fInTick = true;
  ++fTicks;
  // Nothing may unwind through the system's frames: errors wait for Finish.
  try {
    if (!fError) RunModalIdleIfDue(TickCount());
    Message m;
    int guard = 0; // a window that never validates must not hold us here
    while (++guard < 1000 && PeekMsg(m, 0, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) {
        PostQuitMsg(static_cast<int>(m.wParam)); // the outer loop's
        break;
      }
      // Clicks and keys for our windows would act behind the dialog's back.
      if (!IsInputMessage(m.message)) DispatchMsg(m);
    }
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
