// The popup slide animation, printing a window with its children, and
// buffered repainting.
#include <gtest/gtest.h>

#include "uKestAnim.h"
#include "uKestTools.h"
#include "ui/headless/HeadlessBackend.h"

namespace kest::test {
namespace {

using ui::headless::HeadlessScreen;

// Row y of the picture has the colour (y, 100, 0).
void PaintRows(ui::Canvas& c, int width, int height) {
  for (int y = 0; y < height; ++y)
    c.FillRect({0, y, width, y + 1}, ui::Rgb(y, 100, 0));
}

class PopupWindow {
public:
  static constexpr int kW = 80;
  static constexpr int kH = 60;

  explicit PopupWindow(ui::Point at) {
    ui::WindowDesc d;
    d.bounds = ui::Rect::FromSize(at.x, at.y, kW, kH);
    d.proc = [this](ui::WindowHandle h, std::uint32_t msg, ui::WParam w,
                    ui::LParam l) -> ui::LResult {
      auto* given = reinterpret_cast<ui::Canvas*>(w);
      switch (msg) {
      case ui::WM_PRINT:
        return PaintWindowToDC(h, *given, static_cast<unsigned>(l), {});
      case ui::WM_PRINTCLIENT:
        PaintRows(*given, kW, kH);
        return 0;
      case ui::WM_ERASEBKGND:
        return 1;
      case ui::WM_PAINT: {
        ++paints;
        if (given) { // a buffered repaint hands its canvas over
          PaintRows(*given, kW, kH);
          return 0;
        }
        EndPopupAnimationFor(h);
        ui::PaintStruct ps = ui::BeginPaint(h);
        PaintRows(*ps.canvas, kW, kH);
        ui::EndPaint(h, ps);
        return 0;
      }
      default:
        return ui::DefaultWindowProc(h, msg, w, l);
      }
    };
    handle = ui::CreateWnd(d);
  }
  ~PopupWindow() { ui::DestroyWnd(handle); }

  ui::WindowHandle handle = 0;
  int paints = 0;
};

class Anim : public ::testing::Test {
protected:
  void TearDown() override { EndPopupAnimation(); }
  // The window's surface row y, column x.
  ui::Color Shown(const PopupWindow& w, int x, int y) {
    return ui::GetWindowSurface(w.handle)->ColorAt(x, y);
  }
  bool RowVisible(const PopupWindow& w, int y) {
    const auto region = ui::GetWindowRegion(w.handle);
    return !region || region->Contains(5, y);
  }

  HeadlessScreen screen;
};

TEST_F(Anim, SlidesDownInTenMillisecondStepsForAHundredAndFifty) {
  screen.MoveTo({900, 900});
  PopupWindow w({100, 100});
  StartPopupAnimation(w.handle, {tbadDown});
  EXPECT_TRUE(PopupAnimating());
  EXPECT_TRUE(ui::IsWindowVisible(w.handle));
  EXPECT_FALSE(RowVisible(w, 0)) << "nothing shows before the first frame";
  screen.Advance(9);
  StepPopupAnimation();
  EXPECT_FALSE(RowVisible(w, 0)) << "no frame before 10 ms";
  screen.Advance(1);
  StepPopupAnimation();
  // 10 ms: n = 17, 60 * 17 / 255 = 4 rows, the picture's bottom strip on top.
  EXPECT_TRUE(RowVisible(w, 3));
  EXPECT_FALSE(RowVisible(w, 4));
  EXPECT_EQ(Shown(w, 5, 0), ui::Rgb(56, 100, 0));
  EXPECT_EQ(Shown(w, 5, 3), ui::Rgb(59, 100, 0));
  int frames = 1;
  while (PopupAnimating()) {
    screen.Advance(10);
    StepPopupAnimation();
    frames += PopupAnimating();
  }
  EXPECT_EQ(frames, 14) << "frames at 10 ... 140 ms";
  EXPECT_FALSE(ui::GetWindowRegion(w.handle).has_value()) << "the whole window shows at the end";
  EXPECT_EQ(Shown(w, 5, 0), ui::Rgb(0, 100, 0));
  EXPECT_EQ(Shown(w, 5, 59), ui::Rgb(59, 100, 0));
}

TEST_F(Anim, SlidesFromTheLeftAndRight) {
  screen.MoveTo({900, 900});
  PopupWindow w({100, 100});
  StartPopupAnimation(w.handle, {tbadLeft});
  screen.Advance(10);
  StepPopupAnimation();
  // Moving left: the picture's left edge enters from the right side.
  const auto region = ui::GetWindowRegion(w.handle);
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(region->Intersect(ui::Rect{0, 0, 80, 60}).Bounds(), (ui::Rect{75, 0, 80, 60}));
  StartPopupAnimation(w.handle, {tbadRight, tbadUp});
  screen.Advance(10);
  StepPopupAnimation();
  EXPECT_EQ(ui::GetWindowRegion(w.handle)->Intersect(ui::Rect{0, 0, 80, 60}).Bounds(),
            (ui::Rect{0, 56, 5, 60}));
  EXPECT_EQ(Shown(w, 0, 56), ui::Rgb(0, 100, 0)) << "the picture's top row";
}

TEST_F(Anim, EndsWhenThePointerEntersOrTheWindowPaints) {
  screen.MoveTo({900, 900});
  PopupWindow w({100, 100});
  StartPopupAnimation(w.handle, {tbadDown});
  screen.MoveTo({950, 900}); // moved, still outside
  screen.Advance(10);
  StepPopupAnimation();
  EXPECT_TRUE(PopupAnimating());
  screen.MoveTo({120, 120});
  screen.Advance(10);
  StepPopupAnimation();
  EXPECT_FALSE(PopupAnimating());
  EXPECT_FALSE(ui::GetWindowRegion(w.handle).has_value());

  StartPopupAnimation(w.handle, {tbadUp});
  ui::InvalidateWnd(w.handle);
  screen.Pump();
  EXPECT_FALSE(PopupAnimating()) << "painting ends it at once";
  EXPECT_FALSE(ui::GetWindowRegion(w.handle).has_value());
  EXPECT_EQ(Shown(w, 5, 30), ui::Rgb(30, 100, 0));

  // Another window's end request leaves the slide alone; a new start ends the old.
  PopupWindow other({300, 100});
  StartPopupAnimation(w.handle, {tbadDown});
  EndPopupAnimationFor(other.handle);
  EXPECT_TRUE(PopupAnimating());
  StartPopupAnimation(other.handle, {tbadDown});
  EXPECT_FALSE(ui::GetWindowRegion(w.handle).has_value());
  EndPopupAnimationFor(0);
  EXPECT_FALSE(PopupAnimating());
  EXPECT_THROW(StartPopupAnimation(0, {tbadDown}), std::runtime_error);
}

TEST_F(Anim, SnapshotHoldsTheChildWindows) {
  PopupWindow w({100, 100});
  ui::WindowDesc cd;
  cd.parent = w.handle;
  cd.bounds = {10, 20, 30, 30};
  cd.visible = true;
  cd.proc = [](ui::WindowHandle h, std::uint32_t msg, ui::WParam wp, ui::LParam l) -> ui::LResult {
    if (msg == ui::WM_PRINT)
      return PaintWindowToDC(h, *reinterpret_cast<ui::Canvas*>(wp), static_cast<unsigned>(l), {});
    if (msg == ui::WM_PRINTCLIENT) {
      reinterpret_cast<ui::Canvas*>(wp)->FillRect({0, 0, 20, 10}, ui::Rgb(0, 0, 255));
      return 0;
    }
    return ui::DefaultWindowProc(h, msg, wp, l);
  };
  ui::CreateWnd(cd);
  ui::Bitmap shot(80, 60);
  EXPECT_EQ(PaintWindowToDC(w.handle, shot.GetCanvas(), PRF_CHECKVISIBLE | PRF_CLIENT, {}), 0)
      << "hidden";
  EXPECT_EQ(PaintWindowToDC(w.handle, shot.GetCanvas(), PRF_CLIENT | PRF_CHILDREN, {}), 1);
  EXPECT_EQ(shot.ColorAt(15, 25), ui::Rgb(0, 0, 255));
  EXPECT_EQ(shot.ColorAt(9, 25), ui::Rgb(25, 100, 0));
  EXPECT_EQ(shot.ColorAt(30, 25), ui::Rgb(25, 100, 0)) << "the child is clipped to its bounds";
}

TEST_F(Anim, BufferedRepaintPaintsAtOnceOrFallsBackToInvalidation) {
  PopupWindow w({100, 100});
  BufferedRepaint(w.handle);
  EXPECT_EQ(ui::GetUpdateRect(w.handle), (ui::Rect{0, 0, 80, 60})) << "hidden: repaint later";
  ui::ShowWnd(w.handle, true);
  screen.Pump();
  ui::GetWindowCanvas(w.handle)->FillRect({0, 0, 80, 60}, 0);
  const int paintsBefore = w.paints;
  BufferedRepaint(w.handle);
  EXPECT_EQ(w.paints, paintsBefore + 1);
  EXPECT_TRUE(ui::GetUpdateRect(w.handle).IsEmpty());
  EXPECT_EQ(Shown(w, 5, 40), ui::Rgb(40, 100, 0));
}

} // namespace
} // namespace kest::test
