#include "TKestButton.h"

#include "uKestSkins.h"
#include "uKestTools.h"
#include "ui/toolkit/Form.h"

namespace kest {

TKestButton::TKestButton(ui::Component* AOwner)
    : TKestButton(AOwner, kWidth, kHeight, SkinButton) {}

TKestButton::TKestButton(ui::Component* AOwner, int AWidth, int AHeight, ui::Bitmap* APushBmp)
    : TKestControl(AOwner, AWidth, AHeight), fPushBmp(APushBmp), fClickRect(ClientRect()) {
  UpdateScreenBmp();
}

TKestButton::~TKestButton() {
  SetDropDownMenu(nullptr);
}

void TKestButton::SetGlyphResName(const std::string& Name) {
  fGlyph.reset();
  fGlyph = LoadSkinBitmap(Name);
  fGlyphResName = Name;
  Redraw();
}

void TKestButton::SetDropDownMenu(TKestPopupMenuIntf* Menu) {
  if (Menu == fDropDownMenu) return;
  if (fDropDownMenu) fDropDownMenu->RemoveFreeNotification(this);
  fDropDownMenu = Menu;
  if (Menu) Menu->FreeNotification(this);
}

void TKestButton::Notification(ui::Component* AComponent, ui::Operation Operation) {
  TKestControl::Notification(AComponent, Operation);
  if (Operation == ui::Operation::Remove && AComponent == fDropDownMenu) fDropDownMenu = nullptr;
}

void TKestButton::ComposeFace(bool WithGlyph) {
  CopyEditorBackground();
  if (!fPushBmp) return;
  ui::Canvas& c = fScreenBmp.GetCanvas();
  if (fPushed) c.BitBlt(0, 0, Width(), Height(), *fPushBmp, 0, 0);
  if (WithGlyph && fGlyph) {
    // The glyph sinks one pixel down and right with the button.
    const int d = fPushed ? 1 : 0;
    c.AlphaBlend(ui::Rect::FromSize(d, d, Width(), Height()), *fGlyph,
                 {0, 0, fGlyph->Width(), fGlyph->Height()}, {255, true});
  }
}

void TKestButton::UpdateScreenBmp() {
  ComposeFace(true);
}

bool TKestButton::DropDown() {
  if (!fDropDownMenu || !fDropDownMenu->AutoPopup()) return false;
  if (ui::Form* form = ui::Control::GetParentForm(this); form && form->HandleAllocated()) {
    ui::SendMsg(form->Handle(), ui::WM_CANCELMODE);
  }
  fDropDownMenu->SetPopupComponent(this);
  BeforeDropDown();
  const ui::Point p = ClientToScreen({-1, Height()});
  fDropDownMenu->Popup(p.x, p.y);
  return true;
}

void TKestButton::MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  // A press that the open menu's loop delivers to its own button.
  if (fMenuTracking) return;
  bool inClick = fClickRect.Contains({X, Y});
  TKestControl::MouseDown(Button, Shift, X, Y);
  // A menu opened by the first press of a double click must not reopen.
  if (fDropDownMenu && (Shift & ui::ssDouble)) inClick = false;
  if (!LeftPressCounts(Button) || !inClick) return;
  DoSelect();
  if (!fPushed) {
    fPushed = true;
    DoChange();
    Redraw();
  }
  fMenuTracking = true;
  struct Untrack {
    bool& f;
    ~Untrack() { f = false; }
  } untrack{fMenuTracking};
  if (DropDown()) {
    if (fPushed) {
      fPushed = false;
      Redraw();
    }
    SwallowClosingClick();
  }
}

void TKestButton::SwallowClosingClick() {
  // The click that closed the menu over this button would press it again.
  ui::Message m;
  if (!ui::PeekMsg(m, 0, 0, 0, ui::PM_NOREMOVE)) return;
  if (m.message != ui::WM_LBUTTONDOWN && m.message != ui::WM_LBUTTONDBLCLK) return;
  const ui::Point p = ScreenToClient(m.pt);
  if (p.x >= 0 && p.x < Width() && p.y >= 0 && p.y <= Height()) RemovePendingMessage(0, m.message);
}

void TKestButton::MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  TKestControl::MouseUp(Button, Shift, X, Y);
  if (fPushed && Button == ui::MouseButton::Left) {
    fPushed = false;
    if (OnClick) OnClick(this);
    Redraw();
  }
}

TKestTopButton::TKestTopButton(ui::Component* AOwner)
    : TKestButton(AOwner, kWidth, kHeight, SkinBtnTop) {}

bool TKestTopButton::CanResize(int& NewWidth, int& NewHeight) {
  NewWidth = kWidth;
  NewHeight = kHeight;
  return true;
}

} // namespace kest
