#include "Region.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kest::ui {

Region Region::FromRect(const Rect& rect) {
  Region reg;
  const Rect r = rect.Intersect({-kLimit, -kLimit, kLimit, kLimit});
  if (r.IsEmpty()) return reg;
  for (int y = r.top; y < r.bottom; ++y)
    reg.fRows[y] = {{r.left, r.right}};
  return reg;
}

Region Region::FromPolygon(std::span<const Point> pts, FillMode mode) {
  Region reg;
  const std::size_t n = pts.size();
  if (n < 3) return reg;
  int minY = INT_MAX, maxY = INT_MIN;
  for (const Point& p : pts) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  minY = std::max(minY, -kLimit);
  maxY = std::min(maxY, kLimit);
  struct Crossing {
    double x;
    int dir;
  };
  std::vector<Crossing> xs;
  for (int y = minY; y < maxY; ++y) {
    const double yc = y + 0.5;
    xs.clear();
    for (std::size_t i = 0; i < n; ++i) {
      const Point a = pts[i];
      const Point b = pts[(i + 1) % n];
      if (a.y == b.y) continue;
      const bool down = b.y > a.y;
      const double y0 = down ? a.y : b.y;
      const double y1 = down ? b.y : a.y;
      if (yc < y0 || yc >= y1) continue;
      // In double: the differences of far-apart integers do not fit an int.
      const double t = (yc - a.y) / (static_cast<double>(b.y) - a.y);
      xs.push_back({a.x + t * (static_cast<double>(b.x) - a.x), down ? 1 : -1});
    }
    std::sort(xs.begin(), xs.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    std::vector<Span> spans;
    int winding = 0;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
      winding = mode == FillMode::Winding ? winding + xs[i].dir : (winding ^ 1);
      if (winding == 0) continue;
      // Pixel x is covered when its centre x + 0.5 lies in [xa, xb).
      const int x0 =
          static_cast<int>(std::clamp(std::ceil(xs[i].x - 0.5), -double(kLimit), double(kLimit)));
      const int x1 = static_cast<int>(
          std::clamp(std::ceil(xs[i + 1].x - 0.5), -double(kLimit), double(kLimit)));
      if (x1 <= x0) continue;
      if (!spans.empty() && spans.back().x1 >= x0) {
        spans.back().x1 = std::max(spans.back().x1, x1);
      } else {
        spans.push_back({x0, x1});
      }
    }
    if (!spans.empty()) reg.fRows[y] = std::move(spans);
  }
  return reg;
}

bool Region::Contains(Point p) const {
  const auto it = fRows.find(p.y);
  if (it == fRows.end()) return false;
  const auto& spans = it->second;
  auto s = std::upper_bound(spans.begin(), spans.end(), p.x,
                            [](int x, const Span& sp) { return x < sp.x1; });
  return s != spans.end() && p.x >= s->x0;
}

Rect Region::Bounds() const {
  if (fRows.empty()) return {};
  Rect r{INT_MAX, fRows.begin()->first, INT_MIN, fRows.rbegin()->first + 1};
  for (const auto& [y, spans] : fRows) {
    r.left = std::min(r.left, spans.front().x0);
    r.right = std::max(r.right, spans.back().x1);
  }
  return r;
}

void Region::Offset(int dx, int dy) {
  std::map<int, std::vector<Span>> moved;
  for (auto& [y, spans] : fRows) {
    for (Span& s : spans) {
      s.x0 += dx;
      s.x1 += dx;
    }
    moved.emplace(y + dy, std::move(spans));
  }
  fRows.swap(moved);
}

Region Region::Combine(const Region& a, const Region& b, Op op) {
  static const std::vector<Span> kNone;
  Region out;
  std::vector<int> ys;
  for (const auto& kv : a.fRows)
    ys.push_back(kv.first);
  for (const auto& kv : b.fRows)
    ys.push_back(kv.first);
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  for (int y : ys) {
    const auto ia = a.fRows.find(y);
    const auto ib = b.fRows.find(y);
    const auto& sa = ia == a.fRows.end() ? kNone : ia->second;
    const auto& sb = ib == b.fRows.end() ? kNone : ib->second;
    // Sweep the span edges of both rows, tracking whether each side covers.
    std::vector<std::pair<int, int>> edges; // x, +1/-1 for a (weight 1) or b (weight 2)
    for (const Span& s : sa) {
      edges.push_back({s.x0, 1});
      edges.push_back({s.x1, -1});
    }
    for (const Span& s : sb) {
      edges.push_back({s.x0, 2});
      edges.push_back({s.x1, -2});
    }
    std::sort(edges.begin(), edges.end());
    int inA = 0, inB = 0;
    std::vector<Span> spans;
    std::size_t i = 0;
    while (i < edges.size()) {
      const int x = edges[i].first;
      while (i < edges.size() && edges[i].first == x) {
        const int w = edges[i].second;
        if (w == 1 || w == -1)
          inA += w;
        else
          inB += w / 2;
        ++i;
      }
      if (i == edges.size()) break;
      const int next = edges[i].first;
      bool in = false;
      switch (op) {
      case Op::Union:
        in = inA > 0 || inB > 0;
        break;
      case Op::Intersect:
        in = inA > 0 && inB > 0;
        break;
      case Op::Subtract:
        in = inA > 0 && inB == 0;
        break;
      }
      if (!in) continue;
      if (!spans.empty() && spans.back().x1 == x)
        spans.back().x1 = next;
      else
        spans.push_back({x, next});
    }
    if (!spans.empty()) out.fRows[y] = std::move(spans);
  }
  return out;
}

Region Region::Union(const Region& o) const {
  return Combine(*this, o, Op::Union);
}
Region Region::Intersect(const Region& o) const {
  return Combine(*this, o, Op::Intersect);
}
Region Region::Subtract(const Region& o) const {
  return Combine(*this, o, Op::Subtract);
}

std::vector<Rect> Region::Bands() const {
  std::vector<Rect> out;
  const std::vector<Span>* bandSpans = nullptr;
  int bandTop = 0, bandBottom = 0;
  auto flush = [&] {
    if (!bandSpans) return;
    for (const Span& s : *bandSpans)
      out.push_back({s.x0, bandTop, s.x1, bandBottom});
  };
  for (const auto& [y, spans] : fRows) {
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

} // namespace kest::ui
