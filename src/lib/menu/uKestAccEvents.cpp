// Menu events for assistive technology, and the focus event of a view.
#include "uKestAccEvents.h"

#include "uKestMenu_views.h"

namespace kest::menu {

void NotifyAccEvent(std::uint32_t Event, kest::ui::WindowHandle Wnd, std::int32_t ObjectId,
                    std::int32_t ChildId) {
  kest::ui::NotifyWinEvent(Event, Wnd, ObjectId, ChildId);
}

void TKestView::NotifyFocusEvent() {
  if (!FState.Contains(vsModal) || !RootView()->FState.Contains(vsModal) || IsModalEnding()) return;
  const kest::ui::WindowHandle h = WindowHandleIfAny();
  if (!h || !kest::ui::IsWindowVisible(h)) return;
  if (FSelected && FSelected->IsAccessible()) {
    // Children count from 1 among the accessible viewers; 0 is the menu.
    int child = 1;
    for (const auto& v : FViewers) {
      if (v.get() == FSelected) break;
      if (v->IsAccessible()) ++child;
    }
    NotifyAccEvent(EVENT_OBJECT_FOCUS, h, OBJID_CLIENT, child);
  } else if (FParentView) {
    FParentView->NotifyFocusEvent();
  } else {
    NotifyAccEvent(EVENT_OBJECT_FOCUS, h, OBJID_CLIENT, 0);
  }
}

} // namespace kest::menu
