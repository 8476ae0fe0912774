#pragma once
// A one-octave keyboard choosing a pitch class 0...11. A key lights only
// while it is held.
#include <array>

#include "TKestControl.h"
#include "ui/gfx/Region.h"

namespace kest {

class TKestKeybrd : public TKestControl {
public:
  static constexpr int kWidth = 126;
  static constexpr int kHeight = 69;

  explicit TKestKeybrd(ui::Component* AOwner);

  // A pitch class, rounded to the nearest (halves to even) and kept within
  // 0...11; stored without redrawing: the chosen key is not shown.
  void SetValue(float Value) override;
  void UpdateScreenBmp() override;
  int AsInteger() const { return fValue; }
  int Selected() const { return fSelected; }
  // The key under a client point, -1 for none.
  int KeyAt(ui::Point P) const;

protected:
  void MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;
  void MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;

private:
  std::array<ui::Region, 12> fRgn;
  int fSelected = -1;
  int fValue = 0;
};

} // namespace kest
