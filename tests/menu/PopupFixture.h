#pragma once
// Real popup menus on the headless screen. A menu runs its own loop, so a
// test scripts the user beforehand: each step runs when the loop has
// nothing left to do, and a menu still open after the last step fails the
// test instead of hanging it.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "uKestMenu_popup.h"
#include "uKestPopupMenu.h"
#include "ui/headless/HeadlessBackend.h"

namespace kest::menu::test {

class PopupTest : public ::testing::Test {
protected:
  explicit PopupTest(kest::ui::headless::HeadlessConfig config = Quiet());
  // Menus that neither slide nor wait for submenus beyond the usual delay.
  static kest::ui::headless::HeadlessConfig Quiet();
  void SetUp() override;
  void TearDown() override;

  // The next thing the user does while the menu is open.
  void Then(std::function<void()> step);

  // The open levels, the root first.
  TKestView* Level(int i);
  int LevelCount();
  kest::ui::Rect Bounds(int level);
  // The middle of an item's row, on the screen.
  kest::ui::Point Centre(int level, const TKestCustomItem* item);
  void ClickOn(int level, const TKestCustomItem* item);
  std::string Selected(int level);
  // The popup windows on the screen.
  int PopupWindowCount();

  TKestItem* Item(const std::u16string& caption, TKestCustomItem* parent = nullptr);
  TKestSubmenuItem* Submenu(const std::u16string& caption, TKestCustomItem* parent = nullptr);

  kest::ui::headless::HeadlessScreen screen;
  TKestPopupMenu* menu = nullptr;
  std::vector<std::string> clicks;

private:
  bool Step();
  std::deque<std::function<void()>> fSteps;
};

} // namespace kest::menu::test
