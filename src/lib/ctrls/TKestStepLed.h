#pragma once
// The strip of sixteen running-step lights; one is lit.
#include "TKestControl.h"

namespace kest {

class TKestStepLed : public TKestControl {
public:
  static constexpr int kWidth = 386;
  static constexpr int kHeight = 19;

  explicit TKestStepLed(ui::Component* AOwner);

  int Step() const { return fStep; }
  // Keeps the low four bits.
  void SetStep(int Value);
  void UpdateScreenBmp() override;

protected:
  void MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;

private:
  int fStep = 0;
};

} // namespace kest
