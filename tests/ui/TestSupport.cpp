#include "TestSupport.h"

#include "lib/ctrls/KeyboardOutline.h"

#include <climits>
#include <filesystem>

#include "ui/gfx/Font.h"

namespace kest::ui::test {

namespace {
constexpr const char* kRegular = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
} // namespace

const std::vector<std::vector<Point>>& KeyboardPolygons() {
  static const std::vector<std::vector<Point>> keys = [] {
    std::vector<std::vector<Point>> all;
    for (const KeyOutline& k : kKeyOutlines) {
      all.emplace_back();
      for (int i = 0; i < k.Count; ++i) all.back().push_back({k.Points[i][0], k.Points[i][1]});
    }
    return all;
  }();
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
