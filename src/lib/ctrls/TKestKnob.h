#pragma once
// A step's note knob, 0...127 with the note's name below it. Dragging up
// raises the note by one semitone per pixel.
#include "TKestStepCtrl.h"

namespace kest {

class TKestKnob : public TKestStepCtrl {
public:
  static constexpr int kWidth = 24;
  static constexpr int kHeight = 33;

  explicit TKestKnob(ui::Component* AOwner);

  float GetValue() const override { return static_cast<float>(fIndex); }
  void SetValue(float Value) override;
  void UpdateScreenBmp() override;
  bool Dragging() const { return fDragged; }

protected:
  void MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;
  void MouseMove(ui::ShiftState Shift, int X, int Y) override;
  void MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;

private:
  int fIndex = 60;
  int fDragPos = 0;
  bool fDragged = false;
};

} // namespace kest
