// The native mouse capture and keyboard focus for the window system's. A
// capture that outlives a button press (a menu running its own loop) must
// hear the mouse everywhere, which only the native capture gives; the
// system taking it away (another window's capture, the application losing
// activation, a cancel-mode message) cancels ours, so that a menu never
// stays open with no way to close it. A click our capture took from another
// window, and that none of ours wanted after all (it closed the menu), is
// handed back to that window.
#include "ui/win32/Win32Internal.h" // last: windows.h

namespace kest::ui::win32 {

bool Win32Backend::CaptureWantsKeyboard() const {
  // Menus' windows (popups that never take the focus, or no native window
  // at all) hear the thread's keys while they hold the capture; a drag on
  // the editor leaves the keys where they are.
  const auto it = fWindows.find(GetRootWindow(fCaptured));
  return it == fWindows.end() || it->second.popup;
}

void Win32Backend::ReleaseNativeCapture() {
  if (fCaptureHwnd && ::GetCapture() == fCaptureHwnd) {
    fSettingCapture = true;
    ::ReleaseCapture();
    fSettingCapture = false;
  }
  fCaptured = 0;
  fCaptureHwnd = nullptr;
}

void Win32Backend::CaptureLost() {
  ReleaseNativeCapture();
  fCaptureFailed = GetCaptureWnd();
  InputCancelMode();
}

void Win32Backend::SyncCapture() {
  const WindowHandle capture = GetCaptureWnd();
  if (!capture) {
    ReleaseNativeCapture();
    fCaptureFailed = 0;
    return;
  }
  if (capture == fCaptured || capture == fCaptureFailed) return;
  fCaptureFailed = 0;
  // The native window that holds ours; our helper for a window with none.
  HWND target = HwndOf(GetRootWindow(capture));
  if (!target) target = fHelper;
  fSettingCapture = true;
  ::SetCapture(target);
  fSettingCapture = false;
  fCaptured = capture;
  fCaptureHwnd = target;
  if (::GetCapture() != target) {
    CaptureLost();
    return;
  }
  ::SetCursor(CursorHandle());
}

void Win32Backend::SyncFocus() {
  // The keyboard: our own top-level windows take it with their focus;
  // inside a host's window only while a child control (the inline edit)
  // has the focus, so that the host keeps its shortcuts otherwise.
  const WindowHandle focus = GetFocusWnd();
  if (focus == fFocusWnd) return;
  fFocusWnd = focus;
  const WindowHandle root = focus ? GetRootWindow(focus) : 0;
  const auto it = fWindows.find(root);
  const bool known = it != fWindows.end() && !it->second.gone && it->second.hwnd;
  bool want = known && !it->second.popup;
  if (want && it->second.foreignParent) {
    const WindowHandle parent = GetParent(focus);
    want = parent != 0 && parent != root;
  }
  if (want) {
    HWND hwnd = it->second.hwnd;
    if (!::IsWindowVisible(hwnd)) {
      fFocusWnd = 0; // asked again once the window shows
      return;
    }
    if (::GetFocus() == hwnd) return;
    HWND previous = ::SetFocus(hwnd);
    if (it->second.foreignParent && !fKeysFrom)
      fKeysFrom = previous ? previous : it->second.foreignParent;
  } else if (fKeysFrom) {
    if (::IsWindow(fKeysFrom)) ::SetFocus(fKeysFrom);
    fKeysFrom = nullptr;
  }
}

void Win32Backend::UnclaimedInput(const Message& m) {
  UINT msg = 0;
  switch (m.message) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    msg = WM_LBUTTONDOWN;
    break;
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK:
    msg = WM_RBUTTONDOWN;
    break;
  case WM_MBUTTONDOWN:
  case WM_MBUTTONDBLCLK:
    msg = WM_MBUTTONDOWN;
    break;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP:
    msg = m.message;
    break;
  default:
    return;
  }
  // Our capture goes first: the click is the other window's again.
  SyncCapture();
  const POINT screen{m.pt.x, m.pt.y};
  HWND target = ::WindowFromPoint(screen);
  if (!target || IsOurs(target)) return; // one of ours: the window system has had its say
  const LRESULT hit = ::SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  if (hit == HTCLIENT) {
    POINT client = screen;
    ::ScreenToClient(target, &client);
    ::PostMessageW(target, msg, m.wParam, MAKELPARAM(client.x, client.y));
  } else if (hit != HTNOWHERE && hit != HTERROR && hit != HTTRANSPARENT) {
    // The frame's counterpart of the client message (WM_NCLBUTTONDOWN...).
    constexpr UINT kFromClient = WM_LBUTTONDOWN - WM_NCLBUTTONDOWN;
    ::PostMessageW(target, msg - kFromClient, static_cast<WPARAM>(hit),
                   MAKELPARAM(screen.x, screen.y));
  }
}

} // namespace kest::ui::win32
