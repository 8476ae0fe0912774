// Native events into the toolkit's queue: pointer, buttons, wheel, keys
// with text, crossing, focus, exposure, configuration and destruction.
#include "ui/x11/X11Internal.h" // first: it tames Xlib's macros
#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include "ui/gfx/Utf.h"

namespace kest::ui::x11 {

namespace {

bool IsKeypad(KeySym k) {
  return k >= XK_KP_Space && k <= XK_KP_9;
}

} // namespace

void X11Backend::Handle(XEvent& e) {
  switch (e.type) {
  case SelectionRequest:
    AnswerSelectionRequest(e.xselectionrequest);
    return;
  case SelectionClear:
    if (e.xselectionclear.selection == fAtoms.clipboard) {
      fOwnClipboard = false;
      fClipboard.clear();
    }
    return;
  default:
    break;
  }
  if (e.xany.window == fGrabWindow) {
    HandleGrabWindowEvent(e);
    return;
  }
  const WindowHandle h = FromXid(e.xany.window);
  if (!h) {
    HandleForeign(e);
    return;
  }
  NativeWindow& n = fWindows[h];
  switch (e.type) {
  case MotionNotify: {
    // Only the latest position matters.
    while (XCheckTypedWindowEvent(fDpy, e.xany.window, MotionNotify, &e)) {
    }
    HandlePointer(h, e);
    break;
  }
  case ButtonPress:
  case ButtonRelease:
  case EnterNotify:
    HandlePointer(h, e);
    break;
  case LeaveNotify:
    // Moving into another of our windows reports there; leaving for the
    // outside shows as a move to where the pointer went.
    if (e.xcrossing.mode == NotifyNormal && e.xcrossing.detail != NotifyInferior) {
      InputMouseMove({e.xcrossing.x_root, e.xcrossing.y_root});
    }
    break;
  case KeyPress:
  case KeyRelease:
    HandleKey(e.xkey, e.type == KeyPress);
    break;
  case FocusIn:
    if (const auto ic = fIcs.find(n.xid); ic != fIcs.end()) XSetICFocus(ic->second);
    break;
  case FocusOut:
    if (const auto ic = fIcs.find(n.xid); ic != fIcs.end()) XUnsetICFocus(ic->second);
    break;
  case Expose:
    PutImage(h, n, Rect::FromSize(e.xexpose.x, e.xexpose.y, e.xexpose.width, e.xexpose.height));
    break;
  case ConfigureNotify:
    HandleConfigure(h, e.xconfigure);
    break;
  case MapNotify:
    n.viewable = true;
    fFocusWnd = 0; // focus that waited for the window to show goes now
    break;
  case UnmapNotify:
    n.viewable = false;
    break;
  case DestroyNotify:
    // Not ours to destroy: the host's window took it along.
    n.gone = true;
    break;
  case ClientMessage:
    if (e.xclient.message_type == fAtoms.wmProtocols &&
        static_cast<Atom>(e.xclient.data.l[0]) == fAtoms.wmDeleteWindow) {
      PostMsg(h, WM_CLOSE);
    }
    break;
  default:
    break;
  }
}

void X11Backend::HandleForeign(const XEvent& e) {
  for (auto& [h, n] : fWindows) {
    if (n.foreignParent != e.xany.window || n.gone) continue;
    if (e.type == DestroyNotify) {
      // Window ids come back (a host that reconnects gets its old ones): the
      // end of a host window only counts when no window of that id is there
      // now, else it is a late word about an earlier window.
      XWindowAttributes wa{};
      if (XGetWindowAttributes(fDpy, n.foreignParent, &wa)) return;
      n.gone = true;
      if (fKeysFrom == n.foreignParent) fKeysFrom = 0;
    } else if (e.type == ConfigureNotify) {
      int x = 0, y = 0;
      Window child = 0;
      XTranslateCoordinates(fDpy, n.foreignParent, fRoot, 0, 0, &x, &y, &child);
      // The stand-in follows the host's window; its native child is resized.
      SetWindowBounds(h, Rect::FromSize(x, y, e.xconfigure.width, e.xconfigure.height));
    }
    return;
  }
}

void X11Backend::HandleConfigure(WindowHandle h, const XConfigureEvent& e) {
  NativeWindow& n = fWindows[h];
  if (n.overrideRedirect || n.foreignParent) return; // placed by us alone
  int x = e.x, y = e.y;
  if (!e.send_event) {
    // A real event is relative to the window manager's frame.
    Window child = 0;
    XTranslateCoordinates(fDpy, n.xid, fRoot, 0, 0, &x, &y, &child);
  }
  AdoptBounds(h, Rect::FromSize(x, y, e.width, e.height));
}

void X11Backend::NoteOrigin(WindowHandle h, int xRoot, int yRoot, int x, int y) {
  const auto it = fWindows.find(h);
  if (it == fWindows.end() || it->second.overrideRedirect) return;
  // Every pointer event tells where the window really is on the screen
  // (hosts move their windows without telling the plug-in).
  const Rect b = GetWindowBounds(h);
  const Point origin{xRoot - x, yRoot - y};
  if (origin != b.TopLeft()) {
    AdoptBounds(h, Rect::FromSize(origin.x, origin.y, b.Width(), b.Height()));
  }
}

void X11Backend::HandlePointer(WindowHandle h, XEvent& e) {
  switch (e.type) {
  case MotionNotify:
    NoteOrigin(h, e.xmotion.x_root, e.xmotion.y_root, e.xmotion.x, e.xmotion.y);
    InputMouseMove({e.xmotion.x_root, e.xmotion.y_root});
    break;
  case EnterNotify:
    if (e.xcrossing.mode != NotifyNormal) break;
    NoteOrigin(h, e.xcrossing.x_root, e.xcrossing.y_root, e.xcrossing.x, e.xcrossing.y);
    InputMouseMove({e.xcrossing.x_root, e.xcrossing.y_root});
    break;
  case ButtonPress:
  case ButtonRelease: {
    const XButtonEvent& b = e.xbutton;
    NoteOrigin(h, b.x_root, b.y_root, b.x, b.y);
    const Point p{b.x_root, b.y_root};
    const bool down = e.type == ButtonPress;
    if (b.button == Button4 || b.button == Button5) {
      if (down) InputMouseWheel(b.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA, p);
      break;
    }
    if (b.button > Button3) break;
    InputMouseMove(p);
    const MouseButton mb = b.button == Button1   ? MouseButton::Left
                           : b.button == Button3 ? MouseButton::Right
                                                 : MouseButton::Middle;
    InputMouseButton(mb, down, p);
    // A press into the editor may be a press into the inline edit: the
    // keyboard is asked for again when the toolkit's focus is known.
    if (down) fFocusWnd = 0;
    break;
  }
  default:
    break;
  }
}

void X11Backend::HandleKey(XKeyEvent& e, bool down) {
  KeySym looked = 0;
  std::u16string text;
  if (down) {
    char buf[64];
    const auto ic = fIcs.find(e.window);
    if (ic != fIcs.end()) {
      Status status = 0;
      const int len = Xutf8LookupString(ic->second, &e, buf, sizeof buf - 1, &looked, &status);
      if (len > 0 && (status == XLookupChars || status == XLookupBoth)) {
        text = Utf8ToUtf16(std::string_view(buf, static_cast<std::size_t>(len)));
      }
    } else {
      const int len = XLookupString(&e, buf, sizeof buf - 1, &looked, nullptr);
      for (int i = 0; i < len; ++i) // Latin-1
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(buf[i])));
    }
  }
  // The key itself comes from the unshifted level, keypad keys as NumLock says.
  KeySym base = XkbKeycodeToKeysym(fDpy, static_cast<KeyCode>(e.keycode), 0, 0);
  if (IsKeypad(XkbKeycodeToKeysym(fDpy, static_cast<KeyCode>(e.keycode), 0, 1))) {
    base =
        XkbKeycodeToKeysym(fDpy, static_cast<KeyCode>(e.keycode), 0, (e.state & Mod2Mask) ? 1 : 0);
  }
  if (!base) base = looked;
  const std::uint16_t vk = VirtualKeyFromKeysym(base);
  // Control combinations are commands (copy, paste), never text.
  std::erase_if(text, [&](char16_t c) { return c < 0x20 || c == 0x7F || (e.state & ControlMask); });
  if (vk) {
    InputKey(vk, down, text.size() == 1 ? text[0] : 0);
    if (text.size() > 1)
      for (char16_t c : text)
        InputChar(c);
  } else {
    for (char16_t c : text)
      InputChar(c);
  }
}

} // namespace kest::ui::x11
