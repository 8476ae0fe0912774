// Showing an item's subitems as a popup menu: the root level at a point,
// the loop, taking it all down, and then what the menu ended with.
#include <memory>

#include "uKestMenu_popup.h"
#include "uKestTools.h"
#include "ui/toolkit/Application.h"

namespace kest::menu {

namespace {

// Runs after every window of the menu is gone.
TKestCustomItem* ExecuteDoneAction(const TKestDoneActionData& Done, bool ReturnClickedItemOnly) {
  switch (Done.DoneAction) {
  case tbdaClickItem:
    if (!Done.ClickItem) return nullptr;
    if (Done.Sound && MenuSoundEnabled("MenuCommand")) PlayMenuSound("MenuCommand");
    if (!ReturnClickedItemOnly) Done.ClickItem->PostClick();
    return Done.ClickItem;
  case tbdaOpenSystemMenu:
    kest::ui::SendMsg(Done.Wnd, kest::ui::WM_SYSCOMMAND, kest::ui::SC_KEYMENU,
                      static_cast<kest::ui::LParam>(Done.Key));
    return nullptr;
  case tbdaHelpContext:
    // Forms here show no help button in a caption, so it is plain help.
    kest::ui::App().HelpContext(Done.ContextID, false);
    return nullptr;
  case tbdaNone:
  case tbdaCancel:
    break;
  }
  return nullptr;
}

} // namespace

TKestCustomItem* TKestCustomItem::Popup(int X, int Y, bool TrackRightButton,
                                        TKestPopupAlignment Alignment, bool ReturnClickedItemOnly) {
  TKestDoneActionData done;
  {
    TKestModalHandler handler(0);
    std::unique_ptr<TKestPopupWindow> root(
        CreatePopup(nullptr, nullptr, false, false, false, {X, Y}, Alignment));
    TKestView* view = root->View();
    view->State().Include(vsIgnoreFirstMouseUp);
    handler.FRootPopup = root.get();
    // Whatever happens in the loop, the menu is taken down (windows, then
    // capture) before anything it ended with runs.
    struct TakeDown {
      TKestModalHandler& handler;
      std::unique_ptr<TKestPopupWindow>& root;
      ~TakeDown() {
        handler.FRootPopup = nullptr;
        root->View()->State().Exclude(vsModal);
        root.reset();
      }
    } takeDown{handler, root};
    handler.Loop(view, false, false, false, TrackRightButton);
    done = view->DoneActionData();
  }
  return ExecuteDoneAction(done, ReturnClickedItemOnly);
}

} // namespace kest::menu
