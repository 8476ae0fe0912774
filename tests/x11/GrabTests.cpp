// What a menu loop needs of the X server: a capture held by a window with
// no native window grabs the pointer and the keyboard, a grab the server
// refuses or takes back cancels the capture, and windows take shapes.
#include <array>

#include "XServer.h"
#include "ui/toolkit/Application.h"
#include "ui/x11/X11Backend.h"

// Xlib last, in a block of its own.
#include "XlibLast.h"
#include <X11/extensions/shape.h>

namespace kest::x11test {
namespace {

using namespace kest::ui;

struct Recorded {
  std::vector<std::pair<std::uint32_t, WParam>> messages;
  bool Got(std::uint32_t m) const {
    for (const auto& [msg, w] : messages)
      if (msg == m) return true;
    return false;
  }
};

// A message-only window, as a menu's loop captures the mouse with.
WindowHandle MessageWindow(Recorded& r) {
  WindowDesc d;
  d.messageOnly = true;
  d.proc = [&r](WindowHandle h, std::uint32_t m, WParam w, LParam l) -> LResult {
    r.messages.push_back({m, w});
    return DefaultWindowProc(h, m, w, l);
  };
  return CreateWnd(d);
}

bool HostCanGrabPointer(Host& host) {
  const int r = XGrabPointer(host.Dpy(), DefaultRootWindow(host.Dpy()), False, ButtonPressMask,
                             GrabModeAsync, GrabModeAsync, 0, 0, CurrentTime);
  if (r == GrabSuccess) XUngrabPointer(host.Dpy(), CurrentTime);
  host.Sync();
  return r == GrabSuccess;
}

bool HostCanGrabKeyboard(Host& host) {
  const int r = XGrabKeyboard(host.Dpy(), DefaultRootWindow(host.Dpy()), False, GrabModeAsync,
                              GrabModeAsync, CurrentTime);
  if (r == GrabSuccess) XUngrabKeyboard(host.Dpy(), CurrentTime);
  host.Sync();
  return r == GrabSuccess;
}

using Grabs = X11Test;

TEST_F(Grabs, CaptureByAMessageOnlyWindowTakesPointerAndKeyboard) {
  Recorded r;
  const WindowHandle h = MessageWindow(r);
  SetCaptureWnd(h);
  x11::Idle();
  EXPECT_FALSE(HostCanGrabPointer(*host));
  EXPECT_FALSE(HostCanGrabKeyboard(*host));

  // A press where none of our windows is, and a key, reach it.
  ASSERT_EQ(Xdotool({"mousemove", "--sync", "500", "400", "click", "1"}), 0);
  ASSERT_TRUE(PumpUntil([&] { return r.Got(WM_LBUTTONUP); }));
  EXPECT_EQ(LastMessagePos(), (Point{500, 400}));
  ASSERT_EQ(Xdotool({"key", "x"}), 0);
  ASSERT_TRUE(PumpUntil([&] { return r.Got(WM_KEYUP); }));
  bool gotX = false;
  for (const auto& [m, w] : r.messages)
    gotX = gotX || (m == WM_KEYDOWN && w == 'X');
  EXPECT_TRUE(gotX);
  EXPECT_EQ(GetCaptureWnd(), h);

  ReleaseCaptureWnd();
  x11::Idle();
  EXPECT_TRUE(HostCanGrabPointer(*host));
  EXPECT_TRUE(HostCanGrabKeyboard(*host));
  DestroyWnd(h);
}

TEST_F(Grabs, AGrabHeldElsewhereOrTakenBackCancelsTheCapture) {
  Recorded r;
  const WindowHandle h = MessageWindow(r);
  ::Display* d = host->Dpy();
  const Window root = DefaultRootWindow(d);
  ASSERT_EQ(XGrabPointer(d, root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, 0, 0,
                         CurrentTime),
            GrabSuccess);
  host->Sync();
  SetCaptureWnd(h);
  ASSERT_TRUE(PumpUntil([&] { return r.Got(WM_CANCELMODE); }));
  EXPECT_EQ(GetCaptureWnd(), 0u) << "the capture goes: the menu would never hear a click";
  XUngrabPointer(d, CurrentTime);

  // The keyboard held by someone else fails the capture too, and our
  // pointer grab goes with it.
  r.messages.clear();
  ASSERT_EQ(XGrabKeyboard(d, root, False, GrabModeAsync, GrabModeAsync, CurrentTime), GrabSuccess);
  host->Sync();
  SetCaptureWnd(h);
  ASSERT_TRUE(PumpUntil([&] { return r.Got(WM_CANCELMODE); }));
  EXPECT_EQ(GetCaptureWnd(), 0u);
  XUngrabKeyboard(d, CurrentTime);
  EXPECT_TRUE(PumpUntil([&] { return HostCanGrabPointer(*host); }));

  // A grab the server takes back (its window unmapped by someone) ends it as well.
  r.messages.clear();
  SetCaptureWnd(h);
  x11::Idle();
  ASSERT_FALSE(HostCanGrabPointer(*host));
  Window grabWindow = 0;
  for (Window w : host->Children(root)) {
    const Geometry g = host->Attributes(w);
    if (g.viewable && g.overrideRedirect && g.x == -10 && g.y == -10 && g.width == 1)
      grabWindow = w;
  }
  ASSERT_NE(grabWindow, 0u);
  XUnmapWindow(d, grabWindow);
  host->Sync();
  ASSERT_TRUE(PumpUntil([&] { return r.Got(WM_CANCELMODE); }));
  EXPECT_EQ(GetCaptureWnd(), 0u);
  // ... and the next capture grabs again.
  SetCaptureWnd(h);
  EXPECT_TRUE(PumpUntil([&] { return !HostCanGrabPointer(*host); }));
  ReleaseCaptureWnd();
  x11::Idle();
  DestroyWnd(h);
}

TEST_F(Grabs, WindowsTakeTheirRegionAsShape) {
  EXPECT_TRUE(GetSystemSettings().menuAnimation) << "the server has shapes: menus slide";
  WindowDesc desc;
  desc.bounds = Rect::FromSize(300, 200, 120, 80);
  desc.topmost = true;
  desc.noActivate = true;
  desc.visible = true;
  desc.background = Rgb(250, 250, 250);
  const WindowHandle popup = CreateWnd(desc);
  const auto xid = static_cast<Window>(x11::NativeWindowId(popup));
  ASSERT_TRUE(PumpUntil([&] { return host->Viewable(xid); }));
  auto rectangles = [&] {
    int count = 0, ordering = 0;
    std::vector<std::array<int, 4>> out;
    XRectangle* r = XShapeGetRectangles(host->Dpy(), xid, ShapeBounding, &count, &ordering);
    for (int i = 0; i < count; ++i)
      out.push_back({r[i].x, r[i].y, r[i].width, r[i].height});
    if (r) XFree(r);
    return out;
  };
  // A loaded server may take a moment to show the new shape.
  const std::vector<std::array<int, 4>> lower{{0, 40, 120, 40}};
  SetWindowRegion(popup, Region::FromRect(Rect::FromSize(0, 40, 120, 40)));
  EXPECT_TRUE(PumpUntil([&] {
    host->Sync();
    return rectangles() == lower;
  })) << "the bounding shape is the region";
  Bitmap shown;
  EXPECT_TRUE(PumpUntil([&] {
    shown = host->Capture(300, 200, 120, 80);
    return shown.ColorAt(60, 20) != Rgb(250, 250, 250);
  })) << "outside the shape the desktop shows";
  EXPECT_EQ(shown.ColorAt(60, 60), Rgb(250, 250, 250));
  const std::vector<std::array<int, 4>> whole{{0, 0, 120, 80}};
  SetWindowRegion(popup, std::nullopt);
  EXPECT_TRUE(PumpUntil([&] {
    host->Sync();
    return rectangles() == whole;
  })) << "no region, the whole window";
  DestroyWnd(popup);
}

} // namespace
} // namespace kest::x11test
