#include "EditorWindow.h"

#include <poll.h>

#include <chrono>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace kest::host {

EditorWindow::EditorWindow(VstHost& host, const char* display, int x, int y,
                           const std::string& title)
    : fHost(host) {
  ERect* rect = nullptr;
  if (host.Dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr)
    throw EditorUnavailable("the plug-in has no editor");
  fWidth = rect->right - rect->left;
  fHeight = rect->bottom - rect->top;
  if (fWidth <= 0 || fHeight <= 0) throw EditorUnavailable("the plug-in's editor has no size");
  fDpy = XOpenDisplay(display);
  if (fDpy == nullptr) {
    throw EditorUnavailable(std::string("cannot open the X display ") +
                            (display != nullptr ? display : "($DISPLAY)"));
  }
  const int screen = DefaultScreen(fDpy);
  fWindow = XCreateSimpleWindow(fDpy, RootWindow(fDpy, screen), x, y, static_cast<unsigned>(fWidth),
                                static_cast<unsigned>(fHeight), 0, BlackPixel(fDpy, screen),
                                BlackPixel(fDpy, screen));
  XStoreName(fDpy, fWindow, title.c_str());
  XSizeHints hints{};
  hints.flags = PPosition | PMinSize | PMaxSize;
  hints.x = x;
  hints.y = y;
  hints.min_width = hints.max_width = fWidth;
  hints.min_height = hints.max_height = fHeight;
  XSetWMNormalHints(fDpy, fWindow, &hints);
  fDeleteAtom = XInternAtom(fDpy, "WM_DELETE_WINDOW", False);
  Atom protocols[] = {fDeleteAtom};
  XSetWMProtocols(fDpy, fWindow, protocols, 1);
  XSelectInput(fDpy, fWindow, StructureNotifyMask);
  XMapWindow(fDpy, fWindow);
  XSync(fDpy, False);
  // Hosts open the editor in a window that exists on the server.
  if (host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(fWindow)) == 0) {
    XDestroyWindow(fDpy, fWindow);
    XCloseDisplay(fDpy);
    throw EditorUnavailable("the plug-in opened no editor in the window");
  }
  fOpen = true;
}

EditorWindow::~EditorWindow() {
  if (fOpen) fHost.Dispatch(effEditClose);
  XDestroyWindow(fDpy, fWindow);
  XCloseDisplay(fDpy);
}

bool EditorWindow::Idle() {
  fHost.Dispatch(effEditIdle);
  bool open = true;
  while (XPending(fDpy) > 0) {
    XEvent e;
    XNextEvent(fDpy, &e);
    if (e.type == ClientMessage && static_cast<Atom>(e.xclient.data.l[0]) == fDeleteAtom)
      open = false;
  }
  return open;
}

void EditorWindow::Wait(int timeoutMs) {
  XFlush(fDpy);
  if (XPending(fDpy) > 0) return;
  pollfd p{ConnectionNumber(fDpy), POLLIN, 0};
  poll(&p, 1, timeoutMs);
}

bool EditorWindow::IdleUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    Idle();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    Wait(10);
  }
}

std::uint32_t EditorWindow::PixelAt(int x, int y) {
  XImage* img = XGetImage(fDpy, fWindow, x, y, 1, 1, AllPlanes, ZPixmap);
  if (img == nullptr) return 0;
  const auto p = static_cast<std::uint32_t>(XGetPixel(img, 0, 0)) & 0xFFFFFFu;
  XDestroyImage(img);
  return p;
}

std::vector<std::uint32_t> EditorWindow::Capture() {
  XSync(fDpy, False);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(fWidth) *
                                    static_cast<std::size_t>(fHeight));
  XImage* img = XGetImage(fDpy, fWindow, 0, 0, static_cast<unsigned>(fWidth),
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
