// The shipped module's editor under a private X server, as a host has it:
// opened by the host harness inside a window of the host's own connection,
// driven by idle calls, answering a real pointer drag with automation.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>

#include "EditorWindow.h"
#include "VstHost.h"
#include "XServer.h"
#include "ui/gfx/Png.h"

namespace kest::x11test {
namespace {

using kest::host::EditorWindow;

constexpr int kAt = 30; // where the host's window lies

bool PumpEditorUntil(EditorWindow& w, const std::function<bool()>& done, int timeoutMs = 5000) {
  return w.IdleUntil(done, timeoutMs);
}

ui::Bitmap ToBitmap(const std::vector<std::uint32_t>& pixels, int width, int height) {
  ui::Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y * width + x)];
      b.SetPixel(x, y,
                 ui::MakePixel(static_cast<int>(p >> 16) & 255, static_cast<int>(p >> 8) & 255,
                               static_cast<int>(p) & 255));
    }
  return b;
}

std::size_t Colours(const std::vector<std::uint32_t>& pixels) {
  return std::set<std::uint32_t>(pixels.begin(), pixels.end()).size();
}

TEST(ModuleEditor, OpensWhereADisplayIsAndAnswersADragWithAutomation) {
  KEST_NEED_X();
  kest::host::PluginModule module(KEST_MODULE_PATH);
  kest::host::VstHost host;
  ASSERT_NE(host.Open(module.Entry()), nullptr);
  host.SetSampleRate(44100.0f);
  host.SetBlockSize(256);

  // No X server behind $DISPLAY: the host is told, and nothing is left.
  setenv("DISPLAY", ":4711", 1);
  EXPECT_THROW(EditorWindow(host, Display().c_str()), kest::host::EditorUnavailable);
  setenv("DISPLAY", Display().c_str(), 1);
  EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, nullptr), 0) << "no parent window";

  Host other;
  {
    EditorWindow window(host, Display().c_str(), kAt, kAt);
    ASSERT_TRUE(
        PumpEditorUntil(window, [&] { return other.Children(window.Window()).size() == 1; }));
    const XWindow ours = other.Children(window.Window())[0];
    ASSERT_TRUE(PumpEditorUntil(window, [&] { return other.Viewable(ours); }));
    const Geometry g = other.Attributes(ours);
    EXPECT_EQ(g.width, 494);
    EXPECT_EQ(g.height, 383);
    // The face, not a blank window.
    std::vector<std::uint32_t> shot;
    ASSERT_TRUE(PumpEditorUntil(window, [&] {
      shot = window.Capture();
      return Colours(shot) > 200;
    }));
    std::filesystem::create_directories(KEST_X11_SHOTS);
    ui::SavePng(ToBitmap(shot, window.Width(), window.Height()),
                std::string(KEST_X11_SHOTS) + "/module_editor.png");

    // A real drag up on the first note knob of channel A (left 75, top 93).
    const int note = static_cast<int>(std::lround(host.GetParameter(23) * 127.0f));
    const int x = kAt + 75 + 12, y = kAt + 93 + 16;
    ASSERT_EQ(Xdotool({"mousemove", "--sync", std::to_string(x), std::to_string(y)}), 0);
    PumpEditorUntil(
        window, [] { return false; }, 100);
    ASSERT_EQ(Xdotool({"mousedown", "1"}), 0);
    PumpEditorUntil(
        window, [] { return false; }, 100);
    ASSERT_EQ(Xdotool({"mousemove", "--sync", std::to_string(x), std::to_string(y - 6)}), 0);
    PumpEditorUntil(
        window, [] { return false; }, 100);
    ASSERT_EQ(Xdotool({"mouseup", "1"}), 0);
    ASSERT_TRUE(PumpEditorUntil(window,
                                [&] {
                                  const auto a = host.Automation();
                                  return !a.empty() && a.back().index == 23 &&
                                         std::lround(a.back().value * 127.0f) == note + 6;
                                }))
        << "from note " << note;
  }
  // Closed: nothing of ours is left in the host's window, and it opens again.
  EditorWindow again(host, Display().c_str(), kAt, kAt);
  EXPECT_TRUE(PumpEditorUntil(again, [&] { return other.Children(again.Window()).size() == 1; }));
}

TEST(ModuleEditor, TwoInstancesShowTheirEditorsSideBySide) {
  KEST_NEED_X();
  kest::host::PluginModule module(KEST_MODULE_PATH);
  kest::host::VstHost first, second;
  for (kest::host::VstHost* h : {&first, &second})
    ASSERT_NE(h->Open(module.Entry()), nullptr);
  second.Dispatch(effSetProgram, 0, 5);
  Host other;
  auto a = std::make_unique<EditorWindow>(first, Display().c_str(), 0, 0);
  EditorWindow b(second, Display().c_str(), 500, 0);
  const auto faces = [&](EditorWindow& w) {
    return PumpEditorUntil(w, [&] { return Colours(w.Capture()) > 200; });
  };
  EXPECT_TRUE(faces(*a));
  EXPECT_TRUE(faces(b));
  EXPECT_NE(a->Capture(), b.Capture()) << "each shows its own preset";
  a.reset(); // one closes; the other lives on
  b.Idle();
  first.Dispatch(effSetProgram, 0, 9);
  second.Dispatch(effSetProgram, 0, 9);
  EXPECT_TRUE(PumpEditorUntil(b, [&] { return other.Children(b.Window()).size() == 1; }));
  EXPECT_TRUE(faces(b));
}

TEST(StandaloneEditor, ShowsThePluginsEditorAndTakesAScreenshot) {
  KEST_NEED_X();
  std::filesystem::create_directories(KEST_X11_SHOTS);
  const std::string shot = std::string(KEST_X11_SHOTS) + "/kestrelphon-editor.png";
  std::filesystem::remove(shot);
  ASSERT_EQ(RunProgram({KEST_EDITOR_TOOL, "--plugin", KEST_MODULE_PATH, "--preset",
                        "Octave flanger", "--screenshot", shot, "--after", "1"}),
            0);
  std::ifstream in(shot, std::ios::binary);
  const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  const ui::DecodedPng png = ui::DecodePng(bytes);
  EXPECT_EQ(png.width, 494);
  EXPECT_EQ(png.height, 383);
}

} // namespace
} // namespace kest::x11test
