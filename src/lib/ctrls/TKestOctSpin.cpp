#include "TKestOctSpin.h"

#include <algorithm>

#include "uKestSkins.h"
#include "uKestUtils.h"

namespace kest {

TKestOctSpin::TKestOctSpin(ui::Component* AOwner) : TKestControl(AOwner, kWidth, kHeight) {
  fMaxValue = 9;
  UpdateScreenBmp();
}

void TKestOctSpin::ClampValue() {
  fValue = std::min(fValue, RoundEven(fMaxValue));
  fValue = std::max(fValue, RoundEven(fMinValue));
}

void TKestOctSpin::SetValue(float Value) {
  const int n = RoundEven(Value);
  if (n == fValue) return;
  fValue = n;
  ClampValue();
  Redraw();
}

void TKestOctSpin::SetMaxValue(float Value) {
  TKestControl::SetMaxValue(Value);
  // One digit: the range never leaves 0...9.
  if (fMaxValue > 9) fMaxValue = 9;
  ClampValue();
  Redraw();
}

void TKestOctSpin::SetMinValue(float Value) {
  TKestControl::SetMinValue(Value);
  if (fMinValue < 0) fMinValue = 0;
  ClampValue();
  Redraw();
}

void TKestOctSpin::SetAsInteger(int Value) {
  fValue = Value;
  Redraw();
}

void TKestOctSpin::UpdateScreenBmp() {
  CopyEditorBackground();
  ui::Canvas& c = fScreenBmp.GetCanvas();
  // A digit outside 0...9 would read a cell beyond the strip.
  if (SkinSpinDigits && fValue >= 0 && fValue <= 9)
    c.BitBlt(4, 5, 6, 9, *SkinSpinDigits, 6 + 6 * fValue, 0);
  if (SkinOctDn) {
    if (fUpPushed) c.BitBlt(fUpRect.left, fUpRect.top, 9, 8, *SkinOctDn, 0, 0);
    if (fDnPushed) c.BitBlt(fDnRect.left, fDnRect.top, 9, 8, *SkinOctDn, 0, 8);
  }
}

void TKestOctSpin::MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  if (LeftPressCounts(Button)) {
    DoSelect();
    fUpPushed = fUpRect.Contains({X, Y});
    fDnPushed = fDnRect.Contains({X, Y});
    if (fUpPushed || fDnPushed) {
      SetValue(static_cast<float>(fUpPushed ? fValue + 1 : fValue - 1));
      // Also at a limit: the editor re-sends the root note it shows.
      DoChange();
      Redraw();
    }
  }
  TKestControl::MouseDown(Button, Shift, X, Y);
}

void TKestOctSpin::MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  if (fUpPushed || fDnPushed) {
    fUpPushed = fDnPushed = false;
    Redraw();
  }
  TKestControl::MouseUp(Button, Shift, X, Y);
}

} // namespace kest
