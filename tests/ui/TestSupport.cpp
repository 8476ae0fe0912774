#include "TestSupport.h"

#include <climits>
#include <filesystem>

#include "ui/gfx/Font.h"

namespace kest::ui::test {

namespace {
constexpr const char* kRegular = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
} // namespace

const std::vector<std::vector<Point>>& KeyboardPolygons() {
  static const std::vector<std::vector<Point>> keys = {
      {{2, 2}, {11, 2}, {11, 45}, {18, 45}, {18, 67}, {2, 67}},
      {{11, 2}, {25, 2}, {25, 45}, {11, 45}},
      {{25, 2}, {31, 2}, {31, 45}, {36, 45}, {36, 67}, {19, 67}, {19, 45}, {25, 45}},
      {{31, 2}, {44, 2}, {44, 45}, {31, 45}},
      {{44, 2}, {53, 2}, {53, 67}, {37, 67}, {37, 45}, {44, 45}},
      {{55, 2}, {63, 2}, {63, 45}, {71, 45}, {71, 67}, {55, 67}},
      {{63, 2}, {77, 2}, {77, 45}, {63, 45}},
      {{77, 2}, {83, 2}, {83, 45}, {89, 45}, {89, 67}, {72, 67}, {72, 45}, {77, 45}},
      {{83, 2}, {96, 2}, {96, 45}, {83, 45}},
      {{96, 2}, {102, 2}, {102, 45}, {106, 45}, {106, 67}, {90, 67}, {90, 45}, {96, 45}},
      {{102, 2}, {116, 2}, {116, 45}, {102, 45}},
      {{116, 2}, {123, 2}, {123, 67}, {108, 67}, {108, 45}, {116, 45}},
  };
  return keys;
}

bool PinTestFonts() {
  if (!std::filesystem::exists(kRegular) || !std::filesystem::exists(kBold)) return false;
  PinFontFace("Tahoma", kRegular, kBold);
  return true;
}

std::string OutputPath(const std::string& name) {
  return std::string(KEST_TEST_OUTPUT_DIR) + "/" + name;
}

Rect InkBounds(const Bitmap& bmp, Color background) {
  Rect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = 0; y < bmp.Height(); ++y) {
    for (int x = 0; x < bmp.Width(); ++x) {
      if (bmp.ColorAt(x, y) == background) continue;
      r.left = std::min(r.left, x);
      r.top = std::min(r.top, y);
      r.right = std::max(r.right, x + 1);
      r.bottom = std::max(r.bottom, y + 1);
    }
  }
  return r.IsEmpty() ? Rect{} : r;
}

int DifferentPixels(const Bitmap& a, const Bitmap& b) {
  int n = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x)
      n += a.ColorAt(x, y) != b.ColorAt(x, y);
  }
  return n;
}

} // namespace kest::ui::test
