// Whether an item can act for a client, and the deferred select that a
// client's selection or default action queues on the menu's thread.
#include "uKestAcc_internal.h"
#include "uKestMenu_views.h"

namespace kest::menu {

namespace acc {

int AccessibleCount(const TKestView& view) {
  int n = 0;
  for (int i = 0; i < view.ViewerCount(); ++i)
    if (view.Viewers(i)->IsAccessible()) ++n;
  return n;
}

TKestItemViewer* AccessibleViewer(const TKestView& view, int position) {
  if (position < 1) return nullptr;
  for (int i = 0; i < view.ViewerCount(); ++i) {
    TKestItemViewer* v = view.Viewers(i);
    if (v->IsAccessible() && --position == 0) return v;
  }
  return nullptr;
}

bool ItemUsable(const TKestItemViewer& viewer) {
  return viewer.Item()->Enabled() && viewer.Item()->GetItemStyle().Contains(tbisSelectable);
}

bool WindowUsable(TKestView& view) {
  const kest::ui::WindowHandle h = view.WindowHandleIfAny();
  if (!h || !kest::ui::IsWindowVisible(h)) return false;
  for (kest::ui::WindowHandle w = h; w; w = kest::ui::GetParent(w))
    if (!kest::ui::IsWindowEnabled(w)) return false;
  if (view.State().Contains(vsModal)) return true;
  const kest::ui::WindowHandle active = kest::ui::GetActiveWnd();
  for (kest::ui::WindowHandle w = h; w; w = kest::ui::GetParent(w))
    if (w == active) return true;
  return false;
}

bool CanAct(TKestItemViewer& viewer) {
  return viewer.IsAccessible() && ItemUsable(viewer) && WindowUsable(*viewer.View());
}

} // namespace acc

void TKestItemViewerAccObject::HandleAccSelect(TKestItemViewer* AViewer, bool AExecute) {
  if (!AViewer) return;
  TKestView* view = AViewer->View();
  if (AExecute ? !acc::CanAct(*AViewer) : !acc::WindowUsable(*view)) return;
  view->SelectAndShow(AViewer);
  // Outside a running menu loop there is nothing more to do: the only
  // views here are popup views, which always run inside their loop, and
  // no menu bar exists whose loop a client could start.
  if (view->State().Contains(vsModal) && AExecute) view->ExecuteSelected(false);
}

} // namespace kest::menu
