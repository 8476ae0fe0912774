// Pointer and keyboard grabs for the window system's capture. A capture that
// outlives a button press (a menu running its own loop) must hear clicks
// outside our windows and the keys, which only grabs give; a grab the server
// refuses or takes back cancels the capture, so that a menu never stays open
// with no way to close it.
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
  if (fGrabbed) XUngrabPointer(fDpy, CurrentTime);
  if (fKeyboardGrabbed) XUngrabKeyboard(fDpy, CurrentTime);
  fGrabbed = 0;
  fKeyboardGrabbed = false;
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

} // namespace kest::ui::x11
