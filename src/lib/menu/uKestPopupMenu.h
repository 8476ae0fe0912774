#pragma once
// The popup menu component the editor's buttons open: a tree of items
// under an invisible root, shown as a skinned popup menu at a screen point.
#include <cstdint>
#include <string>

#include "uKestMenu.h"
#include "uKestPopupIntf.h"

namespace kest::menu {

// Which button a menu follows besides the left one.
enum class TTrackButton : std::uint8_t { tbRightButton, tbLeftButton };

class TKestPopupMenu : public kest::TKestPopupMenuIntf, public IKestItems {
public:
  explicit TKestPopupMenu(kest::ui::Component* AOwner);
  ~TKestPopupMenu() override;

  TKestCustomItem* GetItems() override { return FItem; }
  TKestRootItem* Items() const { return FItem; }
  TImageList* Images() const { return FItem->SubMenuImages(); }
  void SetImages(TImageList* Value) { FItem->SetSubMenuImages(Value); }
  TKestCustomItem* LinkSubitems() const { return FItem->LinkSubitems(); }
  void SetLinkSubitems(TKestCustomItem* Value) { FItem->SetLinkSubitems(Value); }
  TKestItemOptions Options() const { return FItem->Options(); }
  void SetOptions(TKestItemOptions Value) { FItem->SetOptions(Value); }
  TKestPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TKestPopupAlignment Value) { FAlignment = Value; }
  TTrackButton TrackButton() const { return FTrackButton; }
  void SetTrackButton(TTrackButton Value) { FTrackButton = Value; }
  // Where the menu was last opened (screen).
  kest::ui::Point PopupPoint() const { return FPopupPoint; }

  // Runs just before the menu shows (check marks are brought up to date here).
  kest::ui::NotifyEvent OnPopup;

  // Shows the menu at the screen point; returns when it has closed. The
  // chosen item's click runs after that, from the message loop.
  void Popup(int X, int Y) override;
  // As Popup; with ReturnClickedItemOnly the chosen item is returned and
  // not clicked.
  TKestCustomItem* PopupEx(int X, int Y, bool ReturnClickedItemOnly);
  bool IsShortCut(const TWMKey& Message) { return FItem->IsShortCut(Message); }

  // New items owned by the menu, appended to aParent (null: the root).
  TKestSubmenuItem* AddSubmenuItem(TKestCustomItem* aParent, const std::u16string& aCaption);
  TKestItem* AddItem(TKestCustomItem* aParent, const std::u16string& aCaption,
                     TNotifyEvent aOnclick, std::intptr_t aTag);
  // Checked is the caller's to set: radio items here do not check themselves.
  TKestItem* AddRadioItem(TKestCustomItem* aParent, const std::u16string& aCaption,
                          std::intptr_t aTag, TNotifyEvent aOnclick, int aGroupIndex);
  TKestSeparatorItem* AddSeparatorItem(TKestCustomItem* aParent);
  TKestLabelItem* AddLabelItem(TKestCustomItem* aParent, const std::u16string& aCaption);

private:
  template <class T> T* Append(TKestCustomItem* aParent);

  TKestRootItem* FItem;
  TKestPopupAlignment FAlignment = tbpaLeft;
  TTrackButton FTrackButton = TTrackButton::tbRightButton;
  kest::ui::Point FPopupPoint;
};

} // namespace kest::menu
