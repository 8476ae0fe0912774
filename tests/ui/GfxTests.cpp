// Bitmaps, copies, alpha blending arithmetic, lines, polygons and PNG.
#include <gtest/gtest.h>

#include "ui/gfx/Canvas.h"
#include "ui/gfx/Png.h"

namespace kest::ui {
namespace {

Bitmap Filled(int w, int h, Color c, PixelFormat f = PixelFormat::Bits24) {
  Bitmap b(w, h, f);
  b.GetCanvas().FillRect({0, 0, w, h}, c);
  return b;
}

TEST(AlphaBlend, PerPixelAlphaAddsTheSourceToTheRestOfTheDestination) {
  Bitmap dst = Filled(3, 1, Rgb(255, 255, 255));
  Bitmap src(3, 1, PixelFormat::Bits32);
  src.SetPixel(0, 0, MakePixel(100, 0, 50, 128)); // premultiplied, half covering
  src.SetPixel(1, 0, MakePixel(0, 0, 0, 0));      // fully transparent
  src.SetPixel(2, 0, MakePixel(10, 20, 30, 255)); // opaque
  ASSERT_TRUE(dst.GetCanvas().AlphaBlend({0, 0, 3, 1}, src, {0, 0, 3, 1}, {255, true}));
  // d = s + d * (255 - a) / 255: 100 + 127, 0 + 127, 50 + 127.
  EXPECT_EQ(dst.ColorAt(0, 0), Rgb(227, 127, 177));
  EXPECT_EQ(dst.ColorAt(1, 0), Rgb(255, 255, 255));
  EXPECT_EQ(dst.ColorAt(2, 0), Rgb(10, 20, 30));
}

TEST(AlphaBlend, ConstantAlphaMixesSourceAndDestination) {
  Bitmap dst = Filled(1, 1, Rgb(0, 0, 200));
  const Bitmap red = Filled(1, 1, Rgb(255, 0, 0));
  dst.GetCanvas().AlphaBlend({0, 0, 1, 1}, red, {0, 0, 1, 1}, {128, false});
  // 255 * 128 / 255 = 128 of red; 200 * 127 / 255 = 100 of the blue left.
  EXPECT_EQ(dst.ColorAt(0, 0), Rgb(128, 0, 100));

  Bitmap keep = Filled(1, 1, Rgb(9, 9, 9));
  keep.GetCanvas().AlphaBlend({0, 0, 1, 1}, red, {0, 0, 1, 1}, {0, false});
  EXPECT_EQ(keep.ColorAt(0, 0), Rgb(9, 9, 9));
  keep.GetCanvas().AlphaBlend({0, 0, 1, 1}, red, {0, 0, 1, 1}, {255, false});
  EXPECT_EQ(keep.ColorAt(0, 0), Rgb(255, 0, 0));
}

TEST(AlphaBlend, ConstantAlphaScalesPerPixelAlphaToo) {
  Bitmap dst = Filled(1, 1, Rgb(0, 0, 0));
  Bitmap src(1, 1, PixelFormat::Bits32);
  src.SetPixel(0, 0, MakePixel(200, 200, 200, 200));
  dst.GetCanvas().AlphaBlend({0, 0, 1, 1}, src, {0, 0, 1, 1}, {128, true});
  EXPECT_EQ(dst.ColorAt(0, 0), Rgb(100, 100, 100));
}

TEST(AlphaBlend, RefusesSourceRectanglesOutsideTheSource) {
  Bitmap dst = Filled(2, 2, Rgb(1, 2, 3));
  const Bitmap src = Filled(2, 2, Rgb(200, 0, 0));
  EXPECT_FALSE(dst.GetCanvas().AlphaBlend({0, 0, 2, 2}, src, {1, 1, 3, 3}, {255, false}));
  EXPECT_FALSE(dst.GetCanvas().AlphaBlend({0, 0, 2, 2}, src, {0, 0, 0, 0}, {255, false}));
  EXPECT_EQ(dst.ColorAt(0, 0), Rgb(1, 2, 3));
}

TEST(Canvas, LinesLeaveOutTheirEndPoint) {
  Bitmap b = Filled(10, 10, 0);
  Canvas& c = b.GetCanvas();
  c.pen.color = Rgb(255, 0, 0);
  c.MoveTo(2, 3);
  c.LineTo(6, 3);
  for (int x = 2; x < 6; ++x)
    EXPECT_EQ(b.ColorAt(x, 3), Rgb(255, 0, 0)) << x;
  EXPECT_EQ(b.ColorAt(6, 3), 0u);
  EXPECT_EQ(c.PenPos(), (Point{6, 3}));
  c.MoveTo(1, 8);
  c.LineTo(1, 5); // upwards
  EXPECT_EQ(b.ColorAt(1, 8), Rgb(255, 0, 0));
  EXPECT_EQ(b.ColorAt(1, 6), Rgb(255, 0, 0));
  EXPECT_EQ(b.ColorAt(1, 5), 0u);
  c.MoveTo(5, 5);
  c.LineTo(8, 8); // diagonal: (5,5) (6,6) (7,7)
  EXPECT_EQ(b.ColorAt(7, 7), Rgb(255, 0, 0));
  EXPECT_EQ(b.ColorAt(8, 8), 0u);
}

TEST(Canvas, OriginAndClipKeepDrawingInside) {
  Bitmap b = Filled(20, 20, 0);
  Canvas& c = b.GetCanvas();
  c.SetOrigin({5, 5});
  c.SetClipRect({0, 0, 4, 4});
  c.FillRect({-10, -10, 30, 30}, Rgb(0, 255, 0));
  EXPECT_EQ(b.ColorAt(5, 5), Rgb(0, 255, 0));
  EXPECT_EQ(b.ColorAt(8, 8), Rgb(0, 255, 0));
  EXPECT_EQ(b.ColorAt(9, 9), 0u);
  EXPECT_EQ(b.ColorAt(4, 5), 0u);
  EXPECT_EQ(c.ClipRect(), (Rect{0, 0, 4, 4}));
}

TEST(Canvas, PolygonFollowsTheWindingRuleAndRectangleFramesWithThePen) {
  // A pentagram: its centre is wound twice, so winding fills it.
  const Point star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  Bitmap b = Filled(21, 21, 0);
  Canvas& c = b.GetCanvas();
  c.pen.clear = true;
  c.brush.color = Rgb(0, 0, 255);
  c.Polygon(star);
  EXPECT_EQ(b.ColorAt(10, 10), Rgb(0, 0, 255));
  EXPECT_EQ(b.ColorAt(10, 3), Rgb(0, 0, 255)); // a point of the star
  EXPECT_EQ(b.ColorAt(1, 18), 0u);
  EXPECT_FALSE(Region::FromPolygon(star, FillMode::Alternate).Contains(10, 10));

  Bitmap r = Filled(5, 5, 0);
  r.GetCanvas().pen.color = Rgb(1, 1, 1);
  r.GetCanvas().brush.color = Rgb(2, 2, 2);
  r.GetCanvas().Rectangle({0, 0, 5, 5});
  EXPECT_EQ(r.ColorAt(4, 4), Rgb(1, 1, 1));
  EXPECT_EQ(r.ColorAt(2, 2), Rgb(2, 2, 2));
}

TEST(Canvas, CopiesWithinOneBitmapReadTheOldPixels) {
  Bitmap b(4, 1);
  for (int x = 0; x < 4; ++x)
    b.SetPixel(x, 0, ColorToPixel(Rgb(x * 10, 0, 0)));
  b.GetCanvas().BitBlt(1, 0, 3, 1, b, 0, 0);
  EXPECT_EQ(b.ColorAt(1, 0), Rgb(0, 0, 0));
  EXPECT_EQ(b.ColorAt(2, 0), Rgb(10, 0, 0));
  EXPECT_EQ(b.ColorAt(3, 0), Rgb(20, 0, 0));
}

TEST(Bitmap, ResizingKeepsTheTopLeftAndRefusesHugeSides) {
  Bitmap b = Filled(2, 2, Rgb(7, 7, 7));
  b.SetSize(3, 1);
  EXPECT_EQ(b.ColorAt(1, 0), Rgb(7, 7, 7));
  EXPECT_EQ(b.ColorAt(2, 0), 0u);
  b.SetSize(-5, 4);
  EXPECT_TRUE(b.Empty());
  EXPECT_THROW(b.SetSize(Bitmap::kMaxSide + 1, 1), std::invalid_argument);
  EXPECT_EQ(b.PixelAt(-1, 99), 0u); // reading outside is harmless
}

TEST(Png, RoundTripsColourAndAlphaAndRejectsGarbage) {
  const std::uint8_t rgba[] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 9, 8, 7, 255};
  const auto bytes = EncodePngRgba(2, 2, rgba, true);
  const DecodedPng png = DecodePng(bytes);
  ASSERT_TRUE(png.hasAlpha);
  EXPECT_EQ(png.width, 2);
  EXPECT_EQ(png.rgb[3 * 3 + 0], 9);
  EXPECT_EQ(png.alpha[1], 128);
  EXPECT_EQ(png.alpha[2], 0);

  const DecodedPng opaque = DecodePng(EncodePngRgba(2, 2, rgba, false));
  EXPECT_FALSE(opaque.hasAlpha);
  EXPECT_TRUE(opaque.alpha.empty());
  EXPECT_EQ(opaque.rgb[4], 255);

  const std::uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_THROW(DecodePng(junk), EPngError);
  EXPECT_THROW(DecodePng({}), EPngError);
}

} // namespace
} // namespace kest::ui
