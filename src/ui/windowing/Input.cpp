// Input routing (pointer, buttons, wheel, keys), mouse capture, keyboard
// focus and the active window.
#include <cstdlib>

#include "ui/windowing/WindowSystemImpl.h"

namespace kest::ui {

using detail::B;
using detail::Find;
using detail::S;
using detail::WindowRec;

namespace {

unsigned MouseKeyFlags() {
  const auto& k = S().asyncKeys;
  unsigned f = 0;
  if (k[VK_LBUTTON]) f |= MK_LBUTTON;
  if (k[VK_RBUTTON]) f |= MK_RBUTTON;
  if (k[VK_MBUTTON]) f |= MK_MBUTTON;
  if (k[VK_SHIFT]) f |= MK_SHIFT;
  if (k[VK_CONTROL]) f |= MK_CONTROL;
  return f;
}

// The window that gets mouse input at a screen point: the capture window,
// else the window under the point when it and its top-level one are enabled.
WindowHandle MouseTarget(Point screen) {
  if (const WindowHandle c = GetCaptureWnd()) return c;
  const WindowHandle h = WindowFromPoint(screen);
  if (!h || !IsWindowEnabled(h) || !IsWindowEnabled(GetRootWindow(h))) return 0;
  return h;
}

// Keys go to the focus, else the active window; when the thread has
// neither (its windows live inside another program's), a window holding
// the capture gets them: that is how a menu running its own loop hears the
// keyboard that the backend took for it.
WindowHandle FocusTarget() {
  if (const WindowHandle f = GetFocusWnd()) return f;
  if (const WindowHandle a = GetActiveWnd()) return a;
  return GetCaptureWnd();
}

void QueueMouse(WindowHandle h, std::uint32_t msg, WParam w, Point screen, LParam l,
                bool clientPos) {
  Message m;
  m.route = clientPos ? Message::Route::Pointer : Message::Route::Focus;
  m.hwnd = h;
  m.message = msg;
  m.wParam = w;
  m.lParam = clientPos ? LParamFromPoint(ScreenToClient(h, screen)) : l;
  m.time = B().Now();
  m.pt = screen;
  detail::QueueInput(m);
}

} // namespace

namespace detail {
bool ResolveRoute(Message& m) {
  if (m.route == Message::Route::Fixed) return true;
  if (m.route == Message::Route::Pointer) {
    m.hwnd = MouseTarget(m.pt);
    if (m.hwnd) m.lParam = LParamFromPoint(ScreenToClient(m.hwnd, m.pt));
  } else {
    const WindowHandle f = FocusTarget();
    // The wheel goes to the window under the pointer when nothing has the focus.
    m.hwnd = f ? f : (m.message == WM_MOUSEWHEEL ? MouseTarget(m.pt) : 0);
  }
  return m.hwnd != 0;
}
} // namespace detail

void InputMouseMove(Point screen) {
  {
    std::lock_guard lock(S().mutex);
    S().cursorPos = screen;
  }
  const WindowHandle h = MouseTarget(screen);
  if (h) QueueMouse(h, WM_MOUSEMOVE, MouseKeyFlags(), screen, 0, true);
}

void InputMouseButton(MouseButton button, bool down, Point screen) {
  auto& s = S();
  {
    std::lock_guard lock(s.mutex);
    s.cursorPos = screen;
    s.asyncKeys[detail::ButtonKey(button)] = down ? 1 : 0;
  }
  const WindowHandle h = MouseTarget(screen);
  if (!h) return;
  const std::uint32_t base = button == MouseButton::Left    ? WM_LBUTTONDOWN
                             : button == MouseButton::Right ? WM_RBUTTONDOWN
                                                            : WM_MBUTTONDOWN;
  std::uint32_t msg = down ? base : base + 1;
  if (down) {
    const std::uint32_t now = B().Now();
    const std::uint32_t dblTime = s.backend ? B().GetServices().Settings().doubleClickMs : 500;
    std::lock_guard lock(s.mutex);
    auto& last = s.lastClick;
    WindowRec* w = Find(h);
    const bool isDouble = last.valid && last.hwnd == h && last.button == button &&
                          now - last.time <= dblTime && std::abs(last.pos.x - screen.x) <= 2 &&
                          std::abs(last.pos.y - screen.y) <= 2 && w && w->doubleClicks;
    if (isDouble) {
      msg = base + 2;
      last.valid = false; // a third press starts over
    } else {
      last = {h, button, now, screen, true};
    }
  }
  if (down) {
    // A press activates the top-level window it lands in.
    const WindowHandle root = GetRootWindow(h);
    bool noActivate = false;
    {
      std::lock_guard lock(s.mutex);
      if (WindowRec* r = Find(root)) noActivate = r->noActivate;
    }
    if (!noActivate && GetActiveWnd() != root) SetActiveWnd(root);
  }
  QueueMouse(h, msg, MouseKeyFlags(), screen, 0, true);
}

void InputMouseWheel(int delta, Point screen) {
  {
    std::lock_guard lock(S().mutex);
    S().cursorPos = screen;
  }
  WindowHandle h = FocusTarget();
  if (!h) h = MouseTarget(screen);
  if (!h) return;
  const WParam w = static_cast<WParam>((MouseKeyFlags() & 0xFFFF) |
                                       (static_cast<unsigned>(delta & 0xFFFF) << 16));
  QueueMouse(h, WM_MOUSEWHEEL, w, screen, LParamFromPoint(screen), false);
}

void InputKey(std::uint16_t vk, bool down, char16_t character) {
  auto& s = S();
  bool alt = false;
  bool wasDown = false;
  {
    std::lock_guard lock(s.mutex);
    wasDown = s.asyncKeys[vk & 255] != 0;
    s.asyncKeys[vk & 255] = down ? 1 : 0;
    alt = s.asyncKeys[VK_MENU] != 0;
  }
  const WindowHandle h = FocusTarget();
  if (!h) return;
  const bool sys = alt || vk == VK_F10 || vk == VK_MENU;
  Message m;
  m.hwnd = h;
  m.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  m.wParam = vk;
  // Repeat count 1, previous state in bit 30, transition in bit 31.
  m.lParam = static_cast<LParam>(1u | (wasDown ? 1u << 30 : 0u) | (down ? 0u : 1u << 31));
  m.time = B().Now();
  m.pt = GetCursorPos();
  m.character = down ? character : 0;
  m.route = Message::Route::Focus;
  detail::QueueInput(m);
}

void InputChar(char16_t character) {
  const WindowHandle h = FocusTarget();
  if (!h) return;
  Message m;
  m.hwnd = h;
  m.message = WM_CHAR;
  m.wParam = character;
  m.lParam = 1;
  m.time = B().Now();
  m.pt = GetCursorPos();
  m.route = Message::Route::Focus;
  detail::QueueInput(m);
}

void InputCancelMode() {
  const WindowHandle c = GetCaptureWnd();
  if (!c) return;
  Message m;
  m.hwnd = c;
  m.message = WM_CANCELMODE;
  m.time = B().Now();
  m.pt = GetCursorPos();
  detail::QueueInput(m);
}

WindowHandle SetCaptureWnd(WindowHandle h) {
  WindowHandle old = 0;
  {
    std::lock_guard lock(S().mutex);
    if (h && !Find(h)) return S().capture;
    old = S().capture;
    if (old == h) return old;
    S().capture = h;
  }
  if (old) SendMsg(old, WM_CAPTURECHANGED, 0, static_cast<LParam>(h));
  return old;
}

void ReleaseCaptureWnd() {
  SetCaptureWnd(0);
}

WindowHandle GetCaptureWnd() {
  std::lock_guard lock(S().mutex);
  return S().capture;
}

WindowHandle SetFocusWnd(WindowHandle h) {
  WindowHandle old = 0;
  {
    std::lock_guard lock(S().mutex);
    WindowRec* w = Find(h);
    if (h && (!w || !w->enabled || w->messageOnly)) return 0;
    old = S().focus;
    if (old == h) return old;
  }
  if (h) {
    const WindowHandle root = GetRootWindow(h);
    if (GetActiveWnd() != root) {
      bool noActivate = false;
      {
        std::lock_guard lock(S().mutex);
        noActivate = Find(root)->noActivate;
      }
      if (!noActivate) SetActiveWnd(root);
    }
  }
  {
    std::lock_guard lock(S().mutex);
    if (h && !Find(h)) return 0;
    old = S().focus;
    if (old == h) return old;
    S().focus = h;
  }
  if (old) SendMsg(old, WM_KILLFOCUS, h);
  if (h && GetFocusWnd() == h) SendMsg(h, WM_SETFOCUS, old);
  return old;
}

WindowHandle GetFocusWnd() {
  std::lock_guard lock(S().mutex);
  return S().focus;
}

WindowHandle SetActiveWnd(WindowHandle h) {
  WindowHandle old = 0;
  {
    std::lock_guard lock(S().mutex);
    WindowRec* w = Find(h);
    if (h && (!w || w->parent != 0 || w->messageOnly)) return 0;
    old = S().active;
    if (old == h) return old;
    S().active = h;
  }
  if (old) SendMsg(old, WM_ACTIVATE, WA_INACTIVE, static_cast<LParam>(h));
  if (h) {
    BringToFront(h);
    SendMsg(h, WM_ACTIVATE, WA_ACTIVE, static_cast<LParam>(old));
  }
  return old;
}

WindowHandle GetActiveWnd() {
  std::lock_guard lock(S().mutex);
  return S().active;
}

} // namespace kest::ui
