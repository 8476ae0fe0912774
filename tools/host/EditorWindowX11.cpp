// The host's editor window on X11: a top-level window on a connection of the
// host's own.
#include <poll.h>

#include "EditorWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace kest::host {

void JoinTestDisplay() {} // the display is named where the window is made

struct EditorWindow::Native {
  ~Native() {
    if (window != 0) XDestroyWindow(dpy, window);
    if (dpy != nullptr) XCloseDisplay(dpy);
  }
  Display* dpy = nullptr;
  ::Window window = 0;
  Atom deleteAtom = 0;
};

EditorWindow::EditorWindow(VstHost& host, const char* display, int x, int y,
                           const std::string& title)
    : fHost(host), fNative(std::make_unique<Native>()) {
  AskSize();
  Native& n = *fNative;
  n.dpy = XOpenDisplay(display);
  if (n.dpy == nullptr) {
    throw EditorUnavailable(std::string("cannot open the X display ") +
                            (display != nullptr ? display : "($DISPLAY)"));
  }
  const int screen = DefaultScreen(n.dpy);
  n.window = XCreateSimpleWindow(n.dpy, RootWindow(n.dpy, screen), x, y,
                                 static_cast<unsigned>(fWidth), static_cast<unsigned>(fHeight), 0,
                                 BlackPixel(n.dpy, screen), BlackPixel(n.dpy, screen));
  XStoreName(n.dpy, n.window, title.c_str());
  XSizeHints hints{};
  hints.flags = PPosition | PMinSize | PMaxSize;
  hints.x = x;
  hints.y = y;
  hints.min_width = hints.max_width = fWidth;
  hints.min_height = hints.max_height = fHeight;
  XSetWMNormalHints(n.dpy, n.window, &hints);
  n.deleteAtom = XInternAtom(n.dpy, "WM_DELETE_WINDOW", False);
  Atom protocols[] = {n.deleteAtom};
  XSetWMProtocols(n.dpy, n.window, protocols, 1);
  XSelectInput(n.dpy, n.window, StructureNotifyMask);
  XMapWindow(n.dpy, n.window);
  XSync(n.dpy, False);
  OpenEditor(n.window);
}

EditorWindow::~EditorWindow() {
  if (fOpen) fHost.Dispatch(effEditClose);
}

std::uintptr_t EditorWindow::Window() const {
  return fNative->window;
}

bool EditorWindow::Idle() {
  fHost.Dispatch(effEditIdle);
  bool open = true;
  while (XPending(fNative->dpy) > 0) {
    XEvent e;
    XNextEvent(fNative->dpy, &e);
    if (e.type == ClientMessage && static_cast<Atom>(e.xclient.data.l[0]) == fNative->deleteAtom)
      open = false;
  }
  return open;
}

void EditorWindow::Wait(int timeoutMs) {
  XFlush(fNative->dpy);
  if (XPending(fNative->dpy) > 0) return;
  pollfd p{ConnectionNumber(fNative->dpy), POLLIN, 0};
  poll(&p, 1, timeoutMs);
}

std::uint32_t EditorWindow::PixelAt(int x, int y) {
  XImage* img = XGetImage(fNative->dpy, fNative->window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (img == nullptr) return 0;
  const auto p = static_cast<std::uint32_t>(XGetPixel(img, 0, 0)) & 0xFFFFFFu;
  XDestroyImage(img);
  return p;
}

std::vector<std::uint32_t> EditorWindow::Capture() {
  Display* dpy = fNative->dpy;
  XSync(dpy, False);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(fWidth) *
                                    static_cast<std::size_t>(fHeight));
  XImage* img = XGetImage(dpy, fNative->window, 0, 0, static_cast<unsigned>(fWidth),
                          static_cast<unsigned>(fHeight), AllPlanes, ZPixmap);
  if (img == nullptr) return pixels;
  for (int y = 0; y < fHeight; ++y)
    for (int x = 0; x < fWidth; ++x)
      pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(fWidth) +
             static_cast<std::size_t>(x)] =
          static_cast<std::uint32_t>(XGetPixel(img, x, y)) & 0xFFFFFFu;
  XDestroyImage(img);
  return pixels;
}

} // namespace kest::host
