// Views: lifetime, the viewers of the current parent item, and what the
// items' change notices do to them.
#include <algorithm>

#include "uKestMenu_views.h"

namespace kest::menu {

using kest::ui::Component;
using kest::ui::Operation;

TKestView::TKestView(Component* AOwner, TKestView* AParentView, TKestCustomItem* AParentItem,
                     kest::ui::WinControl* AWindow, bool AIsToolbar, bool, bool)
    : Component(AOwner), FIsPopup(!AIsToolbar), FParentView(AParentView), FParentItem(AParentItem),
      FWindow(AWindow) {
  if (FParentItem) {
    FParentItem->RegisterNotification(
        TKestItemChangedProc::Of<&TKestView::ParentItemNotification>(this));
    FParentItem->FreeNotification(this);
  }
  LinkNotification();
}

TKestView::~TKestView() {
  CloseChildPopups();
  if (FCurParentItem)
    FCurParentItem->UnregisterNotification(
        TKestItemChangedProc::Of<&TKestView::ItemNotification>(this));
  if (FParentItem)
    FParentItem->UnregisterNotification(
        TKestItemChangedProc::Of<&TKestView::ParentItemNotification>(this));
  BeginDestroy();
  if (FAccObjectInstance) {
    static_cast<TKestViewAccObject*>(FAccObjectInstance.get())->ClientIsDestroying();
    FAccObjectInstance = nullptr;
  }
  FSelected = nullptr;
  FreeViewers();
  if (FParentView) FParentView->NotifyFocusEvent();
}

void TKestView::FreeViewers() {
  while (!FViewers.empty())
    FViewers.pop_back();
}

TKestItemViewer* TKestView::GetViewer(int Index) const {
  if (Index < 0 || Index >= ViewerCount()) throw EKestItemError(SKestItemIndexOutOfRange);
  return FViewers[static_cast<std::size_t>(Index)].get();
}

int TKestView::IndexOf(const TKestItemViewer* AViewer) const {
  if (!AViewer) return -1;
  for (int i = 0; i < ViewerCount(); ++i)
    if (FViewers[static_cast<std::size_t>(i)].get() == AViewer) return i;
  return -1;
}

TKestItemViewer* TKestView::Find(const TKestCustomItem* Item) const {
  for (const auto& v : FViewers)
    if (v->FItem == Item) return v.get();
  throw EKestItemError(SKestViewerNotFound);
}

bool TKestView::ContainsView(const TKestView* AView) const {
  for (; AView; AView = AView->FParentView)
    if (AView == this) return true;
  return false;
}

TKestView* TKestView::DeepestView() {
  TKestView* v = this;
  while (v->FOpenViewerView)
    v = v->FOpenViewerView;
  return v;
}

TKestView* TKestView::RootView() {
  TKestView* v = this;
  while (v->FParentView)
    v = v->FParentView;
  return v;
}

// The item whose subitems show: the parent item's link target, else itself.
void TKestView::LinkNotification() {
  TKestCustomItem* cur = FParentItem;
  if (cur && cur->LinkSubitems()) cur = cur->LinkSubitems();
  if (cur == FCurParentItem) return;
  CloseChildPopups();
  const auto proc = TKestItemChangedProc::Of<&TKestView::ItemNotification>(this);
  if (FCurParentItem) FCurParentItem->UnregisterNotification(proc);
  FCurParentItem = cur;
  if (FCurParentItem) FCurParentItem->RegisterNotification(proc);
  RecreateAllViewers();
  for (const auto& v : FViewers)
    v->FItem->InitiateAction();
}

void TKestView::RecreateAllViewers() {
  CloseChildPopups();
  Select(nullptr, false);
  InvalidatePositions();
  FreeViewers();
  if (!FCurParentItem) return;
  for (int i = 0; i < FCurParentItem->Count(); ++i)
    FViewers.push_back(NewItemViewer(this, FCurParentItem->GetItem(i)));
}

void TKestView::InsertViewerFor(TKestCustomItem* Item) {
  InvalidatePositions();
  // Just before the viewer of the item that now follows it.
  const int index = FCurParentItem->IndexOf(Item);
  auto at = FViewers.end();
  if (index >= 0 && index + 1 < FCurParentItem->Count()) {
    const TKestCustomItem* next = FCurParentItem->GetItem(index + 1);
    at = std::find_if(FViewers.begin(), FViewers.end(),
                      [&](const auto& v) { return v->FItem == next; });
  }
  FViewers.insert(at, NewItemViewer(this, Item));
}

void TKestView::DeleteViewerFor(TKestCustomItem* Item) {
  InvalidatePositions();
  // A click recorded for an item that goes would reach a freed item.
  TKestDoneActionData& done = RootView()->FDoneActionData;
  if (done.ClickItem == Item) {
    done.ClickItem = nullptr;
    done.DoneAction = tbdaCancel;
  }
  const auto it = std::find_if(FViewers.begin(), FViewers.end(),
                               [&](const auto& v) { return v->FItem == Item; });
  if (it == FViewers.end()) return;
  TKestItemViewer* v = it->get();
  if (FOpenViewer == v) CloseChildPopups();
  if (FSelected == v) FSelected = nullptr;
  FViewers.erase(it);
}

void TKestView::ReplaceViewersOf(TKestCustomItem* Item) {
  InvalidatePositions();
  for (auto& v : FViewers) {
    if (v->FItem != Item) continue;
    if (FOpenViewer == v.get()) CloseChildPopups();
    if (FSelected == v.get()) FSelected = nullptr;
    v = NewItemViewer(this, Item);
  }
}

void TKestView::ItemNotification(TKestCustomItem*, bool Relayed, TKestItemChangedAction Action, int,
                                 TKestCustomItem* Item) {
  switch (Action) {
  case tbicInserted:
    InsertViewerFor(Item);
    break;
  case tbicDeleting:
    DeleteViewerFor(Item);
    break;
  case tbicSubitemsChanged:
    if (Relayed) RecreateAllViewers();
    break;
  case tbicSubitemsBeginUpdate:
    BeginUpdate();
    break;
  case tbicSubitemsEndUpdate:
    EndUpdate();
    break;
  case tbicInvalidate:
    for (const auto& v : FViewers)
      if (v->FItem == Item) Invalidate(v.get());
    break;
  case tbicInvalidateAndResize:
    InvalidatePositions();
    break;
  case tbicRecreateItemViewers:
    ReplaceViewersOf(Item);
    break;
  case tbicSubMenuImagesChanged:
    ImagesChanged();
    break;
  case tbicNameChanged:
    return;
  }
  TryValidatePositions();
}

void TKestView::ParentItemNotification(TKestCustomItem*, bool, TKestItemChangedAction Action, int,
                                       TKestCustomItem*) {
  if (Action == tbicSubitemsChanged)
    LinkNotification();
  else if (Action == tbicSubMenuImagesChanged && FParentItem != FCurParentItem)
    ImagesChanged();
}

void TKestView::ImagesChanged() {
  for (TKestView* v = this; v; v = v->FOpenViewerView) {
    v->InvalidatePositions();
    v->TryValidatePositions();
  }
}

void TKestView::Notification(Component* AComponent, Operation Operation) {
  Component::Notification(AComponent, Operation);
  if (Operation != Operation::Remove) return;
  if (AComponent == FOpenViewerWindow) {
    FOpenViewer = nullptr;
    FOpenViewerView = nullptr;
    FOpenViewerWindow = nullptr;
  }
  if (AComponent == FParentItem) {
    FParentItem->UnregisterNotification(
        TKestItemChangedProc::Of<&TKestView::ParentItemNotification>(this));
    FParentItem = nullptr;
    LinkNotification();
    // This view may go with its window here: nothing may follow.
    if (FParentView) FParentView->CloseChildPopups();
  }
}

void TKestView::SetOpenChild(TKestItemViewer* AViewer, TKestView* AView,
                             kest::ui::WinControl* AWindow) {
  FOpenViewer = AViewer;
  FOpenViewerView = AView;
  FOpenViewerWindow = AWindow;
  if (AWindow) AWindow->FreeNotification(this);
}

void TKestView::CloseChildPopups() {
  if (FOpenViewerView) FOpenViewerView->CloseChildPopups();
  StopTimer(vtClose);
  kest::ui::WinControl* window = FOpenViewerWindow;
  FOpenViewer = nullptr;
  FOpenViewerView = nullptr;
  FOpenViewerWindow = nullptr;
  if (window) {
    RemoveFreeNotification(window);
    delete window;
  }
}

bool TKestView::OpenChildPopup(bool SelectFirstItem) {
  StopTimer(vtClose);
  StopTimer(vtOpen);
  if (FSelected != FOpenViewer) {
    CloseChildPopups();
    if (FSelected && FSelected->FItem->Enabled() &&
        FSelected->FItem->GetItemStyle().Contains(tbisSubmenu)) {
      CreateChildPopup(FSelected, SelectFirstItem);
    }
  }
  return FOpenViewer != nullptr;
}

kest::ui::WindowHandle TKestView::WindowHandleIfAny() const {
  return FWindow && FWindow->HandleAllocated() ? FWindow->Handle() : 0;
}

void TKestView::StartTimer(int ATimer, std::uint32_t Interval) {
  const kest::ui::WindowHandle h = WindowHandleIfAny();
  if (!h) return;
  kest::ui::SetTimer(h, kKestViewTimerBase + static_cast<std::uintptr_t>(ATimer), Interval);
  FActiveTimers = static_cast<std::uint8_t>(FActiveTimers | (1u << ATimer));
}

void TKestView::StopTimer(int ATimer) {
  if (!TimerRunning(ATimer)) return;
  if (const kest::ui::WindowHandle h = WindowHandleIfAny())
    kest::ui::KillTimer(h, kKestViewTimerBase + static_cast<std::uintptr_t>(ATimer));
  FActiveTimers = static_cast<std::uint8_t>(FActiveTimers & ~(1u << ATimer));
}

void TKestView::StopAllTimers() {
  for (int t = 0; t < 8; ++t)
    StopTimer(t);
}

void TKestView::TimerTick(int ATimer) {
  switch (ATimer) {
  case vtOpen:
    CloseChildPopups();
    OpenChildPopup(false);
    break;
  case vtClose:
    CloseChildPopups();
    break;
  case vtScrollUp:
    if (FShowUpArrow)
      Scroll(false);
    else
      StopTimer(vtScrollUp);
    break;
  case vtScrollDown:
    if (FShowDownArrow)
      Scroll(true);
    else
      StopTimer(vtScrollDown);
    break;
  default:
    break;
  }
}

void TKestView::GivePriority(TKestItemViewer*) {
  if (FParentView) FParentView->GivePriority(FParentView->FOpenViewer);
}

TKestItemViewer* TKestView::HighestPriorityViewer() {
  ValidatePositions();
  for (const auto& v : FViewers)
    if (v->FShow && !v->FItem->GetItemStyle().Contains(tbisSeparator)) return v.get();
  return nullptr;
}

void TKestView::HandleHintShowMessage(TKestHintInfo& Info) {
  Info.HintStr.clear();
  TKestItemViewer* v = ViewerFromPoint(Info.CursorPos);
  if (!v) return;
  Info.CursorRect = v->FBoundsRect;
  Info.HintStr = v->GetHintText();
  Info.HintData = v;
}

kest::ui::Point& KestLastPointerPos() {
  thread_local kest::ui::Point pos{kKestUnknownPos, kKestUnknownPos};
  return pos;
}

void TKestView::CancelCapture() {
  if (!FCapture) return;
  FCapture = false;
  KestLastPointerPos().x = kKestUnknownPos;
  if (FSelected) FSelected->LosingCapture();
}

kest::ui::WindowHandle TKestView::GetCaptureWnd() {
  return RootView()->FCaptureWnd;
}

void TKestPopupView::AutoSize(int AWidth, int AHeight) {
  kest::ui::WinControl* w = Window();
  if (!w) return;
  w->SetBounds(w->Left(), w->Top(), AWidth + 2 * kKestPopupFrame, AHeight + 2 * kKestPopupFrame);
}

const kest::ui::Font& TKestPopupView::GetFont() {
  return Window() ? Window()->GetFont() : KestMenuFont();
}

} // namespace kest::menu
