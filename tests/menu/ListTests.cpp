// The list of subitems: insertion, deletion, moving, their errors and the
// notifications views rely on, and who frees what.
#include <gtest/gtest.h>

#include "MenuRecorder.h"
#include "ui/toolkit/Component.h"

namespace kest::menu {
namespace {

using test::MenuRecorder;
using test::Order;

class List : public ::testing::Test {
protected:
  kest::ui::Component owner;
  TKestRootItem* root = new TKestRootItem(&owner);
  TKestItem* Make(const char16_t* caption) {
    auto* item = new TKestItem(&owner);
    item->SetCaption(caption);
    return item;
  }
  void SetUp() override {
    for (const char16_t* c : {u"a", u"b", u"c"})
      root->Add(Make(c));
  }
};

template <class F> std::string ErrorText(F&& f) {
  try {
    f();
  } catch (const EKestItemError& e) {
    return e.what();
  }
  return "no error";
}

TEST_F(List, InsertAtCountAppendsAndBeyondFailsWithoutChange) {
  MenuRecorder rec(root);
  auto* d = Make(u"d");
  root->Insert(root->Count(), d);
  EXPECT_EQ(Order(*root), "abcd");
  EXPECT_EQ(d->Parent(), root);
  EXPECT_EQ(rec.heard, (std::vector<test::Heard>{{tbicSubitemsBeginUpdate, -1, nullptr, false},
                                                 {tbicInserted, 3, d, false},
                                                 {tbicSubitemsEndUpdate, -1, nullptr, false}}));
  rec.heard.clear();
  auto* e = Make(u"e");
  EXPECT_EQ(ErrorText([&] { root->Insert(root->Count() + 1, e); }),
            "Toolbar item index out of range");
  EXPECT_EQ(ErrorText([&] { root->Insert(-1, e); }), "Toolbar item index out of range");
  EXPECT_EQ(Order(*root), "abcd");
  EXPECT_EQ(e->Parent(), nullptr);
  EXPECT_TRUE(rec.heard.empty());
}

TEST_F(List, InsertingAnItemThatHasAParentFailsAndLeavesBothTreesAlone) {
  auto* other = new TKestRootItem(&owner);
  other->Add(Make(u"x"));
  MenuRecorder rec(root);
  TKestCustomItem* b = root->Items(1);
  EXPECT_EQ(ErrorText([&] { other->Insert(0, b); }), "Toolbar item already inserted");
  // The parent check comes before the index check.
  EXPECT_EQ(ErrorText([&] { other->Insert(99, b); }), "Toolbar item already inserted");
  EXPECT_EQ(Order(*root), "abc");
  EXPECT_EQ(Order(*other), "x");
  EXPECT_EQ(b->Parent(), root);
  EXPECT_TRUE(rec.heard.empty());
}

TEST_F(List, AnItemCannotBecomeItsOwnDescendant) {
  auto* sub = new TKestSubmenuItem(&owner);
  root->Add(sub);
  root->Remove(sub);
  auto* inner = Make(u"i");
  sub->Add(inner);
  EXPECT_EQ(ErrorText([&] { inner->Insert(0, sub); }),
            "Toolbar item cannot be inserted into container of type TKestItem");
  EXPECT_EQ(ErrorText([&] { sub->Insert(0, sub); }),
            "Toolbar item cannot be inserted into container of type TKestSubmenuItem");
  EXPECT_EQ(inner->Count(), 0);
  EXPECT_EQ(sub->Parent(), nullptr);
}

TEST_F(List, MoveChecksBothIndexesFirstAndKeepsTheTreeOnError) {
  MenuRecorder rec(root);
  EXPECT_EQ(ErrorText([&] { root->Move(0, root->Count()); }), "Toolbar item index out of range");
  EXPECT_EQ(ErrorText([&] { root->Move(-1, 0); }), "Toolbar item index out of range");
  EXPECT_EQ(ErrorText([&] { root->Move(5, 1); }), "Toolbar item index out of range");
  EXPECT_EQ(Order(*root), "abc");
  EXPECT_TRUE(rec.heard.empty());
  root->Move(1, 1); // same place: nothing at all
  EXPECT_TRUE(rec.heard.empty());

  TKestCustomItem* a = root->Items(0);
  root->Move(0, 2);
  EXPECT_EQ(Order(*root), "bca");
  EXPECT_EQ(a->Parent(), root);
  // One outer bracket around the deletion and the bracketed insertion.
  EXPECT_EQ(rec.Actions(), (std::vector<TKestItemChangedAction>{
                               tbicSubitemsBeginUpdate, tbicDeleting, tbicSubitemsBeginUpdate,
                               tbicInserted, tbicSubitemsEndUpdate, tbicSubitemsEndUpdate}));
  EXPECT_EQ(rec.heard[1].index, 0);
  EXPECT_EQ(rec.heard[3].index, 2);
}

TEST_F(List, DeletingIsAnnouncedWhileTheItemIsStillThereAndDoesNotFreeIt) {
  TKestCustomItem* b = root->Items(1);
  MenuRecorder rec(root);
  rec.onChanged = [&](TKestItemChangedAction a) {
    if (a == tbicDeleting) {
      EXPECT_EQ(root->IndexOf(b), 1);
      EXPECT_EQ(b->Parent(), root);
    }
  };
  root->Delete(1);
  EXPECT_EQ(rec.heard, (std::vector<test::Heard>{{tbicDeleting, 1, b, false}}));
  EXPECT_EQ(Order(*root), "ac");
  EXPECT_EQ(b->Parent(), nullptr);
  EXPECT_EQ(b->Owner(), &owner); // still alive, still owned
  EXPECT_EQ(ErrorText([&] { root->Delete(2); }), "Toolbar item index out of range");
  root->Remove(b); // not a subitem any more: nothing
  EXPECT_EQ(rec.heard.size(), 1u);
  root->Add(b);
  EXPECT_EQ(Order(*root), "acb");
}

TEST_F(List, ClearFreesLastFirstAndOwnersForgetTheFreedItems) {
  auto* sub = new TKestSubmenuItem(&owner);
  sub->SetCaption(u"s");
  root->Insert(0, sub);
  sub->Add(Make(u"x"));
  const int owned = owner.ComponentCount();
  MenuRecorder rec(root);
  root->Clear();
  EXPECT_EQ(root->Count(), 0);
  ASSERT_EQ(rec.heard.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(rec.heard[static_cast<std::size_t>(i)].action, tbicDeleting);
    EXPECT_EQ(rec.heard[static_cast<std::size_t>(i)].index, 3 - i);
  }
  EXPECT_EQ(owner.ComponentCount(), owned - 5); // four subitems and the one below "s"
}

TEST_F(List, GetItemAndContainsItem) {
  EXPECT_EQ(ErrorText([&] { root->GetItem(3); }), "Toolbar item index out of range");
  EXPECT_EQ(ErrorText([&] { root->GetItem(-1); }), "Toolbar item index out of range");
  auto* sub = new TKestSubmenuItem(&owner);
  root->Add(sub);
  auto* deep = Make(u"d");
  sub->Add(deep);
  EXPECT_TRUE(root->ContainsItem(root));
  EXPECT_TRUE(root->ContainsItem(deep));
  EXPECT_FALSE(sub->ContainsItem(root->Items(0)));
  EXPECT_FALSE(deep->ContainsItem(sub));
  EXPECT_FALSE(root->ContainsItem(nullptr));
  EXPECT_EQ(root->IndexOf(deep), -1);
  EXPECT_EQ(TKestItem().Count(), 0);
}

struct Holder : kest::ui::Component, IKestItems {
  TKestRootItem rootItem;
  TKestCustomItem* GetItems() override { return &rootItem; }
};

TEST_F(List, ParentComponentMovesTheItemOrRefusesForeignContainers) {
  Holder holder;
  holder.rootItem.SetParentComponentOfRoot(&holder);
  TKestCustomItem* a = root->Items(0);
  a->SetParentComponent(&holder);
  EXPECT_EQ(Order(*root), "bc");
  EXPECT_EQ(a->Parent(), &holder.rootItem);
  EXPECT_EQ(a->GetParentComponent(), &holder);
  EXPECT_EQ(root->Items(0)->GetParentComponent(), root);

  kest::ui::Component plain;
  EXPECT_EQ(ErrorText([&] { a->SetParentComponent(&plain); }),
            "Toolbar item cannot be inserted into container of type Component");
  EXPECT_EQ(a->Parent(), &holder.rootItem); // refused before leaving
  a->SetParentComponent(root);
  EXPECT_EQ(Order(*root), "bca");
  root->SetChildOrder(a, 0);
  EXPECT_EQ(Order(*root), "abc");
}

TEST_F(List, AnItemFreedDirectlyLeavesItsParentAndTheNameChangeIsAnnounced) {
  MenuRecorder rec(root);
  TKestCustomItem* b = root->Items(1);
  b->SetName("MiB");
  EXPECT_EQ(rec.heard, (std::vector<test::Heard>{{tbicNameChanged, -1, b, false}}));
  // Renamed as a plain component, as the component model does.
  static_cast<kest::ui::Component*>(b)->SetName("Bee");
  EXPECT_EQ(rec.heard.size(), 2u);
  EXPECT_EQ(b->Name(), "Bee");
  b->SetName("MiB");
  delete b;
  EXPECT_EQ(Order(*root), "ac");
  EXPECT_EQ(rec.heard.back(), (test::Heard{tbicDeleting, 1, b, false}));
  EXPECT_EQ(owner.FindComponent("MiB"), nullptr);
}

TEST(ItemErrors, TextsAreExact) {
  EXPECT_STREQ(SKestItemIndexOutOfRange, "Toolbar item index out of range");
  EXPECT_STREQ(SKestItemAlreadyInserted, "Toolbar item already inserted");
  EXPECT_STREQ(SKestItemCannotInsertInto,
               "Toolbar item cannot be inserted into container of type %s");
  EXPECT_STREQ(SKestViewerNotFound,
               "An item viewer associated the specified item could not be found");
}

} // namespace
} // namespace kest::menu
