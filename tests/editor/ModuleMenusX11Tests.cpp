// The shipped module's menus under a private X server, as a user has them:
// each opened from its button with a real click, walked with real keys and
// an item chosen, while the plug-in holds the host's user-interface thread
// in the menu's loop (or in the file chooser's wait) and asks the host for
// its idle processing, which is where this test acts.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "EditorWindow.h"
#include "Playback.h"
#include "UserSteps.h"
#include "VstHost.h"
#include "XServer.h"
#include "ui/gfx/Png.h"

#include "XlibLast.h"

namespace kest::x11test {
namespace {

namespace fs = std::filesystem;
using kest::host::EditorWindow;
using Clock = std::chrono::steady_clock;

constexpr int kAt = 30; // where the host's window lies

// Where the editor's buttons are (their centres, in the editor).
constexpr ui::Point kStyleButton{77 + 11, 288 + 11};
constexpr ui::Point kPresetArrow{292 + 117, 4 + 11};
constexpr ui::Point kBankButton{419 + 12, 4 + 11};
constexpr ui::Point kHelpButton{443 + 12, 4 + 11};

int Ms(Clock::duration d) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
}

// The user's actions while the plug-in holds the thread, looked at
// whenever the plug-in asks for the host's idle processing. Past the
// deadline the user presses Escape.
class UserScript : public UserSteps {
public:
  explicit UserScript(kest::host::VstHost& host, int timeoutMs = 15000)
      : UserSteps(timeoutMs), fHost(host) {
    fHost.SetIdleRequestAnswer([this] {
      ++fIdles;
      Tick([] { Xdotool({"key", "Escape"}); });
    });
  }
  ~UserScript() { fHost.SetIdleRequestAnswer(nullptr); }
  UserScript(const UserScript&) = delete;
  UserScript& operator=(const UserScript&) = delete;

  void Keys(std::initializer_list<const char*> keys) {
    for (const char* k : keys)
      Do([k] { Xdotool({"key", k}); });
  }
  int Idles() const { return fIdles; }

private:
  kest::host::VstHost& fHost;
  int fIdles = 0;
};

// A helper program of the desktop (a file chooser, a browser) put first on
// PATH for the test's lifetime: a shell script in a folder of its own.
class FakeProgram {
public:
  FakeProgram(const std::string& name, const std::string& body)
      : dir(fs::path(KEST_X11_SHOTS) / ("fake-" + name)) {
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

class ModuleMenus : public ::testing::Test {
protected:
  void SetUp() override {
    KEST_NEED_X();
    setenv("DISPLAY", Display().c_str(), 1);
    ASSERT_NE(host.Open(module.Entry()), nullptr);
    host.SetSampleRate(44100.0f);
    host.SetBlockSize(256);
    window = std::make_unique<EditorWindow>(host, Display().c_str(), kAt, kAt);
    ASSERT_TRUE(PumpUntil([&] { return screen.Children(window->Window()).size() == 1; }));
    fs::create_directories(KEST_X11_SHOTS);
    Pump(200);
  }
  void TearDown() override {
    window.reset();
    host.Close();
  }

  // The host's idle calls until done() holds.
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 8000) {
    return window->IdleUntil(done, timeoutMs);
  }
  void Pump(int ms) {
    PumpUntil([] { return false; }, ms);
  }
  // A real click on a point of the editor, then idle calls until the
  // script has run (the menu it opens runs inside one of them).
  void ClickAndRun(ui::Point at, UserScript& script) {
    // A synchronous move waits for the pointer to leave where it is, for
    // ever when it is at the target already: it comes from one pixel off.
    ASSERT_EQ(Xdotool({"mousemove", std::to_string(kAt + at.x + 1), std::to_string(kAt + at.y)}),
              0);
    ASSERT_EQ(
        Xdotool({"mousemove", "--sync", std::to_string(kAt + at.x), std::to_string(kAt + at.y)}),
        0);
    ASSERT_EQ(Xdotool({"click", "1"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return script.Done(); }, 20000));
    EXPECT_FALSE(script.TimedOut());
    Pump(100); // the chosen item's click comes after the menu
  }

  // The menus' windows on the screen, the root level first.
  std::vector<Geometry> Popups() {
    std::vector<Geometry> out;
    for (XWindow w : screen.Children(DefaultRootWindow(screen.Dpy()))) {
      const Geometry g = screen.Attributes(w);
      if (g.overrideRedirect && g.viewable && g.width > 20 && g.height > 20) out.push_back(g);
    }
    return out;
  }
  // The editor with the open menus over it, saved for people to look at.
  void SaveShot(const std::string& name) {
    int right = kAt + window->Width(), bottom = kAt + window->Height();
    int left = kAt, top = kAt;
    for (const Geometry& g : Popups()) {
      left = std::min(left, g.x);
      top = std::min(top, g.y);
      right = std::max(right, g.x + g.width);
      bottom = std::max(bottom, g.y + g.height);
    }
    left = std::max(0, left - 8);
    top = std::max(0, top - 8);
    right = std::min(1024, right + 8);
    bottom = std::min(768, bottom + 8);
    ui::SavePng(screen.Capture(left, top, right - left, bottom - top),
                std::string(KEST_X11_SHOTS) + "/" + name);
  }
  // A step that waits until n menu levels are shown and have unfolded.
  std::function<bool()> Levels(std::size_t n) {
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
  float Param(int index) { return host.GetParameter(index); }
  std::vector<float> Notes() {
    std::vector<float> notes;
    for (int c = 0; c < 3; ++c)
      for (int i = 23; i < 39; ++i)
        notes.push_back(Param(i + 32 * c));
    return notes;
  }
  int Program() { return static_cast<int>(host.Dispatch(effGetProgram)); }

  kest::host::PluginModule module{KEST_MODULE_PATH};
  kest::host::VstHost host;
  std::unique_ptr<EditorWindow> window;
  Host screen;
};

TEST_F(ModuleMenus, AStyleChosenFromTheScalesSubmenuSetsTheStyleAndNewNotes) {
  const auto notes = Notes();
  UserScript user(host);
  user.When(Levels(1), [] {});
  user.Keys({"Down", "Right"}); // "Scales", opened
  user.When(Levels(2), [&] { SaveShot("menu_styles.png"); });
  // Twelve steps down from the first, past the line: style 144.
  for (int i = 0; i < 12; ++i)
    user.Keys({"Down"});
  user.Keys({"Return"});
  ClickAndRun(kStyleButton, user);
  EXPECT_TRUE(Popups().empty());
  ASSERT_TRUE(PumpUntil([&] { return std::lround(Param(106) * 303.0f) == 144; }));
  EXPECT_NE(Notes(), notes) << "new rows in the chosen style at once";
}

TEST_F(ModuleMenus, APresetChosenFromThePresetMenuBecomesTheProgram) {
  UserScript user(host);
  user.When(Levels(1), [&] { SaveShot("menu_presets.png"); });
  user.Keys({"Down", "Down", "Down", "Down", "Down", "Return"}); // the fifth: program 4
  ClickAndRun(kPresetArrow, user);
  ASSERT_TRUE(PumpUntil([&] { return Program() == 4; }));
}

TEST_F(ModuleMenus, TheBankMenuSavesEmptiesAndLoadsWhileTheHostStaysAlive) {
  // A chooser that takes its time, as a user does, then names a file.
  const fs::path bank = fs::path(KEST_X11_SHOTS) / "mine.kst";
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
  std::vector<std::vector<std::uint32_t>> lights;
  const auto stepLights = [&] {
    // The row of step lights (left 75, top 46, 386 x 19).
    const ui::Bitmap b = screen.Capture(kAt + 75, kAt + 46, 386, 19);
    std::vector<std::uint32_t> px;
    for (int x = 0; x < 386; ++x)
      px.push_back(b.ColorAt(x, 9));
    return px;
  };
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
  EXPECT_NE(lights[0], lights[1]) << "the step lights moved while the chooser was open";
}

TEST_F(ModuleMenus, HelpOpensTheManualAndTheAboutWindowDragsByItsStrip) {
  // A browser that notes what it was asked to open.
  const FakeProgram browser(
      "xdg-open",
      "d=\"$(dirname \"$0\")\"; echo \"$1\" > \"$d/o.tmp\"; mv \"$d/o.tmp\" \"$d/opened\"");
  const fs::path opened = browser.dir / "opened";

  {
    UserScript user(host);
    user.When(Levels(1), [&] { SaveShot("menu_help.png"); });
    user.Keys({"Down", "Return"}); // "Help online..."
    ClickAndRun(kHelpButton, user);
  }
  ASSERT_TRUE(PumpUntil([&] { return fs::exists(opened) && fs::file_size(opened) > 0; }, 5000));
  std::string link;
  std::getline(std::ifstream(opened), link);
  const fs::path manual =
      fs::path(KEST_MODULE_PATH).parent_path() / "Kestrelphon-manual/manual.html";
  EXPECT_EQ(link, "file://" + fs::absolute(manual).string()) << "the manual beside the module";
  EXPECT_TRUE(fs::is_regular_file(manual));

  {
    UserScript user(host);
    user.When(Levels(1), [] {});
    user.Keys({"Down", "Down", "Down", "Down", "Return"}); // "About..."
    ClickAndRun(kHelpButton, user);
  }
  // The about window: a managed top-level window of 328 x 240.
  XWindow about = 0;
  const auto findAbout = [&] {
    for (XWindow w : screen.Children(DefaultRootWindow(screen.Dpy()))) {
      const Geometry g = screen.Attributes(w);
      if (!g.overrideRedirect && g.viewable && g.width == 328 && g.height == 240) about = w;
    }
    return about != 0;
  };
  ASSERT_TRUE(PumpUntil(findAbout));
  Pump(200);
  Geometry g = screen.Attributes(about);
  EXPECT_EQ(g.x, kAt + (494 - 328) / 2);
  EXPECT_EQ(g.y, kAt + (383 - 240) / 2);
  SaveShot("about_x11.png");

  // Dragged by its strip: the window follows the pointer until the release.
  UserScript user(host);
  user.Do([&] {
    Xdotool({"mousemove", "--sync", std::to_string(g.x + 150 + 60), std::to_string(g.y + 10 + 40)});
  });
  user.Do([] { Xdotool({"mouseup", "1"}); });
  ASSERT_EQ(Xdotool({"mousemove", "--sync", std::to_string(g.x + 150), std::to_string(g.y + 10)}),
            0);
  ASSERT_EQ(Xdotool({"mousedown", "1"}), 0);
  ASSERT_TRUE(PumpUntil([&] { return user.Done(); }));
  ASSERT_TRUE(PumpUntil([&] {
    const Geometry now = screen.Attributes(about);
    return now.x == g.x + 60 && now.y == g.y + 40;
  })) << "at "
      << screen.Attributes(about).x << ", " << screen.Attributes(about).y;

  // The close button (left 308, top 4) frees it.
  g = screen.Attributes(about);
  ASSERT_EQ(Xdotool({"mousemove", "--sync", std::to_string(g.x + 316), std::to_string(g.y + 11)}),
            0);
  ASSERT_EQ(Xdotool({"click", "1"}), 0);
  EXPECT_TRUE(PumpUntil([&] { return !screen.Viewable(about); }));
}

} // namespace
} // namespace kest::x11test
