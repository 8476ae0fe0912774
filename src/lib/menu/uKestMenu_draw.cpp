// Drawing a view's column: every shown viewer in its bounds, the selected
// one last, a viewer that changed alone through a bitmap of its own.
#include "uKestMenu_views.h"

namespace kest::menu {

using kest::ui::Canvas;
using kest::ui::Rect;

void TKestView::DrawSubitems(Canvas& ACanvas) {
  ValidatePositions();
  const Rect clip = ACanvas.ClipRect();
  const bool inOrder = FState.Contains(vsDrawInOrder);
  FState.Exclude(vsDrawInOrder);
  for (std::size_t i = 0; i < FViewers.size(); ++i) {
    TKestItemViewer* v = FViewers[i].get();
    if (!v->FShow || v->FBoundsRect.Intersect(clip).IsEmpty()) {
      v->State &= static_cast<std::uint8_t>(~TKestItemViewer::kPaintBuffered);
      continue;
    }
    if (v != FSelected || inOrder) DrawViewer(ACanvas, v);
  }
  if (FSelected && !inOrder && FSelected->FShow &&
      !FSelected->FBoundsRect.Intersect(clip).IsEmpty())
    DrawViewer(ACanvas, FSelected);
}

void TKestView::DrawViewer(Canvas& ACanvas, TKestItemViewer* V) {
  const Rect b = V->FBoundsRect;
  if (!V->FShow || b.IsEmpty() || dynamic_cast<TKestControlItem*>(V->FItem)) return;
  const bool selected = V == FSelected;
  auto paint = [&](Canvas& c) {
    c.brush = selected ? kest::ui::Brush{colors::Selection, false} : kest::ui::Brush{0, true};
    c.font = GetFont();
    c.font.color = V->FItem->Enabled() ? colors::Text : colors::DisabledText;
    c.textBackground = kest::ui::TextBackground::Transparent;
    const bool pushed = selected && (FOpenViewer == V || (FMouseOverSelected && FCapture));
    V->Paint(c, {0, 0, b.Width(), b.Height()}, selected, pushed, false);
  };
  const Canvas::State saved = ACanvas.Save();
  if (V->State & TKestItemViewer::kPaintBuffered) {
    V->State &= static_cast<std::uint8_t>(~TKestItemViewer::kPaintBuffered);
    kest::ui::Bitmap buffer(b.Width(), b.Height());
    Canvas& bc = buffer.GetCanvas();
    // The window's own background under the item, then the item.
    bc.SetOrigin({-b.left, -b.top});
    bc.SetClipRect(b);
    if (const kest::ui::WindowHandle h = WindowHandleIfAny())
      kest::ui::SendMsg(h, kest::ui::WM_ERASEBKGND, reinterpret_cast<kest::ui::WParam>(&bc));
    bc.SetOrigin({0, 0});
    bc.ResetClip();
    paint(bc);
    ACanvas.SetClipRect(ACanvas.ClipRect().Intersect(b));
    ACanvas.Draw(b.left, b.top, buffer);
  } else {
    ACanvas.SetClipRect(ACanvas.ClipRect().Intersect(b));
    const kest::ui::Point o = ACanvas.Origin();
    ACanvas.SetOrigin({o.x + b.left, o.y + b.top});
    paint(ACanvas);
  }
  ACanvas.Restore(saved);
}

} // namespace kest::menu
