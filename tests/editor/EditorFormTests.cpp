// The editor form in a host: values in both directions, the wheel, the
// rename rules, the running step, the meters, and what it looks like.
#include <filesystem>
#include <thread>

#include "EditorFixture.h"
#include "TPlugin.h"
#include "uKestSkins.h"
#include "ui/gfx/Png.h"
#include "ui/gfx/Utf.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::test {
namespace {

using EditorForm = EditorTest;

TEST_F(EditorForm, ShowingShowsEveryValueAndThePresetName) {
  // The root note first: moving it moves every step's note along.
  host.SetParameter(kRandomRootNote, Normalised(kRandomRootNote, 64));
  host.SetParameter(kDepth, 0.25f);
  host.SetParameter(StepSwitchIndex(1, 3), 0.0f);
  host.SetParameter(StepNoteIndex(2, 15), Normalised(StepNoteIndex(2, 15), 72));
  host.SetParameter(kChA + 1, 1.0f);
  host.SetParameter(kRandomRange, Normalised(kRandomRange, 5));
  ASSERT_EQ(OpenEditor(), 1);
  TFrmEditor& f = Form();
  EXPECT_FLOAT_EQ(f.SlDpt->Value(), 25);
  EXPECT_FALSE(f.Pat2[3]->Checked());
  EXPECT_EQ(f.Frq3[15]->Value(), 72);
  EXPECT_TRUE(f.CkChB->Checked());
  EXPECT_EQ(f.LbNote->Note(), 64); // E5
  EXPECT_EQ(f.SeOct->AsInteger(), 5);
  EXPECT_EQ(f.KbNote->AsInteger(), 4);
  EXPECT_EQ(f.SeRng->AsInteger(), 5);
  EXPECT_EQ(f.Prsbox->Caption(), ui::Utf8ToUtf16(host.ProgramName()));
  // The spinner's up arrow: one octave up from E5.
  ClickAt(f.SeOct, 18, 5);
  EXPECT_TRUE(Automated(kRandomRootNote, 76));
  EXPECT_EQ(f.LbNote->Note(), 76);
}

TEST_F(EditorForm, ChangesFromTheHostReachTheControls) {
  ASSERT_EQ(OpenEditor(), 1);
  TFrmEditor& f = Form();
  host.SetParameter(kLevel, Normalised(kLevel, -30));
  EXPECT_FLOAT_EQ(f.SlLev->Value(), -30) << "on the user-interface thread: at once";

  const int32_t note = StepNoteIndex(0, 2);
  const int wanted = f.Frq1[2]->Value() == 48 ? 50 : 48;
  std::thread automation([&] {
    host.SetParameter(note, Normalised(note, wanted));
    host.SetParameter(kChA + 2, 1.0f);
  });
  automation.join();
  EXPECT_NE(f.Frq1[2]->Value(), wanted) << "from another thread: on the next idle";
  Idle();
  EXPECT_EQ(f.Frq1[2]->Value(), wanted);
  EXPECT_TRUE(f.CkChC->Checked());

  std::thread([&] { host.Dispatch(effSetProgram, 0, 7); }).join();
  Idle();
  EXPECT_EQ(f.Prsbox->Caption(), ui::Utf8ToUtf16(host.ProgramNameIndexed(7)));
  EXPECT_EQ(f.Frq2[9]->Value(), Plugin().Preset()[StepNoteIndex(1, 9)].Value());
}

TEST_F(EditorForm, EditsReachTheHostAsAutomation) {
  ASSERT_EQ(OpenEditor(), 1);
  TFrmEditor& f = Form();

  // A knob follows the pointer up, a semitone per pixel.
  const float note = f.Frq1[0]->Value();
  PressAt(f.Frq1[0], 12, 20);
  MoveTo(f.Frq1[0], 12, 15);
  Release();
  EXPECT_TRUE(Automated(StepNoteIndex(0, 0), note + 5));

  // A slider's handle follows the pointer, a position per pixel.
  const int position = f.SlDpt->Position();
  PressAt(f.SlDpt, position + 10, 10);
  MoveTo(f.SlDpt, position + 20, 10);
  Release();
  ASSERT_EQ(f.SlDpt->Position(), position + 10);
  EXPECT_TRUE(Automated(kDepth, f.SlDpt->Value()));

  const bool on = f.Pat1[5]->Checked();
  ClickAt(f.Pat1[5], 10, 10);
  EXPECT_TRUE(Automated(StepSwitchIndex(0, 5), on ? 0 : 1));
  ClickAt(f.CkChA, 6, 6);
  EXPECT_TRUE(Automated(kChA, f.CkChA->Checked() ? 1 : 0));
  ClickAt(f.KbNote, 50, 60);
  EXPECT_TRUE(Automated(kRandomRootNote, f.SeOct->AsInteger() * 12 + 4));
  ClickAt(f.SeRng, 18, 5);
  EXPECT_TRUE(Automated(kRandomRange, f.SeRng->AsInteger()));

  // Random: 1 while held (new notes at once, shown at once), 0 on release.
  host.ClearAutomation();
  PressAt(f.BtRnd, 10, 10);
  EXPECT_TRUE(Automated(kRandom, 1));
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(f.Frq3[i]->Value(), Plugin().Preset()[StepNoteIndex(2, i)].Value()) << i;
  Release();
  EXPECT_TRUE(Automated(kRandom, 0));
  EXPECT_EQ(host.Automation().size(), 2u);
}

TEST_F(EditorForm, TheWheelStepsTheLastTouchedSliderOrNote) {
  ASSERT_EQ(OpenEditor(), 1);
  TFrmEditor& f = Form();
  EXPECT_EQ(f.LastPar(), kLevel);
  host.SetParameter(kLevel, 1.0f);
  MoveTo(&f, 200, 240);
  Wheel(+1);
  EXPECT_TRUE(Automated(kLevel, 6)) << "at the top the top value again";

  ClickAt(f.Pat1[2], 10, 10);
  EXPECT_EQ(f.LastPar(), StepNoteIndex(0, 2)) << "a step's switch hands the wheel to its note";
  const float note = f.Frq1[2]->Value();
  Wheel(-1);
  EXPECT_TRUE(Automated(StepNoteIndex(0, 2), note - 1));
  EXPECT_EQ(f.Frq1[2]->Value(), note - 1);

  for (ui::Control* c : std::initializer_list<ui::Control*>{f.Leds, f.SeRng, f.CkChB, &f}) {
    ClickAt(c, 3, 3);
    host.ClearAutomation();
    Wheel(+1);
    EXPECT_TRUE(host.Automation().empty()) << c->Name();
  }
  EXPECT_EQ(f.LastPar(), -1) << "the background";
}

TEST_F(EditorForm, RenamingRefusesEmptyAndTakenNames) {
  ASSERT_EQ(OpenEditor(), 1);
  TFrmEditor& f = Form();
  TKestEdit* edit = f.Prsbox->Edit();
  const auto rename = [&](const std::u16string& text) {
    ClickAt(f.Prsbox, 20, 10);
    ASSERT_TRUE(edit->Visible());
    edit->SetText(text);
    screen.Key(ui::VK_RETURN);
    Idle();
  };
  rename(u"Kestrel dusk");
  EXPECT_EQ(host.ProgramName(), "Kestrel dusk");
  EXPECT_EQ(f.Prsbox->Caption(), u"Kestrel dusk");
  EXPECT_FALSE(edit->Visible());

  rename(u"   ");
  ASSERT_EQ(screen->messageBoxes.size(), 1u);
  EXPECT_EQ(screen->messageBoxes[0].text, u"Preset name is empty!");
  EXPECT_EQ(screen->messageBoxes[0].caption, u"Kestrelphon");
  EXPECT_EQ(screen->messageBoxes[0].flags, ui::MB_ICONEXCLAMATION | ui::MB_OK);
  EXPECT_TRUE(edit->Visible());
  EXPECT_EQ(edit->Text(), u"Kestrel dusk");

  const std::u16string taken = ui::Utf8ToUtf16(host.ProgramNameIndexed(4));
  edit->SetText(taken);
  screen.Key(ui::VK_RETURN);
  Idle();
  ASSERT_EQ(screen->messageBoxes.size(), 2u);
  EXPECT_EQ(screen->messageBoxes[1].text, u"Preset with name \"" + taken + u"\" already exists!");
  EXPECT_EQ(host.ProgramName(), "Kestrel dusk");

  edit->SetText(u"Kestrel dusk");
  screen.Key(ui::VK_RETURN);
  Idle();
  EXPECT_EQ(screen->messageBoxes.size(), 2u) << "its own name is no clash";
  EXPECT_FALSE(edit->Visible());

  ClickAt(f.Prsbox, 20, 10);
  edit->SetText(u"Never");
  screen.Key(ui::VK_ESCAPE);
  Idle();
  EXPECT_FALSE(edit->Visible()) << "Escape hides without renaming";
  EXPECT_EQ(host.ProgramName(), "Kestrel dusk");
}

TEST_F(EditorForm, TheStepLightFollowsAPlayingTransport) {
  ASSERT_EQ(OpenEditor(), 1);
  TFrmEditor& f = Form();
  host.Resume();
  host.Time().ppqPos = 0;
  for (double quarters : {1.3, 0.5, 2.0}) {
    Play(quarters);
    Idle();
    EXPECT_EQ(f.Leds->Step(), Plugin().CurrentStep());
  }
  EXPECT_NE(Plugin().CurrentStep(), 0);
  ui::PostMsg(f.Handle(), TFrmEditor::WM_KEST_STEP, 18);
  Idle();
  EXPECT_EQ(f.Leds->Step(), 2);
}

TEST_F(EditorForm, MetersShowThePeaksEveryTwentyFiveMilliseconds) {
  ASSERT_EQ(OpenEditor(), 1);
  TFrmEditor& f = Form();
  host.Resume();
  Play(0.5);
  screen.RunFor(TFrmEditor::kMeterIntervalMs);
  for (TKestVUMeter* vu : {f.VU1, f.VU2}) {
    bool lit = false;
    for (int y = 1; y < 73 && !lit; ++y)
      lit = vu->ScBitmap().ColorAt(3, y) != SkinEditor->ColorAt(vu->Left() + 3, vu->Top() + y);
    EXPECT_TRUE(lit) << vu->Name();
  }
}

TEST_F(EditorForm, ScreenshotsOfThreePresets) {
  ASSERT_EQ(OpenEditor(), 1);
  std::filesystem::create_directories(KEST_TEST_OUTPUT_DIR);
  std::vector<ui::Bitmap> shots;
  for (int program : {0, 9, 21}) {
    host.Dispatch(effSetProgram, 0, program);
    Idle();
    screen.RunFor(40); // the channel lights fade in
    shots.push_back(HostWindowPicture());
    ui::SavePng(shots.back(), OutputPath("editor_program_" + std::to_string(program) + ".png"));
    EXPECT_EQ(Form().Prsbox->Caption(), ui::Utf8ToUtf16(host.ProgramNameIndexed(program)));
  }
  // The face where no control lies, and different pictures for different presets.
  EXPECT_EQ(shots[0].ColorAt(20, 370), SkinEditor->ColorAt(20, 370));
  for (std::size_t a = 0; a < shots.size(); ++a)
    for (std::size_t b = a + 1; b < shots.size(); ++b) {
      bool differ = false;
      for (int y = 70; y < 250 && !differ; ++y)
        for (int x = 75; x < 461 && !differ; ++x)
          differ = shots[a].ColorAt(x, y) != shots[b].ColorAt(x, y);
      EXPECT_TRUE(differ) << a << " and " << b;
    }
}

} // namespace
} // namespace kest::test
