// What the popup window draws around a view: its frame and scroll arrows.
#include <array>

#include "uKestMenu_views.h"

namespace kest::menu {

using kest::ui::Point;

void PaintKestMenuFrame(kest::ui::Canvas& Canvas, const kest::ui::Rect& WindowRect) {
  Canvas.pen = {colors::FrameLine, false};
  Canvas.brush = {colors::Background, false};
  Canvas.Rectangle(WindowRect);
}

void PaintKestScrollArrows(kest::ui::Canvas& Canvas, const kest::ui::Rect& ClientRect, bool Up,
                           bool Down) {
  Canvas.pen = {colors::Text, false};
  Canvas.brush = {colors::Text, false};
  const int cx = (ClientRect.left + ClientRect.right) / 2;
  if (Up) {
    const int cy = (ClientRect.top + ClientRect.top + kKestScrollArrowHeight) / 2 - 1;
    const std::array<Point, 3> up{{{cx - 3, cy + 3}, {cx + 3, cy + 3}, {cx, cy}}};
    Canvas.Polygon(up);
  }
  if (Down) {
    const int cy = (ClientRect.bottom - kKestScrollArrowHeight + ClientRect.bottom) / 2 - 1;
    const std::array<Point, 3> down{{{cx - 3, cy}, {cx + 3, cy}, {cx, cy + 3}}};
    Canvas.Polygon(down);
  }
}

} // namespace kest::menu
