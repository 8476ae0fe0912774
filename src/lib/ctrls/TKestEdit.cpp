#include "TKestEdit.h"

#include "TKestPresetBox.h"
#include "ui/toolkit/Form.h"

namespace kest {

TKestEdit::TKestEdit(TKestPresetBox* AOwner) : ui::Edit(AOwner), fOwner(AOwner) {
  ui::Control::SetVisible(false);
  SetTabStop(false);
  SetBorder(false);
  SetDoubleBuffered(false);
  SetColor(ui::Rgb(216, 226, 225));
  SetMaxLength(255);
  SetFont(ui::Font{"Tahoma", -11, ui::kFontWeightBold, ui::Rgb(77, 84, 93)});
}

void TKestEdit::Show() {
  Handle();
  const ui::Rect t = fOwner->TxtRect();
  SetBounds(fOwner->Left() + t.left, fOwner->Top() + t.top, t.Width(), t.Height());
  ui::Edit::SetVisible(true);
  ui::BringToFront(Handle());
  ui::PostMsg(Handle(), WM_KEST_EDIT_FOCUS);
}

void TKestEdit::Hide() {
  if (!HandleAllocated() || !Visible()) return;
  const bool hadFocus = Focused();
  ui::Edit::SetVisible(false);
  SetBounds(0, 0, 0, 0);
  ui::Form* form = ui::Control::GetParentForm(this);
  if (form && form->HandleAllocated()) {
    ui::InvalidateWnd(form->Handle(), nullptr, true);
    if (hadFocus) ui::SetFocusWnd(form->Handle());
  }
}

ui::LResult TKestEdit::WndProc(std::uint32_t Msg, ui::WParam W, ui::LParam L) {
  switch (Msg) {
  case WM_KEST_EDIT_FOCUS:
    ui::SetFocusWnd(Handle());
    return 0;
  case WM_KEST_EDIT_ACCEPT:
    AcceptText();
    return 0;
  default:
    return ui::Edit::WndProc(Msg, W, L);
  }
}

void TKestEdit::KeyDown(std::uint16_t& Key, ui::ShiftState Shift) {
  if (Key == ui::VK_RETURN) {
    Key = 0;
    ui::PostMsg(Handle(), WM_KEST_EDIT_ACCEPT);
    return;
  }
  ui::Edit::KeyDown(Key, Shift);
}

void TKestEdit::KeyPress(char16_t& Key) {
  // Neither a beep nor a line break for the Enter that accepts.
  if (Key == u'\r' || Key == u'\n') {
    Key = 0;
    return;
  }
  ui::Edit::KeyPress(Key);
}

void TKestEdit::DoExit() {
  ui::Edit::DoExit();
  if (!fHideLock) Hide();
}

void TKestEdit::AcceptText() {
  std::u16string newText = Text();
  bool accept = true;
  fHideLock = true;
  // Message boxes shown by the handler take the focus without hiding the edit.
  struct Unlock {
    bool& f;
    ~Unlock() { f = false; }
  } unlock{fHideLock};
  if (OnAcceptText) OnAcceptText(this, newText, accept);
  if (accept) {
    Hide();
  } else {
    SetText(fInitValue);
    ui::PostMsg(Handle(), WM_KEST_EDIT_FOCUS);
  }
}

} // namespace kest
