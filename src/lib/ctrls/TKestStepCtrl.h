#pragma once
// A control that keeps the piece of the editor skin under it, so that the
// many step controls never read the large skin when their value changes.
#include "TKestControl.h"

namespace kest {

class TKestStepCtrl : public TKestControl {
public:
  TKestStepCtrl(ui::Component* AOwner, int AWidth, int AHeight);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
  ui::Bitmap fBgBmp;
};

} // namespace kest
