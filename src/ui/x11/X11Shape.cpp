// Window shapes through the X Shape extension: a top-level window shows only
// its visible region (the slide-in animation of the menus grows it).
#include "ui/x11/X11Internal.h" // first: it tames Xlib's macros

#ifdef KEST_HAVE_XSHAPE
#include <X11/extensions/shape.h>
#endif

#include <vector>

namespace kest::ui::x11 {

void X11Backend::QueryShape() {
#ifdef KEST_HAVE_XSHAPE
  int errorBase = 0;
  fHasShape = XShapeQueryExtension(fDpy, &fShapeEventBase, &errorBase) != 0;
#endif
}

#ifdef KEST_HAVE_XSHAPE
namespace {

// The region as rectangles: rows with the same spans one after another
// become one band, so a rectangle stays one rectangle.
std::vector<XRectangle> Rectangles(const Region& region) {
  std::vector<XRectangle> out;
  const std::vector<Region::Span>* bandSpans = nullptr;
  int bandTop = 0, bandBottom = 0;
  auto flush = [&] {
    if (!bandSpans) return;
    for (const Region::Span& s : *bandSpans) {
      out.push_back({static_cast<short>(s.x0), static_cast<short>(bandTop),
                     static_cast<unsigned short>(s.x1 - s.x0),
                     static_cast<unsigned short>(bandBottom - bandTop)});
    }
  };
  for (const auto& [y, spans] : region.Rows()) {
    if (bandSpans && y == bandBottom && spans == *bandSpans) {
      ++bandBottom;
      continue;
    }
    flush();
    bandSpans = &spans;
    bandTop = y;
    bandBottom = y + 1;
  }
  flush();
  return out;
}

} // namespace
#endif

void X11Backend::ApplyShape(NativeWindow& n, const std::optional<Region>& region) {
  if (!fHasShape || n.shape == region) return;
  n.shape = region;
#ifdef KEST_HAVE_XSHAPE
  if (!region) {
    XShapeCombineMask(fDpy, n.xid, ShapeBounding, 0, 0, kXNone, ShapeSet);
    return;
  }
  std::vector<XRectangle> rects = Rectangles(*region);
  XShapeCombineRectangles(fDpy, n.xid, ShapeBounding, 0, 0, rects.data(),
                          static_cast<int>(rects.size()), ShapeSet, YXBanded);
#endif
}

} // namespace kest::ui::x11
