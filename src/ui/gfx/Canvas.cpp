#include "Canvas.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kest::ui {

namespace {
// x / 255 rounded to nearest, for 0 <= x <= 255 * 255.
inline int Div255(int x) {
  return (x + 127) / 255;
}
} // namespace

Canvas::Canvas(Bitmap& target) : fTarget(target) {}

Rect Canvas::DeviceClip() const {
  const Rect all{0, 0, fTarget.Width(), fTarget.Height()};
  return fClipSet ? fClip.Intersect(all) : all;
}

void Canvas::Restore(const State& s) {
  font = s.font;
  brush = s.brush;
  pen = s.pen;
  textBackground = s.textBackground;
  fOrigin = s.origin;
  fClip = s.clip;
  fClipSet = s.clipSet;
}

void Canvas::SetClipRect(const Rect& logical) {
  fClip = logical.Offset(fOrigin.x, fOrigin.y);
  fClipSet = true;
}

void Canvas::ResetClip() {
  fClipSet = false;
}

Pixel Canvas::PixelAt(int x, int y) const {
  return fTarget.PixelAt(x + fOrigin.x, y + fOrigin.y);
}

void Canvas::SetPixel(int x, int y, Color c) {
  const Point t{x + fOrigin.x, y + fOrigin.y};
  if (DeviceClip().Contains(t)) fTarget.SetPixel(t.x, t.y, ColorToPixel(c));
}

void Canvas::FillRect(const Rect& r) {
  if (!brush.clear) FillRect(r, brush.color);
}

void Canvas::FillRect(const Rect& r, Color c) {
  const Rect t = r.Offset(fOrigin.x, fOrigin.y).Intersect(DeviceClip());
  const Pixel p = ColorToPixel(c);
  for (int y = t.top; y < t.bottom; ++y)
    std::fill_n(fTarget.Row(y) + t.left, t.Width(), p);
}

void Canvas::FrameRect(const Rect& r) {
  if (r.IsEmpty() || brush.clear) return;
  FillRect({r.left, r.top, r.right, r.top + 1}, brush.color);
  FillRect({r.left, r.bottom - 1, r.right, r.bottom}, brush.color);
  FillRect({r.left, r.top, r.left + 1, r.bottom}, brush.color);
  FillRect({r.right - 1, r.top, r.right, r.bottom}, brush.color);
}

void Canvas::Rectangle(const Rect& r) {
  if (r.IsEmpty()) return;
  FillRect({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
  if (pen.clear) return;
  FillRect({r.left, r.top, r.right, r.top + 1}, pen.color);
  FillRect({r.left, r.bottom - 1, r.right, r.bottom}, pen.color);
  FillRect({r.left, r.top, r.left + 1, r.bottom}, pen.color);
  FillRect({r.right - 1, r.top, r.right, r.bottom}, pen.color);
}

void Canvas::RoundRect(const Rect& r, int cornerWidth, int cornerHeight) {
  if (r.IsEmpty()) return;
  if (cornerWidth < 2 || cornerHeight < 2 || r.Width() < 3 || r.Height() < 3) {
    Rectangle(r);
    return;
  }
  FillRect({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
  if (pen.clear) return;
  FillRect({r.left + 1, r.top, r.right - 1, r.top + 1}, pen.color);
  FillRect({r.left + 1, r.bottom - 1, r.right - 1, r.bottom}, pen.color);
  FillRect({r.left, r.top + 1, r.left + 1, r.bottom - 1}, pen.color);
  FillRect({r.right - 1, r.top + 1, r.right, r.bottom - 1}, pen.color);
}

void Canvas::LineTo(int x, int y) {
  const Point from = fPenPos;
  fPenPos = {x, y};
  if (pen.clear) return;
  // Bresenham from the start point, stopping before the end point.
  int x0 = from.x, y0 = from.y;
  const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
  const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
  int err = dx + dy;
  while (x0 != x || y0 != y) {
    SetPixel(x0, y0, pen.color);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void Canvas::Polyline(std::span<const Point> points) {
  if (points.empty()) return;
  const Point keep = fPenPos;
  MoveTo(points[0].x, points[0].y);
  for (std::size_t i = 1; i < points.size(); ++i)
    LineTo(points[i].x, points[i].y);
  fPenPos = keep;
}

void Canvas::Polygon(std::span<const Point> points) {
  if (points.size() < 2) return;
  if (!brush.clear) FillRegion(Region::FromPolygon(points, FillMode::Winding), brush.color);
  const Point keep = fPenPos;
  MoveTo(points[0].x, points[0].y);
  for (std::size_t i = 1; i <= points.size(); ++i) {
    const Point& p = points[i % points.size()];
    LineTo(p.x, p.y);
  }
  fPenPos = keep;
}

void Canvas::FillRegion(const Region& region, Color c) {
  const Rect clip = DeviceClip();
  const Pixel p = ColorToPixel(c);
  for (const auto& [ly, spans] : region.Rows()) {
    const int y = ly + fOrigin.y;
    if (y < clip.top || y >= clip.bottom) continue;
    for (const auto& s : spans) {
      const int x0 = std::max(s.x0 + fOrigin.x, clip.left);
      const int x1 = std::min(s.x1 + fOrigin.x, clip.right);
      if (x1 > x0) std::fill_n(fTarget.Row(y) + x0, x1 - x0, p);
    }
  }
}

void Canvas::BitBlt(int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy) {
  CopyRect(Rect::FromSize(dx, dy, w, h), src, Rect::FromSize(sx, sy, w, h));
}

namespace {
// Walks the destination pixels of a (possibly stretched) copy, handing each
// visible one its source pixel coordinates.
template <typename Fn>
void ForEachMapped(const Rect& dstDev, const Rect& clip, const Rect& srcRect, const Bitmap& src,
                   Fn fn) {
  const Rect vis = dstDev.Intersect(clip);
  if (vis.IsEmpty() || srcRect.IsEmpty() || dstDev.IsEmpty()) return;
  for (int y = vis.top; y < vis.bottom; ++y) {
    const int sy = srcRect.top + static_cast<int>(static_cast<long long>(y - dstDev.top) *
                                                  srcRect.Height() / dstDev.Height());
    if (sy < 0 || sy >= src.Height()) continue;
    for (int x = vis.left; x < vis.right; ++x) {
      const int sx = srcRect.left + static_cast<int>(static_cast<long long>(x - dstDev.left) *
                                                     srcRect.Width() / dstDev.Width());
      if (sx < 0 || sx >= src.Width()) continue;
      fn(x, y, src.Row(sy)[sx]);
    }
  }
}
} // namespace

void Canvas::CopyRect(const Rect& dst, const Bitmap& src, const Rect& srcRect) {
  const Rect dev = dst.Offset(fOrigin.x, fOrigin.y);
  if (&src == &fTarget) {
    // Overlapping copies within one bitmap read from a snapshot.
    const Bitmap copy(src);
    ForEachMapped(dev, DeviceClip(), srcRect, copy,
                  [&](int x, int y, Pixel p) { fTarget.Row(y)[x] = p; });
    return;
  }
  ForEachMapped(dev, DeviceClip(), srcRect, src,
                [&](int x, int y, Pixel p) { fTarget.Row(y)[x] = p; });
}

bool Canvas::AlphaBlend(const Rect& dst, const Bitmap& src, const Rect& srcRect, BlendFunction bf) {
  if (srcRect.IsEmpty() || dst.IsEmpty() || srcRect.left < 0 || srcRect.top < 0 ||
      srcRect.right > src.Width() || srcRect.bottom > src.Height()) {
    return false;
  }
  const int sca = bf.constantAlpha;
  const Rect dev = dst.Offset(fOrigin.x, fOrigin.y);
  const Bitmap* from = &src;
  Bitmap copy;
  if (&src == &fTarget) {
    copy = src;
    from = &copy;
  }
  ForEachMapped(dev, DeviceClip(), srcRect, *from, [&](int x, int y, Pixel s) {
    Pixel& d = fTarget.Row(y)[x];
    int sr = PixelR(s), sg = PixelG(s), sb = PixelB(s), sa = PixelA(s);
    if (sca != 255) {
      sr = Div255(sr * sca);
      sg = Div255(sg * sca);
      sb = Div255(sb * sca);
      sa = Div255(sa * sca);
    }
    // Without source alpha the source counts as covering by the constant alpha.
    const int cover = bf.sourceAlpha ? sa : sca;
    const int keep = 255 - cover;
    auto mix = [&](int sc, int dc) { return std::min(255, sc + Div255(dc * keep)); };
    d = MakePixel(mix(sr, PixelR(d)), mix(sg, PixelG(d)), mix(sb, PixelB(d)),
                  mix(bf.sourceAlpha ? sa : sca, PixelA(d)));
  });
  return true;
}

void Canvas::Blend(int tx, int ty, Color c, int coverage) {
  if (coverage <= 0) return;
  Pixel& d = fTarget.Row(ty)[tx];
  auto mix = [&](int sc, int dc) { return Div255(sc * coverage + dc * (255 - coverage)); };
  const int a = PixelA(d);
  d = MakePixel(mix(RedOf(c), PixelR(d)), mix(GreenOf(c), PixelG(d)), mix(BlueOf(c), PixelB(d)),
                a + Div255((255 - a) * coverage));
}

} // namespace kest::ui
