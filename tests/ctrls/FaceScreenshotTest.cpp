// One of each control on the editor face in several states, painted by the
// form and saved as pictures for people to look at.
#include "CtrlsFixture.h"
#include "TestMenu.h"
#include "uKestCtrls.h"
#include "ui/gfx/Png.h"

namespace kest::test {
namespace {

class Face : public CtrlsTest {
protected:
  // Every control's picture shows at its place in the form's window.
  void ExpectPaintedAsComposed(const ui::Bitmap& shot) {
    for (int i = 0; i < form->ControlCount(); ++i) {
      auto* c = dynamic_cast<TKestControl*>(form->Controls(i));
      if (!c || !c->Visible()) continue;
      EXPECT_TRUE(
          SameBlock(shot, c->Left(), c->Top(), c->ScreenBmp(), 0, 0, c->Width(), c->Height()))
          << c->Name();
    }
  }
};

TEST_F(Face, OneOfEachControlInSeveralStates) {
  auto* leds = Place<TKestStepLed>(75, 46);
  leds->SetStep(5);
  const int notes[16] = {48, 60, 55, 63, 67, 72, 0, 127, 36, 43, 50, 57, 64, 71, 78, 85};
  for (int i = 0; i < 16; ++i) {
    auto* sw = Place<TKestSwitch>(75 + 24 * i, 70);
    sw->SetName("Switch" + std::to_string(1 + 3 * i));
    sw->SetValue(i % 3 == 0 ? 1.0f : 0.0f);
    auto* knob = Place<TKestKnob>(75 + 24 * i, 93);
    knob->SetName("Knob" + std::to_string(1 + 3 * i));
    knob->SetValue(static_cast<float>(notes[i]));
  }
  const float sliderValues[4] = {-6, 70, 20, 50};
  const float sliderMax[4] = {6, 100, 100, 50};
  for (int i = 0; i < 4; ++i) {
    auto* s = Place<TKestSlider>(338, 258 + 27 * i);
    if (i == 0) s->SetMinValue(-60);
    s->SetMaxValue(sliderMax[i]);
    s->SetValue(sliderValues[i]);
  }
  auto* ledA = Place<TKestLedBtn>(43, 99);
  Place<TKestLedBtn>(43, 161);
  auto* ledC = Place<TKestLedBtn>(43, 223);
  ledA->SetChecked(true);
  ledC->SetChecked(true);
  screen.RunFor(20); // A and C fade in fully
  ledC->SetChecked(false);
  for (int i = 0; i < 8; ++i)
    screen.RunFor(1); // C halfway out
  auto* label = Place<TKestNoteLabel>(161, 267);
  label->SetNote(52);
  auto* kb = Place<TKestKeybrd>(113, 287);
  auto* oct = Place<TKestOctSpin>(77, 314);
  oct->SetValue(4);
  auto* rng = Place<TKestOctSpin>(77, 337);
  rng->SetMinValue(1);
  rng->SetValue(3);
  auto* rnd = Place<TKestButton>(77, 262);
  rnd->SetGlyphResName("KEST_RANDOM");
  auto* styles = Place<TKestButton>(77, 288);
  styles->SetGlyphResName("KEST_POPUP_STYLES");
  auto* box = Place<TKestPresetBox>(292, 4);
  box->SetCaption(u"Deep Space Comb");
  auto* bank = Place<TKestTopButton>(419, 4);
  bank->SetGlyphResName("KEST_BANK");
  auto* help = Place<TKestTopButton>(443, 4);
  help->SetGlyphResName("KEST_HELP");
  auto* vuIn = Place<TKestVUMeter>(261, 287);
  auto* vuOut = Place<TKestVUMeter>(278, 287);
  for (int i = 0; i < 6; ++i) {
    vuIn->Display(-12.0f - 2 * i, -18.0f - 2 * i);
    vuOut->Display(-3.0f - 3 * i, -40.0f);
  }

  PressAt(kb, 50, 60); // E held
  ui::Bitmap shot = screen.Screenshot(form->Handle());
  ExpectPaintedAsComposed(shot);
  EXPECT_EQ(shot.ColorAt(113 + 50, 287 + 60), ui::Rgb(0, 255, 0));
  ui::SavePng(shot, OutputPath("ctrls_face.png"));
  Release();
  const ui::Bitmap rest = screen.Screenshot(form->Handle());

  PressAt(rnd, 10, 10); // random held, up arrow of the octave spinner held by the next press
  shot = screen.Screenshot(form->Handle());
  ExpectPaintedAsComposed(shot);
  Release();
  PressAt(oct, 18, 5);
  ui::Bitmap second = screen.Screenshot(form->Handle());
  ExpectPaintedAsComposed(second);
  Release();
  // The random button pressed (first) and the spinner's arrow (second), side by side.
  second.GetCanvas().BitBlt(60, 255, 45, 40, shot, 60, 255);
  ui::SavePng(second, OutputPath("ctrls_face_pressed.png"));
  // The pressed controls four times as large, at rest on the left and pressed on the right.
  const ui::Rect area = ui::Rect::FromSize(70, 255, 40, 105);
  ui::Bitmap detail(area.Width() * 8, area.Height() * 4);
  detail.GetCanvas().CopyRect({0, 0, area.Width() * 4, area.Height() * 4}, rest, area);
  detail.GetCanvas().CopyRect({area.Width() * 4, 0, area.Width() * 8, area.Height() * 4}, second,
                              area);
  ui::SavePng(detail, OutputPath("ctrls_pressed_detail_x4.png"));
}

} // namespace
} // namespace kest::test
