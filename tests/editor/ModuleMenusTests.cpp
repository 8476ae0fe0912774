// The shipped module's menus as a user has them, on Linux and on Windows
// alike: each opened from its button with a real click, walked with real
// keys and an item chosen, while the plug-in holds the host's user-interface
// thread in the menu's loop and asks the host for its idle processing, which
// is where these tests act. And the about window the help menu opens.
#include <cmath>

#include "ModuleEditorFixture.h"

namespace kest::editortest {
namespace {

class ModuleMenus : public ModuleEditor {
protected:
  void SetUp() override {
    ModuleEditor::SetUp();
    if (!IsSkipped() && !HasFatalFailure()) OpenEditor();
  }
  std::vector<float> Notes() {
    std::vector<float> notes;
    for (int c = 0; c < 3; ++c)
      for (int i = 23; i < 39; ++i)
        notes.push_back(Param(i + 32 * c));
    return notes;
  }
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

TEST_F(ModuleMenus, TheAboutWindowOpensOverTheEditorDragsByItsStripAndCloses) {
  {
    UserScript user(host);
    user.When(Levels(1), [&] { SaveShot("menu_help.png"); });
    user.Keys({"Down", "Down", "Down", "Down", "Return"}); // "About..."
    ClickAndRun(kHelpButton, user);
  }
  // The about window: a shown top-level window of 328 x 240 of its own.
  ScreenWindow about;
  const auto aboutShown = [&] {
    for (const ScreenWindow& w : desk.TopLevels()) {
      if (!w.menu && w.width == 328 && w.height == 240) {
        about = w;
        return true;
      }
    }
    return false;
  };
  ASSERT_TRUE(PumpUntil(aboutShown));
  Pump(200);
  const ui::Point centred = OnScreen({(kEditorWidth - 328) / 2, (kEditorHeight - 240) / 2});
  ScreenWindow g = desk.Where(about.id);
  EXPECT_EQ(g.x, centred.x);
  EXPECT_EQ(g.y, centred.y);
  SaveShot("about.png");

  // Dragged by its strip: the window follows the pointer until the release.
  UserScript user(host);
  user.Do([&] { desk.MoveTo(g.x + 150 + 60, g.y + 10 + 40); });
  user.Do([&] { desk.Release(); });
  desk.MoveTo(g.x + 150, g.y + 10);
  desk.Press();
  ASSERT_TRUE(PumpUntil([&] { return user.Done(); }));
  ASSERT_TRUE(PumpUntil([&] {
    const ScreenWindow now = desk.Where(about.id);
    return now.x == g.x + 60 && now.y == g.y + 40;
  })) << "at " << desk.Where(about.id).x << ", " << desk.Where(about.id).y;

  // The close button (left 308, top 4) closes it.
  g = desk.Where(about.id);
  desk.MoveTo(g.x + 316, g.y + 11);
  Pump(50);
  desk.Click();
  EXPECT_TRUE(PumpUntil([&] { return !aboutShown(); }));
}

} // namespace
} // namespace kest::editortest
