#pragma once
// Popup windows and the modal menu loop. A menu opens one borderless,
// translucent popup window per level, placed on the monitor beside its
// parent item or at a point; a modal handler holds the mouse capture and
// runs a nested message loop that feeds mouse, keys and timers to the
// views until the menu ends.
#include <cstdint>

#include "uKestAnim.h"
#include "uKestMenu_views.h"

namespace kest::menu {

// --- The popup window ---------------------------------------------------------

class TKestPopupWindow : public kest::ui::WinControl {
public:
  static constexpr std::uint8_t kAlphaBlendValue = 228;

  // Invisible until shown; its view (a popup view of AItem's subitems,
  // modal) is made here and freed with it.
  TKestPopupWindow(kest::ui::Component* AOwner, TKestView* AParentView, TKestCustomItem* AItem,
                   bool ACustomizing);
  ~TKestPopupWindow() override;
  // The window class of the items: a popup window.
  static TKestPopupWindow* CreatePopupWindow(kest::ui::Component* AOwner, TKestView* AParentView,
                                             TKestCustomItem* AItem, bool ACustomizing);

  TKestView* View() const { return FView; }
  TKestAnimationDirection AnimationDirection() const { return FAnimationDirection; }
  void SetAnimationDirection(TKestAnimationDirection Value) { FAnimationDirection = Value; }
  bool AlphaBlend() const { return FAlphaBlend; }
  std::uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }

  // Shows without activating; a window that appears unfolds (when the
  // desktop animates menus) unless its parent view asks for none or an
  // item is already selected in it.
  void SetVisible(bool v) override;

protected:
  void CreateParamsFor(kest::ui::CreateParams& params) override;
  void CreateWindowHandle() override;
  kest::ui::LResult WndProc(std::uint32_t msg, kest::ui::WParam w, kest::ui::LParam l) override;
  void EraseBackground(kest::ui::Canvas& canvas) override;
  void PaintWindow(kest::ui::Canvas& canvas) override;
  virtual void PaintScrollArrows(kest::ui::Canvas& canvas);
  // The frame over the whole window rectangle R (window coordinates).
  virtual void PaintNCArea(kest::ui::Canvas& canvas, const kest::ui::Rect& R);

private:
  bool ShouldAnimate(kest::ui::WindowHandle h) const;
  void InitAccelsVisibility();

  bool FAccelsVisibilitySet = false;
  TKestAnimationDirection FAnimationDirection;
  bool FAlphaBlend = true;
  std::uint8_t FAlphaBlendValue = kAlphaBlendValue;
  TKestView* FView = nullptr;
};

// --- Placing a popup ----------------------------------------------------------

struct TKestPopupPlacement {
  kest::ui::Point Pos;
  bool Opposite = false; // a submenu went to the other side of its parent
  TKestAnimationDirection Direction;
};

// Where a W x H popup goes on monitor M: as a submenu beside the parent
// item R (screen), on the side its parent took when ParentOpposite; or at
// a point (R empty at the point) with the alignment.
TKestPopupPlacement PlacePopup(const kest::ui::Rect& R, const kest::ui::Rect& M, kest::ui::Size WH,
                               bool AsSubmenu, bool ParentOpposite, TKestPopupAlignment Alignment);

// --- The modal handler and its loop -------------------------------------------

class TKestModalHandler {
public:
  // Takes the mouse capture on AExistingWnd, or on a message window of
  // its own when that is 0.
  explicit TKestModalHandler(kest::ui::WindowHandle AExistingWnd);
  ~TKestModalHandler();
  TKestModalHandler(const TKestModalHandler&) = delete;
  TKestModalHandler& operator=(const TKestModalHandler&) = delete;

  // Runs the menu of RootView until it ends: the capture is lost, another
  // window becomes active, a press lands outside the menu, or a view
  // records how the menu ends.
  void Loop(TKestView* RootView, bool AMouseDown, bool AExecuteSelected, bool AFromMSAA,
            bool TrackRightButton);

  kest::ui::WindowHandle Wnd() const { return FWnd; }
  TKestPopupWindow* FRootPopup = nullptr;

private:
  kest::ui::LResult MessageWindowProc(kest::ui::WindowHandle h, std::uint32_t msg,
                                      kest::ui::WParam w, kest::ui::LParam l);

  bool FCreatedWnd = false;
  kest::ui::WindowHandle FWnd = 0;
};

} // namespace kest::menu
