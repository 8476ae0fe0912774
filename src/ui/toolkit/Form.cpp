#include "ui/toolkit/Form.h"

#include <stdexcept>

namespace kest::ui {

Form::Form(Component* owner) : WinControl(owner) {
  Control::SetVisible(false);
  SetBounds(0, 0, 320, 240);
}

Form::~Form() {
  BeginDestroy();
}

void Form::SetCaption(const std::u16string& c) {
  fCaption = c;
  if (HandleAllocated()) SetWindowCaption(Handle(), c);
}

void Form::CreateParamsFor(CreateParams& params) {
  WinControl::CreateParamsFor(params);
  params.desc.caption = fCaption;
  params.desc.topmost = fTopmost;
  params.desc.noActivate = fNoActivate;
  params.desc.owner = fOwnerWindow;
}

void Form::SetVisible(bool v) {
  if (v == Visible()) return;
  if (v) {
    DoShow();
    WinControl::SetVisible(true);
    const WindowHandle h = Handle();
    ShowWnd(h, true);
    if (!ParentWindow() && !Parent()) BringToFront(h);
  } else {
    DoHide();
    WinControl::SetVisible(false);
  }
}

void Form::Close() {
  CloseAction action = CloseAction::Hide;
  DoClose(action);
  switch (action) {
  case CloseAction::None:
    break;
  case CloseAction::Hide:
    Hide();
    break;
  case CloseAction::Free:
    Release();
    break;
  }
}

void Form::Release() {
  if (HandleAllocated()) PostMsg(Handle(), CM_RELEASE);
}

void Form::DoClose(CloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void Form::DoShow() {
  if (OnShow) OnShow(this);
}

void Form::DoHide() {
  if (OnHide) OnHide(this);
}

Canvas& Form::GetCanvas() {
  if (!fCanvas) throw std::logic_error("A form's canvas exists only while it paints");
  return *fCanvas;
}

void Form::PaintWindow(Canvas& canvas) {
  fCanvas = &canvas;
  struct Reset {
    Canvas*& c;
    ~Reset() { c = nullptr; }
  } reset{fCanvas};
  Paint();
}

void Form::Paint() {
  if (OnPaint) OnPaint(this);
}

LResult Form::WndProc(std::uint32_t msg, WParam w, LParam l) {
  switch (msg) {
  case CM_RELEASE:
    delete this;
    return 0;
  case WM_CLOSE:
    Close();
    return 0;
  default:
    return WinControl::WndProc(msg, w, l);
  }
}

} // namespace kest::ui
