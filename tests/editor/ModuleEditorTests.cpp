// The shipped module's editor as a host has it, on Linux and on Windows
// alike: opened by the host harness inside a window of the host's own,
// driven by idle calls, answering a real pointer drag with automation and
// showing the host's changes and the running transport.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "ModuleEditorFixture.h"
#include "Playback.h"
#include "ui/gfx/Png.h"

namespace kest::editortest {
namespace {

constexpr int kNote = 23; // the first note knob of channel A

TEST_F(ModuleEditor, OpensInsideTheHostsWindowAndAutomatesBothWays) {
  EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, nullptr), 0) << "no parent window";
  OpenEditor();
  const auto inside = desk.Children(window->Window());
  ASSERT_EQ(inside.size(), 1u);
  EXPECT_EQ(inside[0].width, kEditorWidth);
  EXPECT_EQ(inside[0].height, kEditorHeight);
  // The face, not a blank window.
  ui::Bitmap face(1, 1);
  ASSERT_TRUE(PumpUntil([&] {
    face = EditorPicture();
    return Colours(face) > 200;
  }));
  ui::SavePng(face, ShotPath("module_editor.png"));

  // A real drag up on the knob: automation to the host, six notes up.
  const int note = static_cast<int>(std::lround(Param(kNote) * 127.0f));
  const ui::Point knob = OnScreen(kFirstNoteKnob);
  desk.MoveTo(knob.x, knob.y);
  Pump(100);
  desk.Press();
  Pump(100);
  desk.MoveTo(knob.x, knob.y - 6);
  Pump(100);
  desk.Release();
  Pump(100);
  ASSERT_TRUE(PumpUntil([&] {
    const auto a = host.Automation();
    return !a.empty() && a.back().index == kNote && std::lround(a.back().value * 127.0f) == note + 6;
  })) << "from note " << note;

  // The host sets the parameter back: the knob follows.
  const ui::Bitmap moved = EditorPicture(75, 93, 24, 30);
  host.SetParameter(kNote, static_cast<float>(note) / 127.0f);
  EXPECT_TRUE(PumpUntil([&] { return Differing(EditorPicture(75, 93, 24, 30), moved) > 0; }))
      << "the knob shows the host's value";

  // Closed: nothing of ours is left in the host's window, and it opens again.
  window.reset();
  OpenEditor();
}

TEST_F(ModuleEditor, TheStepLightMovesWithTheTransport) {
  OpenEditor();
  host.Time().tempo = 120.0; // a step every 125 ms
  kest::host::Playback playback(host, [](float* l, float* r, int32_t n) {
    std::fill(l, l + n, 0.1f);
    std::fill(r, r + n, 0.1f);
  });
  // The row of step lights (left 75, top 46, 386 x 19).
  const ui::Bitmap before = EditorPicture(75, 46, 386, 19);
  EXPECT_TRUE(PumpUntil([&] { return Differing(EditorPicture(75, 46, 386, 19), before) > 0; },
                        3000));
  playback.Stop();
}

TEST_F(ModuleEditor, TwoInstancesShowTheirEditorsSideBySide) {
  kest::host::VstHost second;
  ASSERT_NE(second.Open(module.Entry()), nullptr);
  second.Dispatch(effSetProgram, 0, 5);
  OpenEditor();
  {
    kest::host::EditorWindow b(second, desk.DisplayName(), 530, kAt);
    // What the screen shows of each (the right one may reach past its edge).
    const auto face = [&](kest::host::EditorWindow& w) {
      const ScreenWindow at = desk.Where(w.Window());
      return desk.Capture(at.x, at.y, std::min(w.Width(), desk.ScreenWidth() - at.x), w.Height());
    };
    ASSERT_TRUE(PumpUntil([&] {
      b.Idle();
      return Colours(face(*window)) > 200 && Colours(face(b)) > 200;
    }));
    const ui::Bitmap left = face(*window), right = face(b);
    EXPECT_GT(Differing(left, right), 0u) << "each shows its own preset";
  } // one closes; the other lives on
  host.Dispatch(effSetProgram, 0, 9);
  EXPECT_TRUE(PumpUntil([&] { return desk.Children(window->Window()).size() == 1; }));
  EXPECT_TRUE(PumpUntil([&] { return Colours(EditorPicture()) > 200; }));
  second.Close();
}

TEST_F(ModuleEditor, TheStandaloneHostShowsTheEditorAndTakesAScreenshot) {
  const std::string shot = ShotPath("kestrelphon-editor.png");
  std::remove(shot.c_str());
  ASSERT_EQ(desk.Run({KEST_EDITOR_TOOL, "--plugin", KEST_MODULE_PATH, "--preset",
                      "Octave flanger", "--screenshot", shot, "--after", "1"}),
            0);
  std::ifstream in(shot, std::ios::binary);
  const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  const ui::DecodedPng png = ui::DecodePng(bytes);
  EXPECT_EQ(png.width, kEditorWidth);
  EXPECT_EQ(png.height, kEditorHeight);
}

} // namespace
} // namespace kest::editortest
