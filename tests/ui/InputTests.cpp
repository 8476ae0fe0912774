// Input routing: windows under the pointer, double clicks, capture, focus,
// keys and key state, regions, coordinates and monitors.
#include <gtest/gtest.h>

#include "Recorder.h"
#include "TestSupport.h"
#include "ui/headless/HeadlessBackend.h"

namespace kest::ui {
namespace {

using headless::HeadlessScreen;

class Input : public ::testing::Test {
protected:
  HeadlessScreen screen;
  test::Recorder rec;
  WindowHandle top = 0, child = 0, other = 0;
  void SetUp() override {
    top = rec.Create({100, 100, 300, 250});
    child = rec.Create({20, 30, 120, 90}, top);
    other = rec.Create({500, 100, 600, 200});
    screen.Pump();
    rec.log.clear();
  }
};

TEST_F(Input, PressesGoToTheDeepestWindowInClientCoordinates) {
  screen.Click({125, 135});
  screen.Pump();
  const auto* down = rec.Last(WM_LBUTTONDOWN);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->hwnd, child);
  EXPECT_EQ(PointFromLParam(down->l), (Point{5, 5}));
  EXPECT_TRUE(down->w & MK_LBUTTON);
  EXPECT_EQ(GetActiveWnd(), top);
  EXPECT_EQ(LastMessagePos(), (Point{125, 135}));
  EXPECT_EQ(WindowFromPoint({110, 110}), top);
  EXPECT_EQ(WindowFromPoint({50, 50}), 0u);
}

TEST_F(Input, ASecondPressSoonAfterIsADoubleClick) {
  screen.DoubleClick({125, 135});
  screen.Pump();
  EXPECT_EQ(rec.Messages(child),
            (std::vector<std::uint32_t>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE,
                                        WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
  rec.log.clear();
  screen.Click({125, 135});
  screen.Advance(600); // longer than the double-click time
  screen.Click({125, 135});
  screen.Pump();
  EXPECT_EQ(rec.Messages(child).at(4), WM_LBUTTONDOWN);
}

TEST_F(Input, CaptureRoutesAllMouseInputAndAnnouncesItsLoss) {
  SetCaptureWnd(child);
  screen.MoveTo({550, 150}); // over another window
  screen.Press();
  screen.Pump();
  const auto* down = rec.Last(WM_LBUTTONDOWN);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->hwnd, child);
  EXPECT_EQ(PointFromLParam(down->l), (Point{430, 20}));
  EXPECT_TRUE(rec.Messages(other).empty());

  SetCaptureWnd(other);
  const auto* lost = rec.Last(WM_CAPTURECHANGED);
  ASSERT_NE(lost, nullptr);
  EXPECT_EQ(lost->hwnd, child);
  EXPECT_EQ(static_cast<WindowHandle>(lost->l), other);
  SendMsg(other, WM_CANCELMODE); // the default handling gives the capture up
  EXPECT_EQ(GetCaptureWnd(), 0u);
}

TEST_F(Input, FocusMovesWithNoticesAndKeysFollowIt) {
  SetFocusWnd(child);
  SetFocusWnd(top);
  const auto* kill = rec.Last(WM_KILLFOCUS);
  ASSERT_NE(kill, nullptr);
  EXPECT_EQ(kill->hwnd, child);
  EXPECT_EQ(static_cast<WindowHandle>(kill->w), top);
  EXPECT_EQ(rec.Last(WM_SETFOCUS)->w, child);

  rec.log.clear();
  screen.KeyDown(VK_SHIFT);
  screen.KeyDown('A', u'A');
  // The key state follows the messages retrieved, the async one the input.
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
  EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
  screen.Pump();
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  EXPECT_EQ(rec.Messages(top), (std::vector<std::uint32_t>{WM_KEYDOWN, WM_KEYDOWN, WM_CHAR}));
  EXPECT_EQ(rec.Last(WM_CHAR)->w, u'A');
  screen.KeyDown(VK_MENU);
  screen.KeyDown(VK_F1);
  screen.Pump();
  EXPECT_EQ(rec.Last(WM_SYSKEYDOWN)->w, VK_F1);
  EXPECT_EQ(GetKeyState(-5), 0); // nonsense keys are simply up
}

TEST_F(Input, HiddenDisabledAndShapedWindowsLetThePointerThrough) {
  SetWindowRegion(top, Region::FromRect({0, 0, 10, 10}));
  EXPECT_EQ(WindowFromPoint({105, 105}), top);
  EXPECT_EQ(WindowFromPoint({150, 150}), 0u);
  SetWindowRegion(top, std::nullopt);
  EnableWnd(child, false);
  EXPECT_EQ(WindowFromPoint({125, 135}), top);
  EnableWnd(child, true);
  ShowWnd(child, false);
  EXPECT_EQ(WindowFromPoint({125, 135}), top);
  EXPECT_FALSE(IsWindowVisible(child));
  EnableWnd(top, false);
  screen.Click({150, 150}); // a disabled window gets no input
  screen.Pump();
  EXPECT_EQ(rec.Last(WM_LBUTTONDOWN), nullptr);
}

TEST_F(Input, CoordinatesAndMonitors) {
  const WindowHandle grandchild = rec.Create({5, 6, 15, 16}, child);
  EXPECT_EQ(ClientToScreen(grandchild, {1, 1}), (Point{126, 137}));
  EXPECT_EQ(ScreenToClient(grandchild, {126, 137}), (Point{1, 1}));
  EXPECT_EQ(GetWindowScreenRect(child), (Rect{120, 130, 220, 190}));
  EXPECT_TRUE(IsChild(top, grandchild));
  EXPECT_EQ(GetRootWindow(grandchild), top);
  SetWindowBounds(child, {0, 0, 30, 30});
  EXPECT_EQ(GetClientRect(child), (Rect{0, 0, 30, 30}));
  DestroyWnd(top);
  EXPECT_FALSE(IsWindow(grandchild));

  headless::HeadlessConfig two;
  two.monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
                  {{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}}};
  HeadlessScreen wide(two);
  EXPECT_EQ(MonitorFromPoint({5000, 10}).bounds.left, 1920);
  EXPECT_EQ(MonitorFromPoint({-50, 500}).workArea.bottom, 1040);
  EXPECT_EQ(MonitorFromRect({1900, 0, 2100, 100}).bounds.left, 1920);
}

TEST_F(Input, PointerShapeAndHiding) {
  SetCursorShape(Cursor::Hand);
  EXPECT_EQ(screen->shownCursor, Cursor::Hand);
  EXPECT_EQ(ShowPointer(false), -1);
  EXPECT_FALSE(PointerVisible());
  EXPECT_EQ(ShowPointer(true), 0);
  EXPECT_TRUE(screen->pointerShown);
  SetCursorShape(Cursor::None);
  EXPECT_FALSE(screen->pointerShown);
  MessageBeep(MB_ICONEXCLAMATION);
  EXPECT_EQ(screen->beeps, (std::vector<unsigned>{MB_ICONEXCLAMATION}));
}

} // namespace
} // namespace kest::ui

namespace kest::ui {
namespace {

TEST(WindowMove, SystemMoveCommandDragsTheWindowUntilRelease) {
  headless::HeadlessScreen screen;
  WindowDesc d;
  d.bounds = {100, 100, 428, 340};
  d.visible = true;
  d.proc = [](WindowHandle h, std::uint32_t m, WParam w, LParam l) -> LResult {
    if (m == WM_LBUTTONDOWN) {
      ReleaseCaptureWnd();
      SendMsg(h, WM_SYSCOMMAND, SC_MOVE | HTCAPTION);
      return 0;
    }
    return DefaultWindowProc(h, m, w, l);
  };
  const WindowHandle about = CreateWnd(d);
  screen.MoveTo({110, 105});
  screen.Press();
  screen.MoveTo({150, 125});
  screen.MoveTo({170, 135});
  screen.Release();
  screen.Pump();
  EXPECT_EQ(GetWindowBounds(about), (Rect{160, 130, 488, 370}));
  EXPECT_EQ(GetCaptureWnd(), 0u);
}

TEST(WindowOpacity, TranslucentWindowsMixWithTheScreenBelow) {
  headless::HeadlessConfig cfg;
  cfg.monitors = {{{0, 0, 40, 40}, {0, 0, 40, 40}}};
  cfg.desktop = Rgb(0, 0, 0);
  headless::HeadlessScreen screen(cfg);
  WindowDesc d;
  d.bounds = {0, 0, 20, 20};
  d.visible = true;
  d.background = Rgb(255, 255, 255);
  const WindowHandle popup = CreateWnd(d);
  screen.Pump();
  SetWindowOpacity(popup, 228);
  const Bitmap shot = screen.Screenshot();
  EXPECT_EQ(shot.ColorAt(5, 5), Rgb(228, 228, 228));
  EXPECT_EQ(shot.ColorAt(30, 30), Rgb(0, 0, 0));
}

} // namespace
} // namespace kest::ui
