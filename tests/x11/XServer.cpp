#include "XServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "ui/toolkit/Application.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/x11/X11Backend.h"

// Xlib last, in a block of its own.
#include "XlibLast.h"

extern char** environ;

namespace kest::x11test {

namespace {

struct Server {
  std::string display;
  std::string problem;
  pid_t pid = -1;

  Server() {
    if (StartXvfb()) return;
    const char* env = std::getenv("DISPLAY");
    if (env && *env) {
      if (::Display* d = XOpenDisplay(env)) {
        XCloseDisplay(d);
        display = env;
        return;
      }
    }
    problem += " and $DISPLAY names no usable server";
  }

  ~Server() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      int status = 0;
      waitpid(pid, &status, 0);
    }
  }

  bool StartXvfb() {
    int fds[2];
    if (pipe(fds) != 0) {
      problem = "no pipe for Xvfb";
      return false;
    }
    // The server goes with us even when we crash (a sanitizer abort skips
    // destructors), and it holds none of our output open.
    pid = fork();
    if (pid == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      dup2(fds[1], 9);
      const int null = open("/dev/null", O_RDWR);
      dup2(null, 0);
      dup2(null, 1);
      dup2(null, 2);
      execlp("Xvfb", "Xvfb", "-displayfd", "9", "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             "-noreset", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
      close(fds[0]);
      pid = -1;
      problem = "Xvfb could not be started (fork failed)";
      return false;
    }
    // The server writes its display number once it accepts connections.
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 15000) > 0) {
      char c = 0;
      if (read(fds[0], &c, 1) != 1 || c == '\n') break;
      number.push_back(c);
    }
    close(fds[0]);
    if (number.empty()) {
      problem = "Xvfb could not be started (install xvfb) or reported no display";
      return false;
    }
    display = ":" + number;
    setenv("DISPLAY", display.c_str(), 1);
    return true;
  }
};

Server& TheServer() {
  static Server s;
  return s;
}

} // namespace

const std::string& Display() {
  return TheServer().display;
}
const std::string& Problem() {
  return TheServer().problem;
}

int RunProgram(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const auto& a : command)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int Xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProgram(argv);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    ui::x11::Idle();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    ui::WaitMsg(20);
  }
}

namespace {
// The host asks about our windows while the server may not have made them
// yet: such a question simply fails (and is asked again).
int IgnoreErrors(::Display*, XErrorEvent*) {
  return 0;
}
} // namespace

Host::Host() {
  XSetErrorHandler(IgnoreErrors);
  fDpy = XOpenDisplay(Display().c_str());
}

Host::~Host() {
  if (fDpy) XCloseDisplay(fDpy);
}

Window Host::CreateWindow(int x, int y, int w, int h) {
  XSetWindowAttributes a{};
  a.background_pixel = 0x404040;
  a.override_redirect = True; // no window manager runs: place it exactly
  const Window win = XCreateWindow(fDpy, DefaultRootWindow(fDpy), x, y, static_cast<unsigned>(w),
                                   static_cast<unsigned>(h), 0, CopyFromParent, InputOutput,
                                   CopyFromParent, CWBackPixel | CWOverrideRedirect, &a);
  XMapWindow(fDpy, win);
  XSync(fDpy, False);
  return win;
}

std::vector<Window> Host::Children(Window w) {
  Window root = 0, parent = 0, *kids = nullptr;
  unsigned n = 0;
  std::vector<Window> out;
  if (XQueryTree(fDpy, w, &root, &parent, &kids, &n)) {
    out.assign(kids, kids + n);
    if (kids) XFree(kids);
  }
  return out;
}

void Host::Sync() {
  XSync(fDpy, False);
}

Geometry Host::Attributes(Window w) {
  XWindowAttributes a{};
  if (!XGetWindowAttributes(fDpy, w, &a)) return {};
  return {a.x, a.y, a.width, a.height, a.override_redirect != 0, a.map_state == IsViewable};
}

bool Host::Viewable(Window w) {
  return Attributes(w).viewable;
}

ui::Bitmap Host::Capture(int x, int y, int w, int h) {
  XSync(fDpy, False);
  XImage* img = XGetImage(fDpy, DefaultRootWindow(fDpy), x, y, static_cast<unsigned>(w),
                          static_cast<unsigned>(h), AllPlanes, ZPixmap);
  ui::Bitmap bmp(w, h);
  if (!img) return bmp;
  for (int yy = 0; yy < h; ++yy)
    for (int xx = 0; xx < w; ++xx) {
      const unsigned long p = XGetPixel(img, xx, yy);
      bmp.SetPixel(xx, yy,
                   ui::MakePixel(static_cast<int>((p >> 16) & 255),
                                 static_cast<int>((p >> 8) & 255), static_cast<int>(p & 255)));
    }
  XDestroyImage(img);
  return bmp;
}

} // namespace kest::x11test

namespace kest::x11test {

void X11Test::SetUp() {
  KEST_NEED_X();
  ui::InstallBackend(nullptr);
  host = std::make_unique<Host>(); // first: the backend keeps its error handler for the host
  ASSERT_NE(host->Dpy(), nullptr);
  ASSERT_TRUE(ui::x11::Install(Display().c_str()));
  ui::App().Reset();
}

void X11Test::TearDown() {
  // The window system is left on the headless backend with no X resources.
  ui::InstallBackend(nullptr);
  host.reset();
}

} // namespace kest::x11test
