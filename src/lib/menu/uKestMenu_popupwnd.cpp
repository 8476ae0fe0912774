// The popup window: a topmost, unactivated, translucent window with a
// 3-pixel frame that shows one view, slides in when it appears and paints
// the items and the scroll arrows.
#include "uKestAccEvents.h"
#include "uKestMenu_popup.h"
#include "uKestTools.h"
#include "ui/toolkit/Application.h"

namespace kest::menu {

using kest::ui::Canvas;
using kest::ui::LParam;
using kest::ui::LResult;
using kest::ui::Rect;
using kest::ui::WindowHandle;
using kest::ui::WParam;

TKestPopupWindow::TKestPopupWindow(kest::ui::Component* AOwner, TKestView* AParentView,
                                   TKestCustomItem* AItem, bool ACustomizing)
    : WinControl(AOwner) {
  Control::SetVisible(false);
  SetBounds(0, 0, 320, 240);
  SetShowHint(true);
  SetFont(AParentView ? AParentView->GetFont() : KestMenuFont());
  FView = new TKestPopupView(this, AParentView, AItem, this, false, ACustomizing, false);
  FView->State().Include(vsModal);
  if (AParentView) {
    // Underlines stay as the menu shows them.
    if (AParentView->Style().Contains(vsUseHiddenAccels)) FView->Style().Include(vsUseHiddenAccels);
    if (AParentView->State().Contains(vsShowAccels)) FView->State().Include(vsShowAccels);
  } else {
    FView->Style().Include(vsUseHiddenAccels);
  }
}

TKestPopupWindow* TKestPopupWindow::CreatePopupWindow(kest::ui::Component* AOwner,
                                                      TKestView* AParentView,
                                                      TKestCustomItem* AItem, bool ACustomizing) {
  return new TKestPopupWindow(AOwner, AParentView, AItem, ACustomizing);
}

TKestPopupWindow::~TKestPopupWindow() {
  // The submenus first, then the window, then the view it showed.
  FView->CloseChildPopups();
  DestroyHandle();
  delete FView;
  FView = nullptr;
}

void TKestPopupWindow::CreateParamsFor(kest::ui::CreateParams& params) {
  WinControl::CreateParamsFor(params);
  kest::ui::WindowDesc& d = params.desc;
  d.parent = 0;
  // Owned by the application's window (none: the desktop's).
  d.owner = kest::ui::App().Handle();
  d.topmost = true;
  d.noActivate = true;
  d.frame = {kKestPopupFrame, kKestPopupFrame, kKestPopupFrame, kKestPopupFrame};
}

void TKestPopupWindow::CreateWindowHandle() {
  WinControl::CreateWindowHandle();
  if (FAlphaBlend) kest::ui::SetWindowOpacity(Handle(), FAlphaBlendValue);
  if (!FView->ParentView()) InitAccelsVisibility();
}

void TKestPopupWindow::InitAccelsVisibility() {
  if (FAccelsVisibilitySet) return;
  FAccelsVisibilitySet = true;
  // This desktop keeps no keyboard-cue state per window: a menu shows
  // its underlines.
  FView->SetAccelsVisibility(true);
}

bool TKestPopupWindow::ShouldAnimate(WindowHandle h) const {
  TKestView* parent = FView->ParentView();
  if (parent && parent->State().Contains(vsNoAnimation)) return false;
  return !FView->Selected() && !kest::ui::IsWindowVisible(h) &&
         SysParamOrDefault(SPI_GETMENUANIMATION, 0) != 0 && !FAnimationDirection.Empty();
}

void TKestPopupWindow::SetVisible(bool v) {
  if (!v) {
    if (HandleAllocated()) EndPopupAnimationFor(Handle());
    WinControl::SetVisible(false);
    return;
  }
  if (Visible()) return;
  const WindowHandle h = Handle();
  if (!ShouldAnimate(h)) {
    WinControl::SetVisible(true);
    return;
  }
  Control::SetVisible(true);
  StartPopupAnimation(h, FAnimationDirection);
}

void TKestPopupWindow::PaintNCArea(Canvas& canvas, const Rect& R) {
  PaintKestMenuFrame(canvas, R);
}

void TKestPopupWindow::EraseBackground(Canvas& canvas) {
  if (HandleAllocated()) EndPopupAnimationFor(Handle());
  // The frame painter shifted by the frame: only its fill reaches the client.
  PaintNCArea(canvas, {-kKestPopupFrame, -kKestPopupFrame, Width() - kKestPopupFrame,
                       Height() - kKestPopupFrame});
}

void TKestPopupWindow::PaintScrollArrows(Canvas& canvas) {
  PaintKestScrollArrows(canvas, kest::ui::GetClientRect(Handle()), FView->ShowUpArrow(),
                        FView->ShowDownArrow());
}

void TKestPopupWindow::PaintWindow(Canvas& canvas) {
  FView->DrawSubitems(canvas);
  PaintScrollArrows(canvas);
}

LResult TKestPopupWindow::WndProc(std::uint32_t msg, WParam w, LParam l) {
  switch (msg) {
  case kest::ui::WM_NCPAINT:
    EndPopupAnimationFor(Handle());
    if (auto* c = reinterpret_cast<Canvas*>(w)) PaintNCArea(*c, {0, 0, Width(), Height()});
    return 0;
  case kest::ui::WM_PAINT:
    EndPopupAnimationFor(Handle());
    return WinControl::WndProc(msg, w, l);
  case kest::ui::WM_PRINT:
    // The slide's snapshot: frame, background and items.
    if (auto* c = reinterpret_cast<Canvas*>(w)) {
      EndPopupAnimationFor(Handle());
      return PaintWindowToDC(Handle(), *c, static_cast<unsigned>(l), [this](Canvas& nc) {
        PaintNCArea(nc, {0, 0, Width(), Height()});
      });
    }
    return 0;
  case kest::ui::WM_PRINTCLIENT:
    if (auto* c = reinterpret_cast<Canvas*>(w))
      PrintClientTo([this](Canvas& pc) { PaintInto(pc, false); }, *c);
    return 0;
  case kest::ui::WM_DESTROY:
    EndPopupAnimationFor(Handle());
    FView->StopAllTimers();
    NotifyAccEvent(EVENT_SYSTEM_MENUPOPUPEND, Handle(), OBJID_CLIENT, 0);
    return WinControl::WndProc(msg, w, l);
  case kest::ui::WM_CLOSE:
    return 0; // a menu level closes through its view only
  case kest::ui::WM_GETOBJECT:
    // A screen reader asks for the menu level: the view answers.
    if (static_cast<std::int32_t>(l) == OBJID_CLIENT)
      return kest::ui::LresultFromObject(FView->GetAccObject().get());
    return WinControl::WndProc(msg, w, l);
  default:
    return WinControl::WndProc(msg, w, l);
  }
}

} // namespace kest::menu
