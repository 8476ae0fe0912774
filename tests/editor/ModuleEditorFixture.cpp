#include "ModuleEditorFixture.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>

#include "ui/gfx/Png.h"

namespace kest::editortest {

namespace {

using Clock = std::chrono::steady_clock;

int Ms(Clock::duration d) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
}

} // namespace

UserScript::UserScript(kest::host::VstHost& host, int timeoutMs)
    : UserSteps(timeoutMs), fHost(host) {
  fHost.SetIdleRequestAnswer([this] {
    ++fIdles;
    Tick([] { Desktop().Key("Escape"); });
  });
}

UserScript::~UserScript() {
  fHost.SetIdleRequestAnswer(nullptr);
}

void UserScript::Keys(std::initializer_list<const char*> keys) {
  for (const char* k : keys)
    Do([k] { Desktop().Key(k); });
}

std::string ShotPath(const std::string& name) {
  std::filesystem::create_directories(KEST_SHOTS);
  return std::string(KEST_SHOTS) + "/" + name;
}

std::size_t Colours(const ui::Bitmap& picture) {
  std::set<std::uint32_t> colours;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      colours.insert(picture.ColorAt(x, y));
  return colours.size();
}

std::size_t Differing(const ui::Bitmap& a, const ui::Bitmap& b) {
  std::size_t n = 0;
  const int width = std::min(a.Width(), b.Width()), height = std::min(a.Height(), b.Height());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      n += a.PixelAt(x, y) != b.PixelAt(x, y);
  return n;
}

void ModuleEditor::SetUp() {
  KEST_NEED_DESKTOP();
  ASSERT_NE(host.Open(module.Entry()), nullptr);
  host.SetSampleRate(44100.0f);
  host.SetBlockSize(256);
}

void ModuleEditor::TearDown() {
  window.reset();
  host.Close();
}

void ModuleEditor::OpenEditor() {
  window = std::make_unique<kest::host::EditorWindow>(host, desk.DisplayName(), kAt, kAt);
  ASSERT_TRUE(PumpUntil([&] {
    const auto inside = desk.Children(window->Window());
    return inside.size() == 1 && inside[0].shown;
  })) << "the editor's window inside the host's";
  Pump(200);
}

bool ModuleEditor::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  return window->IdleUntil(done, timeoutMs);
}

void ModuleEditor::Pump(int ms) {
  PumpUntil([] { return false; }, ms);
}

ui::Point ModuleEditor::OnScreen(ui::Point inEditor) {
  const ScreenWindow w = desk.Where(window->Window());
  return {w.x + inEditor.x, w.y + inEditor.y};
}

ui::Bitmap ModuleEditor::EditorPicture(int x, int y, int width, int height) {
  const ui::Point at = OnScreen({x, y});
  return desk.Capture(at.x, at.y, width, height);
}

void ModuleEditor::ClickAndRun(ui::Point at, UserScript& script) {
  const ui::Point p = OnScreen(at);
  desk.MoveTo(p.x, p.y);
  Pump(50);
  desk.Click();
  ASSERT_TRUE(PumpUntil([&] { return script.Done(); }, 20000));
  EXPECT_FALSE(script.TimedOut());
  Pump(100); // the chosen item's click comes after the menu
}

std::vector<ScreenWindow> ModuleEditor::Popups() {
  std::vector<ScreenWindow> out;
  for (const ScreenWindow& w : desk.TopLevels())
    if (w.menu && w.width > 20 && w.height > 20) out.push_back(w);
  return out;
}

std::function<bool()> ModuleEditor::Levels(std::size_t n) {
  auto since = std::make_shared<Clock::time_point>();
  return [this, n, since] {
    if (Popups().size() != n) {
      *since = Clock::time_point{};
      return false;
    }
    if (*since == Clock::time_point{}) *since = Clock::now();
    return Ms(Clock::now() - *since) >= 300;
  };
}

void ModuleEditor::SaveShot(const std::string& name) {
  const ScreenWindow editor = desk.Where(window->Window());
  int left = editor.x, top = editor.y;
  int right = editor.x + window->Width(), bottom = editor.y + window->Height();
  for (const ScreenWindow& g : Popups()) {
    left = std::min(left, g.x);
    top = std::min(top, g.y);
    right = std::max(right, g.x + g.width);
    bottom = std::max(bottom, g.y + g.height);
  }
  left = std::max(0, left - 8);
  top = std::max(0, top - 8);
  right = std::min(desk.ScreenWidth(), right + 8);
  bottom = std::min(desk.ScreenHeight(), bottom + 8);
  ui::SavePng(desk.Capture(left, top, right - left, bottom - top), ShotPath(name));
}

} // namespace kest::editortest
