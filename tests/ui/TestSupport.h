#pragma once
// Helpers shared by the ui tests.
#include <string>
#include <vector>

#include "ui/gfx/Bitmap.h"
#include "ui/windowing/WindowSystem.h"

#include <ostream>

namespace kest::ui {
// Readable failure messages for geometry.
inline void PrintTo(const Rect& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
inline void PrintTo(const Point& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ")";
}
} // namespace kest::ui

namespace kest::ui::test {

// Pins "Tahoma" to DejaVu Sans so that text pictures are the same on every
// machine; skips the calling test when the font files are missing.
bool PinTestFonts();
// The twelve key polygons of the one-octave keyboard control, C to B.
const std::vector<std::vector<Point>>& KeyboardPolygons();
// Where tests may write files (the build folder).
std::string OutputPath(const std::string& name);
// The bounding box of pixels that differ from the background colour.
Rect InkBounds(const Bitmap& bmp, Color background);
// Number of pixels that differ between two same-sized bitmaps.
int DifferentPixels(const Bitmap& a, const Bitmap& b);

} // namespace kest::ui::test
