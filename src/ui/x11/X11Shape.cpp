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

void X11Backend::ApplyShape(NativeWindow& n, const std::optional<Region>& region) {
  if (!fHasShape || n.shape == region) return;
  n.shape = region;
#ifdef KEST_HAVE_XSHAPE
  if (!region) {
    XShapeCombineMask(fDpy, n.xid, ShapeBounding, 0, 0, kXNone, ShapeSet);
    return;
  }
  std::vector<XRectangle> rects;
  for (const Rect& r : region->Bands()) {
    rects.push_back({static_cast<short>(r.left), static_cast<short>(r.top),
                     static_cast<unsigned short>(r.Width()), static_cast<unsigned short>(r.Height())});
  }
  XShapeCombineRectangles(fDpy, n.xid, ShapeBounding, 0, 0, rects.data(),
                          static_cast<int>(rects.size()), ShapeSet, YXBanded);
#endif
}

} // namespace kest::ui::x11
