// Switches, knobs and sliders: value rules, dragging, event order.
#include "CtrlsFixture.h"
#include "TKestKnob.h"
#include "TKestSlider.h"
#include "TKestSwitch.h"
#include "uKestSkins.h"
#include "ui/toolkit/Application.h"

namespace kest::test {
namespace {

using ValueControls = CtrlsTest;

TEST_F(ValueControls, SwitchTurnsOnAboveHalfAndRepaintsOnlyOnAChange) {
  auto* sw = Place<TKestSwitch>(75, 70);
  screen.Pump();
  sw->SetValue(0.5f);
  EXPECT_EQ(sw->GetValue(), 0.0f);
  EXPECT_EQ(ui::GetUpdateRect(form->Handle()), sw->BoundsRect());
  screen.Pump();
  sw->SetValue(0.0f);
  EXPECT_TRUE(ui::GetUpdateRect(form->Handle()).IsEmpty()) << "same state, no repaint";
  sw->SetValue(0.51f);
  EXPECT_EQ(sw->GetValue(), 1.0f);
  // Lit: the step light sits at (4, 4) over the face under the switch.
  EXPECT_TRUE(SameBlock(sw->ScreenBmp(), 4, 4, *SkinStepOn, 0, 0, 18, 15));
  EXPECT_TRUE(SameBlock(sw->ScreenBmp(), 0, 0, *SkinEditor, 75, 70, 24, 4));
  screen.Pump();
  EXPECT_TRUE(SameBlock(screen.Screenshot(form->Handle()), 75, 70, sw->ScreenBmp(), 0, 0, 24, 23));
}

TEST_F(ValueControls, ControlsKeepTheirOneSizeAndTheRangeStaysOrdered) {
  auto* knob = Place<TKestKnob>(75, 93);
  knob->SetBounds(80, 90, 40, 40);
  EXPECT_EQ(knob->BoundsRect(), ui::Rect::FromSize(80, 90, 24, 33));
  // The background cache follows the move.
  EXPECT_TRUE(SameBlock(knob->ScreenBmp(), 0, 0, *SkinEditor, 80, 90, 24, 3));
  knob->SetMinValue(200);
  EXPECT_EQ(knob->MaxValue(), 200);
  knob->SetMaxValue(-5);
  EXPECT_EQ(knob->MinValue(), -5);
  EXPECT_EQ(knob->MaxValue(), -5);
}

TEST_F(ValueControls, KnobRoundsHalvesToEvenAndClampsToTheNoteRange) {
  auto* knob = Place<TKestKnob>(75, 93);
  knob->SetValue(10);
  knob->SetValue(60.5f);
  EXPECT_EQ(knob->GetValue(), 60);
  knob->SetValue(61.5f);
  EXPECT_EQ(knob->GetValue(), 62);
  knob->SetMaxValue(50); // the note range does not follow MaxValue
  knob->SetValue(200);
  EXPECT_EQ(knob->GetValue(), 127);
  knob->SetValue(-3);
  EXPECT_EQ(knob->GetValue(), 0);
}

TEST_F(ValueControls, KnobDraggedPastTheTopComesBackOnlyAfterTheExtraTravel) {
  auto* knob = Place<TKestKnob>(75, 93);
  knob->SetValue(120);
  int changes = 0;
  knob->OnChange = [&](TKestControl*) { ++changes; };
  PressAt(knob, 12, 10);
  EXPECT_FALSE(screen->pointerShown) << "the pointer hides while dragging";
  MoveTo(knob, 12, 3); // 127 reached here
  EXPECT_EQ(knob->GetValue(), 127);
  MoveTo(knob, 12, -7); // 10 pixels beyond
  EXPECT_EQ(knob->GetValue(), 127);
  const int changesAtTop = changes;
  MoveTo(knob, 12, 3);
  EXPECT_EQ(knob->GetValue(), 127);
  EXPECT_EQ(changes, changesAtTop) << "no change while the note stays";
  MoveTo(knob, 12, 4);
  EXPECT_EQ(knob->GetValue(), 126);
  EXPECT_EQ(changes, changesAtTop + 1);
  Release();
  EXPECT_TRUE(screen->pointerShown);
  MoveTo(knob, 12, 30);
  EXPECT_EQ(knob->GetValue(), 126) << "no drag after the release";
}

TEST_F(ValueControls, EventOrderOfSwitchKnobAndSlider) {
  auto* sw = Place<TKestSwitch>(75, 70);
  auto* knob = Place<TKestKnob>(99, 93);
  auto* slider = Place<TKestSlider>(338, 258);
  for (TKestControl* c : {static_cast<TKestControl*>(sw), static_cast<TKestControl*>(knob),
                          static_cast<TKestControl*>(slider)}) {
    c->OnSelect = [this](TKestControl* s, int index) {
      log.push_back("select " + std::to_string(index) + " value " +
                    std::to_string(int(s->GetValue())));
    };
    c->OnChange = [this](TKestControl* s) {
      log.push_back("change " + std::to_string(int(s->GetValue())));
    };
  }
  sw->SetTag(7);
  knob->SetTag(23);
  slider->SetTag(0);
  ClickAt(sw, 10, 10);
  EXPECT_EQ(log, (std::vector<std::string>{"select 7 value 1", "change 0"}));
  log.clear();
  PressAt(knob, 10, 10);
  MoveTo(knob, 11, 10); // sideways: the note stays
  MoveTo(knob, 11, 8);
  Release();
  EXPECT_EQ(log, (std::vector<std::string>{"select 23 value 60", "change 62"}));
  log.clear();
  PressAt(slider, 5, 10);
  MoveTo(slider, 5, 20); // up and down do nothing
  MoveTo(slider, 8, 20);
  Release();
  EXPECT_EQ(log, (std::vector<std::string>{"select 0 value 0", "change 3"}));
}

TEST_F(ValueControls, SliderMapsItsEightyNinePositionsOntoTheRange) {
  auto* slider = Place<TKestSlider>(338, 258);
  slider->SetMinValue(-60);
  slider->SetMaxValue(6);
  EXPECT_EQ(slider->GetValue(), -60);
  slider->SetPosition(88);
  EXPECT_FLOAT_EQ(slider->GetValue(), 6);
  slider->SetValue(0);
  EXPECT_EQ(slider->Position(), 80);
  slider->SetPosition(200);
  EXPECT_EQ(slider->Position(), 88);
  slider->SetValue(-1000); // held at the end of the track, not beside it
  EXPECT_EQ(slider->Position(), 0);
  slider->SetMaxValue(-60); // an empty range has one place
  slider->SetValue(-60);
  EXPECT_EQ(slider->Position(), 0);
  // The handle is drawn where the position says.
  slider->SetMaxValue(100);
  slider->SetMinValue(0);
  slider->SetPosition(40);
  EXPECT_EQ(slider->HandleRect(), ui::Rect::FromSize(43, 3, 26, 17));
  EXPECT_FALSE(SameBlock(slider->ScreenBmp(), 43, 3, *SkinEditor, 338 + 43, 258 + 3, 26, 17));
  EXPECT_TRUE(SameBlock(slider->ScreenBmp(), 0, 0, *SkinEditor, 338, 258, 40, 27));
}

TEST_F(ValueControls, SliderGrabsOnlyItsHandleAndNotOnTheSecondPressOfADoubleClick) {
  auto* slider = Place<TKestSlider>(338, 258);
  slider->SetPosition(30);
  int selects = 0;
  slider->OnSelect = [&](TKestControl*, int) { ++selects; };
  PressAt(slider, 100, 10); // beside the handle
  MoveTo(slider, 110, 10);
  Release();
  EXPECT_EQ(selects, 0);
  EXPECT_EQ(slider->Position(), 30) << "the handle does not jump to the pointer";
  PressAt(slider, 40, 10);
  MoveTo(slider, 50, 10);
  EXPECT_EQ(slider->Position(), 40);
  Release();
  EXPECT_EQ(selects, 1);
  screen.DoubleClick(At(slider, 50, 10));
  screen.Pump();
  EXPECT_EQ(selects, 2) << "the first press drags, the second does not";
  EXPECT_FALSE(slider->Dragging());
}

TEST_F(ValueControls, EverySwitchPressTogglesSoADoubleClickTogglesTwice) {
  auto* sw = Place<TKestSwitch>(75, 70);
  int changes = 0;
  sw->OnChange = [&](TKestControl*) { ++changes; };
  screen.DoubleClick(At(sw, 5, 5));
  screen.Pump();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(sw->GetValue(), 1);
  ClickAt(sw, 5, 5, ui::MouseButton::Right);
  EXPECT_EQ(changes, 2) << "only the left button toggles";
  sw->SetEnabled(false);
  ClickAt(sw, 5, 5);
  EXPECT_EQ(changes, 2);
}

} // namespace
} // namespace kest::test
