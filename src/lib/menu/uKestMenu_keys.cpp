// The keys of a view and how a menu comes to an end: a click, help,
// the system menu, or cancelled.
#include "uKestMenu_views.h"

namespace kest::menu {

using namespace kest::ui; // the key numbers

void TKestView::SelectAndShow(TKestItemViewer* V) {
  if (!V) return;
  Select(V, false);
  ScrollSelectedIntoView();
}

void TKestView::KeyDown(std::uint16_t& Key, ShiftState Shift) {
  switch (Key) {
  case VK_TAB:
    SelectAndShow(NextSelectable(FSelected, !(Shift & ssShift)));
    break;
  case VK_RETURN:
    Key = 0;
    ExecuteSelected(true);
    return;
  case VK_ESCAPE:
  case VK_LEFT: {
    const bool escape = Key == VK_ESCAPE;
    Key = 0;
    // Only this level closes; this view goes with it, so nothing follows.
    if (FParentView)
      FParentView->CancelChildPopups();
    else if (escape)
      EndModal();
    return;
  }
  case VK_MENU:
  case VK_F10:
    EndModal();
    break;
  case VK_HOME:
    SelectAndShow(NextSelectable(nullptr, true));
    break;
  case VK_END:
    SelectAndShow(NextSelectable(nullptr, false));
    break;
  case VK_RIGHT:
    Key = 0;
    OpenChildPopup(true);
    return;
  case VK_UP:
  case VK_DOWN:
    SelectAndShow(NextSelectable(FSelected, Key == VK_DOWN));
    break;
  case VK_F1: {
    for (TKestView* v = this; v; v = v->FParentView) {
      if (v->FSelected && v->FSelected->FItem->HelpContext() != 0) {
        EndModalWithHelp(static_cast<std::uint32_t>(v->FSelected->FItem->HelpContext()));
        break;
      }
    }
    break;
  }
  default:
    return; // not ours: the key stays
  }
  Key = 0;
}

void TKestView::EndModal() {
  RootView()->FDoneActionData.DoneAction = tbdaCancel;
}

void TKestView::EndModalWithClick(TKestItemViewer* AViewer) {
  TKestDoneActionData& d = RootView()->FDoneActionData;
  d.ClickItem = AViewer->FItem;
  d.Sound = AViewer->FView->FIsPopup;
  d.DoneAction = tbdaClickItem;
}

void TKestView::EndModalWithHelp(std::uint32_t AContextID) {
  TKestDoneActionData& d = RootView()->FDoneActionData;
  d.ContextID = AContextID;
  d.DoneAction = tbdaHelpContext;
}

void TKestView::EndModalWithSystemMenu(WindowHandle AWnd, char16_t AKey) {
  TKestDoneActionData& d = RootView()->FDoneActionData;
  d.Wnd = AWnd;
  d.Key = AKey;
  d.DoneAction = tbdaOpenSystemMenu;
}

bool TKestView::IsModalEnding() {
  return RootView()->FDoneActionData.DoneAction != tbdaNone;
}

void TKestView::ExecuteSelected(bool AGivePriority) {
  if (FSelected && FSelected->FItem->Enabled()) {
    const TKestItemStyle style = FSelected->FItem->GetItemStyle();
    if (!style.Contains(tbisCombo) && OpenChildPopup(true)) return;
    if (style.Contains(tbisSelectable)) {
      FSelected->Execute(AGivePriority);
      return;
    }
  }
  EndModal();
}

void TKestView::CancelMode() {
  EndModal();
  for (TKestView* v = DeepestView(); v; v = v->FParentView) {
    v->StopAllTimers();
    if (v->FWindow) v->FWindow->Hide();
  }
}

} // namespace kest::menu
