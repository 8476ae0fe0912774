// What the shipped module's editor does with the Linux desktop's programs
// (a file chooser for the bank, a browser for the manual) and without a
// display, under the tests' private X server.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ModuleEditorFixture.h"
#include "Playback.h"

namespace kest::editortest {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int Ms(Clock::duration d) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
}

// A helper program of the desktop (a file chooser, a browser) put first on
// PATH for the test's lifetime: a shell script in a folder of its own.
class FakeProgram {
public:
  FakeProgram(const std::string& name, const std::string& body)
      : dir(fs::path(ShotPath("fake-" + name))) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / name) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(dir / name, fs::perms::owner_all);
    const char* path = std::getenv("PATH");
    fOldPath = path ? path : "";
    setenv("PATH", (dir.string() + ":" + fOldPath).c_str(), 1);
  }
  ~FakeProgram() { setenv("PATH", fOldPath.c_str(), 1); }
  FakeProgram(const FakeProgram&) = delete;
  FakeProgram& operator=(const FakeProgram&) = delete;

  const fs::path dir;

private:
  std::string fOldPath;
};

TEST_F(ModuleEditor, WithoutAnXServerTheHostIsToldAndNothingIsLeft) {
  const std::string display = desk.DisplayName();
  setenv("DISPLAY", ":4711", 1);
  EXPECT_THROW(kest::host::EditorWindow(host, nullptr), kest::host::EditorUnavailable);
  setenv("DISPLAY", display.c_str(), 1);
  OpenEditor();
}

using ModuleDesktopPrograms = ModuleEditor;

TEST_F(ModuleDesktopPrograms, TheBankMenuSavesEmptiesAndLoadsWhileTheHostStaysAlive) {
  OpenEditor();
  // A chooser that takes its time, as a user does, then names a file.
  const fs::path bank = ShotPath("mine.kst");
  fs::remove(bank);
  const FakeProgram zenity("zenity", "sleep 1\necho '" + bank.string() + "'");
  const std::string firstName = host.ProgramNameIndexed(0);

  {
    UserScript user(host);
    user.When(Levels(1), [&] { SaveShot("menu_bank.png"); });
    user.Keys({"Down", "Down", "Return"}); // "Save Bank..."
    ClickAndRun(kBankButton, user);
    ASSERT_TRUE(PumpUntil([&] { return fs::exists(bank); }, 5000));
  }
  {
    UserScript user(host);
    user.When(Levels(1), [] {});
    user.Keys({"Down", "Down", "Down", "Down", "Return"}); // "Empty Bank"
    ClickAndRun(kBankButton, user);
    ASSERT_TRUE(PumpUntil([&] { return host.ProgramNameIndexed(0) == "- Empty 1 -"; }));
  }
  // Loading: while the chooser runs, the host gets its idle requests at a
  // steady rate and the editor keeps moving its step lights.
  kest::host::Playback playback(host, [](float* l, float* r, int32_t n) {
    std::fill(l, l + n, 0.1f);
    std::fill(r, r + n, 0.1f);
  });
  UserScript user(host);
  int idlesAtStart = 0;
  Clock::time_point start;
  std::vector<ui::Bitmap> lights;
  const auto stepLights = [&] { return EditorPicture(75, 46, 386, 19); };
  user.When(Levels(1), [] {});
  user.Keys({"Down", "Return"}); // "Load Bank..."
  user.When([&] { return Popups().empty(); },
            [&] {
              start = Clock::now();
              idlesAtStart = user.Idles();
              lights.push_back(stepLights());
            });
  user.When([&] { return Ms(Clock::now() - start) >= 600; },
            [&] {
              lights.push_back(stepLights());
              const double perSecond = (user.Idles() - idlesAtStart) / 0.6;
              EXPECT_GE(perSecond, 20.0) << "idle requests while the chooser runs";
            });
  ClickAndRun(kBankButton, user);
  ASSERT_TRUE(PumpUntil([&] { return host.ProgramNameIndexed(0) == firstName; }, 5000));
  EXPECT_EQ(Program(), 0);
  ASSERT_EQ(lights.size(), 2u);
  EXPECT_GT(Differing(lights[0], lights[1]), 0u)
      << "the step lights moved while the chooser was open";
}

TEST_F(ModuleDesktopPrograms, HelpOpensTheManualBesideTheModule) {
  OpenEditor();
  // A browser that notes what it was asked to open.
  const FakeProgram browser(
      "xdg-open",
      "d=\"$(dirname \"$0\")\"; echo \"$1\" > \"$d/o.tmp\"; mv \"$d/o.tmp\" \"$d/opened\"");
  const fs::path opened = browser.dir / "opened";
  UserScript user(host);
  user.When(Levels(1), [] {});
  user.Keys({"Down", "Return"}); // "Help online..."
  ClickAndRun(kHelpButton, user);
  ASSERT_TRUE(PumpUntil([&] { return fs::exists(opened) && fs::file_size(opened) > 0; }, 5000));
  std::string link;
  std::getline(std::ifstream(opened), link);
  const fs::path manual =
      fs::path(KEST_MODULE_PATH).parent_path() / "Kestrelphon-manual/manual.html";
  EXPECT_EQ(link, "file://" + fs::absolute(manual).string()) << "the manual beside the module";
  EXPECT_TRUE(fs::is_regular_file(manual));
}

} // namespace
} // namespace kest::editortest
