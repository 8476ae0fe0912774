// Subscriptions: counting, unsubscribing during a notification, and the
// update bracket that must close even when a subscriber fails.
#include <gtest/gtest.h>

#include <stdexcept>

#include "MenuRecorder.h"

namespace kest::menu {
namespace {

using test::MenuRecorder;

// Unsubscribes itself the first time it hears anything.
struct Quitter {
  TKestCustomItem* item;
  int calls = 0;
  TKestItemChangedProc Proc() { return TKestItemChangedProc::Of<&Quitter::Changed>(this); }
  void Changed(TKestCustomItem*, bool, TKestItemChangedAction, int, TKestCustomItem*) {
    ++calls;
    item->UnregisterNotification(Proc());
  }
};

TEST(Notify, SubscribersThatLeaveDuringANotificationDoNotMakeOthersMissIt) {
  TKestRootItem root;
  Quitter q1{&root}, q2{&root};
  MenuRecorder before;
  root.RegisterNotification(before.Proc());
  root.RegisterNotification(q1.Proc());
  root.RegisterNotification(q2.Proc());
  MenuRecorder after;
  root.RegisterNotification(after.Proc());

  root.ViewBeginUpdate();
  EXPECT_EQ(q1.calls, 1);
  EXPECT_EQ(q2.calls, 1); // moved into q1's place and was still called
  EXPECT_EQ(before.heard.size(), 1u);
  EXPECT_EQ(after.heard.size(), 1u);
  root.ViewEndUpdate();
  EXPECT_EQ(q1.calls, 1);
  EXPECT_EQ(q2.calls, 1);
  EXPECT_EQ(after.Actions(),
            (std::vector<TKestItemChangedAction>{tbicSubitemsBeginUpdate, tbicSubitemsEndUpdate}));
  root.UnregisterNotification(before.Proc());
  root.UnregisterNotification(after.Proc());
}

TEST(Notify, TheLastSubscriberLeavingEndsTheWalk) {
  TKestRootItem root;
  Quitter only{&root};
  root.RegisterNotification(only.Proc());
  root.ViewBeginUpdate();
  root.ViewBeginUpdate();
  EXPECT_EQ(only.calls, 1);
}

TEST(Notify, RegistrationsAreCountedPerMethodAndObject) {
  TKestRootItem root;
  MenuRecorder a, b;
  root.RegisterNotification(a.Proc());
  root.RegisterNotification(a.Proc());
  root.RegisterNotification(b.Proc());
  root.ViewBeginUpdate();
  EXPECT_EQ(a.heard.size(), 1u); // counted, not listed twice
  root.UnregisterNotification(a.Proc());
  root.ViewBeginUpdate();
  EXPECT_EQ(a.heard.size(), 2u);
  root.UnregisterNotification(a.Proc());
  root.UnregisterNotification(a.Proc()); // unknown by now: ignored
  root.ViewBeginUpdate();
  EXPECT_EQ(a.heard.size(), 2u);
  EXPECT_EQ(b.heard.size(), 3u);
  root.UnregisterNotification(b.Proc());
  root.ViewBeginUpdate();
  EXPECT_EQ(b.heard.size(), 3u);
}

TEST(Notify, SameObjectDifferentMethodsAreTwoSubscribers) {
  struct Two {
    int first = 0, second = 0;
    void A(TKestCustomItem*, bool, TKestItemChangedAction, int, TKestCustomItem*) { ++first; }
    void B(TKestCustomItem*, bool, TKestItemChangedAction, int, TKestCustomItem*) { ++second; }
  } two;
  TKestRootItem root;
  root.RegisterNotification(TKestItemChangedProc::Of<&Two::A>(&two));
  root.RegisterNotification(TKestItemChangedProc::Of<&Two::B>(&two));
  root.UnregisterNotification(TKestItemChangedProc::Of<&Two::A>(&two));
  root.ViewEndUpdate();
  EXPECT_EQ(two.first, 0);
  EXPECT_EQ(two.second, 1);
  root.UnregisterNotification(TKestItemChangedProc::Of<&Two::B>(&two));
}

TEST(Notify, TheUpdateBracketClosesWhenASubscriberThrowsOnInsert) {
  TKestRootItem root;
  MenuRecorder rec(&root);
  rec.onChanged = [](TKestItemChangedAction a) {
    if (a == tbicInserted) throw std::runtime_error("view failed");
  };
  TKestItem item;
  EXPECT_THROW(root.Add(&item), std::runtime_error);
  EXPECT_EQ(rec.Actions(), (std::vector<TKestItemChangedAction>{
                               tbicSubitemsBeginUpdate, tbicInserted, tbicSubitemsEndUpdate}));
  root.Remove(&item);
}

TEST(Notify, ChangeGoesToTheParentWithTheItemAndAnOrphanSendsNothing) {
  TKestRootItem root;
  TKestItem item;
  MenuRecorder own(&item);
  item.SetCaption(u"alone");
  EXPECT_TRUE(own.heard.empty());
  root.Add(&item);
  MenuRecorder rec(&root);
  item.SetCaption(u"x");
  item.SetCaption(u"x"); // unchanged: nothing
  item.SetChecked(true);
  item.SetEnabled(false);
  item.SetRadioItem(true);
  item.SetVisible(false);
  item.SetDisplayMode(nbdmTextOnly);
  EXPECT_EQ(rec.heard, (std::vector<test::Heard>{{tbicInvalidateAndResize, -1, &item, false},
                                                 {tbicInvalidate, -1, &item, false},
                                                 {tbicInvalidate, -1, &item, false},
                                                 {tbicInvalidate, -1, &item, false},
                                                 {tbicInvalidateAndResize, -1, &item, false},
                                                 {tbicInvalidateAndResize, -1, &item, false}}));
  EXPECT_TRUE(own.heard.empty());
  root.Remove(&item);
}

} // namespace
} // namespace kest::menu
