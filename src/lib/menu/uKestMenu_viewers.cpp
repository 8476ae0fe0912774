// Item viewers: what one item does on screen when it is entered, left,
// pressed, released or executed, and its hint.
#include "uKestMenu_views.h"
#include "uKestTools.h"
#include "ui/toolkit/Application.h"

namespace kest::menu {

namespace {

// The platform's accessibility roles.
constexpr int kRoleMenuItem = 12;
constexpr int kRoleSeparator = 21;
constexpr int kRoleStaticText = 41;

} // namespace

std::unique_ptr<TKestItemViewer> NewItemViewer(TKestView* AView, TKestCustomItem* AItem) {
  switch (AItem->GetItemViewerClass()) {
  case TKestItemViewerClass::Separator:
    return std::make_unique<TKestSeparatorItemViewer>(AView, AItem, 0);
  case TKestItemViewerClass::Label:
    return std::make_unique<TKestLabelItemViewer>(AView, AItem, 0);
  case TKestItemViewerClass::Item:
    break;
  }
  return std::make_unique<TKestItemViewer>(AView, AItem, 0);
}

TKestItemViewer::TKestItemViewer(TKestView* AView, TKestCustomItem* AItem, int AGroupLevel)
    : FGroupLevel(AGroupLevel), FItem(AItem), FView(AView) {
  KestDeferredObjectCreated();
}

TKestItemViewer::~TKestItemViewer() {
  KestCancelDeferred(this);
  if (FAccObjectInstance) FAccObjectInstance->ClientIsDestroying();
  FAccObjectInstance = nullptr;
  KestDeferredObjectDestroyed();
}

int TKestItemViewer::GetAccRole() {
  return kRoleMenuItem;
}
int TKestSeparatorItemViewer::GetAccRole() {
  return kRoleSeparator;
}
int TKestLabelItemViewer::GetAccRole() {
  return kRoleStaticText;
}

bool TKestItemViewer::GetAccValue(std::u16string&) {
  return false;
}

std::u16string TKestItemViewer::GetCaptionText() {
  const std::u16string& c = FItem->Caption();
  return c.substr(0, c.find(u'\t'));
}

void TKestItemViewer::GetCursor(kest::ui::Point, kest::ui::Cursor&) {}
void TKestItemViewer::KeyDown(std::uint16_t&, kest::ui::ShiftState) {}
void TKestItemViewer::MouseMove(int, int) {}
void TKestItemViewer::MouseWheel(int, int, int) {}
bool TKestItemViewer::UsesSameWidth() {
  return false;
}

bool TKestItemViewer::IsToolbarStyle() const {
  return FItem->EffectiveOptions().Contains(tboToolbarStyle);
}

kest::ui::Point TKestItemViewer::ScreenToClient(kest::ui::Point P) const {
  kest::ui::WinControl* w = FView->Window();
  const kest::ui::Point c = w ? w->ScreenToClient(P) : P;
  return {c.x - FBoundsRect.left, c.y - FBoundsRect.top};
}

void TKestItemViewer::Entering() {
  if (FItem->OnSelect) FItem->OnSelect(FItem, this, true);
}

void TKestItemViewer::Leaving() {
  if (FItem->OnSelect) FItem->OnSelect(FItem, this, false);
}

void TKestItemViewer::LosingCapture() {
  FView->Invalidate(this);
}

bool TKestItemViewer::DoExecute() {
  FView->EndModalWithClick(this);
  return true;
}

void TKestItemViewer::Execute(bool AGivePriority) {
  if (DoExecute() && AGivePriority) FView->GivePriority(this);
}

bool TKestItemViewer::IsPtInButtonPart(int X, int) {
  const TKestItemStyle style = FItem->GetItemStyle();
  if (style.Contains(tbisCombo)) return X < FBoundsRect.Width() - kKestMenuCheckSize;
  return !style.Contains(tbisSubmenu);
}

void TKestItemViewer::MouseDown(kest::ui::ShiftState Shift, int X, int Y, bool&) {
  if (!FItem->Enabled() || IsPtInButtonPart(X, Y)) return;
  TKestView* view = FView;
  if (!view->OpenChildPopup(false)) return;
  if (!(Shift & kest::ui::ssDouble) || FItem->GetItemStyle().Contains(tbisCombo)) return;
  // A double click on a submenu item runs the submenu's default item.
  TKestView* child = view->OpenViewerView();
  if (!child) return;
  child->ValidatePositions();
  for (int i = 0; i < child->ViewerCount(); ++i) {
    TKestItemViewer* v = child->GetViewer(i);
    const TKestCustomItem* it = v->FItem;
    if (v->FShow && it->GetItemStyle().Contains(tbisSelectable) && it->Enabled() && it->Visible() &&
        it->EffectiveOptions().Contains(tboDefault)) {
      v->Execute(true);
      return;
    }
  }
}

void TKestItemViewer::MouseUp(int X, int Y, bool) {
  FView->CancelCapture();
  const bool over =
      FView->Selected() == this &&
      kest::ui::Rect{0, 0, FBoundsRect.Width(), FBoundsRect.Height()}.Contains({X, Y});
  if (!over || !FItem->Enabled() || FItem->GetItemStyle().Contains(tbisClicksTransparent)) return;
  if (!FItem->GetItemStyle().Contains(tbisSubmenu) || IsPtInButtonPart(X, Y)) Execute(true);
}

std::u16string TKestItemViewer::GetHintText() {
  std::u16string text = ShortHint(FItem->Hint());
  const TKestItemStyle style = FItem->GetItemStyle();
  if (text.empty() && !FItem->EffectiveOptions().Contains(tboNoAutoHint) &&
      (!style.Contains(tbisSubmenu) || style.Contains(tbisCombo) || !CaptionShown())) {
    text = StripCaptionTail(StripAmpersands(GetCaptionText()));
  }
  if (!text.empty() && kest::ui::App().HintShortCuts && FItem->ShortCut() != 0) {
    text += u" (" + ShortCutToText(FItem->ShortCut()) + u")";
  }
  return text;
}

} // namespace kest::menu
