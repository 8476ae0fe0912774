// The editor tests' desktop on Linux: the tests' private X server, a
// connection of its own to look at it, and xdotool for real input.
#include <cstdlib>

#include "EditorDriver.h"
#include "XServer.h"

// Xlib last, in a block of its own.
#include "XlibLast.h"

namespace kest::editortest {

namespace {

using x11test::Geometry;

class X11Desktop : public EditorDriver {
public:
  X11Desktop() {
    if (x11test::Display().empty()) {
      fProblem = x11test::Problem();
      return;
    }
    // The editor's services (file choosers, links) start desktop programs
    // that need the display too.
    setenv("DISPLAY", x11test::Display().c_str(), 1);
    fScreen = std::make_unique<x11test::Host>();
  }

  const std::string& Problem() const override { return fProblem; }
  const char* DisplayName() const override { return x11test::Display().c_str(); }

  void MoveTo(int x, int y) override {
    // A synchronous move waits for the pointer to leave where it is, for
    // ever when it is at the target already: it comes from one pixel off.
    x11test::Xdotool({"mousemove", std::to_string(x + 1), std::to_string(y)});
    x11test::Xdotool({"mousemove", "--sync", std::to_string(x), std::to_string(y)});
  }
  void Press() override { x11test::Xdotool({"mousedown", "1"}); }
  void Release() override { x11test::Xdotool({"mouseup", "1"}); }
  void Key(const std::string& name) override { x11test::Xdotool({"key", name}); }

  std::vector<ScreenWindow> Children(std::uintptr_t parent) override {
    std::vector<ScreenWindow> out;
    for (x11test::XWindow w : fScreen->Children(parent))
      out.push_back(Describe(w));
    return out;
  }
  std::vector<ScreenWindow> TopLevels() override {
    std::vector<ScreenWindow> out;
    for (const ScreenWindow& w : Children(DefaultRootWindow(fScreen->Dpy())))
      if (w.shown) out.push_back(w);
    return out;
  }
  ScreenWindow Where(std::uintptr_t window) override {
    ScreenWindow w = Describe(window);
    ::Window child = 0;
    XTranslateCoordinates(fScreen->Dpy(), window, DefaultRootWindow(fScreen->Dpy()), 0, 0, &w.x,
                          &w.y, &child);
    return w;
  }
  ui::Bitmap Capture(int x, int y, int width, int height) override {
    return fScreen->Capture(x, y, width, height);
  }
  int ScreenWidth() override { return DisplayWidth(fScreen->Dpy(), DefaultScreen(fScreen->Dpy())); }
  int ScreenHeight() override {
    return DisplayHeight(fScreen->Dpy(), DefaultScreen(fScreen->Dpy()));
  }
  int Run(const std::vector<std::string>& command) override {
    return x11test::RunProgram(command);
  }

private:
  ScreenWindow Describe(x11test::XWindow w) {
    const Geometry g = fScreen->Attributes(w);
    // Menus are override-redirect: the window manager leaves them alone.
    return {w, g.x, g.y, g.width, g.height, g.viewable, g.overrideRedirect};
  }

  std::string fProblem;
  std::unique_ptr<x11test::Host> fScreen;
};

} // namespace

EditorDriver& Desktop() {
  static X11Desktop desktop;
  return desktop;
}

} // namespace kest::editortest
