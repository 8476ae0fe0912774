// Text drawing: fonts, centring, ellipsis, accelerator prefixes, measuring.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "ui/gfx/Canvas.h"

namespace kest::ui {
namespace {

class Text : public ::testing::Test {
protected:
  void SetUp() override {
    if (!test::PinTestFonts()) GTEST_SKIP() << "DejaVu fonts are not installed";
  }
  static Bitmap Blank(int w, int h) {
    Bitmap b(w, h);
    b.GetCanvas().FillRect({0, 0, w, h}, Rgb(255, 255, 255));
    return b;
  }
  static void Setup(Canvas& c, int height = -11, bool bold = false) {
    c.font.name = "Tahoma";
    c.font.height = height;
    c.font.SetBold(bold);
    c.font.color = 0;
    c.textBackground = TextBackground::Transparent;
  }
};

TEST_F(Text, FontsFollowFaceHeightAndWeight) {
  Bitmap b = Blank(10, 10);
  Canvas& c = b.GetCanvas();
  Setup(c, -9);
  const TextMetrics small = c.GetTextMetrics();
  const int smallWidth = c.TextExtent(u"Kestrel").cx;
  Setup(c, -11);
  const TextMetrics big = c.GetTextMetrics();
  EXPECT_EQ(big.height, big.ascent + big.descent);
  EXPECT_GT(big.height, small.height);
  EXPECT_GT(c.TextExtent(u"Kestrel").cx, smallWidth);
  Setup(c, -11, true);
  EXPECT_GT(c.TextExtent(u"Kestrel").cx, c.TextExtent(u"Kest").cx);
  EXPECT_EQ(c.TextExtent(u"").cx, 0);
  EXPECT_TRUE(FontFaceInstalled("Tahoma"));
  Font unknown;
  unknown.name = "No Such Face 123";
  EXPECT_NE(FontFileFor(unknown).find("DejaVu"), std::string::npos); // the fallback face
  // An installed family: its everyday styles, not Condensed, Oblique or ExtraLight.
  Font installed;
  installed.name = "dejavu sans";
  EXPECT_EQ(std::filesystem::path(FontFileFor(installed)).filename(), "DejaVuSans.ttf");
  installed.SetBold(true);
  EXPECT_EQ(std::filesystem::path(FontFileFor(installed)).filename(), "DejaVuSans-Bold.ttf");
}

TEST_F(Text, CentredSingleLineSitsInTheMiddleOfItsRectangle) {
  Bitmap a = Blank(60, 30);
  Bitmap b = Blank(60, 30);
  Setup(a.GetCanvas(), -9, true);
  Setup(b.GetCanvas(), -9, true);
  Rect r{5, 4, 55, 26};
  a.GetCanvas().TextRect(r, u"C#5", DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  const Size ext = b.GetCanvas().TextExtent(u"C#5");
  const int h = b.GetCanvas().GetTextMetrics().height;
  b.GetCanvas().TextOut(5 + (50 - ext.cx) / 2, 4 + (22 - h) / 2, u"C#5");
  EXPECT_EQ(test::DifferentPixels(a, b), 0);
  const Rect ink = test::InkBounds(a, Rgb(255, 255, 255));
  EXPECT_LE(std::abs((ink.left - r.left) - (r.right - ink.right)), 3);
  EXPECT_LE(std::abs((ink.top - r.top) - (r.bottom - ink.bottom)), 4);
}

TEST_F(Text, EndEllipsisCutsOverlongTextToFit) {
  const std::u16string name = u"A very long preset name indeed";
  Bitmap a = Blank(120, 20);
  Canvas& c = a.GetCanvas();
  Setup(c, -11, true);
  Rect r{8, 5, 105, 19};
  ASSERT_GT(c.TextExtent(name).cx, r.Width());
  c.TextRect(r, name, DT_SINGLELINE | DT_END_ELLIPSIS);
  const Rect ink = test::InkBounds(a, Rgb(255, 255, 255));
  EXPECT_GE(ink.left, r.left);
  EXPECT_LE(ink.right, r.right);

  // The longest prefix that fits together with the dots, no more.
  std::u16string cut = name;
  while (c.TextExtent(cut + u"...").cx > r.Width())
    cut.pop_back();
  EXPECT_GT(c.TextExtent(name.substr(0, cut.size() + 1) + u"...").cx, r.Width());
  Bitmap b = Blank(120, 20);
  Setup(b.GetCanvas(), -11, true);
  b.GetCanvas().TextOut(8, 5, cut + u"...");
  EXPECT_EQ(test::DifferentPixels(a, b), 0);

  // Without the flag the text is clipped at the rectangle instead.
  Bitmap clipped = Blank(120, 20);
  Setup(clipped.GetCanvas(), -11, true);
  Rect r2 = r;
  clipped.GetCanvas().TextRect(r2, name, DT_SINGLELINE);
  EXPECT_LE(test::InkBounds(clipped, Rgb(255, 255, 255)).right, r.right);
}

TEST_F(Text, PrefixesUnderlineOrHideOrStayLiteral) {
  auto draw = [&](std::u16string_view s, unsigned flags) {
    Bitmap b = Blank(80, 20);
    Setup(b.GetCanvas());
    Rect r{0, 0, 80, 20};
    b.GetCanvas().TextRect(r, s, flags | DT_SINGLELINE);
    return b;
  };
  const Bitmap plain = draw(u"File", 0);
  const Bitmap marked = draw(u"&File", 0);
  const Bitmap hidden = draw(u"&File", DT_HIDEPREFIX);
  const Bitmap literal = draw(u"&File", DT_NOPREFIX);
  EXPECT_EQ(test::DifferentPixels(plain, hidden), 0);
  EXPECT_GT(test::DifferentPixels(plain, marked), 0);
  // The underline lies below the letters.
  EXPECT_GT(test::InkBounds(marked, Rgb(255, 255, 255)).bottom,
            test::InkBounds(plain, Rgb(255, 255, 255)).bottom - 3);
  EXPECT_GT(test::InkBounds(literal, Rgb(255, 255, 255)).right,
            test::InkBounds(plain, Rgb(255, 255, 255)).right);
  EXPECT_EQ(test::DifferentPixels(draw(u"A&&B", 0), draw(u"A&B", DT_NOPREFIX)), 0);
}

TEST_F(Text, CalcRectMeasuresWithoutDrawing) {
  Bitmap b = Blank(100, 60);
  Canvas& c = b.GetCanvas();
  Setup(c);
  Rect r{10, 10, 11, 11};
  const int h = c.TextRect(r, u"one\r\nlonger line", DT_CALCRECT);
  EXPECT_EQ(h, 2 * c.GetTextMetrics().height);
  EXPECT_EQ(r.Width(), c.TextExtent(u"longer line").cx);
  EXPECT_EQ(r.Height(), h);
  EXPECT_TRUE(test::InkBounds(b, Rgb(255, 255, 255)).IsEmpty());
}

TEST_F(Text, OpaqueBackgroundFillsTheCellWithTheBrush) {
  Bitmap b = Blank(40, 20);
  Canvas& c = b.GetCanvas();
  Setup(c);
  c.textBackground = TextBackground::Opaque;
  c.brush.color = Rgb(0, 0, 255);
  c.TextOut(2, 2, u"i");
  EXPECT_EQ(b.ColorAt(2, 2), Rgb(0, 0, 255));
  EXPECT_EQ(b.ColorAt(30, 2), Rgb(255, 255, 255));
}

} // namespace
} // namespace kest::ui
