// Measuring and painting one item: menu items with their check or radio
// marks, shortcut texts and submenu arrows, separators and headings.
#include <algorithm>
#include <array>

#include "uKestMenu_views.h"
#include "uKestTools.h"

namespace kest::menu {

using kest::ui::Canvas;
using kest::ui::Point;
using kest::ui::Rect;

TImageList* TKestItemViewer::ItemImages() const {
  if (FItem->Images()) return FItem->Images();
  for (const TKestView* v = FView; v; v = v->ParentView()) {
    if (v->CurParentItem() && v->CurParentItem()->SubMenuImages())
      return v->CurParentItem()->SubMenuImages();
    if (v->ParentItem() && v->ParentItem()->SubMenuImages())
      return v->ParentItem()->SubMenuImages();
  }
  return nullptr;
}

bool TKestItemViewer::ImageShown() const {
  const TKestItemDisplayMode mode = FItem->DisplayMode();
  return FItem->ImageIndex() >= 0 && (mode == nbdmDefault || mode == nbdmImageAndText) &&
         ItemImages() != nullptr;
}

bool TKestItemViewer::CaptionShown() const {
  const std::u16string& c = FItem->Caption();
  const bool text = !c.empty() && c.front() != u'\t'; // the part before the TAB
  return text || FItem->EffectiveOptions().Contains(tboImageAboveCaption);
}

int TKestItemViewer::ImageColumnWidth(int H) const {
  const TImageList* images = ItemImages();
  if (!images) return H;
  return MulDiv(images->Width() + 3, H, images->Height() + 3);
}

namespace {

int TextHeight(Canvas& canvas) {
  const kest::ui::TextMetrics tm = canvas.GetTextMetrics();
  return tm.height + tm.externalLeading;
}

// The caption and shortcut texts are placed alike: a cell one pixel
// shorter when the row is exactly four pixels taller than the text, moved
// down by the external leading.
Rect TextCell(Canvas& canvas, Rect r) {
  const kest::ui::TextMetrics tm = canvas.GetTextMetrics();
  if (r.Height() - (tm.height + tm.externalLeading) == 4) --r.bottom;
  r.top += tm.externalLeading;
  return r;
}

// The system's menu arrow: a small triangle pointing right, centred in a
// check-mark-sized box whose right edge is the item's.
void PaintSubmenuArrow(Canvas& canvas, const Rect& r, kest::ui::Color color) {
  const int boxLeft = r.right - kKestMenuCheckSize;
  const int boxTop = r.top + (r.Height() - kKestMenuCheckSize) / 2;
  const int x = boxLeft + (kKestMenuCheckSize - 4) / 2;
  const int cy = boxTop + kKestMenuCheckSize / 2;
  for (int i = 0; i < 4; ++i)
    canvas.FillRect({x + i, cy - 3 + i, x + i + 1, cy + 4 - i}, color);
}

void PaintCheckMark(Canvas& canvas, Point c, bool radio) {
  canvas.pen.color = colors::Text;
  canvas.pen.clear = false;
  if (radio) {
    canvas.brush = {colors::Text, false};
    canvas.RoundRect({c.x - 3, c.y - 3, c.x + 2, c.y + 2}, 2, 2);
    return;
  }
  const std::array<Point, 7> tick{{{c.x - 4, c.y - 1},
                                   {c.x - 2, c.y + 1},
                                   {c.x + 2, c.y - 3},
                                   {c.x + 2, c.y - 2},
                                   {c.x - 2, c.y + 2},
                                   {c.x - 4, c.y},
                                   {c.x - 4, c.y - 1}}};
  canvas.Polyline(tick);
}

} // namespace

void TKestItemViewer::CalcSize(Canvas& Canvas, int& AWidth, int& AHeight) {
  int h = TextHeight(Canvas) + 4;
  if (const TImageList* images = ItemImages()) h = std::max(h, images->Height() + 3);
  const int c = ImageColumnWidth(h);
  int w = CaptionExtent(Canvas, GetCaptionText(), true).cx + c + 6;
  const std::u16string shortcut = FItem->GetShortCutText();
  if (!shortcut.empty()) w += h + Canvas.TextExtent(shortcut).cx - 6;
  AWidth = w + h;
  AHeight = h;
}

void TKestItemViewer::DrawItemCaption(Canvas& Canvas, Rect ARect, const std::u16string& ACaption,
                                      bool, unsigned AFormat) {
  Canvas.textBackground = kest::ui::TextBackground::Transparent;
  Canvas.TextRect(ARect, ACaption, AFormat);
}

void TKestItemViewer::Paint(Canvas& Canvas, const Rect& ClientAreaRect, bool IsSelected, bool,
                            bool UseDisabledShadow) {
  const Rect& r = ClientAreaRect;
  const int h = r.Height();
  const int c = ImageColumnWidth(h);
  const bool image = ImageShown();
  if (IsSelected && !Canvas.brush.clear) {
    Canvas.FillRect({image || FItem->Checked() ? c + 1 : r.left, r.top, r.right, r.bottom});
  }
  if (FItem->EffectiveOptions().Contains(tboDefault)) Canvas.font.SetBold(true);
  if (CaptionShown()) {
    Rect tr = TextCell(Canvas, {c + 3, r.top, r.right, r.bottom});
    unsigned format = kest::ui::DT_SINGLELINE | kest::ui::DT_VCENTER;
    if (FView->Style().Contains(vsUseHiddenAccels) && !FView->State().Contains(vsShowAccels) &&
        !KeyboardCuesOn())
      format |= kest::ui::DT_HIDEPREFIX;
    DrawItemCaption(Canvas, tr, GetCaptionText(), UseDisabledShadow, format);
  }
  const std::u16string shortcut = FItem->GetShortCutText();
  if (!shortcut.empty()) {
    const int right = r.right - h;
    Rect sr = TextCell(Canvas, {right - Canvas.TextExtent(shortcut).cx, r.top, right, r.bottom});
    DrawItemCaption(Canvas, sr, shortcut, UseDisabledShadow,
                    kest::ui::DT_SINGLELINE | kest::ui::DT_VCENTER | kest::ui::DT_NOPREFIX);
  }
  if (FItem->GetItemStyle().Contains(tbisSubmenu)) PaintSubmenuArrow(Canvas, r, Canvas.font.color);
  const Point centre{r.left + c / 2, r.top + h / 2};
  if (image) {
    // The picture itself belongs to the image list, which holds none here:
    // the column keeps its frame for selected and checked items.
    if ((IsSelected && FItem->Enabled()) || FItem->Checked()) {
      Canvas.pen = {colors::Text, false};
      Canvas.brush = {colors::ImageFrameFill, false};
      Canvas.RoundRect({r.left, r.top, r.left + c, r.bottom}, 2, 2);
    }
  } else if (FItem->Checked()) {
    PaintCheckMark(Canvas, centre, FItem->RadioItem());
  }
}

void TKestSeparatorItemViewer::CalcSize(Canvas&, int& AWidth, int& AHeight) {
  AWidth = 0;
  AHeight = 10;
}

namespace {

void RuleLine(Canvas& canvas, int y, int x0, int x1) {
  if (x1 <= x0) return;
  canvas.FillRect({x0, y, x1, y + 1}, colors::Selection);
}

} // namespace

void TKestSeparatorItemViewer::Paint(Canvas& Canvas, const Rect& ClientAreaRect, bool, bool, bool) {
  const auto* sep = dynamic_cast<const TKestSeparatorItem*>(FItem);
  if (sep && sep->Blank()) return;
  const Rect& r = ClientAreaRect;
  RuleLine(Canvas, r.bottom / 2 - 1, r.left + 12, r.right - 12);
}

void TKestLabelItemViewer::CalcSize(Canvas& Canvas, int& AWidth, int& AHeight) {
  AWidth = CaptionExtent(Canvas, GetCaptionText(), true).cx;
  AHeight = Canvas.GetTextMetrics().height;
}

void TKestLabelItemViewer::Paint(Canvas& Canvas, const Rect& ClientAreaRect, bool, bool, bool) {
  const Rect& r = ClientAreaRect;
  const std::u16string caption = GetCaptionText();
  DrawItemCaption(Canvas, {r.left, r.top - 1, r.right, r.bottom}, caption, false,
                  kest::ui::DT_SINGLELINE | kest::ui::DT_CENTER | kest::ui::DT_VCENTER |
                      kest::ui::DT_HIDEPREFIX);
  const int centre = (r.left + r.right) / 2;
  const int half = (CaptionExtent(Canvas, caption, true).cx + 8) / 2;
  const int y = r.bottom / 2 - 1;
  RuleLine(Canvas, y, r.left + 12, centre - half);
  RuleLine(Canvas, y, centre + half, r.right - 12);
}

} // namespace kest::menu
