#pragma once
// A step's on/off switch: every left press toggles it.
#include "TKestStepCtrl.h"

namespace kest {

class TKestSwitch : public TKestStepCtrl {
public:
  static constexpr int kWidth = 24;
  static constexpr int kHeight = 23;

  explicit TKestSwitch(ui::Component* AOwner);

  float GetValue() const override { return fChecked ? 1.0f : 0.0f; }
  void SetValue(float Value) override;
  void UpdateScreenBmp() override;
  bool Checked() const { return fChecked; }

protected:
  void MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;

private:
  bool fChecked = true;
};

} // namespace kest
