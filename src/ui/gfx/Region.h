#pragma once
// A set of pixels kept as sorted horizontal spans per row, built from
// rectangles and polygons. A pixel belongs to a polygon when its centre lies
// inside, so a rectangle polygon covers the same pixels as the rectangle.
#include <map>
#include <span>
#include <vector>

#include "Geometry.h"

namespace kest::ui {

enum class FillMode { Alternate, Winding };

class Region {
public:
  // Coordinates are kept within +-kLimit (the platform's 16-bit range);
  // shapes reaching beyond are cut there.
  static constexpr int kLimit = 32767;

  struct Span {
    int x0; // first pixel
    int x1; // one past the last pixel
    friend bool operator==(const Span&, const Span&) = default;
  };

  Region() = default;
  static Region FromRect(const Rect& r);
  static Region FromPolygon(std::span<const Point> points, FillMode mode = FillMode::Winding);

  bool Empty() const { return fRows.empty(); }
  bool Contains(Point p) const;
  bool Contains(int x, int y) const { return Contains(Point{x, y}); }
  Rect Bounds() const;
  void Offset(int dx, int dy);

  Region Union(const Region& o) const;
  Region Intersect(const Region& o) const;
  Region Subtract(const Region& o) const;
  Region Intersect(const Rect& r) const { return Intersect(FromRect(r)); }

  const std::map<int, std::vector<Span>>& Rows() const { return fRows; }
  // The region as rectangles, y-x banded as display servers want shapes:
  // rows with the same spans one after another share one band, so a
  // rectangle stays one rectangle.
  std::vector<Rect> Bands() const;
  friend bool operator==(const Region&, const Region&) = default;

private:
  enum class Op { Union, Intersect, Subtract };
  static Region Combine(const Region& a, const Region& b, Op op);
  std::map<int, std::vector<Span>> fRows;
};

} // namespace kest::ui
