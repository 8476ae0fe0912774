#include "TKestStepLed.h"

#include "uKestSkins.h"

namespace kest {

TKestStepLed::TKestStepLed(ui::Component* AOwner) : TKestControl(AOwner, kWidth, kHeight) {
  UpdateScreenBmp();
}

void TKestStepLed::SetStep(int Value) {
  const int s = Value & 15;
  if (s == fStep) return;
  fStep = s;
  Redraw();
}

void TKestStepLed::UpdateScreenBmp() {
  CopyEditorBackground();
  if (SkinStepLedOn) fScreenBmp.GetCanvas().Draw(7 + 24 * fStep, 7, *SkinStepLedOn);
}

void TKestStepLed::MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  TKestControl::MouseDown(Button, Shift, X, Y);
  DoSelect();
}

} // namespace kest
