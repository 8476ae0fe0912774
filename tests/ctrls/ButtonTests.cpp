// Push buttons, drop-down menus and the close button.
#include "CtrlsFixture.h"
#include "TKestButton.h"
#include "TKestCloseButton.h"
#include "TestMenu.h"
#include "uKestSkins.h"

namespace kest::test {
namespace {

class Buttons : public CtrlsTest {
protected:
  void Wire(TKestButton* b) {
    b->OnSelect = [this](TKestControl* s, int) {
      log.push_back("select " + std::to_string(int(s->GetValue())));
    };
    b->OnChange = [this](TKestControl* s) {
      log.push_back("change " + std::to_string(int(s->GetValue())));
    };
    b->OnClick = [this](ui::Component*) { log.push_back("click"); };
  }
};

TEST_F(Buttons, PressPushesAndReleaseClicks) {
  auto* b = Place<TKestButton>(77, 262);
  Wire(b);
  PressAt(b, 5, 5);
  EXPECT_TRUE(b->Pushed());
  EXPECT_TRUE(SameBlock(b->ScreenBmp(), 0, 0, *SkinButton, 0, 0, 22, 22)) << "pressed face";
  Release();
  EXPECT_EQ(log, (std::vector<std::string>{"select 0", "change 1", "click"}));
  EXPECT_TRUE(SameBlock(b->ScreenBmp(), 0, 0, *SkinEditor, 77, 262, 22, 22))
      << "face of the editor again";
  log.clear();
  ClickAt(b, 5, 5, ui::MouseButton::Right);
  EXPECT_TRUE(log.empty());
}

TEST_F(Buttons, GlyphSinksOnePixelWhilePressed) {
  auto* b = Place<TKestButton>(77, 262);
  b->SetGlyphResName("KEST_RANDOM");
  ui::Bitmap face(22, 22);
  face.GetCanvas().BitBlt(0, 0, 22, 22, *SkinEditor, 77, 262);
  const ui::Rect up = DifferenceBounds(b->ScreenBmp(), face);
  ASSERT_FALSE(up.IsEmpty());
  PressAt(b, 5, 5);
  ui::Bitmap pressedFace(22, 22);
  pressedFace.GetCanvas().BitBlt(0, 0, 22, 22, *SkinButton, 0, 0);
  EXPECT_EQ(DifferenceBounds(b->ScreenBmp(), pressedFace),
            up.Offset(1, 1).Intersect({0, 0, 22, 22}));
  Release();
  EXPECT_EQ(DifferenceBounds(b->ScreenBmp(), face), up);
  EXPECT_THROW(b->SetGlyphResName("NO_SUCH_GLYPH"), std::exception);
}

TEST_F(Buttons, DropDownOpensBelowAndTheClosingClickOnTheButtonIsSwallowed) {
  auto* b = Place<TKestButton>(77, 288);
  auto* menu = new TestMenu(form);
  b->SetDropDownMenu(menu);
  Wire(b);
  // While the menu is open the user clicks the button again.
  menu->whileOpen = [&] {
    EXPECT_TRUE(b->MenuTracking());
    EXPECT_TRUE(b->Pushed());
    screen.Click(At(b, 10, 10));
  };
  PressAt(b, 10, 10);
  Release();
  ASSERT_EQ(menu->popups.size(), 1u);
  EXPECT_EQ(menu->popups[0], At(b, -1, 22));
  EXPECT_EQ(menu->popupComponents[0], b);
  EXPECT_FALSE(b->Pushed());
  EXPECT_FALSE(b->MenuTracking());
  EXPECT_EQ(log, (std::vector<std::string>{"select 0", "change 1"})) << "no click after a menu";

  // A closing click elsewhere is left for whoever is there.
  auto* other = Place<TKestButton>(77, 262);
  Wire(other);
  log.clear();
  menu->whileOpen = [&] { screen.Click(At(other, 10, 10)); };
  ClickAt(b, 10, 10);
  EXPECT_EQ(menu->popups.size(), 2u);
  EXPECT_EQ(log,
            (std::vector<std::string>{"select 0", "change 1", "select 0", "change 1", "click"}));
}

TEST_F(Buttons, PressDeliveredByTheOpenMenuIsIgnored) {
  auto* b = Place<TKestButton>(77, 288);
  auto* menu = new TestMenu(form);
  menu->dispatchAll = true;
  menu->whileOpen = [&] { screen.Click(At(b, 10, 10)); };
  b->SetDropDownMenu(menu);
  ClickAt(b, 10, 10);
  EXPECT_EQ(menu->popups.size(), 1u);
  EXPECT_FALSE(b->Pushed());
}

TEST_F(Buttons, DoubleClickOpensTheMenuOnceButPressesAPlainButtonTwice) {
  auto* b = Place<TKestButton>(77, 288);
  auto* menu = new TestMenu(form); // its loop ends at once
  b->SetDropDownMenu(menu);
  screen.DoubleClick(At(b, 10, 10));
  screen.Pump();
  EXPECT_EQ(menu->popups.size(), 1u);

  auto* plain = Place<TKestButton>(77, 262);
  int clicks = 0;
  plain->OnClick = [&](ui::Component*) { ++clicks; };
  screen.DoubleClick(At(plain, 10, 10));
  screen.Pump();
  EXPECT_EQ(clicks, 2);
}

TEST_F(Buttons, MenuWithoutAutomaticPopupOrFreedLeavesAPlainButton) {
  auto* b = Place<TKestTopButton>(419, 4);
  EXPECT_EQ(b->ClickRect(), (ui::Rect{0, 0, 24, 23}));
  b->SetBounds(419, 4, 10, 10);
  EXPECT_EQ(b->BoundsRect(), ui::Rect::FromSize(419, 4, 24, 23));
  auto* menu = new TestMenu(form);
  menu->SetAutoPopup(false);
  b->SetDropDownMenu(menu);
  int clicks = 0;
  b->OnClick = [&](ui::Component*) { ++clicks; };
  ClickAt(b, 5, 5);
  EXPECT_TRUE(menu->popups.empty());
  EXPECT_EQ(clicks, 1);
  delete menu;
  EXPECT_EQ(b->DropDownMenu(), nullptr);
  ClickAt(b, 5, 5);
  EXPECT_EQ(clicks, 2);
}

TEST_F(Buttons, CloseButtonClosesOnlyOnAReleaseOverIt) {
  auto* close = Place<TKestCloseButton>(300, 10);
  PressAt(close, 5, 5);
  MoveTo(close, 60, 60);
  Release();
  EXPECT_TRUE(close->Pushed()) << "the release went elsewhere";
  EXPECT_TRUE(form->Visible());
  const ui::Bitmap shot = screen.Screenshot(form->Handle());
  EXPECT_TRUE(SameBlock(shot, 300, 10, *SkinClose, 0, 0, 16, 14));
  ClickAt(close, 5, 5);
  EXPECT_FALSE(close->Pushed());
  EXPECT_FALSE(form->Visible());
}

} // namespace
} // namespace kest::test
