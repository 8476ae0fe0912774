#pragma once
// An X server for the tests: a private Xvfb started on first use (or the
// session's display when Xvfb cannot start), a second connection that plays
// the host, and xdotool for real input.
#include <functional>
#include <string>
#include <vector>

#include "ui/gfx/Bitmap.h"

// Xlib stays out of this header: its macros clash with the toolkit's and
// gtest's names. Test files include XlibLast.h after everything else.
struct _XDisplay;

namespace kest::x11test {

using XWindow = unsigned long;

struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
  bool overrideRedirect = false;
  bool viewable = false;
};

// The display name, or empty when no X server can be had.
const std::string& Display();
// Why there is none (for the skip message).
const std::string& Problem();

// Runs a command (the program first: a path, or a name looked up on
// PATH); its exit code (-1 when it did not run).
int RunProgram(const std::vector<std::string>& command);
// Runs xdotool with the arguments; its exit code.
int Xdotool(const std::vector<std::string>& args);

// Pumps the X11 backend (as a host's idle does, waiting for events in
// between) until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// The host's side: its own connection.
class Host {
public:
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;
  _XDisplay* Dpy() const { return fDpy; }
  // A mapped top-level window as a host's editor window would be.
  XWindow CreateWindow(int x, int y, int w, int h);
  std::vector<XWindow> Children(XWindow w);
  bool Viewable(XWindow w);
  Geometry Attributes(XWindow w);
  // What the screen shows in a rectangle of the root window.
  ui::Bitmap Capture(int x, int y, int w, int h);
  void Sync();

private:
  _XDisplay* fDpy = nullptr;
};

} // namespace kest::x11test

// Skips the test with a clear message when no X server is there.
#define KEST_NEED_X()                                                                              \
  do {                                                                                             \
    if (::kest::x11test::Display().empty())                                                        \
      GTEST_SKIP() << "No X server: " << ::kest::x11test::Problem();                               \
  } while (0)

#include <gtest/gtest.h>

#include <memory>

namespace kest::x11test {

// Each test gets a fresh window system on the X11 backend and a host.
class X11Test : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<Host> host;
};

} // namespace kest::x11test
