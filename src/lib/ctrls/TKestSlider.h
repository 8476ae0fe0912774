#pragma once
// A horizontal slider of 89 positions (0...88) mapped onto MinValue ...
// MaxValue. Only the handle can be grabbed; it moves one position per pixel.
#include "TKestStepCtrl.h"

namespace kest {

class TKestSlider : public TKestStepCtrl {
public:
  static constexpr int kWidth = 127;
  static constexpr int kHeight = 27;
  static constexpr int kMaxPosition = 88;

  explicit TKestSlider(ui::Component* AOwner);

  float GetValue() const override;
  void SetValue(float Value) override;
  void UpdateScreenBmp() override;
  int Position() const { return fPosition; }
  void SetPosition(int Value);
  ui::Rect HandleRect() const { return fHandleRect; }
  bool Dragging() const { return fDragged; }

protected:
  void MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;
  void MouseMove(ui::ShiftState Shift, int X, int Y) override;
  void MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;

private:
  ui::Rect fHandleRect;
  int fPosition = 0;
  int fDragPos = 0;
  bool fDragged = false;
};

} // namespace kest
