#pragma once
// A one-digit spinner (0...9) with up and down arrows; one press is one step.
#include "TKestControl.h"

namespace kest {

class TKestOctSpin : public TKestControl {
public:
  static constexpr int kWidth = 25;
  static constexpr int kHeight = 19;

  explicit TKestOctSpin(ui::Component* AOwner);

  float GetValue() const override { return static_cast<float>(fValue); }
  void SetValue(float Value) override;
  void SetMinValue(float Value) override;
  void SetMaxValue(float Value) override;
  void UpdateScreenBmp() override;
  int AsInteger() const { return fValue; }
  // Unchecked: callers pass a digit.
  void SetAsInteger(int Value);

protected:
  void MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;
  void MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;

private:
  void ClampValue();

  int fValue = 0;
  ui::Rect fUpRect{14, 2, 23, 10};
  ui::Rect fDnRect{14, 10, 23, 18};
  bool fUpPushed = false;
  bool fDnPushed = false;
};

} // namespace kest
