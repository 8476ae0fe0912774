// The octave spinner, the keyboard, the step lights, the LED switches and
// the note label.
#include "CtrlsFixture.h"
#include "TKestKeybrd.h"
#include "TKestLedBtn.h"
#include "TKestNoteLabel.h"
#include "TKestOctSpin.h"
#include "TKestStepLed.h"
#include "uKestSkins.h"

namespace kest::test {
namespace {

using SmallControls = CtrlsTest;

TEST_F(SmallControls, SpinnerStepsWithinItsDigitAndReportsEveryPress) {
  auto* spin = Place<TKestOctSpin>(77, 314);
  int changes = 0;
  spin->OnChange = [&](TKestControl*) { ++changes; };
  spin->SetValue(9);
  PressAt(spin, 18, 5); // up arrow
  EXPECT_EQ(spin->AsInteger(), 9);
  EXPECT_EQ(changes, 1) << "reported also at the limit";
  EXPECT_TRUE(SameBlock(spin->ScreenBmp(), 14, 2, *SkinOctDn, 0, 0, 9, 8))
      << "up arrow shown pressed";
  Release();
  EXPECT_FALSE(SameBlock(spin->ScreenBmp(), 14, 2, *SkinOctDn, 0, 0, 9, 8));
  ClickAt(spin, 18, 10); // the down arrow starts at y = 10
  EXPECT_EQ(spin->AsInteger(), 8);
  ClickAt(spin, 5, 5); // the digit itself
  EXPECT_EQ(spin->AsInteger(), 8);
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(SameBlock(spin->ScreenBmp(), 4, 5, *SkinSpinDigits, 6 + 6 * 8, 0, 6, 9));
}

TEST_F(SmallControls, SpinnerRangeStaysWithinOneDigit) {
  auto* spin = Place<TKestOctSpin>(77, 314);
  EXPECT_TRUE(SameBlock(spin->ScreenBmp(), 0, 0, *SkinEditor, 77, 314, 25, 5))
      << "the face under its place";
  spin->SetMaxValue(12);
  EXPECT_EQ(spin->MaxValue(), 9);
  spin->SetMinValue(-1);
  EXPECT_EQ(spin->MinValue(), 0);
  spin->SetValue(5);
  spin->SetMaxValue(3);
  EXPECT_EQ(spin->AsInteger(), 3);
  spin->SetMinValue(1);
  spin->SetValue(0.5f); // rounds to 0, held at 1
  EXPECT_EQ(spin->AsInteger(), 1);
  spin->SetValue(2.5f);
  EXPECT_EQ(spin->AsInteger(), 2);
}

TEST_F(SmallControls, KeyboardHitsTheKeyUnderThePointAndLightsItWhileHeld) {
  auto* kb = Place<TKestKeybrd>(113, 287);
  struct Hit {
    ui::Point p;
    int key;
  };
  for (const Hit& h : {Hit{{50, 60}, 4}, Hit{{54, 30}, -1}, Hit{{15, 20}, 1}, Hit{{14, 60}, 0},
                       Hit{{24, 50}, 2}, Hit{{120, 60}, 11}, Hit{{110, 30}, 10}, Hit{{1, 1}, -1}}) {
    EXPECT_EQ(kb->KeyAt(h.p), h.key) << h.p.x << "," << h.p.y;
  }
  int selects = 0, changes = 0;
  kb->OnSelect = [&](TKestControl*, int) { ++selects; };
  kb->OnChange = [&](TKestControl*) { ++changes; };
  PressAt(kb, 50, 60);
  EXPECT_EQ(kb->Selected(), 4);
  EXPECT_EQ(kb->AsInteger(), 4);
  EXPECT_EQ(kb->ScreenBmp().ColorAt(50, 60), ui::Rgb(0, 255, 0));
  EXPECT_NE(kb->ScreenBmp().ColorAt(56, 60), ui::Rgb(0, 255, 0)) << "F is not lit";
  Release();
  EXPECT_EQ(kb->Selected(), -1);
  EXPECT_NE(kb->ScreenBmp().ColorAt(50, 60), ui::Rgb(0, 255, 0));
  ClickAt(kb, 54, 30);
  EXPECT_EQ(selects, 2);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(kb->AsInteger(), 4);
  // Values round to the nearest key as everywhere in the plug-in.
  for (auto [v, key] :
       {std::pair{7.0f, 7}, {4.7f, 5}, {6.5f, 6}, {7.5f, 8}, {-3.0f, 0}, {15.0f, 11}}) {
    kb->SetValue(v);
    EXPECT_EQ(kb->AsInteger(), key) << v;
  }
}

TEST_F(SmallControls, StepLightsKeepTheLowFourBits) {
  auto* leds = Place<TKestStepLed>(75, 46);
  leds->SetStep(17);
  EXPECT_EQ(leds->Step(), 1);
  const ui::Bitmap& on = *SkinStepLedOn;
  EXPECT_TRUE(SameBlock(leds->ScreenBmp(), 7 + 24, 7, on, 0, 0, on.Width(), on.Height()));
  EXPECT_TRUE(
      SameBlock(leds->ScreenBmp(), 7, 7, *SkinEditor, 75 + 7, 46 + 7, on.Width(), on.Height()));
  int selects = 0;
  leds->OnSelect = [&](TKestControl*, int) { ++selects; };
  ClickAt(leds, 100, 10, ui::MouseButton::Right);
  EXPECT_EQ(selects, 1) << "any button selects";
}

TEST_F(SmallControls, LedFadesInSixteenTicksAndTurnsBackFromWhereItIs) {
  auto* led = Place<TKestLedBtn>(43, 99);
  led->SetChecked(true);
  std::vector<int> alphas;
  while (led->Fading() && alphas.size() < 40) {
    screen.RunFor(1);
    alphas.push_back(led->Alpha());
  }
  std::vector<int> expected;
  for (int i = 1; i <= 15; ++i)
    expected.push_back(16 * i);
  expected.push_back(255);
  EXPECT_EQ(alphas, expected);
  // Fully lit: the LED picture itself over the face.
  EXPECT_TRUE(SameBlock(led->ScreenBmp(), 0, 0, *SkinLedOn, 0, 0, 13, 13));
  led->SetChecked(false);
  screen.Pump();
  screen.Advance(1);
  ui::Message tick;
  ASSERT_TRUE(ui::PeekMsg(tick, 0, ui::WM_TIMER, ui::WM_TIMER, ui::PM_REMOVE));
  ui::DispatchMsg(tick);
  EXPECT_EQ(ui::GetUpdateRect(form->Handle()), led->BoundsRect())
      << "a tick repaints the LED alone";
  screen.RunFor(1);
  EXPECT_EQ(led->Alpha(), 255 - 32);
  led->SetChecked(true);
  screen.RunFor(1);
  EXPECT_EQ(led->Alpha(), 255 - 16);
  // A press switches it and reports select, then change.
  ClickAt(led, 6, 6);
  EXPECT_FALSE(led->Checked());
}

TEST_F(SmallControls, NoteLabelClampsAndDrawsOnlyTheName) {
  auto* label = Place<TKestNoteLabel>(161, 267);
  ui::Bitmap placed(30, 10);
  placed.GetCanvas().BitBlt(0, 0, 30, 10, label->ScBitmap(), 0, 0);
  label->SetNote(60);
  EXPECT_EQ(DifferentPixels(placed, label->ScBitmap()), 0) << "shows its note once placed";
  label->SetNote(200);
  EXPECT_EQ(label->Note(), 127);
  ui::Bitmap bg(30, 10);
  bg.GetCanvas().BitBlt(0, 0, 30, 10, *SkinEditor, 161, 267);
  const ui::Rect ink = DifferenceBounds(label->ScBitmap(), bg);
  EXPECT_FALSE(ink.IsEmpty());
  EXPECT_LT(ink.left, 3) << "drawn from the left edge";
  label->SetNote(-4);
  EXPECT_EQ(label->Note(), 0);
}

} // namespace
} // namespace kest::test
