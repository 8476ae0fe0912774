#pragma once
// Views and item viewers: one menu level on screen. A view keeps one viewer
// per subitem of its parent item, lays them out in a column, draws them in
// the menus' dark colours, tracks the selection, runs the submenu and
// scroll timers, handles keys and records how the menu is to end. The
// popup windows and the menu loop drive it; the view of a submenu points
// to the view that opened it.
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "uKestAcc.h"
#include "uKestMenu.h"
#include "ui/gfx/Canvas.h"
#include "ui/toolkit/WinControl.h"

namespace kest::menu {

class TKestView;

enum TKestViewStateFlag : std::uint8_t {
  vsModal = 0,         // the view takes part in a running menu loop
  vsMouseInWindow = 1, // the pointer is over the view's window
  vsDrawInOrder = 2,   // the next full paint draws the selected viewer in list order
  vsOppositePopup = 3, // the popup went to the side opposite the preferred one
  vsIgnoreFirstMouseUp = 4,
  vsShowAccels = 5, // accelerator underlines are visible
  vsDropDownMenus = 6,
  vsNoAnimation = 7, // child popups appear without sliding
};
using TKestViewState = TKestSet<TKestViewStateFlag>;

enum TKestViewStyleFlag : std::uint8_t {
  vsMenuBar = 0,
  vsUseHiddenAccels = 1, // underlines hidden unless keyboard cues or the window say otherwise
  vsAlwaysShowHints = 2,
};
using TKestViewStyle = TKestSet<TKestViewStyleFlag>;

enum TKestViewOrientation : std::uint8_t { tbvoHorizontal, tbvoVertical, tbvoFloating };

enum TKestDoneAction : std::uint8_t {
  tbdaNone,
  tbdaCancel,
  tbdaClickItem,
  tbdaOpenSystemMenu,
  tbdaHelpContext,
};

// How the menu loop is to end; kept by the root view.
struct TKestDoneActionData {
  TKestDoneAction DoneAction = tbdaNone;
  TKestCustomItem* ClickItem = nullptr;
  bool Sound = false; // play the menu-command sound
  kest::ui::WindowHandle Wnd = 0;
  char16_t Key = 0;
  std::uint32_t ContextID = 0;
};

// The colours of the menus (the window frame and fill are the popup
// window's; the views use the rest).
namespace colors {
inline constexpr kest::ui::Color Background = kest::ui::Rgb(18, 23, 29);
inline constexpr kest::ui::Color FrameLine = kest::ui::Rgb(134, 142, 155);
inline constexpr kest::ui::Color Text = kest::ui::Rgb(223, 232, 255);
inline constexpr kest::ui::Color DisabledText = kest::ui::Rgb(128, 137, 140);
inline constexpr kest::ui::Color Selection = kest::ui::Rgb(102, 110, 124);
inline constexpr kest::ui::Color ImageFrameFill = kest::ui::Rgb(18, 23, 29);
} // namespace colors

// Geometry shared by views and their popup windows.
inline constexpr int kKestScrollArrowHeight = 19; // each scroll-arrow zone
inline constexpr int kKestScrollIntervalMs = 100;
inline constexpr int kKestMenuCheckSize = 13; // the menu check-mark metrics
inline constexpr int kKestEmptyColumnWidth = 23;
inline constexpr int kKestEmptyColumnHeight = 22;
// Window timers of a view's window: identifier kKestViewTimerBase + number.
inline constexpr std::uintptr_t kKestViewTimerBase = 9000;
enum TKestViewTimer : int { vtOpen = 0, vtClose = 1, vtScrollUp = 2, vtScrollDown = 3 };

// A pointer position that is not known.
inline constexpr int kKestUnknownPos = INT_MIN;
// The menu loop's last pointer position (screen), per thread; a view that
// loses the capture marks it unknown, so that the loop looks again.
kest::ui::Point& KestLastPointerPos();

// The font of the menus: "Tahoma" when installed, else the desktop's face,
// 11-pixel characters.
const kest::ui::Font& KestMenuFont();

// A hint request, as the application's hint machinery asks a window.
struct TKestHintInfo {
  kest::ui::Point CursorPos; // client coordinates
  kest::ui::Rect CursorRect;
  std::u16string HintStr;
  const void* HintData = nullptr;
};

// --- Item viewers -------------------------------------------------------------

class TKestItemViewer : private IKestDeferred {
public:
  TKestItemViewer(TKestView* AView, TKestCustomItem* AItem, int AGroupLevel);
  virtual ~TKestItemViewer();
  TKestItemViewer(const TKestItemViewer&) = delete;
  TKestItemViewer& operator=(const TKestItemViewer&) = delete;

  virtual void CalcSize(kest::ui::Canvas& Canvas, int& AWidth, int& AHeight);
  virtual bool DoExecute();
  virtual void DrawItemCaption(kest::ui::Canvas& Canvas, kest::ui::Rect ARect,
                               const std::u16string& ACaption, bool UseDisabledShadow,
                               unsigned AFormat);
  virtual void Entering();
  virtual int GetAccRole();
  virtual bool GetAccValue(std::u16string& Value);
  virtual std::u16string GetCaptionText();
  virtual void GetCursor(kest::ui::Point Pt, kest::ui::Cursor& ACursor);
  virtual bool IsPtInButtonPart(int X, int Y);
  virtual void KeyDown(std::uint16_t& Key, kest::ui::ShiftState Shift);
  virtual void Leaving();
  virtual void LosingCapture();
  virtual void MouseDown(kest::ui::ShiftState Shift, int X, int Y, bool& MouseDownOnMenu);
  virtual void MouseMove(int X, int Y);
  virtual void MouseUp(int X, int Y, bool MouseWasDownOnMenu);
  virtual void MouseWheel(int WheelDelta, int X, int Y);
  virtual void Paint(kest::ui::Canvas& Canvas, const kest::ui::Rect& ClientAreaRect,
                     bool IsSelected, bool IsPushed, bool UseDisabledShadow);
  virtual bool UsesSameWidth();

  // Ends the menu with this viewer's item; with AGivePriority the view
  // hears of it too.
  void Execute(bool AGivePriority);
  std::u16string GetHintText();
  bool IsAccessible() const { return FShow || FOffEdge || FClipped; }
  bool IsToolbarStyle() const;
  // The viewer's accessibility object, made on the first request; the
  // viewer keeps no reference of its own.
  kest::ui::AccRef GetAccObject();
  // Queues the deferred accessibility select (with AExecute: execution).
  void PostAccSelect(bool AExecute);
  // The object is being destroyed: the next request makes a new one.
  void AccObjectGone(const TKestItemViewerAccObject* AObject);
  // A screen point relative to the viewer's top-left corner.
  kest::ui::Point ScreenToClient(kest::ui::Point P) const;

  TKestCustomItem* Item() const { return FItem; }
  TKestView* View() const { return FView; }
  const kest::ui::Rect& BoundsRect() const { return FBoundsRect; }
  bool Show() const { return FShow; }
  bool Clipped() const { return FClipped; }
  // The image list that applies to the item: its own, else the submenu
  // images of the views' parent items up the chain; null when none.
  TImageList* ItemImages() const;
  // Whether an image is drawn beside the caption, and whether the caption shows.
  bool ImageShown() const;
  bool CaptionShown() const;

  kest::ui::Rect FBoundsRect; // window client coordinates
  bool FClipped = false;      // hidden only by the scroll-arrow zones or the height limit
  int FGroupLevel = 0;
  TKestCustomItem* FItem;
  bool FOffEdge = false;
  bool FShow = true;
  TKestView* FView;
  // Bit 0: paint through an off-screen bitmap on the next paint.
  std::uint8_t State = 0;
  static constexpr std::uint8_t kPaintBuffered = 0x01;
  TKestItemViewerAccObject* FAccObjectInstance = nullptr;

protected:
  // Width of the image or check column for an item of height H.
  int ImageColumnWidth(int H) const;

private:
  void DeferredRun(std::uintptr_t flag) override;
};

class TKestSeparatorItemViewer : public TKestItemViewer {
public:
  using TKestItemViewer::TKestItemViewer;
  void CalcSize(kest::ui::Canvas& Canvas, int& AWidth, int& AHeight) override;
  int GetAccRole() override;
  void Paint(kest::ui::Canvas& Canvas, const kest::ui::Rect& ClientAreaRect, bool IsSelected,
             bool IsPushed, bool UseDisabledShadow) override;
  bool UsesSameWidth() override { return false; }
};

class TKestLabelItemViewer : public TKestItemViewer {
public:
  using TKestItemViewer::TKestItemViewer;
  void CalcSize(kest::ui::Canvas& Canvas, int& AWidth, int& AHeight) override;
  int GetAccRole() override;
  void Paint(kest::ui::Canvas& Canvas, const kest::ui::Rect& ClientAreaRect, bool IsSelected,
             bool IsPushed, bool UseDisabledShadow) override;
  bool UsesSameWidth() override { return false; }
};

// A new viewer of the item's own viewer class.
std::unique_ptr<TKestItemViewer> NewItemViewer(TKestView* AView, TKestCustomItem* AItem);

// --- Views --------------------------------------------------------------------

class TKestView : public kest::ui::Component {
public:
  TKestView(kest::ui::Component* AOwner, TKestView* AParentView, TKestCustomItem* AParentItem,
            kest::ui::WinControl* AWindow, bool AIsToolbar = false, bool ACustomizing = false,
            bool AUsePriorityList = false);
  ~TKestView() override;

  // Layout hooks.
  virtual void AutoSize(int /*AWidth*/, int /*AHeight*/) {}
  virtual void DoUpdatePositions(kest::ui::Size& NewSize);
  virtual void GetMargins(TKestViewOrientation AOrientation, kest::ui::Rect& Margins);
  virtual void KeyDown(std::uint16_t& Key, kest::ui::ShiftState Shift);
  virtual const kest::ui::Font& GetFont();
  virtual void InvalidatePositions();
  // Makes and shows the window of AViewer's submenu beside it and records
  // it with SetOpenChild. The menu's popup windows make theirs; a view that
  // shows no windows of its own opens no submenus.
  virtual void CreateChildPopup(TKestItemViewer* /*AViewer*/, bool /*SelectFirstItem*/) {}

  // Viewers.
  TKestItemViewer* GetViewer(int Index) const;
  TKestItemViewer* Viewers(int Index) const { return GetViewer(Index); }
  int ViewerCount() const { return static_cast<int>(FViewers.size()); }
  int IndexOf(const TKestItemViewer* AViewer) const;
  TKestItemViewer* Find(const TKestCustomItem* Item) const;
  // The first shown viewer at a client point, or null.
  TKestItemViewer* ViewerFromPoint(kest::ui::Point P);
  bool ContainsView(const TKestView* AView) const;
  // The innermost open level under this view; this view when none is open.
  TKestView* DeepestView();
  void RecreateAllViewers();

  // Layout.
  void ValidatePositions();
  void TryValidatePositions();
  kest::ui::Size UpdatePositions();
  void BeginUpdate() { ++FUpdating; }
  void EndUpdate();
  void Invalidate(TKestItemViewer* AViewer);
  void DrawSubitems(kest::ui::Canvas& ACanvas);
  void ScrollSelectedIntoView();
  // One step of the scroll timers: reveals exactly the next hidden item.
  void Scroll(bool Down);

  // Selection.
  TKestItemViewer* Selected() const { return FSelected; }
  void SetSelected(TKestItemViewer* Value) { Select(Value, false); }
  void Select(TKestItemViewer* Value, bool ViaMouse);
  // Selects V (not via the mouse) and scrolls it into view; nothing for null.
  void SelectAndShow(TKestItemViewer* V);
  // P in screen coordinates; x = kKestUnknownPos when no position is known.
  void UpdateSelection(kest::ui::Point P, bool AllowNewSelection);
  TKestItemViewer* FirstSelectable();
  TKestItemViewer* NextSelectable(TKestItemViewer* CurViewer, bool GoForward);
  TKestItemViewer* NextSelectableWithAccel(TKestItemViewer* CurViewer, char16_t Key,
                                           bool RequirePrimaryAccel, bool& IsOnlyItemWithAccel);
  void SetAccelsVisibility(bool Show);

  // Submenus and timers.
  bool OpenChildPopup(bool SelectFirstItem);
  void CloseChildPopups();
  void CancelChildPopups() { CloseChildPopups(); }
  void SetOpenChild(TKestItemViewer* AViewer, TKestView* AView, kest::ui::WinControl* AWindow);
  void StartTimer(int ATimer, std::uint32_t Interval);
  void StopTimer(int ATimer);
  void StopAllTimers();
  bool TimerRunning(int ATimer) const { return (FActiveTimers >> ATimer) & 1u; }
  // A tick of one of the view's window timers (the menu loop passes them on).
  void TimerTick(int ATimer);

  // Ending the menu; all act on the root view.
  void ExecuteSelected(bool AGivePriority);
  void EndModal();
  void EndModalWithClick(TKestItemViewer* AViewer);
  void EndModalWithHelp(std::uint32_t AContextID);
  void EndModalWithSystemMenu(kest::ui::WindowHandle AWnd, char16_t AKey);
  bool IsModalEnding();
  void CancelMode();
  TKestView* RootView();
  const TKestDoneActionData& DoneActionData() { return RootView()->FDoneActionData; }
  void SetDoneAction(TKestDoneAction A) { RootView()->FDoneActionData.DoneAction = A; }

  // The capture on the selected viewer (a button held on it).
  void SetCapture() { FCapture = true; }
  void CancelCapture();
  bool Capture() const { return FCapture; }
  kest::ui::WindowHandle GetCaptureWnd();
  void SetCaptureWnd(kest::ui::WindowHandle Wnd) { RootView()->FCaptureWnd = Wnd; }

  void HandleHintShowMessage(TKestHintInfo& Info);
  // Tells accessibility which item has the focus (only while the menu
  // runs and the window shows).
  void NotifyFocusEvent();
  // The view's accessibility object, made on the first request and kept
  // while the view lives.
  kest::ui::AccRef GetAccObject();
  void GivePriority(TKestItemViewer* AViewer);
  TKestItemViewer* HighestPriorityViewer();

  // State that the popup windows and the loop set and read.
  TKestView* ParentView() const { return FParentView; }
  TKestCustomItem* ParentItem() const { return FParentItem; }
  TKestCustomItem* CurParentItem() const { return FCurParentItem; }
  kest::ui::WinControl* Window() const { return FWindow; }
  // The window's handle, or 0 while there is no window or it has none yet.
  kest::ui::WindowHandle WindowHandleIfAny() const;
  TKestItemViewer* OpenViewer() const { return FOpenViewer; }
  TKestView* OpenViewerView() const { return FOpenViewerView; }
  kest::ui::WinControl* OpenViewerWindow() const { return FOpenViewerWindow; }
  TKestViewState& State() { return FState; }
  TKestViewStyle& Style() { return FStyle; }
  bool IsPopup() const { return FIsPopup; }
  bool Validated() const { return FValidated; }
  int MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int Value);
  const kest::ui::Rect& MonitorRect() const { return FMonitorRect; }
  void SetMonitorRect(const kest::ui::Rect& R) { FMonitorRect = R; }
  int ScrollOffset() const { return FScrollOffset; }
  bool ShowUpArrow() const { return FShowUpArrow; }
  bool ShowDownArrow() const { return FShowDownArrow; }
  bool MouseOverSelected() const { return FMouseOverSelected; }
  bool SelectedViaMouse() const { return FSelectedViaMouse; }
  TKestViewOrientation Orientation() const { return FOrientation; }

protected:
  void Notification(kest::ui::Component* AComponent, kest::ui::Operation Operation) override;

private:
  friend class TKestItemViewer;
  void ItemNotification(TKestCustomItem* Sender, bool Relayed, TKestItemChangedAction Action,
                        int Index, TKestCustomItem* Item);
  void ParentItemNotification(TKestCustomItem* Sender, bool Relayed, TKestItemChangedAction Action,
                              int Index, TKestCustomItem* Item);
  void LinkNotification();
  void ImagesChanged();
  void InsertViewerFor(TKestCustomItem* Item);
  void DeleteViewerFor(TKestCustomItem* Item);
  void ReplaceViewersOf(TKestCustomItem* Item);
  void FreeViewers();
  void UpdateVisibility();
  void ApplyScrolling(int ColumnHeight);
  void DrawViewer(kest::ui::Canvas& ACanvas, TKestItemViewer* V);
  bool MouseIsOver(TKestItemViewer* Value);
  void UpdateScrollZones(kest::ui::Point P);
  TKestItemViewer* FindWithAccel(TKestItemViewer* CurViewer, char16_t Key, bool Primary,
                                 bool Enabled, TKestItemViewer* Except);

  std::vector<std::unique_ptr<TKestItemViewer>> FViewers;
  kest::ui::AccRef FAccObjectInstance;
  std::uint8_t FActiveTimers = 0;
  kest::ui::Color FBackgroundColor = 0x20000000;
  bool FCapture = false;
  kest::ui::WindowHandle FCaptureWnd = 0;
  TKestCustomItem* FCurParentItem = nullptr;
  TKestDoneActionData FDoneActionData;
  bool FIsPopup = true;
  int FMaxHeight = 0;
  kest::ui::Rect FMonitorRect;
  bool FMouseOverSelected = false;
  TKestItemViewer* FOpenViewer = nullptr;
  TKestView* FOpenViewerView = nullptr;
  kest::ui::WinControl* FOpenViewerWindow = nullptr;
  TKestView* FParentView = nullptr;
  TKestCustomItem* FParentItem = nullptr;
  TKestViewOrientation FOrientation = tbvoHorizontal;
  int FScrollOffset = 0;
  TKestItemViewer* FSelected = nullptr;
  bool FSelectedViaMouse = false;
  bool FShowDownArrow = false;
  bool FShowUpArrow = false;
  TKestViewState FState;
  TKestViewStyle FStyle;
  int FUpdating = 0;
  bool FValidated = false;
  kest::ui::WinControl* FWindow = nullptr;
};

// The view of a popup window: the window takes the column's size plus its
// 3-pixel frame, and the window's font.
class TKestPopupView : public TKestView {
public:
  using TKestView::TKestView;
  void AutoSize(int AWidth, int AHeight) override;
  const kest::ui::Font& GetFont() override;
  // The viewer's item makes its popup window beside the viewer.
  void CreateChildPopup(TKestItemViewer* AViewer, bool SelectFirstItem) override;
};

// --- The popup window's chrome ------------------------------------------------

inline constexpr int kKestPopupFrame = 3;
// The frame: a one-pixel line around the whole window over the menu fill.
void PaintKestMenuFrame(kest::ui::Canvas& Canvas, const kest::ui::Rect& WindowRect);
// The scroll arrows: triangles in the top and bottom 19 pixels of the client area.
void PaintKestScrollArrows(kest::ui::Canvas& Canvas, const kest::ui::Rect& ClientRect, bool Up,
                           bool Down);

} // namespace kest::menu
