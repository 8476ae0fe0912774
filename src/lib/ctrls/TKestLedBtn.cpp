#include "TKestLedBtn.h"

#include "uKestSkins.h"

namespace kest {

TKestLedBtn::TKestLedBtn(ui::Component* AOwner)
    : TKestControl(AOwner, kWidth, kHeight), fTimer(new ui::Timer(this)) {
  fTimer->SetEnabled(false);
  fTimer->SetInterval(1);
  fTimer->SetOnTimer([this](ui::Component*) { FadeTick(); });
  UpdateScreenBmp();
}

void TKestLedBtn::SetChecked(bool Value) {
  if (Value == fChecked) return;
  fChecked = Value;
  fTimer->SetEnabled(true);
}

void TKestLedBtn::FadeTick() {
  if (fChecked) {
    fAlpha += kFadeStep;
    if (fAlpha > 254) {
      fAlpha = 255;
      fTimer->SetEnabled(false);
    }
  } else {
    fAlpha -= kFadeStep;
    if (fAlpha < 1) {
      fAlpha = 0;
      fTimer->SetEnabled(false);
    }
  }
  Redraw(); // its own rectangle: the rest of the face has not changed
}

void TKestLedBtn::UpdateScreenBmp() {
  CopyEditorBackground();
  if (SkinLedOn && fAlpha > 0) {
    fScreenBmp.GetCanvas().AlphaBlend({0, 0, kWidth, kHeight}, *SkinLedOn, {0, 0, kWidth, kHeight},
                                      {static_cast<std::uint8_t>(fAlpha), false});
  }
}

void TKestLedBtn::MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  if (LeftPressCounts(Button)) {
    SetChecked(!fChecked);
    DoSelect();
    DoChange();
  }
  TKestControl::MouseDown(Button, Shift, X, Y);
}

} // namespace kest
