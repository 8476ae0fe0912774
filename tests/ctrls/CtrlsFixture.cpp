#include "CtrlsFixture.h"

#include <climits>
#include <filesystem>

#include "uKestSkins.h"
#include "ui/gfx/Font.h"
#include "ui/toolkit/Application.h"

namespace kest::test {

namespace {
constexpr const char* kRegular = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
} // namespace

void CtrlsTest::SetUp() {
  ui::App().Reset();
  // Text pictures must not depend on the fonts of the machine.
  if (std::filesystem::exists(kRegular) && std::filesystem::exists(kBold))
    ui::PinFontFace("Tahoma", kRegular, kBold);
  LoadSharedSkins();
  form = new ui::Form(nullptr);
  form->SetBounds(100, 100, 494, 383);
  form->OnPaint = [this](ui::Component*) { form->GetCanvas().Draw(0, 0, *SkinEditor); };
  form->Show();
  screen.Pump();
}

void CtrlsTest::TearDown() {
  delete form;
  ui::App().Reset();
}

void CtrlsTest::ClickAt(const ui::Control* c, int x, int y, ui::MouseButton b) {
  screen.Click(At(c, x, y), b);
  screen.Pump();
}

void CtrlsTest::PressAt(const ui::Control* c, int x, int y, ui::MouseButton b) {
  screen.MoveTo(At(c, x, y));
  screen.Press(b);
  screen.Pump();
}

void CtrlsTest::MoveTo(const ui::Control* c, int x, int y) {
  screen.MoveTo(At(c, x, y));
  screen.Pump();
}

void CtrlsTest::Release(ui::MouseButton b) {
  screen.Release(b);
  screen.Pump();
}

std::string OutputPath(const std::string& name) {
  return std::string(KEST_TEST_OUTPUT_DIR) + "/" + name;
}

int DifferentPixels(const ui::Bitmap& a, const ui::Bitmap& b) {
  int n = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x)
      n += a.ColorAt(x, y) != b.ColorAt(x, y);
  }
  return n;
}

ui::Rect DifferenceBounds(const ui::Bitmap& a, const ui::Bitmap& b) {
  ui::Rect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.ColorAt(x, y) == b.ColorAt(x, y)) continue;
      r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
           std::max(r.bottom, y + 1)};
    }
  }
  return r.IsEmpty() ? ui::Rect{} : r;
}

bool SameBlock(const ui::Bitmap& a, int ax, int ay, const ui::Bitmap& b, int bx, int by, int w,
               int h) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (a.ColorAt(ax + x, ay + y) != b.ColorAt(bx + x, by + y)) return false;
    }
  }
  return true;
}

} // namespace kest::test
