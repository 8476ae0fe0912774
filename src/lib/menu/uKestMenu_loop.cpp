// The modal menu loop: a nested message loop on the user-interface thread
// that gives the mouse, the keys and the views' timers to the open menu
// levels and dispatches everything else, so that other windows keep
// painting and their timers keep running while the menu is open.
#include <algorithm>
#include <exception>
#include <string>

#include "uKestMenu_popup.h"
#include "uKestTools.h"
#include "ui/toolkit/Application.h"
#include "ui/windowing/ModalLoop.h"

namespace kest::menu {

namespace ui = kest::ui;
using ui::Message;
using ui::Point;

namespace {

bool IsPress(std::uint32_t m) {
  return m == ui::WM_LBUTTONDOWN || m == ui::WM_LBUTTONDBLCLK || m == ui::WM_RBUTTONDOWN ||
         m == ui::WM_RBUTTONDBLCLK;
}

class MenuLoop {
public:
  MenuLoop(TKestView* Root, ui::WindowHandle CaptureWnd, bool TrackRightButton)
      : fRoot(Root), fCaptureWnd(CaptureWnd), fTrackRight(TrackRightButton) {}

  void Run(bool AMouseDown, bool AExecuteSelected, bool AFromMSAA);

private:
  struct Target {
    TKestView* view = nullptr;
    TKestItemViewer* viewer = nullptr;
  };

  bool MayContinue() const;
  void Handle(const Message& m);
  std::uint32_t RunIdle();
  void Wait(std::uint32_t IdleDueIn);
  TKestView* CapturingView() const;
  Target MouseTarget() const;
  bool IsOurPopupAt(Point p) const;
  void UpdateSelections(Point p, bool AllowNewSelection);
  void PointerMoved();
  bool ButtonHeld() const;
  void ButtonDown(const Message& m);
  void ButtonUp(const Message& m);
  void KeyDown(const Message& m);
  void Character(const Message& m);
  bool Timer(const Message& m);
  void ShowHintText();

  TKestView* fRoot;
  ui::WindowHandle fCaptureWnd;
  bool fTrackRight;
  ui::WindowHandle fActiveWnd = 0;
  bool fMouseDownOnMenu = false;
  bool fFinish = false;
};

bool MenuLoop::MayContinue() const {
  return !fFinish && ui::GetCaptureWnd() == fCaptureWnd && ui::GetActiveWnd() == fActiveWnd &&
         !fRoot->IsModalEnding();
}

TKestView* MenuLoop::CapturingView() const {
  for (TKestView* v = fRoot; v; v = v->OpenViewerView())
    if (v->Capture()) return v;
  return nullptr;
}

MenuLoop::Target MenuLoop::MouseTarget() const {
  if (TKestView* v = CapturingView()) return {v, v->Selected()};
  for (TKestView* v = fRoot; v; v = v->OpenViewerView())
    if (v->Selected() && v->MouseOverSelected()) return {v, v->Selected()};
  for (TKestView* v = fRoot; v; v = v->OpenViewerView())
    if (v->State().Contains(vsMouseInWindow)) return {v, nullptr};
  return {};
}

bool MenuLoop::IsOurPopupAt(Point p) const {
  const auto* w =
      dynamic_cast<TKestPopupWindow*>(ui::WinControl::FindControl(ui::WindowFromPoint(p)));
  return w && fRoot->ContainsView(w->View());
}

void MenuLoop::UpdateSelections(Point p, bool AllowNewSelection) {
  if (TKestView* v = CapturingView()) {
    v->UpdateSelection(p, AllowNewSelection);
    return;
  }
  for (TKestView* v = fRoot->DeepestView(); v; v = v->ParentView())
    v->UpdateSelection(p, AllowNewSelection);
}

void MenuLoop::PointerMoved() {
  const Point p = KestLastPointerPos();
  UpdateSelections(p, true);
  const Target t = MouseTarget();
  ui::Cursor cursor = ui::Cursor::Default;
  Point at;
  if (t.viewer) {
    at = t.viewer->ScreenToClient(p);
    t.viewer->GetCursor(at, cursor);
  }
  ui::SetCursorShape(cursor == ui::Cursor::Default ? ui::Cursor::Arrow : cursor);
  if (t.viewer) t.viewer->MouseMove(at.x, at.y);
}

bool MenuLoop::ButtonHeld() const {
  return ui::GetKeyState(ui::VK_LBUTTON) < 0 ||
         (fTrackRight && ui::GetKeyState(ui::VK_RBUTTON) < 0);
}

void MenuLoop::ButtonDown(const Message& m) {
  fMouseDownOnMenu = false;
  fRoot->State().Exclude(vsIgnoreFirstMouseUp);
  UpdateSelections(m.pt, true);
  const Target t = MouseTarget();
  if (t.viewer) {
    ui::ShiftState shift = ui::MouseShiftState(m.wParam);
    if (m.message == ui::WM_LBUTTONDBLCLK) shift |= ui::ssDouble;
    const Point at = t.viewer->ScreenToClient(m.pt);
    t.viewer->MouseDown(shift, at.x, at.y, fMouseDownOnMenu);
  }
  KestLastPointerPos() = m.pt;
}

void MenuLoop::ButtonUp(const Message& m) {
  UpdateSelections(m.pt, false);
  const Target t = MouseTarget();
  if (t.viewer) {
    const Point at = t.viewer->ScreenToClient(m.pt);
    t.viewer->MouseUp(at.x, at.y, fMouseDownOnMenu);
  } else if (!t.view) {
    // The release of the press that opened the menu belongs to that press;
    // a later one outside every level closes it.
    if (fRoot->State().Contains(vsIgnoreFirstMouseUp))
      fRoot->State().Exclude(vsIgnoreFirstMouseUp);
    else
      fFinish = true;
  }
}

void MenuLoop::KeyDown(const Message& m) {
  auto key = static_cast<std::uint16_t>(m.wParam);
  // Help may be asked for while a button is held; nothing else.
  if (ButtonHeld() && key != ui::VK_F1) return;
  const ui::ShiftState shift = ui::KeyboardShiftState();
  // The deepest level handles it; it may close itself, so it is not
  // touched afterwards.
  TKestView* view = fRoot->DeepestView();
  if (TKestItemViewer* v = view->Selected()) v->KeyDown(key, shift);
  if (key) view->KeyDown(key, shift);
  if (fRoot->IsModalEnding()) {
    fFinish = true;
    return;
  }
  if (key) ui::TranslateMsg(m);
}

void MenuLoop::Character(const Message& m) {
  if (ButtonHeld()) return;
  TKestView* view = fRoot->DeepestView();
  bool only = false;
  TKestItemViewer* v =
      view->NextSelectableWithAccel(view->Selected(), static_cast<char16_t>(m.wParam), false, only);
  if (!v) {
    ui::MessageBeep(ui::MB_OK);
    return;
  }
  view->SelectAndShow(v);
  if (only) view->ExecuteSelected(true);
}

bool MenuLoop::Timer(const Message& m) {
  if (m.wParam < kKestViewTimerBase || m.wParam > kKestViewTimerBase + vtScrollDown) return false;
  const auto* w = dynamic_cast<TKestPopupWindow*>(ui::WinControl::FindControl(m.hwnd));
  if (!w || !fRoot->ContainsView(w->View())) return false;
  w->View()->TimerTick(static_cast<int>(m.wParam - kKestViewTimerBase));
  return true;
}

void MenuLoop::Handle(const Message& m) {
  switch (m.message) {
  case ui::WM_TIMER:
    if (!Timer(m)) ui::DispatchMsg(m);
    return;
  case ui::WM_MOUSEMOVE:
    if (m.pt != KestLastPointerPos()) {
      KestLastPointerPos() = m.pt;
      PointerMoved();
    }
    return;
  case ui::WM_LBUTTONDOWN:
  case ui::WM_LBUTTONDBLCLK:
    ButtonDown(m);
    return;
  case ui::WM_RBUTTONDOWN:
    if (fTrackRight) ButtonDown(m);
    return;
  case ui::WM_LBUTTONUP:
    ButtonUp(m);
    return;
  case ui::WM_RBUTTONUP:
    if (fTrackRight) ButtonUp(m);
    return;
  case ui::WM_MOUSEWHEEL: {
    const Target t = MouseTarget();
    if (!t.viewer) return;
    const Point at = t.viewer->ScreenToClient(m.pt);
    t.viewer->MouseWheel(static_cast<std::int16_t>((m.wParam >> 16) & 0xFFFF), at.x, at.y);
    return;
  }
  case ui::WM_KEYDOWN:
  case ui::WM_SYSKEYDOWN:
    KeyDown(m);
    return;
  case ui::WM_CHAR:
  case ui::WM_SYSCHAR:
    Character(m);
    return;
  case ui::WM_HELP:
  case ui::WM_CONTEXTMENU:
  case 0x0118: // the system's caret blink
    return;
  default:
    break;
  }
  const bool mouse = m.message >= ui::WM_MOUSEFIRST && m.message <= ui::WM_MOUSELAST;
  const bool keyboard = m.message >= ui::WM_KEYFIRST && m.message <= ui::WM_KEYLAST;
  if (mouse || keyboard) return; // the menu's input, of no use to it
  ui::DispatchMsg(m);
}

// The host's due while the menu holds its thread; how long until it is due again.
std::uint32_t MenuLoop::RunIdle() {
  try {
    return ui::RunModalIdleIfDue(ui::TickCount());
  } catch (...) {
    ui::App().HandleException(std::current_exception());
    return ui::kModalIdleIntervalMs;
  }
}

void MenuLoop::Wait(std::uint32_t IdleDueIn) {
  // While a level unfolds, its frames are due every few milliseconds.
  ui::WaitMsg(std::min(PopupAnimating() ? 1u : ui::kInfinite, IdleDueIn));
}

void MenuLoop::ShowHintText() {
  for (TKestView* v = fRoot->DeepestView(); v; v = v->ParentView()) {
    if (TKestItemViewer* s = v->Selected()) {
      ui::App().SetHint(LongHint(s->Item()->Hint()));
      return;
    }
  }
  ui::App().SetHint(u"");
}

void MenuLoop::Run(bool AMouseDown, bool AExecuteSelected, bool AFromMSAA) {
  fRoot->SetDoneAction(tbdaNone);
  fRoot->ValidatePositions();
  fRoot->SetCaptureWnd(fCaptureWnd);
  if (AMouseDown) {
    if (TKestItemViewer* v = fRoot->Selected()) {
      const Point at = v->ScreenToClient(ui::GetCursorPos());
      v->MouseDown(0, at.x, at.y, fMouseDownOnMenu);
    }
    if (fRoot->IsModalEnding()) return;
  } else if (AExecuteSelected) {
    fRoot->ExecuteSelected(!AFromMSAA);
    if (fRoot->IsModalEnding()) return;
  }
  fActiveWnd = ui::GetActiveWnd();
  while (MayContinue()) {
    StepPopupAnimation();
    const std::uint32_t idleDueIn = RunIdle();
    Message m;
    if (!ui::PeekMsg(m, 0, 0, 0, ui::PM_NOREMOVE)) {
      Wait(idleDueIn);
      continue;
    }
    // A press outside the menu closes it and is left for the window under
    // the pointer.
    if (IsPress(m.message) && !IsOurPopupAt(m.pt)) break;
    ui::PeekMsg(m, 0, 0, 0, ui::PM_REMOVE);
    if (m.message == ui::WM_QUIT) {
      // The quit belongs to the outermost loop; the menu goes first.
      ui::PostQuitMsg(static_cast<int>(m.wParam));
      fRoot->EndModal();
      break;
    }
    Handle(m);
    if (!MayContinue()) break;
    if (KestLastPointerPos().x == kKestUnknownPos) {
      KestLastPointerPos() = ui::GetCursorPos();
      PointerMoved();
    }
    ShowHintText();
  }
}

} // namespace

void TKestModalHandler::Loop(TKestView* RootView, bool AMouseDown, bool AExecuteSelected,
                             bool AFromMSAA, bool TrackRightButton) {
  const ui::ModalLoopScope modal;
  struct Finish {
    TKestView* root;
    ~Finish() {
      root->CancelCapture();
      root->SetCaptureWnd(0);
      ui::App().CancelHint();
      // Characters of keys pressed for the menu must not reach a window.
      RemovePendingMessages(ui::WM_CHAR, ui::WM_DEADCHAR);
      RemovePendingMessages(ui::WM_SYSCHAR, ui::WM_SYSDEADCHAR);
      RemovePendingMessages(ui::WM_HELP, ui::WM_HELP);
    }
  } finish{RootView};
  MenuLoop(RootView, FWnd, TrackRightButton).Run(AMouseDown, AExecuteSelected, AFromMSAA);
}

} // namespace kest::menu
