// The editor's popup menus under a private X server, with the editor open
// in the host harness's window: a real click on a drop-down button, the
// keyboard walking the menu into a submenu and choosing, a click outside
// handed back to the host, submenus turning left at the screen's edge, the
// step light moving while a menu is open, and a grab the host holds.
// The menus here are a small test menu: the editor's own come later.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "AtspiSession.h"
#include "EditorFixture.h"
#include "EditorRegistration.h"
#include "EditorWindow.h"
#include "Playback.h"
#include "TPlugin.h"
#include "UserSteps.h"
#include "XServer.h"
#include "uKestMenu_popup.h"
#include "uKestPopupMenu.h"
#include "uKestSkins.h"
#include "ui/gfx/Png.h"
#include "ui/windowing/ModalLoop.h"
#include "ui/x11/X11Backend.h"

// Xlib last, in a block of its own.
#include "XlibLast.h"

namespace kest::x11test {
namespace {

using namespace kest::ui;
using kest::menu::TKestPopupMenu;
using kest::menu::TKestPopupWindow;
using kest::menu::TKestView;

std::string Num(int v) {
  return std::to_string(v);
}

bool StartX11() {
  return x11::Install(Display().c_str());
}

// What the user does while a menu runs its own loop, looked at in the
// loop's idle work. A menu still open at the deadline is closed, and the
// test fails.
class MenuScript : public UserSteps {
public:
  explicit MenuScript(int timeoutMs = 8000)
      : UserSteps(timeoutMs),
        fId(AddModalIdleHandler([this] { Tick([] { InputCancelMode(); }); })) {}
  ~MenuScript() { RemoveModalIdleHandler(fId); }
  MenuScript(const MenuScript&) = delete;
  MenuScript& operator=(const MenuScript&) = delete;

private:
  ModalIdleId fId;
};

// The open menu levels, the root first.
std::vector<TKestPopupWindow*> Levels() {
  std::vector<TKestPopupWindow*> out;
  for (WindowHandle h : GetTopLevelWindows()) {
    auto* w = dynamic_cast<TKestPopupWindow*>(WinControl::FindControl(h));
    if (!w || w->View()->ParentView()) continue;
    for (TKestView* v = w->View(); v; v = v->OpenViewerView())
      out.push_back(static_cast<TKestPopupWindow*>(v->Window()));
  }
  return out;
}

class EditorMenus : public ::testing::Test {
protected:
  void SetUp() override {
    KEST_NEED_X();
    InstallBackend(nullptr);
    other = std::make_unique<Host>(); // first: the backend keeps its error handler for it
    LoadSharedSkins();
    RegisterEditor(&StartX11);
    ASSERT_NE(host.Open(&test::PluginEntry), nullptr);
    host.SetSampleRate(44100.0f);
    // This host answers the plug-in's idle request with an idle call.
    host.SetEditIdleOnIdleRequest(true);
  }
  void TearDown() override {
    playback.reset();
    window.reset();
    host.Close();
    UnregisterEditor();
    InstallBackend(nullptr);
    other.reset();
  }

  // The editor in the harness's window at (x, y), its buttons opening the
  // test menu.
  void OpenEditorAt(int x, int y) {
    window = std::make_unique<kest::host::EditorWindow>(host, Display().c_str(), x, y);
    form = static_cast<TPluginEditor*>(
               static_cast<TPlugin*>(AudioEffect::FromEffect(host.Effect()))->EditorHost())
               ->Form();
    ASSERT_NE(form, nullptr);
    menu = new TKestPopupMenu(form);
    BuildTestMenu();
    form->SetDropDownMenus(menu, nullptr, nullptr, menu);
    ASSERT_TRUE(PumpUntil([&] { return other->Children(window->Window()).size() == 1; }));
    const XWindow ours = other->Children(window->Window())[0];
    ASSERT_TRUE(PumpUntil([&] { return other->Viewable(ours); }));
  }

  // A small style menu: scales and chords in submenus.
  void BuildTestMenu() {
    auto log = [this](const char* what) {
      return [this, what](Component*) { chosen.push_back(what); };
    };
    auto* scales = menu->AddSubmenuItem(nullptr, u"&Scales");
    menu->AddRadioItem(scales, u"&Major", 0, log("Major"), 1);
    menu->AddRadioItem(scales, u"M&inor", 1, log("Minor"), 1);
    auto* modes = menu->AddSubmenuItem(scales, u"M&odes");
    menu->AddRadioItem(modes, u"&Dorian", 2, log("Dorian"), 1);
    menu->AddRadioItem(modes, u"&Lydian", 3, log("Lydian"), 1);
    auto* chords = menu->AddSubmenuItem(nullptr, u"&Chords");
    menu->AddRadioItem(chords, u"&Triad", 4, log("Triad"), 1);
    menu->AddSeparatorItem(nullptr);
    menu->AddItem(nullptr, u"&Random", log("Random"), 5);
  }

  // The host's idle calls, as a host makes them between its own work.
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      window->Idle();
      if (done()) return true;
      if (std::chrono::steady_clock::now() >= end) return false;
      WaitMsg(10);
    }
  }

  // A real click there; xdotool waits only for a move that is needed.
  void ClickAt(Point p) {
    ::Display* d = other->Dpy();
    Window root = 0, child = 0;
    int x = 0, y = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, &x, &y, &wx, &wy, &mask);
    if (x != p.x || y != p.y) {
      ASSERT_EQ(Xdotool({"mousemove", "--sync", Num(p.x), Num(p.y)}), 0);
    }
    ASSERT_EQ(Xdotool({"click", "1"}), 0);
  }
  void ClickOn(const Control* c) { ClickAt(c->ClientToScreen({10, 10})); }
  static void Keys(std::vector<std::string> keys) {
    keys.insert(keys.begin(), "key");
    ASSERT_EQ(Xdotool(keys), 0);
  }
  // The menu shows that many levels, on the server too, none still sliding.
  bool Viewable(std::size_t levels) {
    const auto l = Levels();
    if (l.size() != levels) return false;
    for (TKestPopupWindow* w : l) {
      const auto xid = static_cast<XWindow>(x11::NativeWindowId(w->Handle()));
      if (!IsWindowVisible(w->Handle()) || !xid || !other->Viewable(xid)) return false;
    }
    return !kest::PopupAnimating();
  }
  bool HostCanGrab() {
    ::Display* d = other->Dpy();
    const int r = XGrabPointer(d, DefaultRootWindow(d), False, ButtonPressMask, GrabModeAsync,
                               GrabModeAsync, 0, 0, CurrentTime);
    if (r == GrabSuccess) XUngrabPointer(d, CurrentTime);
    other->Sync();
    return r == GrabSuccess;
  }
  static void Save(const Bitmap& b, const std::string& name) {
    std::filesystem::create_directories(KEST_X11_SHOTS);
    SavePng(b, std::string(KEST_X11_SHOTS) + "/" + name);
  }

  std::unique_ptr<Host> other; // the host's own connection, for looking
  kest::host::VstHost host;
  std::unique_ptr<kest::host::EditorWindow> window;
  std::unique_ptr<kest::host::Playback> playback;
  TFrmEditor* form = nullptr;
  TKestPopupMenu* menu = nullptr;
  std::vector<std::string> chosen;
};

TEST_F(EditorMenus, ARealClickOpensTheStyleMenuTheKeyboardChoosesInASubmenu) {
  OpenEditorAt(60, 60);
  MenuScript script;
  script.When([&] { return Viewable(1); }, [&] { Keys({"Down", "Right"}); });
  script.When([&] { return Viewable(2); }, [&] { Keys({"Down", "Down", "Right"}); });
  script.When([&] { return Viewable(3); }, [&] { Keys({"Down", "Return"}); });
  ClickOn(form->BtMnu);
  ASSERT_TRUE(PumpUntil([&] { return !chosen.empty(); }, 10000));
  EXPECT_FALSE(script.TimedOut());
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(chosen, std::vector<std::string>{"Lydian"});
  EXPECT_TRUE(Levels().empty());
  EXPECT_EQ(GetCaptureWnd(), 0u);
  EXPECT_GT(host.CallCount(audioMasterIdle), 0) << "the host had its idle while the menu was open";
  EXPECT_EQ(menu->PopupComponent(), form->BtMnu);
}

TEST_F(EditorMenus, AClickOutsideClosesTheMenuAndReachesTheHostsWindowThere) {
  OpenEditorAt(60, 60);
  const XWindow track = other->CreateWindow(60, 500, 300, 100);
  XSelectInput(other->Dpy(), track, ButtonPressMask | ButtonReleaseMask);
  other->Sync();
  MenuScript script;
  script.When([&] { return Viewable(1); }, [&] { ClickAt({200, 550}); });
  ClickOn(form->BtMnu);
  ASSERT_TRUE(PumpUntil([&] { return script.Done() && Levels().empty(); }));
  XEvent press{}, release{};
  ASSERT_TRUE(PumpUntil([&] {
    return XCheckTypedWindowEvent(other->Dpy(), track, ButtonPress, &press) != 0;
  })) << "the host's window never heard the click";
  EXPECT_EQ(press.xbutton.x, 140);
  EXPECT_EQ(press.xbutton.y, 50);
  EXPECT_EQ(press.xbutton.button, 1u);
  EXPECT_TRUE(PumpUntil([&] {
    return XCheckTypedWindowEvent(other->Dpy(), track, ButtonRelease, &release) != 0;
  })) << "nor its release";
  EXPECT_TRUE(chosen.empty());
  EXPECT_TRUE(HostCanGrab()) << "our grab is gone";
}

TEST_F(EditorMenus, NearTheScreensRightEdgeSubmenusOpenOnTheLeft) {
  // The editor against the right edge of the 1024-pixel screen; its help
  // button, far right, opens the menu.
  OpenEditorAt(1024 - 494, 200);
  MenuScript script;
  Bitmap shot;
  std::vector<Rect> rects;
  script.When([&] { return Viewable(1); }, [&] { Keys({"Down", "Right"}); });
  script.When([&] { return Viewable(2); }, [&] { Keys({"Up", "Right"}); });
  script.When([&] { return Viewable(3); },
              [&] {
                for (TKestPopupWindow* w : Levels())
                  rects.push_back(GetWindowScreenRect(w->Handle()));
                shot = other->Capture(0, 0, 1024, 768);
                Keys({"Escape", "Escape", "Escape"});
              });
  ClickOn(form->BtHelp);
  ASSERT_TRUE(PumpUntil([&] { return script.Done() && Levels().empty(); }));
  ASSERT_EQ(rects.size(), 3u);
  Save(shot, "menu_submenus_left.png");
  EXPECT_LE(rects[0].right, 1024);
  EXPECT_EQ(rects[1].right, rects[0].left + 6) << "the submenu turned left";
  EXPECT_EQ(rects[2].right, rects[1].left + 6) << "and its own submenu followed";
  // The server shows the menu there: its frame, and its fill inside.
  const Rect r = rects[2];
  EXPECT_EQ(shot.ColorAt(r.left, r.top + r.Height() / 2), Rgb(134, 142, 155));
  EXPECT_EQ(shot.ColorAt(r.left + 3, r.bottom - 4), Rgb(18, 23, 29));
  EXPECT_TRUE(chosen.empty());
}

TEST_F(EditorMenus, TheStepLightKeepsMovingWhileAMenuIsOpen) {
  OpenEditorAt(60, 60);
  host.Time().tempo = 120.0;
  host.Time().playing = true;
  playback = std::make_unique<kest::host::Playback>(host, [](float* l, float* r, int32_t n) {
    for (int32_t i = 0; i < n; ++i)
      l[i] = r[i] = 0.1f;
  });
  // The step light's strip of the editor (x 75 ... 459, y 46 ... 50).
  const Rect leds = Rect::FromSize(60 + 70, 60 + 40, 400, 16);
  std::vector<Bitmap> shots;
  const auto shoot = [&] { shots.push_back(other->Capture(leds.left, leds.top, 400, 16)); };
  MenuScript script;
  script.When([&] { return Viewable(1); }, shoot);
  const auto later = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
  script.When([&] { return std::chrono::steady_clock::now() > later; },
              [&] {
                shoot();
                Save(other->Capture(0, 0, 1024, 768), "menu_open_while_playing.png");
                Keys({"Escape"});
              });
  ClickOn(form->BtMnu);
  ASSERT_TRUE(PumpUntil([&] { return script.Done() && Levels().empty(); }));
  ASSERT_EQ(shots.size(), 2u);
  Save(shots[0], "step_light_menu_open_1.png");
  Save(shots[1], "step_light_menu_open_2.png");
  int differing = 0;
  for (int y = 0; y < shots[0].Height(); ++y)
    for (int x = 0; x < shots[0].Width(); ++x)
      differing += shots[0].PixelAt(x, y) != shots[1].PixelAt(x, y);
  EXPECT_GT(differing, 0) << "the light stood still while the menu was open";
}

TEST_F(EditorMenus, AGrabTheHostHoldsClosesTheMenuAtOnce) {
  OpenEditorAt(60, 60);
  ::Display* d = other->Dpy();
  ASSERT_EQ(XGrabPointer(d, DefaultRootWindow(d), False, ButtonPressMask, GrabModeAsync,
                         GrabModeAsync, 0, 0, CurrentTime),
            GrabSuccess);
  other->Sync();
  MenuScript script(3000);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(menu->PopupEx(300, 200, false), nullptr);
  const auto took = std::chrono::steady_clock::now() - start;
  XUngrabPointer(d, CurrentTime);
  other->Sync();
  EXPECT_FALSE(script.TimedOut()) << "the menu stayed open without the mouse";
  EXPECT_LT(took, std::chrono::seconds(1));
  EXPECT_TRUE(Levels().empty());
  EXPECT_EQ(GetCaptureWnd(), 0u);
  // The editor works on: a real click opens the menu, which then closes.
  script.When([&] { return Viewable(1); }, [&] { Keys({"Escape"}); });
  ClickOn(form->BtMnu);
  EXPECT_TRUE(PumpUntil([&] { return script.Done() && Levels().empty(); }));
}

// A screen reader on a private accessibility bus finds the open menu,
// reads its items, follows the selection the keyboard moves, and chooses
// an item through its action.
TEST_F(EditorMenus, AScreenReaderReadsFollowsAndChoosesOnTheAccessibilityBus) {
  AtspiSession bus;
  if (!bus.Missing().empty()) GTEST_SKIP() << bus.Missing();
  OpenEditorAt(60, 60);
  const std::filesystem::path dir = std::filesystem::path(KEST_TEST_OUTPUT_DIR) / "atspi";
  std::filesystem::create_directories(dir);
  const std::string result = (dir / "result.txt").string(), ready = (dir / "ready").string();
  std::filesystem::remove(result);
  std::filesystem::remove(ready);
  pid_t client = 0;
  MenuScript script(20000);
  script.When([&] { return Viewable(1); },
              [&] { client = Spawn({kSystemPython, KEST_ATSPI_CLIENT, result, ready, "Chords", "Random"}); });
  script.When([&] { return std::filesystem::exists(ready); }, [&] { Keys({"Down", "Down"}); });
  ClickOn(form->BtMnu);
  ASSERT_TRUE(PumpUntil([&] { return !chosen.empty() || Ended(client); }, 25000));
  EXPECT_TRUE(PumpUntil([&] { return Ended(client); }, 5000)) << "the client never finished";
  Stop(client);
  EXPECT_FALSE(script.TimedOut());
  EXPECT_EQ(chosen, std::vector<std::string>{"Random"});
  std::ifstream in(result);
  std::stringstream text;
  text << in.rdbuf();
  const std::string common = "enabled focusable selectable sensitive showing visible";
  EXPECT_EQ(text.str(),
            "menu||menu|enabled sensitive showing visible\n"
            "item|Scales|menu item|enabled focusable has-popup selectable sensitive showing "
            "visible\n"
            "item|Chords|menu item|enabled focusable has-popup selectable sensitive showing "
            "visible\n"
            "item||separator|showing visible\n"
            "item|Random|menu item|" + common + "\n"
            "followed|Chords\n"
            "action|Execute|r|True\n");
}

} // namespace
} // namespace kest::x11test
