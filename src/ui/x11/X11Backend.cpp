// The X11 backend: the connection, the clock, waiting on the connection
// with the timer deadline, monitors, and the public entry points.
#include "ui/x11/X11Backend.h"
#include "ui/x11/X11Internal.h" // first: it tames Xlib's macros

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#ifdef KEST_HAVE_XINERAMA
#include <X11/extensions/Xinerama.h>
#endif

#include <cerrno>

#include "ui/toolkit/Application.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::ui::x11 {

namespace {

std::atomic<X11Backend*> gCurrent{nullptr};
XErrorHandler gPrevious = nullptr;

// Requests on windows the host destroyed under us fail harmlessly; errors of
// other connections in the process (the host's) go to their handler.
int OnXError(Display* d, XErrorEvent* e) {
  X11Backend* b = gCurrent.load();
  if (b && b->Dpy() == d) return 0;
  if (gPrevious) return gPrevious(d, e);
  return 0;
}

Atom Intern(Display* d, const char* name) {
  return XInternAtom(d, name, False);
}

} // namespace

X11Backend* Current() {
  return gCurrent.load();
}

X11Backend::X11Backend(Display* display)
    : fDpy(display), fScreen(DefaultScreen(display)), fRoot(RootWindow(display, fScreen)),
      fVisual(DefaultVisual(display, fScreen)), fDepth(DefaultDepth(display, fScreen)),
      fColormap(DefaultColormap(display, fScreen)), fStart(std::chrono::steady_clock::now()) {
  auto& a = fAtoms;
  a.wmProtocols = Intern(fDpy, "WM_PROTOCOLS");
  a.wmDeleteWindow = Intern(fDpy, "WM_DELETE_WINDOW");
  a.wmState = Intern(fDpy, "WM_STATE");
  a.netWmName = Intern(fDpy, "_NET_WM_NAME");
  a.netWmState = Intern(fDpy, "_NET_WM_STATE");
  a.netWmStateAbove = Intern(fDpy, "_NET_WM_STATE_ABOVE");
  a.netWmStateSkipTaskbar = Intern(fDpy, "_NET_WM_STATE_SKIP_TASKBAR");
  a.netWmWindowType = Intern(fDpy, "_NET_WM_WINDOW_TYPE");
  a.netWmTypeDialog = Intern(fDpy, "_NET_WM_WINDOW_TYPE_DIALOG");
  a.netWmTypePopupMenu = Intern(fDpy, "_NET_WM_WINDOW_TYPE_POPUP_MENU");
  a.netWmTypeNormal = Intern(fDpy, "_NET_WM_WINDOW_TYPE_NORMAL");
  a.netWmPid = Intern(fDpy, "_NET_WM_PID");
  a.netWmOpacity = Intern(fDpy, "_NET_WM_WINDOW_OPACITY");
  a.netWorkArea = Intern(fDpy, "_NET_WORKAREA");
  a.netCurrentDesktop = Intern(fDpy, "_NET_CURRENT_DESKTOP");
  a.motifWmHints = Intern(fDpy, "_MOTIF_WM_HINTS");
  a.utf8String = Intern(fDpy, "UTF8_STRING");
  a.clipboard = Intern(fDpy, "CLIPBOARD");
  a.targets = Intern(fDpy, "TARGETS");
  a.text = Intern(fDpy, "TEXT");
  a.kestSelection = Intern(fDpy, "KEST_SELECTION");

  fGc = XCreateGC(fDpy, fRoot, 0, nullptr);
  CreateGrabWindow();
  QueryShape();
  XSetWindowAttributes attrs{};
  attrs.event_mask = PropertyChangeMask;
  fUtility = XCreateWindow(fDpy, fRoot, -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent,
                           CWEventMask, &attrs);
  // Held keys arrive as repeated presses, not release-press pairs.
  XkbSetDetectableAutoRepeat(fDpy, True, nullptr);
  XSetLocaleModifiers("");
  fIm = XOpenIM(fDpy, nullptr, nullptr, nullptr);
  if (pipe2(fWakePipe, O_NONBLOCK | O_CLOEXEC) != 0) fWakePipe[0] = fWakePipe[1] = -1;
  fPreviousErrorHandler = XSetErrorHandler(OnXError);
  gPrevious = fPreviousErrorHandler;
  gCurrent.store(this);
}

X11Backend::~X11Backend() {
  gCurrent.store(nullptr);
  for (auto& [h, n] : fWindows)
    DestroyNative(n);
  for (auto& [w, ic] : fIcs)
    XDestroyIC(ic);
  if (fIm) XCloseIM(fIm);
  for (auto& [c, xc] : fCursors)
    XFreeCursor(fDpy, xc);
  Ungrab();
  XDestroyWindow(fDpy, fGrabWindow);
  XDestroyWindow(fDpy, fUtility);
  XFreeGC(fDpy, fGc);
  XSync(fDpy, False);
  XSetErrorHandler(fPreviousErrorHandler);
  XCloseDisplay(fDpy);
  for (int fd : fWakePipe)
    if (fd >= 0) close(fd);
}

std::uint32_t X11Backend::Now() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - fStart);
  // Starts well above 0 so that "time minus interval" never wraps at start.
  return static_cast<std::uint32_t>(ms.count()) + 10000u;
}

bool X11Backend::DrainEvents() {
  bool any = false;
  while (XPending(fDpy) > 0) {
    XEvent e;
    XNextEvent(fDpy, &e);
    if (XFilterEvent(&e, kXNone)) continue;
    Handle(e);
    any = true;
  }
  return any;
}

void X11Backend::Wait(std::uint32_t timeoutMs) {
  SyncState();
  if (DrainEvents()) return;
  // A screen reader's calls wake the wait too (negative descriptors are
  // left alone by poll).
  pollfd fds[3] = {{Fd(), POLLIN, 0},
                   {fWakePipe[0], POLLIN, 0},
                   {fAtspi ? fAtspi->Fd() : -1, POLLIN, 0}};
  const int timeout =
      timeoutMs == kInfinite ? -1 : static_cast<int>(std::min<std::uint32_t>(timeoutMs, 1u << 30));
  const int r = poll(fds, 3, timeout);
  if (r > 0 && (fds[1].revents & POLLIN)) {
    char buf[64];
    while (read(fWakePipe[0], buf, sizeof buf) > 0) {
    }
  }
  DispatchAtspi();
  DrainEvents();
}

void X11Backend::Flush() {
  SyncState();
  DispatchAtspi();
}

void X11Backend::DispatchAtspi() {
  if (!fAtspi) return;
  fAtspi->Dispatch();
  // A bus that went away would keep the wait's poll awake for nothing.
  if (!fAtspi->Connected()) fAtspi.reset();
}

void X11Backend::AccessibilityEvent(std::uint32_t event, WindowHandle h, std::int32_t objectId,
                                    std::int32_t childId) {
  if (!fAtspiTried) {
    fAtspiTried = true;
    fAtspi = AtspiBridge::Connect();
  }
  if (fAtspi) fAtspi->Event(event, h, objectId, childId);
}

void X11Backend::Wake() {
  if (fWakePipe[1] < 0) return;
  const char c = 1;
  // A full pipe already wakes the waiter.
  [[maybe_unused]] const auto n = write(fWakePipe[1], &c, 1);
}

std::vector<Monitor> X11Backend::Monitors() {
  std::vector<Monitor> mons;
#ifdef KEST_HAVE_XINERAMA
  int events = 0, errors = 0;
  if (XineramaQueryExtension(fDpy, &events, &errors) && XineramaIsActive(fDpy)) {
    int count = 0;
    if (XineramaScreenInfo* info = XineramaQueryScreens(fDpy, &count)) {
      for (int i = 0; i < count; ++i) {
        const Rect r = Rect::FromSize(info[i].x_org, info[i].y_org, info[i].width, info[i].height);
        mons.push_back({r, r});
      }
      XFree(info);
    }
  }
#endif
  if (mons.empty()) {
    const Rect r{0, 0, DisplayWidth(fDpy, fScreen), DisplayHeight(fDpy, fScreen)};
    mons.push_back({r, r});
  }
  // The desktop's work area (panels left out), one per virtual desktop.
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(fDpy, fRoot, fAtoms.netWorkArea, 0, 1024, False, XA_CARDINAL, &type,
                         &format, &count, &after, &data) == Success &&
      data) {
    long desktop = 0;
    unsigned char* cur = nullptr;
    unsigned long curCount = 0;
    if (XGetWindowProperty(fDpy, fRoot, fAtoms.netCurrentDesktop, 0, 1, False, XA_CARDINAL, &type,
                           &format, &curCount, &after, &cur) == Success &&
        cur) {
      if (curCount == 1) desktop = reinterpret_cast<long*>(cur)[0];
      XFree(cur);
    }
    const auto* v = reinterpret_cast<const long*>(data);
    if (desktop < 0 || static_cast<unsigned long>(desktop * 4 + 4) > count) desktop = 0;
    if (count >= 4) {
      const auto i = static_cast<std::size_t>(desktop * 4);
      const Rect work = Rect::FromSize(static_cast<int>(v[i]), static_cast<int>(v[i + 1]),
                                       static_cast<int>(v[i + 2]), static_cast<int>(v[i + 3]));
      for (Monitor& m : mons) {
        const Rect w = m.bounds.Intersect(work);
        if (!w.IsEmpty()) m.workArea = w;
      }
    }
    XFree(data);
  }
  return mons;
}

void X11Backend::Beep(unsigned) {
  XBell(fDpy, 0);
  XFlush(fDpy);
}

SystemSettings X11Backend::Settings() {
  // The values a desktop without a settings daemon behaves with.
  SystemSettings s;
  s.menuShowDelayMs = 400;
  s.keyboardCues = false;
  // Menus slide in through a growing window shape.
  s.menuAnimation = fHasShape;
  s.dropShadow = true;
  s.doubleClickMs = 400;
  return s;
}

void X11Backend::SyncState() {
  SyncGrab();
  // The keyboard: our own top-level windows take it with their focus; inside
  // a host's window only while a child control (the inline edit) has the
  // focus, so that the host keeps its shortcuts otherwise.
  const WindowHandle focus = GetFocusWnd();
  if (focus != fFocusWnd) {
    fFocusWnd = focus;
    const WindowHandle fr = focus ? GetRootWindow(focus) : 0;
    const auto it = fWindows.find(fr);
    bool want = it != fWindows.end() && !it->second.gone && !it->second.overrideRedirect;
    if (want && it->second.foreignParent) {
      const WindowHandle parent = GetParent(focus);
      want = parent != 0 && parent != fr;
    }
    if (want && it->second.viewable) {
      XSetInputFocus(fDpy, it->second.xid, RevertToParent, CurrentTime);
      if (it->second.foreignParent) fKeysFrom = it->second.foreignParent;
    } else if (!want && fKeysFrom) {
      XSetInputFocus(fDpy, fKeysFrom, RevertToParent, CurrentTime);
      fKeysFrom = 0;
    }
  }
  XFlush(fDpy);
}

// ---- public entry points ----

std::unique_ptr<Backend> Create(const char* displayName) {
  Display* d = XOpenDisplay(displayName);
  if (!d) return nullptr;
  return std::make_unique<X11Backend>(d);
}

bool Installed() {
  return Current() != nullptr && &CurrentBackend() == static_cast<Backend*>(Current());
}

bool Install(const char* displayName) {
  if (Installed()) return true;
  auto b = Create(displayName);
  if (!b) return false;
  InstallBackend(std::move(b));
  return true;
}

WindowHandle WrapForeignWindow(std::uint64_t nativeWindow) {
  if (!Installed() || nativeWindow == 0) return 0;
  return Current()->Wrap(static_cast<Window>(nativeWindow));
}

std::uint64_t NativeWindowId(WindowHandle h) {
  return Installed() ? Current()->XidOf(h) : 0;
}

void Idle() {
  if (Installed()) PumpPending();
}

int ConnectionFd() {
  return Installed() ? Current()->Fd() : -1;
}

} // namespace kest::ui::x11
