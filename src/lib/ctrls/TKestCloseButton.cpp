#include "TKestCloseButton.h"

#include "uKestSkins.h"
#include "ui/toolkit/Form.h"

namespace kest {

TKestCloseButton::TKestCloseButton(ui::Component* AOwner) : GraphicControl(AOwner) {
  SetControlStyle(ui::csOpaque);
  SetBounds(0, 0, kWidth, kHeight);
}

bool TKestCloseButton::CanResize(int& NewWidth, int& NewHeight) {
  return NewWidth == kWidth && NewHeight == kHeight;
}

void TKestCloseButton::Paint() {
  ui::Canvas& c = GetCanvas();
  if (SkinAbout) {
    ui::CanvasLock lock(SkinAbout->GetCanvas());
    c.BitBlt(0, 0, Width(), Height(), *SkinAbout, Left(), Top());
  }
  if (fPushed && SkinClose) c.BitBlt(0, 0, Width(), Height(), *SkinClose, 0, 0);
}

void TKestCloseButton::MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  GraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button == ui::MouseButton::Left && Enabled() && !fPushed) {
    fPushed = true;
    Invalidate();
  }
}

void TKestCloseButton::MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  GraphicControl::MouseUp(Button, Shift, X, Y);
  if (!fPushed) return;
  fPushed = false;
  Invalidate();
  if (ui::Form* form = GetParentForm(this)) form->Close();
}

} // namespace kest
