#include "ui/toolkit/Control.h"

#include "ui/toolkit/Form.h"
#include "ui/toolkit/WinControl.h"

namespace kest::ui {

namespace {
// The control that a button press captured; one per process, like the
// platform's mouse capture it sits on.
Control* gCaptureControl = nullptr;
} // namespace

ShiftState KeyboardShiftState() {
  ShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

ShiftState MouseShiftState(WParam k) {
  ShiftState s = 0;
  if (k & MK_SHIFT) s |= ssShift;
  if (k & MK_CONTROL) s |= ssCtrl;
  if (k & MK_LBUTTON) s |= ssLeft;
  if (k & MK_RBUTTON) s |= ssRight;
  if (k & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

Control::Control(Component* owner) : Component(owner) {}

Control::~Control() {
  BeginDestroy();
  if (gCaptureControl == this) {
    gCaptureControl = nullptr;
    if (fParent && fParent->HandleAllocated() && GetCaptureWnd() == fParent->DisplayWindow()) {
      ReleaseCaptureWnd();
    }
  }
  if (fParent) fParent->RemoveControl(this);
}

void Control::SetParent(WinControl* parent) {
  if (parent == fParent) return;
  if (parent == this) return;
  if (fParent) {
    Invalidate();
    fParent->RemoveControl(this);
  }
  fParent = parent;
  if (fParent) {
    fParent->AddControl(this);
    Invalidate();
  }
}

void Control::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width != Width() || height != Height()) {
    int w = width, h = height;
    if (CanResize(w, h)) {
      width = std::max(w, 0);
      height = std::max(h, 0);
    } else {
      width = Width();
      height = Height();
    }
  }
  const Rect nb = Rect::FromSize(left, top, width, height);
  if (nb == fBounds) return;
  const Rect old = fBounds;
  Invalidate();
  fBounds = nb;
  BoundsChanged(old);
  if (old.Width() != nb.Width() || old.Height() != nb.Height()) Resize();
  Invalidate();
}

void Control::BoundsChanged(const Rect&) {}

bool Control::CanResize(int&, int&) {
  return true;
}

void Control::Resize() {
  if (OnResize) OnResize(this);
}

void Control::SetVisible(bool v) {
  if (v == fVisible) return;
  if (!v) Invalidate();
  fVisible = v;
  if (!v && gCaptureControl == this) SetMouseCapture(false);
  if (v) Invalidate();
  VisibleChanged();
}

void Control::SetEnabled(bool v) {
  if (v == fEnabled) return;
  fEnabled = v;
  if (!v && gCaptureControl == this) SetMouseCapture(false);
  EnabledChanged();
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->fParent) {
    if (!c->fVisible) return false;
    if (!c->fParent) {
      auto* wc = dynamic_cast<const WinControl*>(c);
      return wc && wc->HandleAllocated() && IsWindowVisible(wc->DisplayWindow());
    }
  }
  return false;
}

void Control::SetPopupMenu(Component* menu) {
  if (fPopupMenu) fPopupMenu->RemoveFreeNotification(this);
  fPopupMenu = menu;
  if (menu) menu->FreeNotification(this);
}

void Control::Notification(Component* component, Operation op) {
  if (op == Operation::Remove && component == fPopupMenu) fPopupMenu = nullptr;
}

void Control::SetColor(Color c) {
  if (c == fColor) return;
  fColor = c;
  Invalidate();
}

void Control::SetFont(const Font& f) {
  if (f == fFont) return;
  fFont = f;
  Invalidate();
}

Control* Control::CaptureControl() {
  return gCaptureControl;
}
void Control::ForgetCaptureControl() {
  gCaptureControl = nullptr;
}

void Control::SetMouseCapture(bool capture) {
  if (capture) {
    const WindowHandle w = DisplayWindow();
    if (!w) return;
    gCaptureControl = this;
    SetCaptureWnd(w);
  } else if (gCaptureControl == this) {
    gCaptureControl = nullptr;
    if (GetCaptureWnd() == DisplayWindow()) ReleaseCaptureWnd();
  }
}

void Control::Invalidate() {
  if (!fParent || !fParent->HandleAllocated()) return;
  const Rect r = fBounds;
  InvalidateWnd(fParent->DisplayWindow(), &r, !(fControlStyle & csOpaque));
}

void Control::Update() {
  if (const WindowHandle w = DisplayWindow()) UpdateWnd(w);
}

WindowHandle Control::DisplayWindow() const {
  return fParent && fParent->HandleAllocated() ? fParent->DisplayWindow() : 0;
}

Point Control::ClientToScreen(Point p) const {
  if (!fParent) return p;
  return fParent->ClientToScreen({p.x + Left(), p.y + Top()});
}

Point Control::ScreenToClient(Point p) const {
  const Point o = ClientToScreen({0, 0});
  return {p.x - o.x, p.y - o.y};
}

Form* Control::GetParentForm(const Control* c) {
  Form* found = nullptr;
  for (; c; c = c->fParent) {
    if (auto* f = dynamic_cast<Form*>(const_cast<Control*>(c))) found = f;
  }
  return found;
}

void Control::CancelMode() {
  SetMouseCapture(false);
}

void Control::HandleMouse(std::uint32_t msg, WParam keyFlags, Point p) {
  // Without double clicks a second press is an ordinary press.
  if (!(fControlStyle & csDoubleClicks) &&
      (msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK)) {
    msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
  }
  const ShiftState shift = MouseShiftState(keyFlags);
  auto buttonOf = [](std::uint32_t m) {
    switch (m) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return MouseButton::Middle;
    default:
      return MouseButton::Left;
    }
  };
  switch (msg) {
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
    if (fControlStyle & csCaptureMouse) SetMouseCapture(true);
    if (msg == WM_LBUTTONDOWN && (fControlStyle & csClickEvents)) fClicked = true;
    MouseDown(buttonOf(msg), shift, p.x, p.y);
    break;
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDBLCLK:
    if (fControlStyle & csCaptureMouse) SetMouseCapture(true);
    if (msg == WM_LBUTTONDBLCLK && (fControlStyle & csClickEvents)) DblClick();
    MouseDown(buttonOf(msg), shift | ssDouble, p.x, p.y);
    break;
  case WM_MOUSEMOVE:
    MouseMove(shift, p.x, p.y);
    break;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP: {
    const bool anyHeld = (keyFlags & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
    if ((fControlStyle & csCaptureMouse) && !anyHeld) SetMouseCapture(false);
    if (msg == WM_LBUTTONUP && fClicked) {
      fClicked = false;
      if (ClientRect().Contains(p)) Click();
    }
    MouseUp(buttonOf(msg), shift, p.x, p.y);
    break;
  }
  default:
    break;
  }
}

void Control::MouseDown(MouseButton b, ShiftState s, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}

void Control::MouseMove(ShiftState s, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, s, x, y);
}

void Control::MouseUp(MouseButton b, ShiftState s, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}

void Control::Click() {
  if (OnClick) OnClick(this);
}

void Control::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

} // namespace kest::ui
