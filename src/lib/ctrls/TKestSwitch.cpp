#include "TKestSwitch.h"

#include "uKestSkins.h"

namespace kest {

TKestSwitch::TKestSwitch(ui::Component* AOwner) : TKestStepCtrl(AOwner, kWidth, kHeight) {
  UpdateScreenBmp();
}

void TKestSwitch::SetValue(float Value) {
  const bool on = Value > 0.5f;
  if (on == fChecked) return;
  fChecked = on;
  Redraw();
}

void TKestSwitch::UpdateScreenBmp() {
  ui::Canvas& c = fScreenBmp.GetCanvas();
  ui::CanvasLock lock(c);
  c.BitBlt(0, 0, Width(), Height(), fBgBmp, 0, 0);
  if (fChecked && SkinStepOn) {
    ui::CanvasLock skinLock(SkinStepOn->GetCanvas());
    c.BitBlt(4, 4, 18, 15, *SkinStepOn, 0, 0);
  }
}

void TKestSwitch::MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  // The second press of a double click toggles again, like any press.
  if (LeftPressCounts(Button)) {
    DoSelect();
    fChecked = !fChecked;
    Redraw();
    DoChange();
  }
  TKestStepCtrl::MouseDown(Button, Shift, X, Y);
}

} // namespace kest
