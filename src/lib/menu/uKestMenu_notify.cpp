// Change subscribers and the notifications sent to them.
#include <algorithm>

#include "uKestMenu.h"

namespace kest::menu {

void TKestCustomItem::RegisterNotification(TKestItemChangedProc Proc) {
  if (!Proc.code) return;
  if (!FNotifyList) FNotifyList = std::make_unique<std::vector<TItemChangedNotificationData>>();
  for (auto& entry : *FNotifyList) {
    if (entry.Proc == Proc) {
      ++entry.RefCount;
      return;
    }
  }
  FNotifyList->push_back({Proc, 1});
}

void TKestCustomItem::UnregisterNotification(TKestItemChangedProc Proc) {
  if (!FNotifyList) return;
  auto& list = *FNotifyList;
  const auto it =
      std::find_if(list.begin(), list.end(), [&](const auto& e) { return e.Proc == Proc; });
  if (it == list.end()) return;
  if (--it->RefCount > 0) return;
  list.erase(it);
  if (list.empty()) FNotifyList.reset();
}

void TKestCustomItem::Notify(TKestItemChangedAction Action, int Index, TKestCustomItem* Item) {
  // Subscribers may unsubscribe themselves (or subscribe others) while
  // called, so the list is read afresh around every call.
  auto count = [this] { return FNotifyList ? FNotifyList->size() : std::size_t{0}; };
  std::size_t i = 0;
  while (i < count()) {
    const TKestItemChangedProc proc = (*FNotifyList)[i].Proc;
    proc(this, false, Action, Index, Item);
    if (i >= count()) break;
    // An entry that moved up into this place has not been called yet.
    if ((*FNotifyList)[i].Proc == proc) ++i;
  }
}

void TKestCustomItem::Change(bool NeedResize) {
  if (FParent) FParent->Notify(NeedResize ? tbicInvalidateAndResize : tbicInvalidate, -1, this);
}

} // namespace kest::menu
