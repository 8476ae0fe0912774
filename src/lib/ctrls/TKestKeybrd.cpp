#include "TKestKeybrd.h"

#include "KeyboardOutline.h"

#include <algorithm>
#include <vector>

#include "uKestUtils.h"

namespace kest {

namespace {
std::vector<ui::Point> Outline(const KeyOutline& k) {
  std::vector<ui::Point> points;
  for (int i = 0; i < k.Count; ++i)
    points.push_back({k.Points[i][0], k.Points[i][1]});
  return points;
}
} // namespace

TKestKeybrd::TKestKeybrd(ui::Component* AOwner) : TKestControl(AOwner, kWidth, kHeight) {
  for (int i = 0; i < 12; ++i)
    fRgn[static_cast<std::size_t>(i)] = ui::Region::FromPolygon(Outline(kKeyOutlines[i]));
}

void TKestKeybrd::SetValue(float Value) {
  fValue = std::clamp(RoundEven(Value), 0, 11);
}

int TKestKeybrd::KeyAt(ui::Point P) const {
  for (int i = 0; i < 12; ++i) {
    if (fRgn[static_cast<std::size_t>(i)].Contains(P)) return i;
  }
  return -1;
}

void TKestKeybrd::UpdateScreenBmp() {
  CopyEditorBackground();
  if (fSelected >= 0)
    fScreenBmp.GetCanvas().FillRegion(fRgn[static_cast<std::size_t>(fSelected)],
                                      ui::Rgb(0, 255, 0));
}

void TKestKeybrd::MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  if (LeftPressCounts(Button)) {
    DoSelect();
    if (const int key = KeyAt({X, Y}); key >= 0) {
      fSelected = fValue = key;
      DoChange();
      Redraw();
    }
  }
  TKestControl::MouseDown(Button, Shift, X, Y);
}

void TKestKeybrd::MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  if (fSelected >= 0) {
    fSelected = -1;
    Redraw();
  }
  TKestControl::MouseUp(Button, Shift, X, Y);
}

} // namespace kest
