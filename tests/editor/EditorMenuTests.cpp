// The editor's menus on the headless screen: what they hold, the marks and
// states they show when they open (after the host changed things), and a
// choice made with the keyboard. Each menu is opened from its button and
// runs its own loop; the test acts from the loop's waits.
#include <functional>
#include <set>
#include <stdexcept>

#include "EditorFixture.h"
#include "StyleTable.h"
#include "TPlugin.h"
#include "uKestMenu_popup.h"
#include "uKestPopupMenu.h"
#include "ui/gfx/Utf.h"
#include "ui/toolkit/Application.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::test {
namespace {

using menu::TKestCustomItem;

class EditorMenuContents : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    ui::App().OnException = [](std::exception_ptr e) {
      try {
        std::rethrow_exception(e);
      } catch (const std::exception& x) {
        ADD_FAILURE() << "error in a handler: " << x.what();
      }
    };
    ASSERT_EQ(OpenEditor(), 1);
  }
  // Opens a menu with a press on its button at x; when the menu is on the
  // screen and the button released, look() runs and the keys are pressed
  // (Escape: nothing chosen).
  void WhileOpen(ui::Control* button, int x, const std::function<void()>& look,
                 const std::vector<std::uint16_t>& keys = {ui::VK_ESCAPE}) {
    bool shown = false;
    int waits = 0;
    screen->onWait = [&](std::uint32_t) {
      if (!MenuOnScreen()) return false;
      if (ui::GetAsyncKeyState(ui::VK_LBUTTON) < 0) {
        screen.Release(); // of the press that opened it
        return true;
      }
      if (!shown) {
        shown = true;
        look();
        for (std::uint16_t k : keys)
          screen.Key(k);
        return true;
      }
      if (++waits > 50) throw std::logic_error("the menu did not close");
      return false;
    };
    screen.Advance(1000); // a press soon after the last would be a double click
    PressAt(button, x, 10);
    Idle(); // the menu runs its loop in here
    screen->onWait = nullptr;
    Idle(); // the chosen item's click comes after the menu
    EXPECT_TRUE(shown) << "the menu never opened";
    EXPECT_FALSE(MenuOnScreen());
  }
  static bool MenuOnScreen() {
    for (ui::WindowHandle h : ui::GetTopLevelWindows())
      if (dynamic_cast<menu::TKestPopupWindow*>(ui::WinControl::FindControl(h))) return true;
    return false;
  }
  std::vector<TKestCustomItem*> Below(TKestCustomItem* parent) {
    std::vector<TKestCustomItem*> items;
    for (int i = 0; i < parent->Count(); ++i)
      items.push_back(parent->Items(i));
    return items;
  }
  std::vector<TKestCustomItem*> Checked(TKestCustomItem* parent) {
    std::vector<TKestCustomItem*> out;
    for (TKestCustomItem* item : Below(parent)) {
      if (item->Checked()) out.push_back(item);
      for (TKestCustomItem* inner : Checked(item))
        out.push_back(inner);
    }
    return out;
  }
};

TEST_F(EditorMenuContents, TheStyleMenuHoldsEveryStyleOnceInItsGroupsAndThePeriods) {
  const auto top = Below(Form().MnSty->Items());
  ASSERT_EQ(top.size(), 14u);
  const auto& groups = StyleMenu();
  std::set<std::intptr_t> styles;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    EXPECT_EQ(top[g]->Caption(), ui::Utf8ToUtf16(groups[g].Name));
    std::intptr_t previous = -1;
    for (TKestCustomItem* item : Below(top[g])) {
      if (item->GetItemViewerClass() == menu::TKestItemViewerClass::Separator) continue;
      EXPECT_TRUE(item->RadioItem());
      EXPECT_EQ(item->GroupIndex(), 1);
      EXPECT_EQ(item->Caption(), ui::Utf8ToUtf16(FindStyle(static_cast<int>(item->Tag()))->Name));
      EXPECT_GT(item->Tag(), previous) << "ascending in " << groups[g].Name;
      previous = item->Tag();
      EXPECT_TRUE(styles.insert(item->Tag()).second) << item->Tag();
    }
  }
  EXPECT_EQ(styles.size(), 304u);
  const auto scales = Below(top[0]);
  ASSERT_EQ(scales.size(), 72u);
  EXPECT_EQ(scales[11]->Tag(), 143);
  EXPECT_EQ(scales[12]->GetItemViewerClass(), menu::TKestItemViewerClass::Separator);
  EXPECT_EQ(scales[13]->Tag(), 144);
  EXPECT_EQ(top[12]->GetItemViewerClass(), menu::TKestItemViewerClass::Separator);
  EXPECT_EQ(top[13]->Caption(), u"Auto random");
  const auto periods = Below(top[13]);
  ASSERT_EQ(periods.size(), 9u);
  EXPECT_EQ(periods[0]->Caption(), u"Off");
  EXPECT_EQ(periods[1]->Caption(), u"Each bar");
  EXPECT_EQ(periods[4]->Caption(), u"Each 4-th bar");
  for (std::size_t bars = 0; bars < periods.size(); ++bars) {
    EXPECT_EQ(periods[bars]->Tag(), static_cast<std::intptr_t>(bars));
    EXPECT_EQ(periods[bars]->GroupIndex(), 2);
  }
}

TEST_F(EditorMenuContents, StyleMarksShowWhatTheHostAutomatedAndKeysChooseAStyle) {
  TFrmEditor& f = Form();
  host.SetParameter(kRandomStyle, Normalised(kRandomStyle, 144));
  host.SetParameter(kAutoRandom, Normalised(kAutoRandom, 4));
  std::vector<TKestCustomItem*> checked;
  WhileOpen(f.BtMnu, 10, [&] { checked = Checked(f.MnSty->Items()); });
  ASSERT_EQ(checked.size(), 2u);
  EXPECT_EQ(checked[0]->Caption(), u"Ahava raba");
  EXPECT_EQ(checked[0]->Parent()->Caption(), u"Scales");
  EXPECT_EQ(checked[1]->Caption(), u"Each 4-th bar");

  // "Scales", into it, down past its first twelve and the line: style 145.
  std::vector<std::uint16_t> keys{ui::VK_DOWN, ui::VK_RIGHT};
  for (int i = 0; i < 13; ++i)
    keys.push_back(ui::VK_DOWN);
  keys.push_back(ui::VK_RETURN);
  WhileOpen(
      f.BtMnu, 10, [] {}, keys);
  EXPECT_TRUE(Automated(kRandomStyle, 145));
}

TEST_F(EditorMenuContents, ThePresetMenuIsMadeAnewAtEveryOpening) {
  TFrmEditor& f = Form();
  host.Dispatch(effSetProgram, 0, 6);
  std::vector<std::u16string> captions;
  std::vector<TKestCustomItem*> checked;
  const auto look = [&] {
    captions.clear();
    for (TKestCustomItem* item : Below(f.MnPrs->Items()))
      captions.push_back(item->Caption());
    checked = Checked(f.MnPrs->Items());
  };
  WhileOpen(f.Prsbox, 115, look);
  ASSERT_EQ(captions.size(), 32u);
  EXPECT_EQ(captions[6], ui::Utf8ToUtf16(host.ProgramNameIndexed(6)));
  ASSERT_EQ(checked.size(), 1u);
  EXPECT_EQ(checked[0]->Tag(), 6);

  char name[] = "Renamed a moment ago";
  host.Dispatch(effSetProgramName, 0, 0, name);
  WhileOpen(f.Prsbox, 115, look, {ui::VK_DOWN, ui::VK_DOWN, ui::VK_RETURN});
  ASSERT_EQ(captions.size(), 32u);
  EXPECT_EQ(captions[6], u"Renamed a moment ago");
  EXPECT_EQ(host.Dispatch(effGetProgram), 1) << "the second preset, chosen with the keys";
}

TEST_F(EditorMenuContents, PasteIsOfferedOnlyAfterACopy) {
  TFrmEditor& f = Form();
  std::vector<std::u16string> captions;
  bool pasteEnabled = true;
  const auto look = [&] {
    captions.clear();
    for (TKestCustomItem* item : Below(f.MnBnk->Items()))
      captions.push_back(item->Caption());
    pasteEnabled = f.MiPaste->Enabled();
  };
  WhileOpen(f.BtBank, 10, look);
  EXPECT_EQ(captions, (std::vector<std::u16string>{
                          u"Load Bank...", u"Save Bank...", u"Default Bank", u"Empty Bank", u"",
                          u"Copy Preset", u"Paste Preset", u"Rename Preset"}));
  EXPECT_FALSE(pasteEnabled);
  // "Copy Preset": the fifth item that can be chosen.
  WhileOpen(f.BtBank, 10, look,
            {ui::VK_DOWN, ui::VK_DOWN, ui::VK_DOWN, ui::VK_DOWN, ui::VK_DOWN, ui::VK_RETURN});
  EXPECT_TRUE(Plugin().CanPastePreset());
  WhileOpen(f.BtBank, 10, look);
  EXPECT_TRUE(pasteEnabled);

  WhileOpen(f.BtHelp, 10, [&] {
    captions.clear();
    for (TKestCustomItem* item : Below(f.MnHlp->Items()))
      captions.push_back(item->Caption() + u"=" + ui::Utf8ToUtf16(std::to_string(item->Tag())));
  });
  EXPECT_EQ(captions, (std::vector<std::u16string>{u"Help online...=0", u"Home page...=1",
                                                   u"Donation...=2", u"About...=3"}));
}

} // namespace
} // namespace kest::test
