#include "TKestStepCtrl.h"

#include "uKestSkins.h"

namespace kest {

TKestStepCtrl::TKestStepCtrl(ui::Component* AOwner, int AWidth, int AHeight)
    : TKestControl(AOwner, AWidth, AHeight) {
  // The base placed the control before this class could cache its background.
  SetBounds(Left(), Top(), Width(), Height());
}

void TKestStepCtrl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TKestControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  // A refused size leaves the control as it was; the cache follows the control.
  fBgBmp.SetSize(Width(), Height());
  if (SkinEditor) {
    ui::CanvasLock lock(SkinEditor->GetCanvas());
    fBgBmp.GetCanvas().BitBlt(0, 0, Width(), Height(), *SkinEditor, Left(), Top());
  }
  UpdateScreenBmp();
}

} // namespace kest
