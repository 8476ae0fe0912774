// The popup menu component: its root item, opening it, and building it.
#include "uKestPopupMenu.h"

namespace kest::menu {

TKestPopupMenu::TKestPopupMenu(kest::ui::Component* AOwner)
    : TKestPopupMenuIntf(AOwner), FItem(new TKestRootItem(this)) {
  FItem->SetParentComponentOfRoot(this);
  // The root's click comes when its menu opens: the menu's popup notice.
  FItem->OnClick = [this](kest::ui::Component* Sender) {
    if (Sender == FItem && OnPopup) OnPopup(this);
  };
}

TKestPopupMenu::~TKestPopupMenu() {
  BeginDestroy();
}

void TKestPopupMenu::Popup(int X, int Y) {
  PopupEx(X, Y, false);
}

TKestCustomItem* TKestPopupMenu::PopupEx(int X, int Y, bool ReturnClickedItemOnly) {
  FPopupPoint = {X, Y};
  return FItem->Popup(X, Y, FTrackButton == TTrackButton::tbRightButton, FAlignment,
                      ReturnClickedItemOnly);
}

template <class T> T* TKestPopupMenu::Append(TKestCustomItem* aParent) {
  auto* item = new T(this);
  try {
    (aParent ? aParent : FItem)->Add(item);
  } catch (...) {
    delete item;
    throw;
  }
  return item;
}

TKestSubmenuItem* TKestPopupMenu::AddSubmenuItem(TKestCustomItem* aParent,
                                                 const std::u16string& aCaption) {
  auto* item = Append<TKestSubmenuItem>(aParent);
  item->SetCaption(aCaption);
  return item;
}

TKestItem* TKestPopupMenu::AddItem(TKestCustomItem* aParent, const std::u16string& aCaption,
                                   TNotifyEvent aOnclick, std::intptr_t aTag) {
  auto* item = Append<TKestItem>(aParent);
  item->SetCaption(aCaption);
  item->SetTag(aTag);
  item->OnClick = std::move(aOnclick);
  return item;
}

TKestItem* TKestPopupMenu::AddRadioItem(TKestCustomItem* aParent, const std::u16string& aCaption,
                                        std::intptr_t aTag, TNotifyEvent aOnclick,
                                        int aGroupIndex) {
  TKestItem* item = AddItem(aParent, aCaption, std::move(aOnclick), aTag);
  item->SetGroupIndex(aGroupIndex);
  item->SetRadioItem(true);
  return item;
}

TKestSeparatorItem* TKestPopupMenu::AddSeparatorItem(TKestCustomItem* aParent) {
  return Append<TKestSeparatorItem>(aParent);
}

TKestLabelItem* TKestPopupMenu::AddLabelItem(TKestCustomItem* aParent,
                                             const std::u16string& aCaption) {
  auto* item = Append<TKestLabelItem>(aParent);
  item->SetCaption(aCaption);
  return item;
}

} // namespace kest::menu
