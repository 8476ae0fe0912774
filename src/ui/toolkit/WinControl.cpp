#include "ui/toolkit/WinControl.h"

#include <algorithm>

#include "ui/toolkit/Application.h"
#include "ui/toolkit/Form.h"
#include "ui/toolkit/GraphicControl.h"

namespace kest::ui {

WinControl::WinControl(Component* owner) : Control(owner) {}

WinControl::~WinControl() {
  BeginDestroy();
  // Child controls go with their parent, whoever owns them.
  while (!fControls.empty())
    delete fControls.back();
  DestroyHandle();
}

WindowHandle WinControl::Handle() {
  if (!fHandle) CreateWindowHandle();
  return fHandle;
}

void WinControl::CreateParamsFor(CreateParams& params) {
  params.desc.parent = Parent() ? Parent()->Handle() : fParentWindow;
  params.desc.bounds = fBounds;
  params.desc.visible = Visible();
}

void WinControl::CreateWindowHandle() {
  CreateParams params;
  CreateParamsFor(params);
  // Asking for the parent's window may have made ours already: a parent
  // makes the windows of its shown children along with its own.
  if (fHandle) return;
  params.desc.proc = [this](WindowHandle h, std::uint32_t msg, WParam w, LParam l) -> LResult {
    if (!fHandle) { // messages sent while the window is being made
      fHandle = h;
      SetWindowUserData(h, this);
    }
    try {
      return WndProc(msg, w, l);
    } catch (...) {
      App().HandleException(std::current_exception());
      return 0;
    }
  };
  const WindowHandle h = CreateWnd(params.desc);
  fHandle = h;
  SetWindowUserData(h, this);
  CreateChildHandles();
}

void WinControl::CreateChildHandles() {
  for (Control* c : fControls) {
    if (auto* wc = dynamic_cast<WinControl*>(c); wc && wc->Visible()) wc->Handle();
  }
}

void WinControl::DestroyHandle() {
  if (!fHandle) return;
  for (Control* c : fControls) {
    if (auto* wc = dynamic_cast<WinControl*>(c)) wc->DestroyHandle();
  }
  const WindowHandle h = fHandle;
  SetWindowUserData(h, nullptr);
  DestroyWnd(h);
  fHandle = 0;
}

WinControl* WinControl::FindControl(WindowHandle h) {
  return h ? static_cast<WinControl*>(GetWindowUserData(h)) : nullptr;
}

void WinControl::SetParentWindow(WindowHandle h) {
  if (h == fParentWindow) return;
  fParentWindow = h;
  if (fHandle && !Parent()) SetParentWnd(fHandle, h);
}

void WinControl::SetParent(WinControl* parent) {
  if (parent == Parent()) return;
  Control::SetParent(parent);
  if (fHandle) {
    if (parent)
      SetParentWnd(fHandle, parent->Handle());
    else
      SetParentWnd(fHandle, fParentWindow);
    SetWindowBounds(fHandle, fBounds);
  } else if (parent && parent->HandleAllocated() && Visible()) {
    Handle();
  }
}

Point WinControl::ClientToScreen(Point p) const {
  if (fHandle) return ui::ClientToScreen(fHandle, p);
  return Control::ClientToScreen(p);
}

void WinControl::AddControl(Control* c) {
  fControls.push_back(c);
  if (auto* wc = dynamic_cast<WinControl*>(c); wc && fHandle && wc->Visible()) wc->Handle();
}

void WinControl::RemoveControl(Control* c) {
  std::erase(fControls, c);
}

Control* WinControl::ControlAtPos(Point p) const {
  for (auto it = fControls.rbegin(); it != fControls.rend(); ++it) {
    Control* c = *it;
    if (dynamic_cast<WinControl*>(c)) continue;
    if (c->Visible() && c->Enabled() && c->BoundsRect().Contains(p)) return c;
  }
  return nullptr;
}

bool WinControl::Focused() const {
  return fHandle && GetFocusWnd() == fHandle;
}

bool WinControl::CanFocus() const {
  for (const Control* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  const Form* form = GetParentForm(this);
  return form == nullptr || form->Visible();
}

void WinControl::SetFocus() {
  if (CanFocus()) SetFocusWnd(Handle());
}

void WinControl::SetBounds(int left, int top, int width, int height) {
  Control::SetBounds(left, top, width, height);
}

void WinControl::BoundsChanged(const Rect&) {
  if (fHandle) SetWindowBounds(fHandle, fBounds);
}

void WinControl::SetVisible(bool v) {
  Control::SetVisible(v);
  if (fHandle)
    ShowWnd(fHandle, v);
  else if (v && Parent() && Parent()->HandleAllocated())
    Handle();
}

void WinControl::SetEnabled(bool v) {
  Control::SetEnabled(v);
  if (fHandle) EnableWnd(fHandle, v);
}

void WinControl::Invalidate() {
  if (fHandle) InvalidateWnd(fHandle, nullptr, true);
}

void WinControl::EraseBackground(Canvas& canvas) {
  canvas.FillRect(canvas.ClipRect(), fColor);
}

void WinControl::PaintWindow(Canvas&) {}

void WinControl::PaintControls(Canvas& canvas, const Rect& area) {
  for (Control* c : std::vector<Control*>(fControls)) {
    auto* gc = dynamic_cast<GraphicControl*>(c);
    if (!gc || !gc->Visible()) continue;
    const Rect over = gc->BoundsRect().Intersect(area);
    if (over.IsEmpty()) continue;
    const Canvas::State saved = canvas.Save();
    const Point o = canvas.Origin();
    canvas.SetOrigin({o.x + gc->Left(), o.y + gc->Top()});
    canvas.SetClipRect(over.Offset(-gc->Left(), -gc->Top()));
    gc->PaintTo(canvas);
    canvas.Restore(saved);
  }
}

void WinControl::PaintInto(Canvas& canvas, bool erase) {
  const Canvas::State saved = canvas.Save();
  const Rect area = ClientRect().Intersect(canvas.ClipRect());
  canvas.SetClipRect(area);
  if (erase) EraseBackground(canvas);
  PaintWindow(canvas);
  PaintControls(canvas, area);
  canvas.Restore(saved);
}

void WinControl::PaintHandler() {
  PaintStruct ps = BeginPaint(fHandle);
  const Rect area = ps.rcPaint;
  if (!area.IsEmpty()) {
    if (fDoubleBuffered) {
      Bitmap buffer(area.Width(), area.Height());
      Canvas bc(buffer);
      bc.SetOrigin({-area.left, -area.top});
      bc.SetClipRect(area);
      fErasingIntoBuffer = true;
      struct Reset {
        bool& f;
        ~Reset() { f = false; }
      } reset{fErasingIntoBuffer};
      EraseBackground(bc);
      PaintWindow(bc);
      PaintControls(bc, area);
      ps.canvas->BitBlt(area.left, area.top, area.Width(), area.Height(), buffer, 0, 0);
    } else {
      PaintWindow(*ps.canvas);
      PaintControls(*ps.canvas, area);
    }
  }
  EndPaint(fHandle, ps);
}

void WinControl::UpdateCursor(Control* target) {
  Cursor c = App().GetCursor();
  for (const Control* t = target; c == Cursor::Default && t; t = t->Parent())
    c = t->GetCursor();
  SetCursorShape(c == Cursor::Default ? Cursor::Arrow : c);
}

Control* WinControl::MouseTarget(Point p) const {
  Control* cap = CaptureControl();
  if (cap && cap != this && cap->Parent() == this && !dynamic_cast<WinControl*>(cap)) return cap;
  if (!cap || cap != this) return ControlAtPos(p);
  return nullptr;
}

void WinControl::RouteMouse(std::uint32_t msg, WParam w, LParam l) {
  const Point p = PointFromLParam(l);
  if (Control* target = MouseTarget(p))
    target->HandleMouse(msg, w, {p.x - target->Left(), p.y - target->Top()});
  else
    HandleMouse(msg, w, p);
  // After the handler: a cursor it chose (over a link, say) shows at once,
  // and the target is found again, as the handler may have ended a capture.
  Control* now = MouseTarget(p);
  UpdateCursor(now ? now : this);
}

bool WinControl::HandleKey(std::uint32_t msg, WParam w) {
  Form* form = GetParentForm(this);
  const bool preview = form && form != this && form->KeyPreview();
  const ShiftState shift = KeyboardShiftState();
  if (msg == WM_CHAR || msg == WM_SYSCHAR) {
    auto ch = static_cast<char16_t>(w);
    if (preview) form->KeyPress(ch);
    if (ch) KeyPress(ch);
    if (ch && msg == WM_CHAR) DefaultChar(ch);
    return ch == 0 || msg == WM_CHAR;
  }
  auto key = static_cast<std::uint16_t>(w);
  const bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
  if (preview) {
    if (down)
      form->KeyDown(key, shift);
    else
      form->KeyUp(key, shift);
  }
  if (key) {
    if (down)
      KeyDown(key, shift);
    else
      KeyUp(key, shift);
  }
  if (key && down) DefaultKeyDown(key, shift);
  return key == 0 || msg == WM_KEYDOWN || msg == WM_KEYUP;
}

LResult WinControl::WndProc(std::uint32_t msg, WParam w, LParam l) {
  switch (msg) {
  case WM_PAINT:
    // A canvas in wParam is a buffer to paint into (a buffered repaint);
    // its erase message reached a double-buffered control in vain.
    if (auto* c = reinterpret_cast<Canvas*>(w))
      PaintInto(*c, fDoubleBuffered);
    else
      PaintHandler();
    return 0;
  case WM_PRINT:
  case WM_PRINTCLIENT:
    // Draws the client area into the canvas in wParam (snapshots for animation).
    if (auto* c = reinterpret_cast<Canvas*>(w)) {
      if (msg == WM_PRINT && (l & PRF_CHECKVISIBLE) && !IsWindowVisible(fHandle)) return 0;
      PaintInto(*c, msg == WM_PRINTCLIENT || (l & PRF_ERASEBKGND));
    }
    return 1;
  case WM_ERASEBKGND:
    if (!fDoubleBuffered || fErasingIntoBuffer) {
      if (auto* c = reinterpret_cast<Canvas*>(w)) EraseBackground(*c);
    }
    return 1;
  case WM_MOUSEMOVE:
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONUP:
  case WM_MBUTTONDBLCLK:
    RouteMouse(msg, w, l);
    return 0;
  case WM_MOUSEWHEEL: {
    const int delta = static_cast<std::int16_t>((w >> 16) & 0xFFFF);
    if (DoMouseWheel(MouseShiftState(w & 0xFFFF), delta, PointFromLParam(l))) return 0;
    if (Parent()) return Parent()->WndProc(msg, w, l);
    return 0;
  }
  case WM_KEYDOWN:
  case WM_KEYUP:
  case WM_CHAR:
  case WM_SYSKEYDOWN:
  case WM_SYSKEYUP:
  case WM_SYSCHAR:
    if (HandleKey(msg, w)) return 0;
    return DefaultWindowProc(fHandle, msg, w, l);
  case WM_SETFOCUS:
    DoEnter();
    return 0;
  case WM_KILLFOCUS:
    DoExit();
    return 0;
  case WM_CANCELMODE: {
    Control* cap = CaptureControl();
    if (cap && cap->DisplayWindow() == fHandle) cap->CancelMode();
    return DefaultWindowProc(fHandle, msg, w, l);
  }
  case WM_CAPTURECHANGED: {
    Control* cap = CaptureControl();
    if (cap && cap->DisplayWindow() == fHandle && static_cast<WindowHandle>(l) != fHandle) {
      ForgetCaptureControl();
    }
    return 0;
  }
  default:
    return DefaultWindowProc(fHandle, msg, w, l);
  }
}

void WinControl::KeyDown(std::uint16_t& key, ShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void WinControl::KeyUp(std::uint16_t& key, ShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void WinControl::KeyPress(char16_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void WinControl::DefaultKeyDown(std::uint16_t, ShiftState) {}
void WinControl::DefaultChar(char16_t) {}

void WinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void WinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool WinControl::DoMouseWheel(ShiftState shift, int delta, Point screen) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, shift, delta, screen, handled);
  return handled;
}

} // namespace kest::ui
