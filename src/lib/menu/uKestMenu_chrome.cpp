// What the popup window draws around a view: its frame and scroll arrows.
#include "uKestMenu_views.h"

namespace kest::menu {

void PaintKestMenuFrame(kest::ui::Canvas& Canvas, const kest::ui::Rect& WindowRect) {
  Canvas.pen = {colors::FrameLine, false};
  Canvas.brush = {colors::Background, false};
  Canvas.Rectangle(WindowRect);
}

void PaintKestScrollArrows(kest::ui::Canvas& Canvas, const kest::ui::Rect& ClientRect, bool Up,
                           bool Down) {
  // Solid triangles with their apex and base centred: rows of 1, 3, 5 and
  // 7 pixels, as the outlined and filled polygon (cx - 3, cy + 3),
  // (cx + 3, cy + 3), (cx, cy) covers them (upside down for the other).
  const int cx = (ClientRect.left + ClientRect.right) / 2;
  auto triangle = [&](int cy, bool pointsUp) {
    for (int i = 0; i <= 3; ++i) {
      const int half = pointsUp ? i : 3 - i;
      Canvas.FillRect({cx - half, cy + i, cx + half + 1, cy + i + 1}, colors::Text);
    }
  };
  if (Up) triangle((ClientRect.top + ClientRect.top + kKestScrollArrowHeight) / 2 - 1, true);
  if (Down)
    triangle((ClientRect.bottom - kKestScrollArrowHeight + ClientRect.bottom) / 2 - 1, false);
}

} // namespace kest::menu
