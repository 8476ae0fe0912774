// The window procedure: native input into the toolkit's queue (pointer,
// buttons, wheel, keys with their characters), painting, the pointer's
// shape, activation and the system taking the mouse away.
#include "ui/win32/Win32Services.h"
#include "ui/win32/Win32Internal.h" // last: windows.h

#include <windowsx.h>

namespace kest::ui::win32 {

namespace {

// A character worth typing: control combinations are commands (copy,
// paste), never text; AltGr (control and alt together) still types.
bool Typed(WPARAM c) {
  if (c < 0x20 || c == 0x7F) return false;
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  const bool alt = ::GetKeyState(VK_MENU) < 0;
  return !control || alt;
}

} // namespace

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  Win32Backend* b = Current();
  if (!b) return ::DefWindowProcW(hwnd, msg, w, l);
  return b->Handle(hwnd, msg, w, l);
}

LRESULT Win32Backend::Handle(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  // Messages that concern the application, whichever window hears them.
  switch (msg) {
  case WM_CAPTURECHANGED:
    // Someone else took the mouse (the system, a host's drag): a menu
    // holding it must not stay open with no way to close it.
    if (hwnd == fCaptureHwnd && !fSettingCapture) CaptureLost();
    return 0;
  case WM_ACTIVATEAPP:
    if (!w && fCaptured) CaptureLost();
    return 0;
  case WM_CANCELMODE:
    // The system's own default would only let go of the capture: done here
    // once, with the toolkit told once.
    if (fCaptured)
      CaptureLost();
    else
      InputCancelMode();
    return 0;
  default:
    break;
  }
  const auto h = static_cast<WindowHandle>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (hwnd == fHelper || h == 0) {
    if (hwnd == fHelper && HandleMouse(hwnd, msg, w, l)) return 0;
    return ::DefWindowProcW(hwnd, msg, w, l);
  }
  if (HandleMouse(hwnd, msg, w, l)) return 0;
  if (HandleKey(hwnd, msg, w, l)) {
    // Alt combinations still reach the system (Alt+F4, the host's menu keys).
    const bool sys = msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP;
    return sys ? ::DefWindowProcW(hwnd, msg, w, l) : 0;
  }
  switch (msg) {
  case WM_PAINT:
    Paint(h, hwnd);
    return 0;
  case WM_PRINTCLIENT: {
    // Pictures of the window taken by others (PrintWindow, a host's
    // thumbnails): the surface as it stands.
    RECT rc{};
    ::GetClientRect(hwnd, &rc);
    Blit(h, reinterpret_cast<HDC>(w), Rect{0, 0, rc.right, rc.bottom});
    return 0;
  }
  case WM_ERASEBKGND:
    return 1; // the surface covers everything
  case WM_SETCURSOR:
    // Over the client area the toolkit's shape; the default one leaves the
    // choice to the host's window and the class.
    if (LOWORD(l) == HTCLIENT && (fCursor != Cursor::Default || !fPointerVisible)) {
      ::SetCursor(CursorHandle());
      return TRUE;
    }
    break;
  case WM_MOUSEACTIVATE: {
    const auto it = fWindows.find(h);
    if (it != fWindows.end() && it->second.popup) return MA_NOACTIVATE;
    break;
  }
  case WM_MOVE:
  case WM_SIZE: {
    // A framed window moved or sized by the user: the toolkit follows.
    const auto it = fWindows.find(h);
    if (it == fWindows.end() || !it->second.framed || ::IsIconic(hwnd)) break;
    RECT rc{};
    ::GetClientRect(hwnd, &rc);
    POINT origin{0, 0};
    ::ClientToScreen(hwnd, &origin);
    AdoptBounds(h, Rect::FromSize(origin.x, origin.y, rc.right, rc.bottom));
    return 0;
  }
  case WM_CLOSE:
    PostMsg(h, WM_CLOSE);
    return 0;
  case WM_GETOBJECT:
    if (const std::intptr_t answer = AnswerGetObject(h, hwnd, w, l)) return answer;
    break;
  case WM_NCDESTROY: {
    // Taken along by the host's window: not ours to destroy any more.
    const auto it = fWindows.find(h);
    if (it != fWindows.end() && it->second.hwnd == hwnd) {
      it->second.gone = true;
      it->second.hwnd = nullptr;
    }
    if (hwnd == fCaptureHwnd) fCaptureHwnd = nullptr;
    if (hwnd == fTracking) fTracking = nullptr;
    break;
  }
  default:
    break;
  }
  return ::DefWindowProcW(hwnd, msg, w, l);
}

void Win32Backend::TrackLeave(HWND hwnd) {
  if (fTracking == hwnd) return;
  TRACKMOUSEEVENT t{};
  t.cbSize = sizeof t;
  t.dwFlags = TME_LEAVE;
  t.hwndTrack = hwnd;
  if (::TrackMouseEvent(&t)) fTracking = hwnd;
}

bool Win32Backend::HandleMouse(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
  case WM_MOUSEMOVE:
    TrackLeave(hwnd);
    InputMouseMove(ScreenPoint(hwnd, l));
    return true;
  case WM_MOUSELEAVE: {
    // Leaving for the outside shows as a move to where the pointer went.
    if (fTracking == hwnd) fTracking = nullptr;
    POINT p{};
    ::GetCursorPos(&p);
    InputMouseMove({p.x, p.y});
    return true;
  }
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONUP: {
    const Point p = ScreenPoint(hwnd, l);
    const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
    const MouseButton button = msg <= WM_LBUTTONUP   ? MouseButton::Left
                               : msg <= WM_RBUTTONUP ? MouseButton::Right
                                                     : MouseButton::Middle;
    InputMouseMove(p);
    InputMouseButton(button, down, p);
    // A press into the editor may be a press into the inline edit: the
    // keyboard is asked for again when the toolkit's focus is known.
    if (down) fFocusWnd = 0;
    return true;
  }
  case WM_MOUSEWHEEL:
    // Already in screen coordinates.
    InputMouseWheel(GET_WHEEL_DELTA_WPARAM(w), {GET_X_LPARAM(l), GET_Y_LPARAM(l)});
    return true;
  default:
    return false;
  }
}

bool Win32Backend::HandleKey(HWND hwnd, UINT msg, WPARAM w, LPARAM) {
  switch (msg) {
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN: {
    // The character the key types was put in the queue right behind it by
    // TranslateMessage: it travels with the key, as the toolkit expects.
    char16_t character = 0;
    MSG next;
    if (::PeekMessageW(&next, hwnd, WM_CHAR, WM_SYSDEADCHAR, PM_NOREMOVE) &&
        (next.message == WM_CHAR || next.message == WM_SYSCHAR)) {
      ::PeekMessageW(&next, hwnd, next.message, next.message, PM_REMOVE);
      if (Typed(next.wParam)) character = static_cast<char16_t>(next.wParam);
    }
    InputKey(static_cast<std::uint16_t>(w), true, character);
    return true;
  }
  case WM_KEYUP:
  case WM_SYSKEYUP:
    InputKey(static_cast<std::uint16_t>(w), false);
    return true;
  case WM_CHAR:
  case WM_SYSCHAR:
    // One that came on its own (the second half of a surrogate pair, a
    // character typed through an input method).
    if (Typed(w)) InputChar(static_cast<char16_t>(w));
    return true;
  case WM_DEADCHAR:
  case WM_SYSDEADCHAR:
    return true;
  default:
    return false;
  }
}

} // namespace kest::ui::win32
