#include "TKestPresetBox.h"

#include "uKestSkins.h"
#include "ui/toolkit/Form.h"

namespace kest {

TKestPresetBox::TKestPresetBox(ui::Component* AOwner)
    : TKestButton(AOwner, kWidth, kHeight, SkinPresetBoxBtn), fEdit(new TKestEdit(this)) {
  fClickRect = {kDropDownLeft, 0, kWidth, kHeight};
  fEdit->SetName("PresetEdit");
  UpdateScreenBmp();
}

bool TKestPresetBox::CanResize(int& NewWidth, int& NewHeight) {
  NewWidth = kWidth;
  NewHeight = kHeight;
  return true;
}

void TKestPresetBox::SetCaption(const std::u16string& Value) {
  if (Value == fCaption) return;
  fCaption = Value;
  Redraw();
}

void TKestPresetBox::UpdateScreenBmp() {
  CopyEditorBackground();
  if (!fPushBmp) return;
  ui::Canvas& c = fScreenBmp.GetCanvas();
  if (fPushed) c.BitBlt(kDropDownLeft, 0, kWidth - kDropDownLeft, Height(), *fPushBmp, 0, 0);
  if (fFirst) {
    c.font = ui::Font{"Tahoma", -11, ui::kFontWeightBold, ui::Rgb(77, 84, 93)};
    fFirst = false;
  }
  c.textBackground = ui::TextBackground::Transparent;
  ui::Rect r = fTxtRect;
  c.TextRect(r, fCaption, ui::DT_LEFT | ui::DT_TOP | ui::DT_SINGLELINE | ui::DT_END_ELLIPSIS);
}

void TKestPresetBox::MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  TKestButton::MouseUp(Button, Shift, X, Y);
  // A press dragged off the box is a change of mind, not a rename.
  if (X >= 0 && X < kDropDownLeft && Y >= 0 && Y < Height()) ShowEdit();
}

void TKestPresetBox::ShowEdit() {
  ui::Form* form = ui::Control::GetParentForm(this);
  if (!form) return;
  fEdit->SetParent(form);
  fEdit->SetText(fCaption);
  fEdit->SetInitValue(fCaption);
  fEdit->Show();
}

void TKestPresetBox::HideEdit() {
  fEdit->Hide();
}

} // namespace kest
