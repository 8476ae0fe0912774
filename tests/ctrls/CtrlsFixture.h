#pragma once
// A shown form on the headless screen with the real skins loaded, and
// helpers to place controls and press on them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/headless/HeadlessBackend.h"
#include "ui/toolkit/Form.h"

namespace kest::test {

class CtrlsTest : public ::testing::Test {
protected:
  explicit CtrlsTest(ui::headless::HeadlessConfig config = {}) : screen(std::move(config)) {}
  void SetUp() override;
  void TearDown() override;

  // A control owned and shown by the form at (left, top).
  template <class T> T* Place(int left, int top) {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetBounds(left, top, c->Width(), c->Height());
    return c;
  }

  static ui::Point At(const ui::Control* c, int x, int y) { return c->ClientToScreen({x, y}); }
  void ClickAt(const ui::Control* c, int x, int y, ui::MouseButton b = ui::MouseButton::Left);
  void PressAt(const ui::Control* c, int x, int y, ui::MouseButton b = ui::MouseButton::Left);
  void MoveTo(const ui::Control* c, int x, int y);
  void Release(ui::MouseButton b = ui::MouseButton::Left);

  ui::headless::HeadlessScreen screen;
  ui::Form* form = nullptr;
  std::vector<std::string> log;
};

// Where tests may write files (the build folder).
std::string OutputPath(const std::string& name);
// Pixels that differ between two same-sized bitmaps, and their bounds.
int DifferentPixels(const ui::Bitmap& a, const ui::Bitmap& b);
ui::Rect DifferenceBounds(const ui::Bitmap& a, const ui::Bitmap& b);
// True when the w x h block of a at (ax, ay) equals that of b at (bx, by).
bool SameBlock(const ui::Bitmap& a, int ax, int ay, const ui::Bitmap& b, int bx, int by, int w,
               int h);

} // namespace kest::test
