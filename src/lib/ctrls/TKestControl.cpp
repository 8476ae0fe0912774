#include "TKestControl.h"

#include "uKestSkins.h"
#include "ui/toolkit/Application.h"
#include "ui/toolkit/WinControl.h"

namespace kest {

TKestControl::TKestControl(ui::Component* AOwner, int AWidth, int AHeight)
    : GraphicControl(AOwner), fFixedWidth(AWidth), fFixedHeight(AHeight) {
  fControlStyle |= ui::csOpaque;
  SetBounds(0, 0, AWidth, AHeight);
}

bool TKestControl::CanResize(int& NewWidth, int& NewHeight) {
  return NewWidth == fFixedWidth && NewHeight == fFixedHeight;
}

void TKestControl::BoundsChanged(const ui::Rect& Old) {
  GraphicControl::BoundsChanged(Old);
  // A new size recomposes through Resize.
  if (Old.Width() == Width() && Old.Height() == Height()) UpdateScreenBmp();
}

void TKestControl::SetMinValue(float Value) {
  if (Value == fMinValue) return;
  fMinValue = Value;
  if (Value > fMaxValue) fMaxValue = Value;
}

void TKestControl::SetMaxValue(float Value) {
  if (Value == fMaxValue) return;
  fMaxValue = Value;
  if (Value < fMinValue) fMinValue = Value;
}

void TKestControl::CopyEditorBackground() {
  if (!SkinEditor) return;
  ui::Canvas& skin = SkinEditor->GetCanvas();
  ui::CanvasLock lock(skin);
  fScreenBmp.GetCanvas().BitBlt(0, 0, Width(), Height(), *SkinEditor, Left(), Top());
}

void TKestControl::UpdateScreenBmp() {
  CopyEditorBackground();
}

void TKestControl::Redraw() {
  UpdateScreenBmp();
  if (Parent() && Parent()->HandleAllocated()) {
    const ui::Rect r = BoundsRect();
    ui::InvalidateWnd(Parent()->DisplayWindow(), &r, false);
  }
}

void TKestControl::Paint() {
  GetCanvas().BitBlt(0, 0, Width(), Height(), fScreenBmp, 0, 0);
}

void TKestControl::Resize() {
  GraphicControl::Resize();
  fScreenBmp.SetSize(Width(), Height());
  UpdateScreenBmp();
}

void TKestControl::DoSelect() {
  if (OnSelect) OnSelect(this, static_cast<int>(Tag()));
}

void TKestControl::DoChange() {
  if (OnChange) OnChange(this);
}

bool TKestControl::LeftPressCounts(ui::MouseButton Button) const {
  return Button == ui::MouseButton::Left && Visible() && Enabled();
}

void TKestControl::HidePointerForDrag() {
  fSaveCursor = ui::App().GetCursor();
  ui::App().SetCursor(ui::Cursor::None);
}

void TKestControl::RestorePointerAfterDrag() {
  ui::App().SetCursor(fSaveCursor);
}

} // namespace kest
