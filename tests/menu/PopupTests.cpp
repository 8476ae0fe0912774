// Popup menus run as the user meets them: opened at a point, walked with
// the mouse and the keys, placed on the monitor, and closed in every way a
// menu closes.
#include "PopupFixture.h"
#include "TKestButton.h"
#include "ViewFixture.h"
#include "uKestAccEvents.h"
#include "uKestSkins.h"
#include "ui/gfx/Png.h"
#include "ui/gfx/Utf.h"
#include "ui/toolkit/Application.h"
#include "ui/toolkit/Form.h"
#include "ui/toolkit/Timer.h"
#include "ui/windowing/ModalLoop.h"

namespace kest::menu::test {
namespace {

using namespace kest::ui;

using Popups = PopupTest;

TEST_F(Popups, TheOpeningReleaseStaysAndALaterReleaseOutsideClosesWithoutAClick) {
  auto* a = Item(u"Alpha");
  Item(u"Beta");
  screen.MoveTo({190, 90});
  Then([&] { screen.Release(); }); // the release of the press that opened it
  Then([&] {
    EXPECT_EQ(LevelCount(), 1);
    screen.MoveTo(Centre(0, a));
    screen.Press();
  });
  Then([&] {
    EXPECT_EQ(Selected(0), "Alpha");
    screen.MoveTo({150, 60});
    screen.Release();
  });
  EXPECT_EQ(menu->PopupEx(200, 100, false), nullptr);
  screen.Pump();
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(PopupWindowCount(), 0);
  EXPECT_EQ(GetCaptureWnd(), 0u);
}

TEST_F(Popups, APressOutsideClosesTheMenuAndReachesTheWindowBelow) {
  Form below(nullptr);
  below.SetBounds(0, 0, 600, 400);
  std::vector<Point> presses;
  below.OnMouseDown = [&](Component*, MouseButton, ShiftState, int x, int y) {
    presses.push_back({x, y});
  };
  below.Show();
  below.SetFocus();
  screen.Pump();
  Item(u"Alpha");
  Then([&] { screen.Click({500, 300}); });
  menu->Popup(200, 100);
  EXPECT_EQ(PopupWindowCount(), 0);
  EXPECT_TRUE(presses.empty()) << "not while the menu was open";
  screen.Pump();
  EXPECT_EQ(presses, (std::vector<Point>{{500, 300}}));
}

TEST_F(Popups, NearTheBottomOrRightEdgeAMenuOpensUpwardsOrLeftwards) {
  Item(u"Alpha");
  Item(u"Beta");
  Rect shown;
  auto closeAfterLooking = [&] {
    Then([&] {
      shown = Bounds(0);
      screen.Key(VK_ESCAPE);
    });
  };
  closeAfterLooking();
  menu->Popup(300, 200);
  EXPECT_EQ(shown.TopLeft(), (Point{300, 200})) << "room enough: below and right of the point";
  closeAfterLooking();
  menu->Popup(300, 1010);
  EXPECT_EQ(shown.bottom, 1010);
  EXPECT_EQ(shown.left, 300);
  closeAfterLooking();
  menu->Popup(1270, 200);
  EXPECT_EQ(shown.right, 1270);
  EXPECT_EQ(shown.top, 200);
  // Right-aligned menus end at the point, and turn when that leaves the monitor.
  menu->SetAlignment(tbpaRight);
  closeAfterLooking();
  menu->Popup(300, 200);
  EXPECT_EQ(shown.right, 300);
  closeAfterLooking();
  menu->Popup(10, 200);
  EXPECT_EQ(shown.left, 10);
}

class PopupsOnASmallScreen : public PopupTest {
protected:
  static headless::HeadlessConfig Small() {
    headless::HeadlessConfig c = Quiet();
    c.monitors = {{{0, 0, 330, 300}, {0, 0, 330, 280}}};
    return c;
  }
  PopupsOnASmallScreen() : PopupTest(Small()) {}
};

TEST_F(PopupsOnASmallScreen, SubmenusThatDoNotFitOpenOnTheLeftAndTheirChildrenFollow) {
  auto* tools = Submenu(u"Tools");
  Item(u"Other");
  auto* more = Submenu(u"More tools", tools);
  Item(u"Hammer", tools);
  auto* most = Submenu(u"Most tools", more);
  Item(u"Saw", more);
  Item(u"Chisel", most);
  Rect r0, r1, r2, r3;
  Then([&] { ClickOn(0, tools); });
  Then([&] { ClickOn(1, more); });
  Then([&] { ClickOn(2, most); });
  Then([&] {
    ASSERT_EQ(LevelCount(), 4);
    r0 = Bounds(0);
    r1 = Bounds(1);
    r2 = Bounds(2);
    r3 = Bounds(3);
    const Bitmap shot = screen.Screenshot();
    SavePng(shot, OutputPath("submenus-flipped-left.png"));
    EXPECT_TRUE(Level(1)->State().Contains(vsOppositePopup));
    EXPECT_TRUE(Level(2)->State().Contains(vsOppositePopup));
    EXPECT_FALSE(Level(3)->State().Contains(vsOppositePopup));
    screen.Key(VK_F10);
  });
  menu->Popup(240, 40);
  // Each frame overlaps its item by 3 pixels, on the left as on the right.
  EXPECT_EQ(r1.right, r0.left + 6);
  EXPECT_EQ(r1.top, r0.top);
  EXPECT_EQ(r2.right, r1.left + 6) << "the child keeps the side its parent turned to";
  ASSERT_LT(r2.left + 6 - r3.Width(), 0) << "no room left of the third level";
  EXPECT_EQ(r3.left, r2.right - 6) << "so it opens on the right after all";
  EXPECT_EQ(PopupWindowCount(), 0);
}

TEST_F(PopupsOnASmallScreen, ATallSubmenuScrollsOneItemEvery100Milliseconds) {
  auto* many = Submenu(u"Many");
  for (int i = 0; i < 40; ++i)
    Item(u"Item " + Utf8ToUtf16(std::to_string(i)), many);
  std::vector<int> offsets;
  int rowHeight = 0;
  Then([&] { ClickOn(0, many); });
  Then([&] {
    ASSERT_EQ(LevelCount(), 2);
    TKestView* sub = Level(1);
    EXPECT_EQ(Bounds(1).Height(), 300) << "the monitor's height";
    EXPECT_TRUE(sub->ShowDownArrow());
    rowHeight = sub->GetViewer(0)->BoundsRect().Height();
    const Rect client = GetClientRect(sub->Window()->Handle());
    screen.MoveTo(sub->Window()->ClientToScreen({client.right / 2, client.bottom - 5}));
  });
  for (int step : {99, 1, 100, 100}) {
    Then([&, step] {
      offsets.push_back(Level(1)->ScrollOffset());
      screen.Advance(static_cast<std::uint32_t>(step));
    });
  }
  Then([&] {
    offsets.push_back(Level(1)->ScrollOffset());
    screen.Key(VK_MENU);
  });
  menu->Popup(20, 20);
  ASSERT_EQ(offsets.size(), 5u);
  EXPECT_EQ(offsets[0], 0);
  EXPECT_EQ(offsets[1], 0) << "not before 100 ms";
  EXPECT_GT(offsets[2], 0);
  EXPECT_EQ(offsets[2] % rowHeight, offsets[2] - (offsets[2] / rowHeight) * rowHeight);
  EXPECT_EQ(offsets[3] - offsets[2], rowHeight) << "one item per step";
  EXPECT_EQ(offsets[4] - offsets[3], rowHeight);
}

TEST_F(Popups, TheClickRunsAfterPopupReturnsAndPopupExCanReturnTheItemInstead) {
  auto* a = Item(u"Alpha");
  std::vector<std::string> popups;
  menu->OnPopup = [&](Component* s) {
    popups.push_back(s == menu ? "menu" : "?");
    EXPECT_EQ(PopupWindowCount(), 0) << "before the menu shows";
  };
  Then([&] { ClickOn(0, a); });
  EXPECT_EQ(menu->PopupEx(200, 100, false), a);
  EXPECT_TRUE(clicks.empty()) << "posted, not run inside Popup";
  screen.Pump();
  EXPECT_EQ(clicks, (std::vector<std::string>{"Alpha"}));
  EXPECT_EQ(popups, (std::vector<std::string>{"menu"}));
  EXPECT_EQ(menu->PopupPoint(), (Point{200, 100}));

  clicks.clear();
  Then([&] { ClickOn(0, a); });
  EXPECT_EQ(menu->PopupEx(220, 120, true), a);
  screen.Pump();
  EXPECT_TRUE(clicks.empty()) << "returned, never clicked";
}

TEST_F(Popups, ADropDownButtonOpensItBelowAndAClickOnTheButtonClosesIt) {
  LoadSharedSkins();
  Form form(nullptr);
  form.SetBounds(100, 100, 494, 383);
  auto* button = new TKestButton(&form);
  button->SetParent(&form);
  button->SetBounds(77, 288, TKestButton::kWidth, TKestButton::kHeight);
  button->SetDropDownMenu(menu);
  int buttonClicks = 0;
  button->OnClick = [&](Component*) { ++buttonClicks; };
  form.Show();
  screen.Pump();
  Item(u"Alpha");
  int opened = 0;
  menu->OnPopup = [&](Component*) { ++opened; };
  const Point onButton = button->ClientToScreen({10, 10});
  Then([&] {
    EXPECT_EQ(Bounds(0).TopLeft(), button->ClientToScreen({-1, TKestButton::kHeight}));
    EXPECT_EQ(menu->PopupComponent(), button);
    screen.Release(); // the press that opened it
  });
  Then([&] { screen.Click(onButton); });
  screen.MoveTo(onButton);
  screen.Press();
  screen.Pump();
  EXPECT_EQ(opened, 1) << "the click that closed it does not open it again";
  EXPECT_EQ(buttonClicks, 0);
  EXPECT_FALSE(button->Pushed());
  EXPECT_EQ(PopupWindowCount(), 0);
}

TEST_F(Popups, F1AsksForHelpWhileAButtonIsHeldWhenOtherKeysWait) {
  auto* a = Item(u"Alpha");
  a->SetHelpContext(42);
  Item(u"Beta");
  std::vector<std::uint32_t> help;
  App().OnHelp = [&](std::uint32_t id, bool) {
    EXPECT_EQ(PopupWindowCount(), 0) << "the menu is gone first";
    help.push_back(id);
  };
  Then([&] {
    screen.MoveTo(Centre(0, a));
    screen.Press();
  });
  Then([&] { screen.Key(VK_DOWN); });
  Then([&] {
    EXPECT_EQ(Selected(0), "Alpha") << "keys wait while the button is held";
    screen.Key(VK_F1);
  });
  EXPECT_EQ(menu->PopupEx(200, 100, false), nullptr);
  EXPECT_EQ(help, (std::vector<std::uint32_t>{42}));
  screen.Release();
  screen.Pump();
  EXPECT_TRUE(clicks.empty());
}

TEST_F(Popups, OneAcceleratorOnTwoItemsCyclesOnOneItemItRuns) {
  Item(u"&Open");
  Item(u"O&ther");
  Item(u"Sec&ond");
  auto* quit = Item(u"&Quit");
  std::vector<std::string> seen;
  for (int i = 0; i < 3; ++i) {
    Then([&] {
      screen.Type(u"o");
      seen.push_back("");
    });
    Then([&] { seen.back() = Selected(0); });
  }
  Then([&] { screen.Type(u"z"); });
  Then([&] {
    EXPECT_EQ(screen->beeps.size(), 1u) << "no item has it";
    screen.Type(u"q");
  });
  EXPECT_EQ(menu->PopupEx(200, 100, true), quit);
  EXPECT_EQ(seen, (std::vector<std::string>{"&Open", "Sec&ond", "&Open"}));
}

TEST_F(Popups, AltOrF10CloseEveryLevelEscapeOnlyTheDeepest) {
  auto* tools = Submenu(u"Tools");
  Item(u"Hammer", tools);
  for (std::uint16_t closer : {VK_F10, VK_MENU}) {
    Then([&] { screen.Key(VK_DOWN); });
    Then([&] { screen.Key(VK_RIGHT); });
    Then([&] {
      EXPECT_EQ(LevelCount(), 2);
      EXPECT_EQ(Selected(1), "Hammer");
      screen.Key(VK_ESCAPE);
    });
    Then([&] {
      EXPECT_EQ(LevelCount(), 1) << "only the submenu closed";
      EXPECT_EQ(Selected(0), "Tools");
      screen.Key(VK_RIGHT);
    });
    Then([&, closer] {
      EXPECT_EQ(LevelCount(), 2);
      screen.Key(closer);
    });
    EXPECT_EQ(menu->PopupEx(200, 100, false), nullptr);
    EXPECT_EQ(PopupWindowCount(), 0);
  }
  struct {
    std::vector<std::uint32_t> events;
  } recorder;
  for (const auto& e : screen->accEvents)
    recorder.events.push_back(e.event);
  // Start, root, focus on Tools, submenu with its focus, its end, ...
  ASSERT_GE(recorder.events.size(), 4u);
  EXPECT_EQ(recorder.events.front(), EVENT_SYSTEM_MENUSTART);
  EXPECT_EQ(recorder.events[1], EVENT_SYSTEM_MENUPOPUPSTART);
  EXPECT_EQ(recorder.events[2], EVENT_OBJECT_FOCUS);
  EXPECT_EQ(recorder.events.back(), EVENT_SYSTEM_MENUEND);
  EXPECT_EQ(std::count(recorder.events.begin(), recorder.events.end(), EVENT_SYSTEM_MENUPOPUPSTART),
            std::count(recorder.events.begin(), recorder.events.end(), EVENT_SYSTEM_MENUPOPUPEND));
}

TEST_F(Popups, LosingTheMouseClosesTheMenuCleanly) {
  Item(u"Alpha");
  // What a display does when it cannot give the menu the pointer.
  Then([&] { InputCancelMode(); });
  EXPECT_EQ(menu->PopupEx(200, 100, false), nullptr);
  EXPECT_EQ(PopupWindowCount(), 0);
  EXPECT_EQ(GetCaptureWnd(), 0u);
}

TEST_F(Popups, WhileOpenTheHostGetsItsIdleAndOtherTimersRun) {
  Item(u"Alpha");
  int idles = 0;
  bool inLoop = false;
  const ModalIdleId id = AddModalIdleHandler([&] {
    ++idles;
    inLoop = InModalLoop();
  });
  Form other(nullptr);
  Timer timer(&other);
  int ticks = 0;
  timer.SetInterval(50);
  timer.SetOnTimer([&](Component*) { ++ticks; });
  timer.SetEnabled(true);
  for (int i = 0; i < 10; ++i)
    Then([&] { screen.Advance(20); });
  Then([&] { screen.Key(VK_ESCAPE); });
  menu->Popup(200, 100);
  RemoveModalIdleHandler(id);
  EXPECT_GE(idles, 10) << "every 20 ms";
  EXPECT_LE(idles, 12);
  EXPECT_TRUE(inLoop);
  EXPECT_GE(ticks, 3) << "the other window's timer kept its pace";
  EXPECT_FALSE(InModalLoop());
}

class SlidingPopups : public PopupTest {
protected:
  static headless::HeadlessConfig Sliding() {
    headless::HeadlessConfig c = Quiet();
    c.settings.menuAnimation = true;
    return c;
  }
  SlidingPopups() : PopupTest(Sliding()) {}
};

TEST_F(SlidingPopups, AMenuUnfoldsAwayFromThePointAndAKeyboardSubmenuAppearsAtOnce) {
  auto* tools = Submenu(u"Tools");
  Item(u"Hammer", tools);
  screen.MoveTo({10, 10});
  std::vector<TKestAnimationDirection> directions;
  bool sliding = false;
  Then([&] {
    sliding = PopupAnimating();
    auto* w = dynamic_cast<TKestPopupWindow*>(Level(0)->Window());
    directions.push_back(w->AnimationDirection());
    screen.Advance(150);
  });
  Then([&] {
    EXPECT_FALSE(PopupAnimating());
    EXPECT_FALSE(GetWindowRegion(Level(0)->Window()->Handle()).has_value());
    screen.Key(VK_DOWN);
  });
  Then([&] { screen.Key(VK_RIGHT); });
  Then([&] {
    EXPECT_FALSE(PopupAnimating()) << "an item is selected in it";
    screen.Key(VK_F10);
  });
  menu->Popup(300, 200);
  EXPECT_TRUE(sliding);
  Then([&] {
    auto* w = dynamic_cast<TKestPopupWindow*>(Level(0)->Window());
    directions.push_back(w->AnimationDirection());
    screen.Key(VK_ESCAPE);
  });
  menu->Popup(300, 1020);
  ASSERT_EQ(directions.size(), 2u);
  EXPECT_EQ(directions[0], (TKestAnimationDirection{tbadDown, tbadRight}));
  EXPECT_EQ(directions[1], (TKestAnimationDirection{tbadUp, tbadRight}));
}

} // namespace
} // namespace kest::menu::test
