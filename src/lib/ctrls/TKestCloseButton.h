#pragma once
// The about window's close button: it closes its form on a release over it.
// It does not capture the mouse, so a release elsewhere leaves it pressed.
#include "ui/toolkit/GraphicControl.h"

namespace kest {

class TKestCloseButton : public ui::GraphicControl {
public:
  static constexpr int kWidth = 16;
  static constexpr int kHeight = 14;

  explicit TKestCloseButton(ui::Component* AOwner);

  bool Pushed() const { return fPushed; }

protected:
  void Paint() override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  void MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;
  void MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;

private:
  bool fPushed = false;
};

} // namespace kest
