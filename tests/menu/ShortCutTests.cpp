// Shortcut texts and the search for the item a key message stands for:
// through links, with disabled items on the way, with popup handlers that
// rebuild or fail, and with links that never end.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "MenuRecorder.h"
#include "ui/headless/HeadlessBackend.h"
#include "ui/toolkit/Application.h"

namespace kest::menu {
namespace {

constexpr std::uint16_t kF5 = 0x74;
const TWMKey kPressF5{kF5, 0};

TEST(ShortCutText, TextAfterTheFirstTabWinsOverTheShortCut) {
  TKestItem item;
  item.SetShortCut(ShortCut('S', kest::ui::ssCtrl));
  EXPECT_EQ(item.GetShortCutText(), u"Ctrl+S");
  item.SetCaption(u"&Save\tF2\tmore");
  EXPECT_EQ(item.GetShortCutText(), u"F2\tmore");
  item.SetCaption(u"Save\t");
  EXPECT_EQ(item.GetShortCutText(), u"");
  item.SetCaption(u"Save");
  item.SetShortCut(0);
  EXPECT_EQ(item.GetShortCutText(), u"");
  EXPECT_EQ(ShortCutToText(ShortCut(kF5, kest::ui::ssShift | kest::ui::ssCtrl | kest::ui::ssAlt)),
            u"Shift+Ctrl+Alt+F5");
  EXPECT_EQ(ShortCutToText(ShortCut(0x2E, 0)), u"Del");
  EXPECT_EQ(ShortCutToText(ShortCut(0xBC, kest::ui::ssCtrl)), u"Ctrl+,");
  EXPECT_EQ(ShortCutToText(ShortCut(0xDB, 0)), u"[");
  EXPECT_EQ(ShortCutToText(ShortCut(0xDE, kest::ui::ssShift)), u"Shift+'");
  EXPECT_EQ(ShortCut(0x141, 0), 0); // not a virtual key
}

class ShortCuts : public ::testing::Test {
protected:
  kest::ui::headless::HeadlessScreen screen;
  kest::ui::Component owner;
  TKestRootItem* root = new TKestRootItem(&owner);
  std::string log;

  template <class T = TKestItem> T* Add(TKestCustomItem* parent, char name, TShortCut key = 0) {
    auto* item = new T(&owner);
    item->SetShortCut(key);
    item->OnClick = [this, name](kest::ui::Component*) { log += name; };
    item->OnPopup = [this, name](TKestCustomItem*, bool fromLink) {
      log += fromLink ? '~' : '^', log += name;
    };
    if (parent) parent->Add(item);
    return item;
  }
  void TearDown() override { kest::ui::App().Reset(); }
};

TEST_F(ShortCuts, FoundThroughALinkAfterEveryPopupOnThePath) {
  Add(root, 'x');
  auto* sub = Add<TKestSubmenuItem>(root, 's');
  auto* target = Add<TKestSubmenuItem>(nullptr, 't');
  Add(target, 'f', kF5);
  sub->SetLinkSubitems(target);
  root->OnClick = [this](kest::ui::Component*) { log += 'r'; };
  EXPECT_TRUE(root->IsShortCut(kPressF5));
  // Root's popup and click; the link target first (from the link), then
  // the submenu item itself; finally the found item's click.
  EXPECT_EQ(log, "r~tt^ssf");
}

TEST_F(ShortCuts, ModifiersMustMatchAndAltComesFromTheKeyData) {
  Add(root, 'a', ShortCut(kF5, kest::ui::ssAlt));
  EXPECT_FALSE(root->IsShortCut(kPressF5));
  EXPECT_TRUE(root->IsShortCut({kF5, kKeyDataAltMask}));
  EXPECT_EQ(log, "a");
  EXPECT_FALSE(root->IsShortCut({0, 0})); // items without a shortcut are never found
}

TEST_F(ShortCuts, DisabledRootOrItemsOnThePathStopTheSearchWithoutClicking) {
  auto* sub = Add<TKestSubmenuItem>(root, 's');
  auto* found = Add(sub, 'f', kF5);
  root->SetEnabled(false);
  EXPECT_FALSE(root->IsShortCut(kPressF5));
  EXPECT_EQ(log, "");
  root->SetEnabled(true);
  sub->SetEnabled(false);
  EXPECT_FALSE(root->IsShortCut(kPressF5));
  EXPECT_EQ(log, ""); // root's handlers ran, the disabled submenu's did not
  sub->SetEnabled(true);
  found->SetEnabled(false);
  EXPECT_FALSE(root->IsShortCut(kPressF5));
  EXPECT_EQ(log, "^ss");
}

TEST_F(ShortCuts, PopupHandlersMayRebuildTheItemsAndTheNewOneIsClicked) {
  auto* sub = Add<TKestSubmenuItem>(root, 's');
  Add(sub, 'o', kF5);
  sub->OnPopup = [&](TKestCustomItem*, bool) {
    sub->Clear();
    Add(sub, 'n', kF5);
  };
  EXPECT_TRUE(root->IsShortCut(kPressF5));
  EXPECT_EQ(log, "sn");
}

TEST_F(ShortCuts, AFailingPopupHandlerIsReportedAndTheSearchGoesOn) {
  std::string errors;
  kest::ui::App().OnException = [&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& ex) {
      errors += ex.what();
    }
  };
  auto* sub = Add<TKestSubmenuItem>(root, 's');
  sub->OnPopup = [](TKestCustomItem*, bool) { throw std::runtime_error("popup"); };
  auto* f = Add(sub, 'f', kF5);
  EXPECT_TRUE(root->IsShortCut(kPressF5));
  EXPECT_EQ(errors, "popup");
  f->OnClick = [](kest::ui::Component*) { throw std::runtime_error("click"); };
  EXPECT_TRUE(root->IsShortCut(kPressF5));
  EXPECT_EQ(errors, "popuppopupclick");
}

TEST_F(ShortCuts, DepthFirstInListOrderTestsAnItemBeforeItsSubitems) {
  auto* first = Add<TKestSubmenuItem>(root, '1');
  Add(first, 'd', kF5);
  Add(root, 's', kF5);
  EXPECT_TRUE(root->IsShortCut(kPressF5));
  EXPECT_EQ(log, "^11d");
  log.clear();
  first->SetShortCut(kF5);
  EXPECT_TRUE(root->IsShortCut(kPressF5));
  EXPECT_EQ(log, "1");
}

// root -> t0 => s1 -> t1 => s2 ... => sN -> found; every "=>" is a link.
TKestCustomItem* LinkChain(ShortCuts& fixture, kest::ui::Component& owner, TKestRootItem* root,
                           int links) {
  TKestCustomItem* holder = root;
  for (int i = 0; i < links; ++i) {
    auto* via = new TKestSubmenuItem(&owner);
    holder->Add(via);
    auto* next = new TKestSubmenuItem(&owner);
    via->SetLinkSubitems(next);
    holder = next;
  }
  (void)fixture;
  auto* found = new TKestItem(&owner);
  found->SetShortCut(kF5);
  holder->Add(found);
  return found;
}

TEST_F(ShortCuts, PathsWithMoreThanTwentyFiveLinksAreGivenUp) {
  TKestCustomItem* found = LinkChain(*this, owner, root, 25);
  int clicks = 0;
  found->OnClick = [&](kest::ui::Component*) { ++clicks; };
  EXPECT_TRUE(root->IsShortCut(kPressF5));
  EXPECT_EQ(clicks, 1);
  auto* other = new TKestRootItem(&owner);
  found = LinkChain(*this, owner, other, 26);
  found->OnClick = [&](kest::ui::Component*) { ++clicks; };
  EXPECT_FALSE(other->IsShortCut(kPressF5));
  EXPECT_EQ(clicks, 1);
}

TEST_F(ShortCuts, LinkCyclesEndTheSearch) {
  auto* a = Add<TKestSubmenuItem>(root, 'a');
  auto* b = Add<TKestSubmenuItem>(nullptr, 'b');
  auto* back = Add<TKestSubmenuItem>(b, 'c');
  a->SetLinkSubitems(b);
  back->SetLinkSubitems(b);
  EXPECT_FALSE(root->IsShortCut(kPressF5));
  EXPECT_EQ(log, "");
}

TEST_F(ShortCuts, HandlersThatKeepMovingTheItemAwayDoNotHangTheSearch) {
  auto* left = Add<TKestSubmenuItem>(root, 'l');
  auto* right = Add<TKestSubmenuItem>(root, 'r');
  auto* wanderer = Add(left, 'w', kF5);
  int popups = 0;
  auto moveTo = [&](TKestCustomItem* to) {
    return [&, to](TKestCustomItem*, bool) {
      ++popups;
      wanderer->Parent()->Remove(wanderer);
      to->Add(wanderer);
    };
  };
  left->OnPopup = moveTo(right);
  right->OnPopup = moveTo(left);
  EXPECT_FALSE(root->IsShortCut(kPressF5));
  EXPECT_GT(popups, 1);
  EXPECT_LT(popups, 100);
  EXPECT_EQ(log.find('w'), std::string::npos);
}

} // namespace
} // namespace kest::menu
