// What popup menus need of the window system: message-only windows, the
// capture they hold and lose, framed windows, the control of a window,
// painting into a given canvas, and driving a nested loop in a test.
#include <gtest/gtest.h>

#include <stdexcept>

#include "TestSupport.h"
#include "ui/headless/HeadlessBackend.h"
#include "ui/toolkit/Timer.h"
#include "ui/toolkit/WinControl.h"

namespace kest::ui {
namespace {

using headless::HeadlessScreen;

struct Heard {
  std::uint32_t msg;
  Point at; // client coordinates for mouse messages
};

// A window that records the messages it is sent.
WindowHandle Make(WindowDesc d, std::vector<Heard>& heard) {
  d.proc = [&heard](WindowHandle h, std::uint32_t m, WParam w, LParam l) -> LResult {
    heard.push_back({m, PointFromLParam(l)});
    return DefaultWindowProc(h, m, w, l);
  };
  return CreateWnd(d);
}

bool Got(const std::vector<Heard>& heard, std::uint32_t msg) {
  for (const Heard& h : heard)
    if (h.msg == msg) return true;
  return false;
}

TEST(MessageOnly, NeverOnTheScreenButHearsTimersInputAndTheCapture) {
  HeadlessScreen screen;
  std::vector<Heard> heard, underHeard;
  WindowDesc d;
  d.messageOnly = true;
  d.visible = true;
  d.bounds = Rect::FromSize(0, 0, 500, 500);
  const WindowHandle h = Make(d, heard);
  WindowDesc under;
  under.visible = true;
  under.bounds = Rect::FromSize(10, 10, 100, 100);
  const WindowHandle other = Make(under, underHeard);
  EXPECT_EQ(GetTopLevelWindows(), std::vector<WindowHandle>{other});
  EXPECT_FALSE(IsWindowVisible(h));
  ShowWnd(h, true);
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_EQ(GetWindowSurface(h), nullptr);
  EXPECT_EQ(WindowFromPoint({300, 300}), 0u);
  EXPECT_EQ(SetFocusWnd(h), 0u);
  EXPECT_EQ(SetActiveWnd(h), 0u);
  EXPECT_EQ(GetActiveWnd(), 0u);

  ASSERT_TRUE(SetTimer(h, 7, 50));
  screen.RunFor(50);
  EXPECT_TRUE(Got(heard, WM_TIMER));
  KillTimer(h, 7);

  // Holding the capture, it hears presses on other windows and the keys
  // of a thread with nothing focused.
  SetCaptureWnd(h);
  screen.Click({50, 60});
  screen.Key('K', u'k');
  screen.Pump();
  EXPECT_FALSE(Got(underHeard, WM_LBUTTONDOWN));
  ASSERT_TRUE(Got(heard, WM_LBUTTONDOWN));
  EXPECT_TRUE(Got(heard, WM_KEYDOWN));

  // The backend took the pointer away: the capture goes with WM_CANCELMODE.
  InputCancelMode();
  screen.Pump();
  EXPECT_TRUE(Got(heard, WM_CANCELMODE));
  EXPECT_EQ(GetCaptureWnd(), 0u);
  heard.clear();
  InputCancelMode(); // nobody holds it: nothing to tell
  screen.Pump();
  EXPECT_FALSE(Got(heard, WM_CANCELMODE));

  Timer timer(nullptr);
  EXPECT_EQ(GetTopLevelWindows().size(), 1u) << "timers make no windows on the screen";
}

TEST(Frame, ClientAreaInsideAFramePaintedOnItsOwn) {
  HeadlessScreen screen;
  std::vector<Heard> heard;
  int ncPaints = 0;
  WindowDesc d;
  d.visible = true;
  d.bounds = Rect::FromSize(100, 100, 60, 40);
  d.frame = {3, 2, 3, 4};
  d.background = Rgb(0, 0, 200);
  d.proc = [&](WindowHandle h, std::uint32_t m, WParam w, LParam l) -> LResult {
    heard.push_back({m, PointFromLParam(l)});
    if (m == WM_NCPAINT) {
      ++ncPaints;
      auto* c = reinterpret_cast<Canvas*>(w);
      c->FillRect({0, 0, 60, 40}, Rgb(200, 0, 0)); // covers the client too: it must not show
      return 0;
    }
    return DefaultWindowProc(h, m, w, l);
  };
  const WindowHandle h = CreateWnd(d);
  EXPECT_EQ(GetClientRect(h), (Rect{0, 0, 54, 34}));
  EXPECT_EQ(GetWindowScreenRect(h), Rect::FromSize(100, 100, 60, 40));
  EXPECT_EQ(ClientToScreen(h, {0, 0}), (Point{103, 102}));
  screen.Pump();
  EXPECT_EQ(ncPaints, 1);
  Bitmap shot = screen.Screenshot(h);
  EXPECT_EQ(shot.ColorAt(0, 0), Rgb(200, 0, 0));
  EXPECT_EQ(shot.ColorAt(59, 39), Rgb(200, 0, 0));
  EXPECT_EQ(shot.ColorAt(3, 2), Rgb(0, 0, 200));
  EXPECT_EQ(shot.ColorAt(56, 35), Rgb(0, 0, 200));

  // The client repaints without the frame; a new size paints both.
  InvalidateWnd(h);
  screen.Pump();
  EXPECT_EQ(ncPaints, 1);
  heard.clear();
  SetWindowBounds(h, Rect::FromSize(100, 100, 80, 50));
  screen.Pump();
  EXPECT_EQ(ncPaints, 2);
  ASSERT_TRUE(Got(heard, WM_SIZE));
  for (const Heard& x : heard)
    if (x.msg == WM_SIZE) {
      EXPECT_EQ(x.at, (Point{74, 44})) << "the client size";
    }

  // Mouse input in the frame comes in client coordinates.
  heard.clear();
  screen.Click({101, 101});
  screen.Pump();
  ASSERT_TRUE(Got(heard, WM_LBUTTONDOWN));
  for (const Heard& x : heard)
    if (x.msg == WM_LBUTTONDOWN) {
      EXPECT_EQ(x.at, (Point{-2, -1}));
    }
  // Children live in the client area.
  WindowDesc cd;
  cd.parent = h;
  cd.visible = true;
  cd.bounds = Rect::FromSize(0, 0, 10, 10);
  const WindowHandle child = CreateWnd(cd);
  EXPECT_EQ(GetWindowScreenRect(child), Rect::FromSize(103, 102, 10, 10));
  EXPECT_EQ(WindowFromPoint({104, 103}), child);
  EXPECT_EQ(WindowFromPoint({102, 103}), h);
}

class Swatch : public WinControl {
public:
  using WinControl::WinControl;

protected:
  void PaintWindow(Canvas& c) override { c.FillRect(ClientRect(), Rgb(10, 200, 30)); }
};

TEST(WinControlWindows, FoundByHandleAndPaintIntoAGivenCanvas) {
  HeadlessScreen screen;
  Swatch s(nullptr);
  s.SetBounds(10, 10, 20, 20);
  const WindowHandle h = s.Handle();
  EXPECT_EQ(WinControl::FindControl(h), &s);
  WindowDesc plain;
  EXPECT_EQ(WinControl::FindControl(CreateWnd(plain)), nullptr);
  EXPECT_EQ(WinControl::FindControl(0), nullptr);

  // A buffered repaint hands its bitmap over with WM_PAINT.
  Bitmap buffer(20, 20);
  SendMsg(h, WM_PAINT, reinterpret_cast<WParam>(&buffer.GetCanvas()));
  EXPECT_EQ(buffer.ColorAt(0, 0), Rgb(10, 200, 30));
  EXPECT_EQ(buffer.ColorAt(19, 19), Rgb(10, 200, 30));
  s.DestroyHandle();
  EXPECT_EQ(WinControl::FindControl(h), nullptr);
}

TEST(NestedLoops, ATestDrivesThemFromTheWaitHook) {
  HeadlessScreen screen;
  std::vector<Heard> heard;
  WindowDesc d;
  d.visible = true;
  d.bounds = Rect::FromSize(0, 0, 50, 50);
  const WindowHandle h = Make(d, heard);
  SetActiveWnd(h);
  screen.Pump();
  std::vector<std::uint32_t> waits;
  screen->onWait = [&](std::uint32_t timeout) {
    waits.push_back(timeout);
    if (waits.size() == 1) {
      screen.Key(VK_ESCAPE);
      return true;
    }
    if (waits.size() == 2) {
      screen.Advance(30); // lets the timer come due
      return true;
    }
    return false;
  };
  // A loop like a menu's: waits for input, then for a timer.
  Message m;
  ASSERT_TRUE(GetMsg(m));
  EXPECT_EQ(m.message, WM_KEYDOWN);
  EXPECT_EQ(m.wParam, VK_ESCAPE);
  ASSERT_TRUE(GetMsg(m)); // the key's release
  SetTimer(h, 1, 30);
  const std::uint32_t start = screen.Now();
  ASSERT_TRUE(GetMsg(m));
  EXPECT_EQ(m.message, WM_TIMER);
  EXPECT_EQ(screen.Now() - start, 30u);
  EXPECT_EQ(waits, (std::vector<std::uint32_t>{kInfinite, 30}));
  KillTimer(h, 1);
  // Nothing more to do: the wait that would never end is an error, not a hang.
  EXPECT_THROW(GetMsg(m), std::logic_error);
}

} // namespace
} // namespace kest::ui
