// How views and viewers hand out their accessibility objects, and the
// deferred select a viewer runs for a client.
#include "uKestMenu_views.h"

namespace kest::menu {

kest::ui::AccRef TKestView::GetAccObject() {
  if (!FAccObjectInstance && AccessibilityAvailable())
    FAccObjectInstance = kest::ui::AccRef(new TKestViewAccObject(this));
  return FAccObjectInstance;
}

kest::ui::AccRef TKestItemViewer::GetAccObject() {
  if (!FAccObjectInstance && AccessibilityAvailable())
    FAccObjectInstance = new TKestItemViewerAccObject(this);
  return kest::ui::AccRef(FAccObjectInstance);
}

void TKestItemViewer::AccObjectGone(const TKestItemViewerAccObject* AObject) {
  if (FAccObjectInstance == AObject) FAccObjectInstance = nullptr;
}

void TKestItemViewer::PostAccSelect(bool AExecute) {
  KestPostDeferred(this, AExecute ? 1 : 0);
}

void TKestItemViewer::DeferredRun(std::uintptr_t flag) {
  TKestItemViewerAccObject::HandleAccSelect(this, flag != 0);
}

} // namespace kest::menu
