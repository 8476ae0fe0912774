// Regions: pixel rules, the keyboard's key polygons, set operations.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "TestSupport.h"
#include "ui/gfx/Region.h"

namespace kest::ui {
namespace {

std::vector<Region> KeyRegions() {
  std::vector<Region> r;
  for (const auto& k : test::KeyboardPolygons())
    r.push_back(Region::FromPolygon(k, FillMode::Winding));
  return r;
}

int KeyAt(const std::vector<Region>& keys, Point p) {
  for (int i = 0; i < 12; ++i) {
    if (keys[static_cast<std::size_t>(i)].Contains(p)) return i;
  }
  return -1;
}

TEST(Region, RectanglePolygonCoversTheRectanglesPixels) {
  const Point quad[] = {{2, 3}, {7, 3}, {7, 9}, {2, 9}};
  const Region poly = Region::FromPolygon(quad);
  EXPECT_EQ(poly, Region::FromRect({2, 3, 7, 9}));
  EXPECT_TRUE(poly.Contains(2, 3));
  EXPECT_TRUE(poly.Contains(6, 8));
  EXPECT_FALSE(poly.Contains(7, 5)); // right edge excluded
  EXPECT_FALSE(poly.Contains(4, 9)); // bottom edge excluded
  EXPECT_EQ(poly.Bounds(), (Rect{2, 3, 7, 9}));
}

TEST(Region, KeyboardKeysAnswerPressesAsTheKeyboardExpects) {
  const auto keys = KeyRegions();
  EXPECT_EQ(KeyAt(keys, {50, 60}), 4);  // E
  EXPECT_EQ(KeyAt(keys, {54, 30}), -1); // the gap between E and F
  EXPECT_EQ(KeyAt(keys, {44, 2}), 4);   // shared edge belongs to the right-hand key
  EXPECT_EQ(KeyAt(keys, {43, 44}), 3);  // D# ends above row 45
  EXPECT_EQ(KeyAt(keys, {43, 45}), 4);
  EXPECT_EQ(KeyAt(keys, {11, 45}), 0); // the white C under the black C#
  EXPECT_EQ(KeyAt(keys, {11, 44}), 1);
  EXPECT_EQ(KeyAt(keys, {122, 66}), 11);
  EXPECT_EQ(KeyAt(keys, {123, 66}), -1);
  EXPECT_EQ(KeyAt(keys, {60, 67}), -1);
}

TEST(Region, KeyboardKeysNeverOverlap) {
  const auto keys = KeyRegions();
  int covered = 0;
  for (int y = 0; y < 69; ++y) {
    for (int x = 0; x < 126; ++x) {
      int hits = 0;
      for (const auto& k : keys)
        hits += k.Contains(x, y);
      EXPECT_LE(hits, 1) << x << "," << y;
      covered += hits;
    }
  }
  // Nearly the whole 121 x 65 key area belongs to some key.
  EXPECT_GT(covered, 7000);
}

TEST(Region, SetOperationsAndOffset) {
  const Region a = Region::FromRect({0, 0, 10, 10});
  const Region b = Region::FromRect({5, 5, 15, 15});
  EXPECT_TRUE(a.Union(b).Contains(12, 12));
  EXPECT_TRUE(a.Union(b).Contains(1, 1));
  EXPECT_FALSE(a.Union(b).Contains(12, 1));
  EXPECT_EQ(a.Intersect(b), Region::FromRect({5, 5, 10, 10}));
  const Region d = a.Subtract(b);
  EXPECT_TRUE(d.Contains(4, 9));
  EXPECT_FALSE(d.Contains(5, 5));
  EXPECT_TRUE(a.Subtract(a).Empty());
  Region moved = a;
  moved.Offset(-3, 4);
  EXPECT_EQ(moved.Bounds(), (Rect{-3, 4, 7, 14}));
  EXPECT_TRUE(Region::FromPolygon(std::vector<Point>{{0, 0}, {5, 5}}).Empty());
  // Absurd coordinates are cut to the 16-bit range instead of running away.
  const Point huge[] = {{-2000000000, -2000000000}, {2000000000, -2000000000}, {0, 2000000000}};
  EXPECT_TRUE(Region::FromPolygon(huge).Contains(0, 0));
  EXPECT_EQ(Region::FromRect({0, 0, 2000000000, 1}).Bounds().right, Region::kLimit);
}

TEST(Region, BandsMergeEqualRowsAndSplitWhereSpansChange) {
  EXPECT_EQ(Region::FromRect({2, 3, 12, 40}).Bands(), (std::vector<Rect>{{2, 3, 12, 40}}));
  // An L shape: a wide band over a narrow one; a gap of rows starts a new band.
  const Region l = Region::FromRect({0, 0, 10, 4}).Union(Region::FromRect({0, 4, 3, 8}));
  const Region gap = l.Union(Region::FromRect({0, 10, 3, 12}));
  EXPECT_EQ(gap.Bands(), (std::vector<Rect>{{0, 0, 10, 4}, {0, 4, 3, 8}, {0, 10, 3, 12}}));
  const Region two = Region::FromRect({0, 0, 2, 2}).Union(Region::FromRect({5, 0, 7, 2}));
  EXPECT_EQ(two.Bands(), (std::vector<Rect>{{0, 0, 2, 2}, {5, 0, 7, 2}}));
  EXPECT_TRUE(Region().Bands().empty());
}

} // namespace
} // namespace kest::ui
