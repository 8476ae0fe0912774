// Pointer and keyboard grabs for the window system's capture. A capture that
// outlives a button press (a menu running its own loop) must hear clicks
// outside our windows and the keys, which only grabs give; a grab the server
// refuses or takes back cancels the capture, so that a menu never stays open
// with no way to close it. A click the grab took from another program's
// window, and that none of ours wanted after all (it closed the menu), is
// handed back to that window.
#include "ui/x11/X11Internal.h" // first: it tames Xlib's macros

namespace kest::ui::x11 {

namespace {

constexpr unsigned kPointerMask =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

} // namespace

void X11Backend::CreateGrabWindow() {
  XSetWindowAttributes a{};
  a.override_redirect = True;
  a.event_mask =
      KeyPressMask | KeyReleaseMask | kPointerMask | FocusChangeMask | StructureNotifyMask;
  // Mapped off the screen: viewable (grabs need that) but never in the way.
  fGrabWindow = XCreateWindow(fDpy, fRoot, -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent,
                              CWOverrideRedirect | CWEventMask, &a);
  XMapWindow(fDpy, fGrabWindow);
}

bool X11Backend::CaptureWantsKeyboard(WindowHandle capture) const {
  // Menus' windows (override-redirect popups, or none at all) never get the
  // keyboard focus, so their captures take the keyboard; a drag on the
  // editor inside a host's window leaves the host its keys.
  const auto it = fWindows.find(GetRootWindow(capture));
  return it == fWindows.end() || it->second.overrideRedirect;
}

void X11Backend::Ungrab() {
  const bool held = fGrabbed || fKeyboardGrabbed;
  if (fGrabbed) XUngrabPointer(fDpy, CurrentTime);
  if (fKeyboardGrabbed) XUngrabKeyboard(fDpy, CurrentTime);
  fGrabbed = 0;
  fKeyboardGrabbed = false;
  // Let go now, not at our next flush: the host may want the pointer at once.
  if (held) XFlush(fDpy);
}

void X11Backend::CaptureLost() {
  Ungrab();
  fGrabFailed = GetCaptureWnd();
  InputCancelMode();
}

void X11Backend::SyncGrab() {
  const WindowHandle capture = GetCaptureWnd();
  if (!capture) {
    Ungrab();
    fGrabFailed = 0;
    return;
  }
  if (capture == fGrabbed || capture == fGrabFailed) return;
  fGrabFailed = 0;
  fGrabSerial = NextRequest(fDpy);
  if (XGrabPointer(fDpy, fGrabWindow, True, kPointerMask, GrabModeAsync, GrabModeAsync, kXNone,
                   kXNone, CurrentTime) != GrabSuccess) {
    CaptureLost();
    return;
  }
  fGrabbed = capture;
  const bool keys = CaptureWantsKeyboard(capture);
  if (keys && !fKeyboardGrabbed) {
    if (XGrabKeyboard(fDpy, fGrabWindow, True, GrabModeAsync, GrabModeAsync, CurrentTime) !=
        GrabSuccess) {
      CaptureLost();
      return;
    }
    fKeyboardGrabbed = true;
  } else if (!keys && fKeyboardGrabbed) {
    XUngrabKeyboard(fDpy, CurrentTime);
    fKeyboardGrabbed = false;
  }
  CursorChanged(fCursor, fPointerVisible);
}

void X11Backend::HandleGrabWindowEvent(XEvent& e) {
  switch (e.type) {
  case MotionNotify:
    while (XCheckTypedWindowEvent(fDpy, fGrabWindow, MotionNotify, &e)) {
    }
    InputMouseMove({e.xmotion.x_root, e.xmotion.y_root});
    break;
  case ButtonPress:
  case ButtonRelease:
    HandlePointer(0, e);
    break;
  case KeyPress:
  case KeyRelease:
    HandleKey(e.xkey, e.type == KeyPress);
    break;
  case LeaveNotify:
    // The server ended a grab we still hold (its window went away, or the
    // server was told to break grabs): the pointer is no longer ours.
    if (e.xcrossing.mode == NotifyUngrab && fGrabbed && e.xcrossing.serial >= fGrabSerial)
      CaptureLost();
    break;
  case FocusOut:
    if (e.xfocus.mode == NotifyUngrab && fKeyboardGrabbed && e.xfocus.serial >= fGrabSerial)
      CaptureLost();
    break;
  case UnmapNotify:
    // Someone unmapped it: the grabs it held are gone, and the next capture
    // needs it viewable again.
    if (fGrabbed || fKeyboardGrabbed) CaptureLost();
    XMapWindow(fDpy, fGrabWindow);
    break;
  default:
    break;
  }
}

Window X11Backend::ForeignWindowAt(Point screen, int& x, int& y) {
  Window w = fRoot;
  x = screen.x;
  y = screen.y;
  for (int depth = 0; depth < 64; ++depth) {
    Window child = 0;
    int cx = 0, cy = 0;
    if (!XTranslateCoordinates(fDpy, fRoot, w, screen.x, screen.y, &cx, &cy, &child)) return 0;
    x = cx;
    y = cy;
    if (!child) break;
    w = child;
  }
  if (w == fRoot || w == fGrabWindow || w == fUtility || FromXid(w)) return 0;
  return w;
}

void X11Backend::UnclaimedInput(const Message& m) {
  unsigned button = 0;
  bool press = false;
  switch (m.message) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    press = true;
    [[fallthrough]];
  case WM_LBUTTONUP:
    button = Button1;
    break;
  case WM_MBUTTONDOWN:
  case WM_MBUTTONDBLCLK:
    press = true;
    [[fallthrough]];
  case WM_MBUTTONUP:
    button = Button2;
    break;
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK:
    press = true;
    [[fallthrough]];
  case WM_RBUTTONUP:
    button = Button3;
    break;
  default:
    return;
  }
  // Our grab goes first: the click is the other window's again.
  SyncGrab();
  int x = 0, y = 0;
  const Window target = ForeignWindowAt(m.pt, x, y);
  if (!target) return; // one of ours: the window system has had its say
  const auto flags = static_cast<unsigned>(m.wParam);
  unsigned state = 0;
  if (flags & MK_SHIFT) state |= ShiftMask;
  if (flags & MK_CONTROL) state |= ControlMask;
  if (flags & MK_LBUTTON) state |= Button1Mask;
  if (flags & MK_MBUTTON) state |= Button2Mask;
  if (flags & MK_RBUTTON) state |= Button3Mask;
  // The state is the one before the event: a press's button was still up.
  if (press) state &= ~(Button1Mask << (button - Button1));
  XEvent e{};
  XButtonEvent& b = e.xbutton;
  b.type = press ? ButtonPress : ButtonRelease;
  b.display = fDpy;
  b.window = target;
  b.root = fRoot;
  b.time = CurrentTime;
  b.x = x;
  b.y = y;
  b.x_root = m.pt.x;
  b.y_root = m.pt.y;
  b.state = state;
  b.button = button;
  b.same_screen = True;
  XSendEvent(fDpy, target, True, press ? ButtonPressMask : ButtonReleaseMask, &e);
  XFlush(fDpy);
}

} // namespace kest::ui::x11
