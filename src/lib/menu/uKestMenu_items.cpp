// Item lifetime and the list of subitems.
#include <algorithm>

#include "uKestMenu.h"
#include "uKestMenu_internal.h"

namespace kest::menu {

TKestCustomItem::TKestCustomItem(kest::ui::Component* AOwner) : Component(AOwner) {
  KestDeferredObjectCreated();
}

TKestCustomItem::~TKestCustomItem() {
  FDestroying = true;
  KestCancelDeferred(this);
  // Subitems go last first; each one leaves our list itself.
  while (Count() > 0)
    delete FItems->back();
  if (FParent) FParent->Remove(this);
  FItems.reset();
  if (FSubMenuImages) FSubMenuImages->UnRegisterChanges(FSubMenuImagesChangeLink.get());
  FSubMenuImagesChangeLink.reset();
  if (FImages) FImages->UnRegisterChanges(FImagesChangeLink.get());
  FImagesChangeLink.reset();
  FSubMenuImages = nullptr;
  FImages = nullptr;
  // Destruction notices go out while the item is whole, so that link
  // parents can leave our lists and we can leave our target's.
  BeginDestroy();
  if (FLinkSubitems && FLinkSubitems->FLinkParents) std::erase(*FLinkSubitems->FLinkParents, this);
  FNotifyList.reset();
  FLinkParents.reset();
  KestDeferredObjectDestroyed();
}

TKestCustomItem* TKestCustomItem::GetItem(int Index) const {
  if (Index < 0 || Index >= Count()) throw EKestItemError(SKestItemIndexOutOfRange);
  return (*FItems)[static_cast<std::size_t>(Index)];
}

int TKestCustomItem::IndexOf(const TKestCustomItem* AItem) const {
  if (!FItems) return -1;
  const auto it = std::find(FItems->begin(), FItems->end(), AItem);
  return it == FItems->end() ? -1 : static_cast<int>(it - FItems->begin());
}

bool TKestCustomItem::ContainsItem(const TKestCustomItem* AItem) const {
  for (; AItem; AItem = AItem->FParent) {
    if (AItem == this) return true;
  }
  return false;
}

void TKestCustomItem::Insert(int NewIndex, TKestCustomItem* AItem) {
  if (!AItem) return;
  if (AItem->FParent) throw EKestItemError(SKestItemAlreadyInserted);
  if (NewIndex < 0 || NewIndex > Count()) throw EKestItemError(SKestItemIndexOutOfRange);
  // An item inside its own subtree would make the tree a cycle.
  if (AItem->ContainsItem(this)) {
    throw EKestItemError(detail::Format1(SKestItemCannotInsertInto, KestClassName(*this)));
  }
  if (!FItems) FItems = std::make_unique<std::vector<TKestCustomItem*>>();
  FItems->insert(FItems->begin() + NewIndex, AItem);
  AItem->FParent = this;
  ViewBeginUpdate();
  try {
    Notify(tbicInserted, NewIndex, AItem);
    AItem->RefreshOptions();
  } catch (...) {
    ViewEndUpdate();
    throw;
  }
  ViewEndUpdate();
}

void TKestCustomItem::Delete(int Index) {
  TKestCustomItem* item = GetItem(Index);
  Notify(tbicDeleting, Index, item);
  item->FParent = nullptr;
  // By identity: a subscriber may have reordered the list meanwhile.
  std::erase(*FItems, item);
}

void TKestCustomItem::Remove(TKestCustomItem* Item) {
  const int i = IndexOf(Item);
  if (i >= 0) Delete(i);
}

void TKestCustomItem::Clear() {
  while (Count() > 0)
    delete FItems->back();
}

void TKestCustomItem::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (NewIndex < 0 || NewIndex >= Count()) throw EKestItemError(SKestItemIndexOutOfRange);
  TKestCustomItem* item = GetItem(CurIndex);
  ViewBeginUpdate();
  try {
    Delete(CurIndex);
    Insert(NewIndex, item);
  } catch (...) {
    ViewEndUpdate();
    throw;
  }
  ViewEndUpdate();
}

void TKestCustomItem::SetChildOrder(TKestCustomItem* Child, int Order) {
  const int i = IndexOf(Child);
  if (i >= 0) Move(i, Order);
}

kest::ui::Component* TKestCustomItem::GetParentComponent() const {
  if (FParent && FParent->FParentComponent) return FParent->FParentComponent;
  return FParent;
}

void TKestCustomItem::SetParentComponent(kest::ui::Component* Value) {
  TKestCustomItem* target = nullptr;
  if (auto* item = dynamic_cast<TKestCustomItem*>(Value)) {
    target = item;
  } else if (auto* holder = dynamic_cast<IKestItems*>(Value)) {
    target = holder->GetItems();
  } else if (Value) {
    // Checked before leaving the old parent, so that a refusal changes nothing.
    throw EKestItemError(detail::Format1(SKestItemCannotInsertInto, KestClassName(*Value)));
  }
  if (FParent) FParent->Remove(this);
  if (target) target->Add(this);
}

} // namespace kest::menu
