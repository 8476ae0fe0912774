#pragma once
// The menu item tree: items with captions, check marks, images, shortcuts
// and subitems, the change notifications that views subscribe to, radio
// groups, option inheritance, shortcut search and deferred clicks. Items
// know nothing about windows.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "uKestMenu_images.h"
#include "uKestMenu_sets.h"
#include "ui/toolkit/Component.h"
#include "ui/toolkit/Control.h"
#include "ui/toolkit/Events.h"

namespace kest::menu {

class TKestCustomItem;
class TKestItemViewer;  // the views' side of an item
class TKestView;        // one menu level on screen
class TKestPopupWindow; // the window that shows a view

// Makes a popup window for an item's subitems (the window class an item
// opens its menus in).
using TKestPopupWindowClass = TKestPopupWindow* (*)(kest::ui::Component* AOwner,
                                                    TKestView* AParentView, TKestCustomItem* AItem,
                                                    bool ACustomizing);

// 16-bit shortcut: virtual key in the low byte plus modifier flags.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

// A key message as the platform delivers it: character (virtual key) code
// and the key data word (bit 29: Alt held).
struct TWMKey {
  std::uint16_t CharCode = 0;
  std::int32_t KeyData = 0;
};
inline constexpr std::int32_t kKeyDataAltMask = 0x20000000;

// Change subscriber: a method of some object. Two procs are the same when
// they name the same method of the same object, which is what subscription
// counting relies on, so they are built from a member pointer.
struct TKestItemChangedProc {
  using Code = void (*)(void* data, TKestCustomItem* Sender, bool Relayed,
                        TKestItemChangedAction Action, int Index, TKestCustomItem* Item);
  Code code = nullptr;
  void* data = nullptr;

  template <auto Method, class T> static TKestItemChangedProc Of(T* object) {
    return {[](void* d, TKestCustomItem* s, bool r, TKestItemChangedAction a, int i,
               TKestCustomItem* it) { (static_cast<T*>(d)->*Method)(s, r, a, i, it); },
            object};
  }
  void operator()(TKestCustomItem* Sender, bool Relayed, TKestItemChangedAction Action, int Index,
                  TKestCustomItem* Item) const {
    code(data, Sender, Relayed, Action, Index, Item);
  }
  friend bool operator==(const TKestItemChangedProc&, const TKestItemChangedProc&) = default;
};

struct TItemChangedNotificationData {
  TKestItemChangedProc Proc;
  int RefCount = 0;
};

using TNotifyEvent = kest::ui::NotifyEvent;
using TKestPopupEvent = std::function<void(TKestCustomItem* Sender, bool FromLink)>;
using TKestSelectEvent =
    std::function<void(TKestCustomItem* Sender, TKestItemViewer* Viewer, bool Selecting)>;

// Which viewer class shows an item; the views map each kind to their class.
enum class TKestItemViewerClass : std::uint8_t { Item, Separator, Label };

class EKestItemError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
extern const char* const SKestItemIndexOutOfRange;
extern const char* const SKestItemAlreadyInserted;
extern const char* const SKestItemCannotInsertInto; // printf-style, %s = container class
extern const char* const SKestViewerNotFound;
// The class name shown in "cannot be inserted into container" errors.
std::string KestClassName(const kest::ui::Component& c);

// Lets a component that is not an item hold items (the popup menu).
class IKestItems {
public:
  virtual TKestCustomItem* GetItems() = 0;

protected:
  ~IKestItems() = default;
};

// Objects whose work can be queued to run after the current message.
class IKestDeferred {
public:
  // flag is the value given when queueing (0 for clicks).
  virtual void DeferredRun(std::uintptr_t flag) = 0;

protected:
  ~IKestDeferred() = default;
};
// Per-thread deferred queue, shared by items and item viewers.
void KestPostDeferred(IKestDeferred* object, std::uintptr_t flag);
void KestCancelDeferred(IKestDeferred* object);
void KestDeferredObjectCreated();
void KestDeferredObjectDestroyed();
// The message posted for a deferred run (WM_USER + 256).
inline constexpr std::uint32_t kKestDeferredMessage = 0x0500;

class TKestCustomItem : public kest::ui::Component, private IKestDeferred {
public:
  explicit TKestCustomItem(kest::ui::Component* AOwner = nullptr);
  ~TKestCustomItem() override;

  // Subitems.
  void Add(TKestCustomItem* AItem) { Insert(Count(), AItem); }
  void Insert(int NewIndex, TKestCustomItem* AItem);
  void Delete(int Index);
  void Remove(TKestCustomItem* Item);
  void Clear();
  void Move(int CurIndex, int NewIndex);
  int IndexOf(const TKestCustomItem* AItem) const;
  TKestCustomItem* GetItem(int Index) const;
  TKestCustomItem* Items(int Index) const { return GetItem(Index); }
  int Count() const { return FItems ? static_cast<int>(FItems->size()) : 0; }
  bool ContainsItem(const TKestCustomItem* AItem) const;
  TKestCustomItem* Parent() const { return FParent; }

  // Change notifications.
  void RegisterNotification(TKestItemChangedProc Proc);
  void UnregisterNotification(TKestItemChangedProc Proc);
  void ViewBeginUpdate() { Notify(tbicSubitemsBeginUpdate, -1, nullptr); }
  void ViewEndUpdate() { Notify(tbicSubitemsEndUpdate, -1, nullptr); }

  // Clicks and popups.
  virtual void Click();
  virtual void DoPopup(TKestCustomItem* Sender, bool FromLink);
  // Runs Click after the current message has been handled.
  void PostClick();
  // Asks the linked action to update the item; items here have none.
  virtual void InitiateAction() {}
  bool IsShortCut(const TWMKey& Message);
  std::u16string GetShortCutText() const;
  TKestItemStyle GetItemStyle() const { return FItemStyle; }
  virtual TKestItemViewerClass GetItemViewerClass() const { return TKestItemViewerClass::Item; }
  bool IsDestroying() const { return FDestroying; }

  // Shows the subitems as a popup menu at the screen point and runs it;
  // returns when the menu has closed, with the chosen item (null when
  // none). The chosen item's click is posted, to run after this returns,
  // unless ReturnClickedItemOnly.
  TKestCustomItem* Popup(int X, int Y, bool TrackRightButton,
                         TKestPopupAlignment Alignment = tbpaLeft,
                         bool ReturnClickedItemOnly = false);
  // Makes, places and shows the popup window of the subitems: beside the
  // parent viewer as a submenu, or at the point. The caller owns it (a
  // submenu's is recorded as its parent view's open child).
  virtual TKestPopupWindow* CreatePopup(TKestView* ParentView, TKestItemViewer* ParentViewer,
                                        bool PositionAsSubmenu, bool SelectFirstItem,
                                        bool Customizing, kest::ui::Point PopupPoint,
                                        TKestPopupAlignment Alignment);
  virtual TKestPopupWindowClass GetPopupWindowClass() const;

  // Properties.
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool v) { FAutoCheck = v; }
  const std::u16string& Caption() const { return FCaption; }
  void SetCaption(const std::u16string& v);
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  TKestItemDisplayMode DisplayMode() const { return FDisplayMode; }
  void SetDisplayMode(TKestItemDisplayMode v);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int v) { FHelpContext = v; }
  const std::u16string& Hint() const { return FHint; }
  void SetHint(const std::u16string& v) { FHint = v; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* v);
  bool InheritOptions() const { return FInheritOptions; }
  void SetInheritOptions(bool v);
  TKestItemOptions MaskOptions() const { return FMaskOptions; }
  void SetMaskOptions(TKestItemOptions v);
  TKestItemOptions Options() const { return FOptions; }
  void SetOptions(TKestItemOptions v);
  TKestItemOptions EffectiveOptions() const { return FEffectiveOptions; }
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool v);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut v) { FShortCut = v; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  TImageList* SubMenuImages() const { return FSubMenuImages; }
  void SetSubMenuImages(TImageList* v);
  TKestCustomItem* LinkSubitems() const { return FLinkSubitems; }
  void SetLinkSubitems(TKestCustomItem* v);
  const std::vector<TKestCustomItem*>& LinkParents() const;
  kest::ui::Component* ParentComponent() const { return FParentComponent; }
  void SetParentComponentOfRoot(kest::ui::Component* c) { FParentComponent = c; }

  TNotifyEvent OnClick;
  TKestPopupEvent OnPopup;
  TKestSelectEvent OnSelect;

  // The component name; a change is announced to the parent's subscribers.
  void SetName(const std::string& name) override;

  // Component-model hooks: the component that holds this item in a tree
  // (the parent's owning component for a root's children, else the
  // parent), making another component the holder, and child order.
  kest::ui::Component* GetParentComponent() const;
  void SetParentComponent(kest::ui::Component* Value);
  void SetChildOrder(TKestCustomItem* Child, int Order);

protected:
  void Notify(TKestItemChangedAction Action, int Index, TKestCustomItem* Item);
  virtual void Change(bool NeedResize);
  virtual void EnabledChanged() { Change(false); }
  void RefreshOptions();
  void Notification(kest::ui::Component* AComponent, kest::ui::Operation Operation) override;

  TKestItemStyle FItemStyle{tbisSelectable, tbisRedrawOnSelChange, tbisRedrawOnMouseOverChange};

private:
  void DeferredRun(std::uintptr_t flag) override;
  void UncheckRadioSiblings();
  void SetImageListField(TImageList*& field, std::unique_ptr<TKestImageChangeLink>& link,
                         TImageList* value, bool& sizeChanged);
  void ImageListChanged(TChangeLink* link);

  bool FAutoCheck = false;
  std::u16string FCaption;
  bool FChecked = false;
  TKestItemDisplayMode FDisplayMode = nbdmDefault;
  bool FEnabled = true;
  TKestItemOptions FEffectiveOptions;
  int FGroupIndex = 0;
  int FHelpContext = 0;
  std::u16string FHint;
  int FImageIndex = -1;
  TImageList* FImages = nullptr;
  std::unique_ptr<TKestImageChangeLink> FImagesChangeLink;
  std::unique_ptr<std::vector<TKestCustomItem*>> FItems;
  std::unique_ptr<std::vector<TKestCustomItem*>> FLinkParents;
  TKestItemOptions FMaskOptions;
  TKestItemOptions FOptions;
  bool FInheritOptions = true;
  std::unique_ptr<std::vector<TItemChangedNotificationData>> FNotifyList;
  TKestCustomItem* FParent = nullptr;
  kest::ui::Component* FParentComponent = nullptr;
  bool FRadioItem = false;
  TShortCut FShortCut = 0;
  TImageList* FSubMenuImages = nullptr;
  std::unique_ptr<TKestImageChangeLink> FSubMenuImagesChangeLink;
  TKestCustomItem* FLinkSubitems = nullptr;
  bool FVisible = true;
  bool FDestroying = false;
};

// The invisible root of a popup menu.
class TKestRootItem : public TKestCustomItem {
public:
  using TKestCustomItem::TKestCustomItem;
};

class TKestItem : public TKestCustomItem {
public:
  using TKestCustomItem::TKestCustomItem;
};

class TKestSubmenuItem : public TKestItem {
public:
  explicit TKestSubmenuItem(kest::ui::Component* AOwner = nullptr);
  bool DropdownCombo() const { return FItemStyle.Contains(tbisCombo); }
  void SetDropdownCombo(bool v);
};

class TKestSeparatorItem : public TKestCustomItem {
public:
  explicit TKestSeparatorItem(kest::ui::Component* AOwner = nullptr);
  bool Blank() const { return FBlank; }
  void SetBlank(bool v);
  TKestItemViewerClass GetItemViewerClass() const override {
    return TKestItemViewerClass::Separator;
  }

private:
  bool FBlank = false;
};

class TKestLabelItem : public TKestCustomItem {
public:
  explicit TKestLabelItem(kest::ui::Component* AOwner = nullptr);
  TKestItemViewerClass GetItemViewerClass() const override { return TKestItemViewerClass::Label; }
};

// An item that shows a control of the toolkit; frees it unless told not to.
class TKestControlItem : public TKestCustomItem {
public:
  explicit TKestControlItem(kest::ui::Component* AOwner = nullptr);
  ~TKestControlItem() override;
  kest::ui::Control* Control() const { return FControl; }
  void SetControl(kest::ui::Control* v);
  bool DontFreeControl() const { return FDontFreeControl; }
  void SetDontFreeControl(bool v) { FDontFreeControl = v; }

protected:
  void Notification(kest::ui::Component* AComponent, kest::ui::Operation Operation) override;

private:
  kest::ui::Control* FControl = nullptr;
  bool FDontFreeControl = false;
};

// Shortcut helpers of the platform.
TShortCut ShortCut(std::uint16_t Key, kest::ui::ShiftState Shift);
std::u16string ShortCutToText(TShortCut ShortCut);
TShortCut ShortCutFromMessage(const TWMKey& Message);

} // namespace kest::menu
