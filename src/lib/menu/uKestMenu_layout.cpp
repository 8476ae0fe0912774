// The layout of a view: which viewers show, their sizes in one column, the
// scroll offset with its arrows, and scrolling one item at a time.
#include <algorithm>

#include "uKestMenu_views.h"
#include "uKestTools.h"
#include "ui/gfx/Font.h"

namespace kest::menu {

using kest::ui::Rect;

const kest::ui::Font& KestMenuFont() {
  static const kest::ui::Font font = [] {
    kest::ui::Font f;
    f.name = kest::ui::FontFaceInstalled("Tahoma") ? "Tahoma" : kest::ui::kFallbackFace;
    f.height = -11;
    return f;
  }();
  return font;
}

const kest::ui::Font& TKestView::GetFont() {
  return KestMenuFont();
}

void TKestView::SetMaxHeight(int Value) {
  if (Value == FMaxHeight) return;
  FMaxHeight = Value;
  InvalidatePositions();
}

void TKestView::InvalidatePositions() {
  if (!FValidated) return;
  FValidated = false;
  if (const kest::ui::WindowHandle h = WindowHandleIfAny())
    kest::ui::InvalidateWnd(h, nullptr, true);
}

void TKestView::ValidatePositions() {
  if (!FValidated) UpdatePositions();
}

void TKestView::TryValidatePositions() {
  // Items here are never loaded from a stream, so only the update bracket defers.
  if (FUpdating == 0) ValidatePositions();
}

void TKestView::EndUpdate() {
  if (FUpdating > 0 && --FUpdating == 0) TryValidatePositions();
}

void TKestView::Invalidate(TKestItemViewer* AViewer) {
  const kest::ui::WindowHandle h = WindowHandleIfAny();
  if (!FValidated || !h || !AViewer || !AViewer->FShow || AViewer->FBoundsRect.IsEmpty() ||
      dynamic_cast<TKestControlItem*>(AViewer->FItem))
    return;
  AViewer->State |= TKestItemViewer::kPaintBuffered;
  kest::ui::InvalidateWnd(h, &AViewer->FBoundsRect, false);
}

TKestItemViewer* TKestView::ViewerFromPoint(kest::ui::Point P) {
  ValidatePositions();
  for (const auto& v : FViewers)
    if (v->FShow && v->FBoundsRect.Contains(P)) return v.get();
  return nullptr;
}

void TKestView::GetMargins(TKestViewOrientation AOrientation, Rect& Margins) {
  Margins = AOrientation == tbvoFloating ? Rect{4, 2, 4, 1} : Rect{};
}

namespace {

bool IsSeparator(const TKestItemViewer& v) {
  return v.FItem->GetItemStyle().Contains(tbisSeparator);
}

} // namespace

void TKestView::UpdateVisibility() {
  for (const auto& v : FViewers) {
    v->FClipped = false;
    v->FShow = v->FItem->Visible();
    if (const auto* ci = dynamic_cast<TKestControlItem*>(v->FItem)) {
      const kest::ui::Control* c = ci->Control();
      v->FShow = v->FShow && c && c->Parent() == FWindow && c->Visible();
    }
  }
  // Leading, doubled and trailing separators go: one shows only between
  // two shown items that are not separators.
  bool shownBefore = false; // a shown non-separator precedes
  TKestItemViewer* pending = nullptr;
  for (const auto& v : FViewers) {
    if (!v->FShow) continue;
    if (IsSeparator(*v)) {
      if (!shownBefore || pending) {
        v->FShow = false;
      } else {
        pending = v.get();
      }
      continue;
    }
    shownBefore = true;
    pending = nullptr;
  }
  if (pending) pending->FShow = false;
}

kest::ui::Size TKestView::UpdatePositions() {
  kest::ui::Size size;
  DoUpdatePositions(size);
  FValidated = true;
  if (const kest::ui::WindowHandle h = WindowHandleIfAny()) kest::ui::ValidateWnd(h);
  AutoSize(size.cx, size.cy);
  if (const kest::ui::WindowHandle h = WindowHandleIfAny()) BufferedRepaint(h);
  return size;
}

void TKestView::DoUpdatePositions(kest::ui::Size& NewSize) {
  UpdateVisibility();
  Rect margins;
  GetMargins(FOrientation, margins);
  kest::ui::Bitmap scratch(1, 1);
  kest::ui::Canvas& canvas = scratch.GetCanvas();
  const kest::ui::Font font = GetFont();
  int top = margins.top;
  int widest = 0;
  for (const auto& v : FViewers) {
    if (!v->FShow) continue;
    canvas.font = font;
    canvas.font.SetBold(v->FItem->EffectiveOptions().Contains(tboDefault));
    int w = 0, h = 0;
    v->CalcSize(canvas, w, h);
    v->FBoundsRect = Rect::FromSize(margins.left, top, w, h);
    top += h;
    widest = std::max(widest, w);
  }
  for (const auto& v : FViewers)
    if (v->FShow) v->FBoundsRect.right = v->FBoundsRect.left + widest;
  NewSize = {margins.left + widest + margins.right, top + margins.bottom};
  if (widest == 0) {
    NewSize.cx = std::max(NewSize.cx, kKestEmptyColumnWidth);
    NewSize.cy = std::max(NewSize.cy, kKestEmptyColumnHeight);
  }
  ApplyScrolling(NewSize.cy);
  if (FMaxHeight > 0 && NewSize.cy > FMaxHeight) NewSize.cy = FMaxHeight;
}

void TKestView::ApplyScrolling(int ColumnHeight) {
  if (FMaxHeight <= 0 || ColumnHeight <= FMaxHeight) {
    FScrollOffset = 0;
    FShowUpArrow = FShowDownArrow = false;
    return;
  }
  const int range = ColumnHeight - FMaxHeight;
  FScrollOffset = std::clamp(FScrollOffset, 0, range);
  FShowUpArrow = FScrollOffset > 0;
  FShowDownArrow = FScrollOffset < range;
  const int topLimit = FShowUpArrow ? kKestScrollArrowHeight : 0;
  const int bottomLimit = FShowDownArrow ? FMaxHeight - kKestScrollArrowHeight : FMaxHeight;
  for (const auto& v : FViewers) {
    if (!v->FShow) continue;
    v->FBoundsRect = v->FBoundsRect.Offset(0, -FScrollOffset);
    if (v->FBoundsRect.top < topLimit || v->FBoundsRect.bottom > bottomLimit) {
      v->FShow = false;
      v->FClipped = true;
    }
  }
}

void TKestView::Scroll(bool Down) {
  ValidatePositions();
  const int bottomLimit = FMaxHeight - kKestScrollArrowHeight;
  bool found = false;
  int edge = 0;
  for (const auto& v : FViewers) {
    if (!v->FClipped || IsSeparator(*v)) continue;
    const Rect& r = v->FBoundsRect;
    if (Down && r.bottom > bottomLimit && (!found || r.bottom < edge)) {
      edge = r.bottom;
      found = true;
    } else if (!Down && r.top < kKestScrollArrowHeight && (!found || r.top > edge)) {
      edge = r.top;
      found = true;
    }
  }
  if (!found) return;
  FScrollOffset += Down ? edge - bottomLimit : edge - kKestScrollArrowHeight;
  UpdatePositions();
}

void TKestView::ScrollSelectedIntoView() {
  ValidatePositions();
  if (!FSelected || !FSelected->FClipped) return;
  const Rect& r = FSelected->FBoundsRect;
  if (r.top < kKestScrollArrowHeight)
    FScrollOffset += r.top - kKestScrollArrowHeight;
  else if (r.bottom > FMaxHeight - kKestScrollArrowHeight)
    FScrollOffset += r.bottom - FMaxHeight + kKestScrollArrowHeight;
  UpdatePositions();
}

} // namespace kest::menu
