// The level meter: bars and falling peak marks.
#include "CtrlsFixture.h"
#include "TKestVUMeter.h"
#include "uKestSkins.h"

namespace kest::test {
namespace {

using Meter = CtrlsTest;

bool LitFromRow(const TKestVUMeter& m, int channel, int firstRow) {
  const int h = 73 - firstRow;
  return SameBlock(m.ScBitmap(), 1 + 6 * channel, firstRow, *SkinVUMeter, 0, firstRow - 1, 5, h);
}

TEST_F(Meter, BarsFollowTheLevelWithinTheRange) {
  auto* vu = Place<TKestVUMeter>(261, 287);
  EXPECT_EQ(vu->BoundsRect(), ui::Rect::FromSize(261, 287, 13, 74));
  EXPECT_TRUE(SameBlock(vu->ScBitmap(), 0, 0, *SkinEditor, 261, 287, 13, 74))
      << "the face under it once placed";
  vu->Display(3, -100);
  EXPECT_TRUE(LitFromRow(*vu, 0, 1)) << "above full scale: a full bar";
  EXPECT_TRUE(SameBlock(vu->ScBitmap(), 7, 1, *SkinEditor, 261 + 7, 287 + 1, 5, 72))
      << "below the range: no bar";
  vu->Display(-30, -6);
  EXPECT_TRUE(LitFromRow(*vu, 0, 37));
  EXPECT_FALSE(SameBlock(vu->ScBitmap(), 1, 36, *SkinVUMeter, 0, 35, 5, 1));
  EXPECT_TRUE(LitFromRow(*vu, 1, 8)); // -6 dB: 7.2 pixels, row 7 is the top
  vu->SetRange(0);
  EXPECT_EQ(vu->Range(), 60);
  vu->SetRange(-30);
  EXPECT_EQ(vu->Range(), 60) << "a negative range is no range";
  vu->Display(-30, -6);
  EXPECT_TRUE(LitFromRow(*vu, 0, 37));
  vu->SetRange(30);
  vu->Display(-15, 0);
  EXPECT_TRUE(LitFromRow(*vu, 0, 37)) << "half the range is half the bar";
}

TEST_F(Meter, AnUpdateRepaintsTheMeterAlone) {
  auto* vu = Place<TKestVUMeter>(261, 287);
  screen.Pump();
  vu->Display(-12, -3);
  EXPECT_EQ(ui::GetUpdateRect(form->Handle()), vu->BoundsRect());
  screen.Pump();
  EXPECT_TRUE(SameBlock(screen.Screenshot(form->Handle()), 261, 287, vu->ScBitmap(), 0, 0, 13, 74));
}

TEST_F(Meter, PeakMarkHoldsForNineUpdatesThenFallsFasterAndFaster) {
  auto* vu = Place<TKestVUMeter>(261, 287);
  vu->Display(-20, -20);
  EXPECT_NEAR(vu->PeakValue(0), -23.99, 1e-4);
  std::vector<float> peaks;
  for (int i = 0; i < 12; ++i) {
    vu->Display(-60, -60);
    peaks.push_back(vu->PeakValue(0));
    // The mark is drawn where the peak stood before this update's fall.
    if (i == 0) {
      EXPECT_EQ(vu->ScBitmap().ColorAt(3, 24), vu->PeakColor());
    }
  }
  for (int i = 0; i < 9; ++i)
    EXPECT_NEAR(peaks[static_cast<std::size_t>(i)], -23.99, 1e-4) << i;
  EXPECT_NEAR(peaks[9], -23.99 - 0.3, 1e-4);
  EXPECT_NEAR(peaks[10], -23.99 - 0.9, 1e-4);
  EXPECT_NEAR(peaks[11], -23.99 - 1.8, 1e-4);
  for (int i = 0; i < 40; ++i)
    vu->Display(-60, -60);
  // At the bottom the level itself sets the mark again, just above it,
  // where it is no longer drawn.
  EXPECT_NEAR(vu->PeakValue(0), -71.99, 1e-4);
  for (int y = 60; y <= 72; ++y)
    EXPECT_NE(vu->ScBitmap().ColorAt(3, y), vu->PeakColor()) << y;
  vu->Display(-10, -60);
  EXPECT_NEAR(vu->PeakValue(0), -11.99, 1e-4) << "a louder level sets a new mark";
}

} // namespace
} // namespace kest::test
