// Native windows for the toolkit's top-level windows: creation as children
// of a foreign window, override-redirect popups or managed top-levels,
// following the toolkit's geometry and visibility, presenting surfaces and
// the pointer's shape.
#include "ui/x11/X11Internal.h" // first: it tames Xlib's macros
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/cursorfont.h>

#include <algorithm>
#include <bit>

#include "ui/gfx/Utf.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::ui::x11 {

namespace {

// The window as the window system has it now, with its opacity.
struct Traits {
  bool exists = false;
  WindowDesc desc;
  std::uint8_t opacity = 255;
  std::optional<Region> region;
  bool TopLevel() const { return desc.parent == 0; }
};

Traits TraitsOf(WindowHandle h) {
  Traits t;
  t.exists = GetWindowDesc(h, t.desc);
  if (t.exists) {
    t.opacity = GetWindowOpacity(h);
    t.region = GetWindowRegion(h);
  }
  return t;
}

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask |
                            FocusChangeMask | StructureNotifyMask;

unsigned Side(int v) {
  return static_cast<unsigned>(std::max(v, 1));
}

// One colour channel of a 0xAARRGGBB pixel placed under a visual's mask.
unsigned long Channel(unsigned value, unsigned long mask) {
  if (!mask) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  return (static_cast<unsigned long>(value >> (8 - std::min(bits, 8))) << shift) & mask;
}

} // namespace

Window X11Backend::XidOf(WindowHandle h) const {
  const auto it = fWindows.find(h);
  return it == fWindows.end() || it->second.gone ? 0 : it->second.xid;
}

WindowHandle X11Backend::FromXid(Window w) const {
  for (const auto& [h, n] : fWindows)
    if (n.xid == w && !n.gone) return h;
  return 0;
}

Window X11Backend::TopLevelAncestor(Window w) {
  for (int depth = 0; depth < 64 && w; ++depth) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(fDpy, w, &root, &parent, &children, &count)) return 0;
    if (children) XFree(children);
    if (parent == root || parent == 0) return w;
    w = parent;
  }
  return w;
}

std::optional<Rect> X11Backend::AdoptHostWindow(std::uint64_t nativeId) {
  const auto foreign = static_cast<Window>(nativeId);
  XWindowAttributes wa{};
  if (!foreign || !XGetWindowAttributes(fDpy, foreign, &wa)) return std::nullopt;
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(fDpy, foreign, fRoot, 0, 0, &x, &y, &child);
  // Size changes and the end of the host's window reach us from here on.
  XSelectInput(fDpy, foreign, StructureNotifyMask);
  return Rect::FromSize(x, y, wa.width, wa.height);
}

WindowHandle X11Backend::Wrap(Window foreign) {
  WindowDesc d;
  d.hostWindow = foreign;
  d.visible = true;
  d.background = Rgb(0, 0, 0);
  return CreateWnd(d);
}

void X11Backend::TopLevelChanged(WindowHandle h) {
  const Traits t = TraitsOf(h);
  auto it = fWindows.find(h);
  if (!t.exists || !t.TopLevel()) {
    if (it != fWindows.end()) {
      DestroyNative(it->second);
      fWindows.erase(it);
    }
    return;
  }
  if (it == fWindows.end()) {
    // Hidden windows (the menus' message windows) never need a native one.
    if (!t.desc.visible && !t.desc.hostWindow) return;
    NativeWindow n;
    n.foreignParent = static_cast<Window>(t.desc.hostWindow);
    n.overrideRedirect = !n.foreignParent && t.desc.noActivate;
    n.placed = t.desc.bounds;
    it = fWindows.emplace(h, n).first;
    CreateNative(h, it->second);
  }
  NativeWindow& n = it->second;
  if (n.gone || !n.xid) return;
  const Rect& b = t.desc.bounds;
  if (!fAdopting && b != n.placed) {
    if (n.foreignParent) {
      XResizeWindow(fDpy, n.xid, Side(b.Width()), Side(b.Height()));
    } else {
      XMoveResizeWindow(fDpy, n.xid, b.left, b.top, Side(b.Width()), Side(b.Height()));
    }
    n.placed = b;
  }
  if (t.opacity != n.opacity) {
    n.opacity = t.opacity;
    if (t.opacity == 255) {
      XDeleteProperty(fDpy, n.xid, fAtoms.netWmOpacity);
    } else {
      const unsigned long v = 0x01010101ul * t.opacity;
      XChangeProperty(fDpy, n.xid, fAtoms.netWmOpacity, XA_CARDINAL, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&v), 1);
    }
  }
  ApplyShape(n, t.region);
  if (t.desc.visible != n.mapped) {
    n.mapped = t.desc.visible;
    if (t.desc.visible) {
      XMapRaised(fDpy, n.xid);
    } else {
      XUnmapWindow(fDpy, n.xid);
      n.viewable = false;
    }
  }
  XFlush(fDpy);
}

void X11Backend::CreateNative(WindowHandle h, NativeWindow& n) {
  const Traits t = TraitsOf(h);
  XSetWindowAttributes a{};
  a.background_pixmap = kXNone; // the surface covers it all: no flash of grey
  a.border_pixel = 0;
  a.colormap = fColormap;
  a.event_mask = kEventMask;
  a.override_redirect = n.overrideRedirect ? True : False;
  a.bit_gravity = NorthWestGravity;
  const unsigned long mask =
      CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask | CWOverrideRedirect | CWBitGravity;
  const Window parent = n.foreignParent ? n.foreignParent : fRoot;
  const Rect& b = t.desc.bounds;
  const int x = n.foreignParent ? 0 : b.left;
  const int y = n.foreignParent ? 0 : b.top;
  n.xid = XCreateWindow(fDpy, parent, x, y, Side(b.Width()), Side(b.Height()), 0, fDepth,
                        InputOutput, fVisual, mask, &a);
  SetProperties(h, n);
  ApplyCursor(n.xid);
  if (fIm && !n.overrideRedirect) {
    XIC ic = XCreateIC(fIm, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                       n.xid, XNFocusWindow, n.xid, nullptr);
    if (ic) fIcs[n.xid] = ic;
  }
}

void X11Backend::SetProperties(WindowHandle h, NativeWindow& n) {
  const Traits t = TraitsOf(h);
  const WindowDesc& d = t.desc;
  const std::string title = Utf16ToUtf8(d.caption);
  XChangeProperty(fDpy, n.xid, fAtoms.netWmName, fAtoms.utf8String, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()),
                  static_cast<int>(title.size()));
  XStoreName(fDpy, n.xid, title.c_str());
  XClassHint cls{const_cast<char*>("kestrelphon"), const_cast<char*>("Kestrelphon")};
  XSetClassHint(fDpy, n.xid, &cls);
  const long pid = getpid();
  XChangeProperty(fDpy, n.xid, fAtoms.netWmPid, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
  if (n.overrideRedirect) {
    XChangeProperty(fDpy, n.xid, fAtoms.netWmWindowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&fAtoms.netWmTypePopupMenu), 1);
    return;
  }
  if (n.foreignParent) return;
  Atom protocols[] = {fAtoms.wmDeleteWindow};
  XSetWMProtocols(fDpy, n.xid, protocols, 1);
  // The toolkit decides where its windows go.
  XSizeHints hints{};
  hints.flags = USPosition | USSize;
  hints.x = d.bounds.left;
  hints.y = d.bounds.top;
  hints.width = d.bounds.Width();
  hints.height = d.bounds.Height();
  XSetWMNormalHints(fDpy, n.xid, &hints);
  const bool dialog = d.owner != 0 || d.topmost;
  Window transientFor = 0;
  if (d.owner) {
    const auto o = fWindows.find(GetRootWindow(d.owner));
    if (o != fWindows.end() && !o->second.gone) {
      transientFor =
          o->second.foreignParent ? TopLevelAncestor(o->second.foreignParent) : o->second.xid;
    }
  }
  if (transientFor) XSetTransientForHint(fDpy, n.xid, transientFor);
  const Atom type = dialog ? fAtoms.netWmTypeDialog : fAtoms.netWmTypeNormal;
  XChangeProperty(fDpy, n.xid, fAtoms.netWmWindowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&type), 1);
  if (d.topmost) {
    Atom states[] = {fAtoms.netWmStateAbove, fAtoms.netWmStateSkipTaskbar};
    XChangeProperty(fDpy, n.xid, fAtoms.netWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states), 2);
  }
  if (dialog) {
    // Owned and topmost windows draw their own frame (the about window, our
    // message boxes).
    const long motif[5] = {2 /* decorations field */, 0, 0, 0, 0};
    XChangeProperty(fDpy, n.xid, fAtoms.motifWmHints, fAtoms.motifWmHints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);
  }
}

void X11Backend::DestroyNative(NativeWindow& n) {
  if (!n.xid) return;
  if (const auto ic = fIcs.find(n.xid); ic != fIcs.end()) {
    XDestroyIC(ic->second);
    fIcs.erase(ic);
  }
  if (!n.gone) {
    XDestroyWindow(fDpy, n.xid);
    if (n.foreignParent) XSelectInput(fDpy, n.foreignParent, NoEventMask);
    XFlush(fDpy);
  }
  n.xid = 0;
  n.gone = true;
}

void X11Backend::AdoptBounds(WindowHandle h, const Rect& screen) {
  auto it = fWindows.find(h);
  if (it == fWindows.end()) return;
  it->second.placed = screen;
  AdoptNativeBounds(h, screen, fAdopting);
}

void X11Backend::Present(WindowHandle h, const Rect& r) {
  const auto it = fWindows.find(h);
  if (it == fWindows.end() || it->second.gone || !it->second.mapped) return;
  PutImage(h, it->second, r);
}

void X11Backend::PutImage(WindowHandle h, const NativeWindow& n, const Rect& area) {
  // No window-system lock while the server is talked to: a surface changes
  // only on the thread that owns its window, which is the one presenting it.
  const Bitmap* surface = GetWindowSurface(h);
  if (!surface || surface->Empty()) return;
  const Rect r = area.Intersect({0, 0, surface->Width(), surface->Height()});
  if (r.IsEmpty()) return;
  const bool direct = fDepth >= 24 && fVisual->red_mask == 0xFF0000 &&
                      fVisual->green_mask == 0xFF00 && fVisual->blue_mask == 0xFF;
  if (direct) {
    // The surface's 0xAARRGGBB words are what a 24-bit visual wants: no copy.
    auto* data = const_cast<char*>(reinterpret_cast<const char*>(surface->Row(0)));
    XImage* img = XCreateImage(fDpy, fVisual, static_cast<unsigned>(fDepth), ZPixmap, 0, data,
                               static_cast<unsigned>(surface->Width()),
                               static_cast<unsigned>(surface->Height()), 32, surface->Width() * 4);
    if (!img) return;
    img->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    XPutImage(fDpy, n.xid, fGc, img, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.Width()),
              static_cast<unsigned>(r.Height()));
    img->data = nullptr;
    XDestroyImage(img);
    return;
  }
  // Other true-colour visuals: the rectangle converted pixel by pixel.
  XImage* img =
      XCreateImage(fDpy, fVisual, static_cast<unsigned>(fDepth), ZPixmap, 0, nullptr,
                   static_cast<unsigned>(r.Width()), static_cast<unsigned>(r.Height()), 32, 0);
  if (!img) return;
  img->data = static_cast<char*>(
      malloc(static_cast<std::size_t>(img->bytes_per_line) * static_cast<std::size_t>(r.Height())));
  if (!img->data) {
    XDestroyImage(img);
    return;
  }
  for (int y = 0; y < r.Height(); ++y) {
    const Pixel* row = surface->Row(r.top + y) + r.left;
    for (int x = 0; x < r.Width(); ++x) {
      const Pixel p = row[x];
      XPutPixel(img, x, y,
                Channel(static_cast<unsigned>(PixelR(p)), fVisual->red_mask) |
                    Channel(static_cast<unsigned>(PixelG(p)), fVisual->green_mask) |
                    Channel(static_cast<unsigned>(PixelB(p)), fVisual->blue_mask));
    }
  }
  XPutImage(fDpy, n.xid, fGc, img, 0, 0, r.left, r.top, static_cast<unsigned>(r.Width()),
            static_cast<unsigned>(r.Height()));
  XDestroyImage(img);
}

void X11Backend::ApplyCursor(Window w) {
  if (!w) return;
  if (fCursor == Cursor::Default && fPointerVisible) {
    XUndefineCursor(fDpy, w); // inherit the host's pointer
    return;
  }
  const Cursor key = fPointerVisible ? fCursor : Cursor::None;
  auto it = fCursors.find(key);
  if (it == fCursors.end()) {
    ::Cursor xc = 0;
    if (key == Cursor::None) {
      // A blank pointer: a 1x1 shape with an empty mask.
      static const char empty[1] = {0};
      const Pixmap pm = XCreateBitmapFromData(fDpy, fRoot, empty, 1, 1);
      XColor black{};
      xc = XCreatePixmapCursor(fDpy, pm, pm, &black, &black, 0, 0);
      XFreePixmap(fDpy, pm);
    } else {
      unsigned shape = XC_left_ptr;
      switch (key) {
      case Cursor::Hand:
        shape = XC_hand2;
        break;
      case Cursor::IBeam:
        shape = XC_xterm;
        break;
      case Cursor::Wait:
        shape = XC_watch;
        break;
      case Cursor::Cross:
        shape = XC_crosshair;
        break;
      case Cursor::SizeAll:
        shape = XC_fleur;
        break;
      case Cursor::SizeWE:
        shape = XC_sb_h_double_arrow;
        break;
      case Cursor::SizeNS:
        shape = XC_sb_v_double_arrow;
        break;
      default:
        break;
      }
      xc = XCreateFontCursor(fDpy, shape);
    }
    it = fCursors.emplace(key, xc).first;
  }
  XDefineCursor(fDpy, w, it->second);
}

void X11Backend::CursorChanged(Cursor c, bool visible) {
  fCursor = c;
  fPointerVisible = visible;
  for (auto& [h, n] : fWindows)
    if (!n.gone) ApplyCursor(n.xid);
  if (fGrabbed) {
    const auto it = fCursors.find(visible ? c : Cursor::None);
    const unsigned mask =
        ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
    XChangeActivePointerGrab(fDpy, mask, it != fCursors.end() ? it->second : kXNone, CurrentTime);
  }
  XFlush(fDpy);
}

} // namespace kest::ui::x11
