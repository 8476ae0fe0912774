#include "TKestSlider.h"

#include <algorithm>
#include <cmath>

#include "uKestSkins.h"
#include "uKestUtils.h"

namespace kest {

TKestSlider::TKestSlider(ui::Component* AOwner) : TKestStepCtrl(AOwner, kWidth, kHeight) {
  fMaxValue = 100;
  UpdateScreenBmp();
}

float TKestSlider::GetValue() const {
  return static_cast<float>(static_cast<double>(fMinValue) +
                            fPosition * (static_cast<double>(fMaxValue) - fMinValue) /
                                kMaxPosition);
}

void TKestSlider::SetValue(float Value) {
  const double span = static_cast<double>(fMaxValue) - fMinValue;
  // An empty range has only one place to show; values outside the range
  // would put the handle beside the track, so they are held at its ends.
  double p = span == 0 ? 0 : (Value - static_cast<double>(fMinValue)) / (span / kMaxPosition);
  if (!std::isfinite(p)) p = 0;
  const int n = std::clamp(RoundEven(std::clamp(p, -1.0, kMaxPosition + 1.0)), 0, kMaxPosition);
  if (n == fPosition) return;
  fPosition = n;
  Redraw();
}

void TKestSlider::SetPosition(int Value) {
  if (Value == fPosition) return;
  const int n = std::clamp(Value, 0, kMaxPosition);
  if (n == fPosition) return;
  fPosition = n;
  Redraw();
}

void TKestSlider::UpdateScreenBmp() {
  ui::Canvas& c = fScreenBmp.GetCanvas();
  c.BitBlt(0, 0, Width(), Height(), fBgBmp, 0, 0);
  fHandleRect = ui::Rect::FromSize(fPosition + 3, 3, 26, 17);
  if (SkinSliderHead) {
    const ui::Rect src{0, 0, SkinSliderHead->Width(), SkinSliderHead->Height()};
    c.AlphaBlend(src.Offset(fPosition + 3, 0), *SkinSliderHead, src, {255, true});
  }
}

void TKestSlider::MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  if (LeftPressCounts(Button) && !(Shift & ui::ssDouble) && fHandleRect.Contains({X, Y})) {
    fDragPos = X - fPosition;
    fDragged = true;
    HidePointerForDrag();
    DoSelect();
  }
  TKestStepCtrl::MouseDown(Button, Shift, X, Y);
}

void TKestSlider::MouseMove(ui::ShiftState Shift, int X, int Y) {
  if (fDragged) {
    const int before = fPosition;
    SetPosition(X - fDragPos);
    if (fPosition != before) DoChange();
  }
  TKestStepCtrl::MouseMove(Shift, X, Y);
}

void TKestSlider::MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  if (fDragged) {
    fDragged = false;
    RestorePointerAfterDrag();
  }
  TKestStepCtrl::MouseUp(Button, Shift, X, Y);
}

} // namespace kest
