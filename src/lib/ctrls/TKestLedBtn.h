#pragma once
// A channel's LED switch; switching fades the LED in or out over 16 ticks
// of a 1 ms timer.
#include "TKestControl.h"
#include "ui/toolkit/Timer.h"

namespace kest {

class TKestLedBtn : public TKestControl {
public:
  static constexpr int kWidth = 13;
  static constexpr int kHeight = 13;
  static constexpr int kFadeStep = 16;

  explicit TKestLedBtn(ui::Component* AOwner);

  float GetValue() const override { return fChecked ? 1.0f : 0.0f; }
  void SetValue(float Value) override { SetChecked(Value > 0.5f); }
  bool Checked() const { return fChecked; }
  // A change starts the fade from the alpha shown now.
  void SetChecked(bool Value);
  int Alpha() const { return fAlpha; }
  bool Fading() const { return fTimer->Enabled(); }
  // The background with the LED at the current alpha.
  void UpdateScreenBmp() override;

protected:
  void MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;

private:
  void FadeTick();

  int fAlpha = 0;
  ui::Timer* fTimer; // owned through the component tree
  bool fChecked = false;
};

} // namespace kest
