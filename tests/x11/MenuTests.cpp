// Popup menus under a real X server inside a host's window: opened by a
// real click on a drop-down button, walked with the keyboard, submenus
// flipped at the screen's edge, clicks outside handed back to the host,
// and a grab the host holds closing the menu.
#include <chrono>
#include <deque>
#include <filesystem>

#include "TKestButton.h"
#include "XServer.h"
#include "uKestMenu_popup.h"
#include "uKestPopupMenu.h"
#include "uKestSkins.h"
#include "ui/gfx/Png.h"
#include "ui/gfx/Utf.h"
#include "ui/toolkit/Application.h"
#include "ui/toolkit/Form.h"
#include "ui/win/ModalLoop.h"
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

// What the user does while a menu runs its own loop: each step waits for
// its moment (checked at the loop's idle work), then acts. A menu still
// open at the deadline is closed and the test fails.
class MenuScript {
public:
  explicit MenuScript(int timeoutMs = 8000)
      : fDeadline(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)),
        fId(AddModalIdleHandler([this] { Tick(); })) {}
  ~MenuScript() { RemoveModalIdleHandler(fId); }

  void When(std::function<bool()> ready, std::function<void()> act) {
    fSteps.push_back({std::move(ready), std::move(act)});
  }
  bool Done() const { return fSteps.empty(); }
  bool TimedOut() const { return fTimedOut; }
  int Idles() const { return fIdles; }

private:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
  };
  void Tick() {
    ++fIdles;
    // The host answers the menu's idle request with an idle call of its own.
    x11::Idle();
    if (std::chrono::steady_clock::now() > fDeadline) {
      fTimedOut = true;
      InputCancelMode();
      return;
    }
    if (fSteps.empty() || !fSteps.front().ready()) return;
    auto step = std::move(fSteps.front());
    fSteps.pop_front();
    step.act();
  }
  std::deque<Step> fSteps;
  std::chrono::steady_clock::time_point fDeadline;
  bool fTimedOut = false;
  int fIdles = 0;
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

class Menus : public X11Test {
protected:
  void SetUp() override {
    X11Test::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    LoadSharedSkins();
  }
  void TearDown() override {
    delete form;
    form = nullptr;
    X11Test::TearDown();
  }

  // A host window with the editor's face in it and a drop-down button
  // at (bx, 4) opening the test menu.
  void OpenEditorAt(int x, int y, int width, int bx) {
    hostWindow = host->CreateWindow(x, y, width, 120);
    const WindowHandle standIn = x11::WrapForeignWindow(hostWindow);
    ASSERT_NE(standIn, 0u);
    App().SetHandle(standIn);
    form = new Form(nullptr);
    form->SetParentWindow(standIn);
    form->SetBounds(0, 0, width, 120);
    form->OnPaint = [this](Component*) { form->GetCanvas().Draw(0, 0, *SkinEditor); };
    button = new TKestButton(form);
    button->SetParent(form);
    button->SetBounds(bx, 4, TKestButton::kWidth, TKestButton::kHeight);
    menu = new TKestPopupMenu(form);
    BuildTestMenu();
    button->SetDropDownMenu(menu);
    form->Show();
    const auto ours = static_cast<Window>(x11::NativeWindowId(standIn));
    ASSERT_TRUE(PumpUntil([&] { return host->Viewable(ours); }));
  }

  // A small style menu for the test: scales and chords in submenus.
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

  // A real click there; xdotool waits for a move that is needed only.
  void ClickAt(Point p) {
    ::Display* d = host->Dpy();
    Window root = 0, child = 0;
    int x = 0, y = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, &x, &y, &wx, &wy, &mask);
    if (x != p.x || y != p.y) {
      ASSERT_EQ(Xdotool({"mousemove", "--sync", Num(p.x), Num(p.y)}), 0);
    }
    ASSERT_EQ(Xdotool({"click", "1"}), 0);
  }
  void ClickButton() { ClickAt(button->ClientToScreen({10, 10})); }
  static bool Shown(std::size_t levels) {
    const auto l = Levels();
    if (l.size() != levels) return false;
    for (TKestPopupWindow* w : l)
      if (!IsWindowVisible(w->Handle())) return false;
    return true;
  }
  bool Viewable(std::size_t levels) {
    if (!Shown(levels)) return false;
    for (TKestPopupWindow* w : Levels()) {
      const auto xid = static_cast<Window>(x11::NativeWindowId(w->Handle()));
      if (!xid || !host->Viewable(xid)) return false;
    }
    return !kest::PopupAnimating();
  }
  bool HostCanGrab() {
    ::Display* d = host->Dpy();
    const int r = XGrabPointer(d, DefaultRootWindow(d), False, ButtonPressMask, GrabModeAsync,
                               GrabModeAsync, 0, 0, CurrentTime);
    if (r == GrabSuccess) XUngrabPointer(d, CurrentTime);
    host->Sync();
    return r == GrabSuccess;
  }
  static void Keys(std::vector<std::string> keys) {
    keys.insert(keys.begin(), "key");
    ASSERT_EQ(Xdotool(keys), 0);
  }

  Window hostWindow = 0;
  Form* form = nullptr;
  TKestButton* button = nullptr;
  TKestPopupMenu* menu = nullptr;
  std::vector<std::string> chosen;
};

TEST_F(Menus, ARealClickOpensItTheKeyboardWalksItAndTheChoiceRunsAfterwards) {
  OpenEditorAt(60, 60, 494, 77);
  MenuScript script;
  script.When([&] { return Viewable(1); }, [&] { Keys({"Down", "Right"}); });
  script.When([&] { return Viewable(2); }, [&] { Keys({"Down", "Down", "Right"}); });
  script.When([&] { return Viewable(3); }, [&] { Keys({"Down", "Return"}); });
  ClickButton();
  ASSERT_TRUE(PumpUntil([&] { return !chosen.empty(); }, 10000));
  EXPECT_FALSE(script.TimedOut());
  EXPECT_TRUE(script.Done());
  EXPECT_GT(script.Idles(), 0) << "the host had its idle while the menu was open";
  EXPECT_EQ(chosen, std::vector<std::string>{"Lydian"});
  EXPECT_TRUE(Levels().empty());
  EXPECT_EQ(GetCaptureWnd(), 0u);
  EXPECT_FALSE(InModalLoop());
}

TEST_F(Menus, AClickOutsideClosesItAndReachesTheHostsWindowThere) {
  OpenEditorAt(60, 60, 494, 77);
  const Window track = host->CreateWindow(60, 400, 300, 100);
  XSelectInput(host->Dpy(), track, ButtonPressMask | ButtonReleaseMask);
  host->Sync();
  MenuScript script;
  script.When([&] { return Viewable(1); }, [&] { ClickAt({200, 450}); });
  ClickButton();
  ASSERT_TRUE(PumpUntil([&] { return script.Done() && Levels().empty(); }));
  XEvent press{}, release{};
  const bool pressed = PumpUntil(
      [&] { return XCheckTypedWindowEvent(host->Dpy(), track, ButtonPress, &press) != 0; });
  ASSERT_TRUE(pressed) << "the host's window never heard the click";
  EXPECT_EQ(press.xbutton.x, 140);
  EXPECT_EQ(press.xbutton.y, 50);
  EXPECT_EQ(press.xbutton.button, 1u);
  EXPECT_TRUE(PumpUntil(
      [&] { return XCheckTypedWindowEvent(host->Dpy(), track, ButtonRelease, &release) != 0; }))
      << "nor its release";
  EXPECT_TRUE(chosen.empty());
  EXPECT_TRUE(HostCanGrab()) << "our grab is gone";
}

TEST_F(Menus, NearTheScreensRightEdgeSubmenusOpenOnTheLeft) {
  // The button sits a few pixels from the right edge of the 1024-pixel screen.
  OpenEditorAt(1024 - 494, 200, 494, 494 - 30);
  MenuScript script;
  Bitmap shot;
  std::vector<Rect> rects;
  script.When([&] { return Viewable(1); }, [&] { Keys({"Down", "Right"}); });
  script.When([&] { return Viewable(2); }, [&] { Keys({"Up", "Right"}); });
  script.When([&] { return Viewable(3); },
              [&] {
                x11::Idle();
                for (TKestPopupWindow* w : Levels())
                  rects.push_back(GetWindowScreenRect(w->Handle()));
                shot = host->Capture(0, 0, 1024, 768);
                Keys({"Escape", "Escape", "Escape"});
              });
  ClickButton();
  ASSERT_TRUE(PumpUntil([&] { return script.Done() && Levels().empty(); }));
  ASSERT_EQ(rects.size(), 3u);
  std::filesystem::create_directories(KEST_X11_SHOTS);
  SavePng(shot, std::string(KEST_X11_SHOTS) + "/menu_submenus_left.png");
  EXPECT_LE(rects[0].right, 1024);
  EXPECT_EQ(rects[1].right, rects[0].left + 6) << "the submenu turned left";
  EXPECT_EQ(rects[2].right, rects[1].left + 6) << "and its own submenu followed";
  // What the server shows there is the menu: its dark fill inside the frame.
  const Rect r = rects[2];
  EXPECT_EQ(shot.ColorAt(r.left, r.top + r.Height() / 2), Rgb(134, 142, 155));
  EXPECT_EQ(shot.ColorAt(r.left + 3, r.bottom - 4), Rgb(18, 23, 29));
  EXPECT_TRUE(chosen.empty());
}

TEST_F(Menus, AGrabTheHostHoldsClosesTheMenuAtOnce) {
  OpenEditorAt(60, 60, 494, 77);
  ::Display* d = host->Dpy();
  ASSERT_EQ(XGrabPointer(d, DefaultRootWindow(d), False, ButtonPressMask, GrabModeAsync,
                         GrabModeAsync, 0, 0, CurrentTime),
            GrabSuccess);
  host->Sync();
  MenuScript script(3000);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(menu->PopupEx(300, 200, false), nullptr);
  const auto took = std::chrono::steady_clock::now() - start;
  XUngrabPointer(d, CurrentTime);
  host->Sync();
  EXPECT_FALSE(script.TimedOut()) << "the menu stayed open without the mouse";
  EXPECT_LT(took, std::chrono::seconds(1));
  EXPECT_TRUE(Levels().empty());
  EXPECT_EQ(GetCaptureWnd(), 0u);
  // The editor works on: a real click opens the menu, which then closes.
  script.When([&] { return Viewable(1); }, [&] { Keys({"Escape"}); });
  ClickButton();
  EXPECT_TRUE(PumpUntil([&] { return script.Done() && Levels().empty(); }));
}

} // namespace
} // namespace kest::x11test
