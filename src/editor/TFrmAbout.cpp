#include "TFrmAbout.h"

#include <algorithm>

#include "EditorLinks.h"
#include "uKestSkins.h"
#include "ui/windowing/WindowSystem.h"

namespace kest {

namespace {
TFrmAbout* gAbout = nullptr;
} // namespace

TFrmAbout* TFrmAbout::Instance() {
  return gAbout;
}

TFrmAbout* TFrmAbout::ShowAbout(ui::Form* AOwner) {
  if (gAbout == nullptr) gAbout = new TFrmAbout(AOwner);
  gAbout->Show();
  return gAbout;
}

TFrmAbout::TFrmAbout(ui::Form* AOwner) : ui::Form(AOwner), fOwner(AOwner) {
  SetName("FrmAbout");
  SetCaption(u"About Kestrelphon");
  SetTopmost(true);
  // Native ownership keeps the window above the host's window that holds
  // the editor, and takes it away with that window.
  if (AOwner != nullptr) SetOwnerWindow(ui::GetRootWindow(AOwner->Handle()));
  SetBounds(0, 0, kWidth, kHeight);
  CloseButton = new TKestCloseButton(this);
  CloseButton->SetName("CloseButton");
  CloseButton->SetParent(this);
  CloseButton->SetBounds(308, 4, TKestCloseButton::kWidth, TKestCloseButton::kHeight);
}

TFrmAbout::~TFrmAbout() {
  if (gAbout == this) gAbout = nullptr;
}

void TFrmAbout::Paint() {
  if (!SkinAbout) return;
  ui::CanvasLock lock(SkinAbout->GetCanvas());
  GetCanvas().BitBlt(0, 0, Width(), Height(), *SkinAbout, 0, 0);
}

void TFrmAbout::DoShow() {
  CentreOverOwner();
  ui::Form::DoShow();
}

void TFrmAbout::CentreOverOwner() {
  if (fOwner == nullptr || !fOwner->HandleAllocated()) return;
  const ui::Rect owner = ui::GetWindowScreenRect(fOwner->Handle());
  const int left = std::max(0, owner.left + (owner.Width() - Width()) / 2);
  const int top = std::max(0, owner.top + (owner.Height() - Height()) / 2);
  SetBounds(left, top, Width(), Height());
}

void TFrmAbout::DoClose(ui::CloseAction& action) {
  action = ui::CloseAction::Free;
  ui::Form::DoClose(action);
}

void TFrmAbout::MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  ui::Form::MouseDown(Button, Shift, X, Y);
  if (kTopRect.Contains({X, Y})) {
    // The window follows the pointer until the button goes up.
    SetMouseCapture(false);
    ui::ReleaseCaptureWnd();
    ui::SendMsg(Handle(), ui::WM_SYSCOMMAND, ui::SC_MOVE | ui::HTCAPTION);
  } else if (kClickRect.Contains({X, Y})) {
    OpenManual(kMakerSection, Handle());
  }
}

void TFrmAbout::MouseMove(ui::ShiftState Shift, int X, int Y) {
  SetCursor(kClickRect.Contains({X, Y}) ? ui::Cursor::Hand : ui::Cursor::Default);
  ui::Form::MouseMove(Shift, X, Y);
}

} // namespace kest
