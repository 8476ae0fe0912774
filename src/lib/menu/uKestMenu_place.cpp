// Making a popup window for an item's subitems and placing it on the
// monitor: beside the parent item as a submenu, or at a point.
#include <algorithm>
#include <memory>

#include "uKestAccEvents.h"
#include "uKestMenu_popup.h"
#include "uKestTools.h"

namespace kest::menu {

using kest::ui::Point;
using kest::ui::Rect;

namespace {

// The frame of a submenu overlaps its parent item by this much.
constexpr int kOverlap = kKestPopupFrame;

// Whether the popup's interior meets the rectangle (for an empty one: the
// point lies strictly inside the popup).
bool Covers(int X, int Y, kest::ui::Size WH, const Rect& R) {
  return X < R.right && X + WH.cx > R.left && Y < R.bottom && Y + WH.cy > R.top;
}

int SubmenuX(const Rect& R, const Rect& M, int W, bool ParentOpposite, bool& Opposite) {
  bool opposite = ParentOpposite;
  for (;;) {
    int x = R.right - kOverlap;
    Opposite = false;
    if (opposite || x + W > M.right) {
      x = R.left + kOverlap - W;
      Opposite = true;
      // Following the parent's side is no reason to leave the monitor.
      if (opposite && x < M.left) {
        opposite = false;
        continue;
      }
    }
    return std::max(x, M.left);
  }
}

int PointX(const Rect& M, int X, int W, TKestPopupAlignment Alignment) {
  if (Alignment == tbpaRight && X < M.left) X += W;
  if (X + W > M.right) X = Alignment == tbpaLeft ? X - W : M.right - W;
  return std::max(X, M.left);
}

} // namespace

TKestPopupPlacement PlacePopup(const Rect& R, const Rect& M, kest::ui::Size WH, bool AsSubmenu,
                               bool ParentOpposite, TKestPopupAlignment Alignment) {
  const int W = WH.cx;
  const int H = WH.cy;
  TKestPopupPlacement p;
  int x = AsSubmenu ? R.right - kOverlap : R.left;
  int y = AsSubmenu ? R.top - kOverlap : R.top;
  if (!AsSubmenu && Alignment == tbpaRight) x -= W;
  if (!AsSubmenu && Alignment == tbpaCenter) x -= W / 2;

  // Too low: a submenu ends at its item's bottom, a menu at a point opens
  // upwards; then it is held on the monitor.
  if (y + H > M.bottom) {
    const int above = (AsSubmenu ? R.bottom + kOverlap : R.top) - H;
    if (above >= M.top) y = above;
  }
  if (y + H > M.bottom) y = M.bottom - H;
  if (y < M.top) y = M.top;

  if (AsSubmenu) {
    x = SubmenuX(R, M, W, ParentOpposite, p.Opposite);
  } else {
    x = PointX(M, x, W, Alignment);
    if (Covers(x, y, WH, R)) {
      if (R.top - H >= M.top) y = R.top - H;
      if (Covers(x, y, WH, R)) x = std::max(R.right + W <= M.right ? R.right : R.left - W, M.left);
    }
  }

  // The window unfolds away from where it comes from.
  if (AsSubmenu) {
    p.Direction = {x + W / 2 < (R.left + R.right) / 2 ? tbadLeft : tbadRight};
  } else {
    if (y >= R.bottom)
      p.Direction.Include(tbadDown);
    else if (y + H <= R.top)
      p.Direction.Include(tbadUp);
    if (x >= R.right)
      p.Direction.Include(tbadRight);
    else if (x + W <= R.left)
      p.Direction.Include(tbadLeft);
  }
  p.Pos = {x, y};
  return p;
}

TKestPopupWindowClass TKestCustomItem::GetPopupWindowClass() const {
  return &TKestPopupWindow::CreatePopupWindow;
}

namespace {

// The first popup of the process shows before its sound plays (the first
// sound takes a while to load); later ones sound first.
bool gPopupShownBefore = false;

void ShowWithSound(TKestPopupWindow& Window) {
  if (!MenuSoundEnabled("MenuPopup")) {
    Window.Show();
    return;
  }
  if (!gPopupShownBefore) {
    gPopupShownBefore = true;
    Window.Show();
    kest::ui::UpdateWnd(Window.Handle());
    PlayMenuSound("MenuPopup");
    return;
  }
  PlayMenuSound("MenuPopup");
  Window.Show();
}

} // namespace

TKestPopupWindow* TKestCustomItem::CreatePopup(TKestView* ParentView, TKestItemViewer* ParentViewer,
                                               bool PositionAsSubmenu, bool SelectFirstItem,
                                               bool Customizing, Point PopupPoint,
                                               TKestPopupAlignment Alignment) {
  if (FLinkSubitems) FLinkSubitems->DoPopup(this, true);
  DoPopup(this, false);
  const bool opposite = ParentView && ParentView->State().Contains(vsOppositePopup);
  std::unique_ptr<TKestPopupWindow> window(
      GetPopupWindowClass()(nullptr, ParentView, this, Customizing));
  TKestView* view = window->View();

  Rect R;
  Rect M;
  if (ParentView && ParentViewer && ParentView->Window()) {
    ParentView->ValidatePositions();
    const Rect b = ParentViewer->BoundsRect();
    const Point tl = ParentView->Window()->ClientToScreen(b.TopLeft());
    R = Rect::FromSize(tl.x, tl.y, b.Width(), b.Height());
    M = ParentView->MonitorRect().IsEmpty() ? MonitorRectFromRect(R, false)
                                            : ParentView->MonitorRect();
  } else {
    R = {PopupPoint.x, PopupPoint.y, PopupPoint.x, PopupPoint.y};
    M = MonitorRectFromPoint(PopupPoint, false);
  }
  // The whole monitor: menus may cover panels.
  view->SetMonitorRect(M);
  view->SetMaxHeight(M.Height() - 2 * kKestPopupFrame);
  if (SelectFirstItem) view->Select(view->FirstSelectable(), false);
  view->UpdatePositions();

  const kest::ui::Size size{window->Width(), window->Height()};
  const TKestPopupPlacement p = PlacePopup(R, M, size, PositionAsSubmenu, opposite, Alignment);
  if (p.Opposite) view->State().Include(vsOppositePopup);
  window->SetAnimationDirection(p.Direction);
  window->SetBounds(p.Pos.x, p.Pos.y, size.cx, size.cy);
  if (ParentView) ParentView->SetOpenChild(ParentViewer, view, window.get());

  view->State().Include(vsDrawInOrder);
  ShowWithSound(*window);
  NotifyAccEvent(EVENT_SYSTEM_MENUPOPUPSTART, window->Handle(), OBJID_CLIENT, 0);
  if (view->Selected()) view->NotifyFocusEvent();
  return window.release();
}

void TKestPopupView::CreateChildPopup(TKestItemViewer* AViewer, bool SelectFirstItem) {
  AViewer->Item()->CreatePopup(this, AViewer, true, SelectFirstItem, false, {}, tbpaLeft);
}

} // namespace kest::menu
