// References between components: linked subitems, image lists with their
// change links, controls, and what happens when the other side goes.
#include <gtest/gtest.h>

#include "MenuRecorder.h"
#include "ui/toolkit/Control.h"

namespace kest::menu {
namespace {

using test::MenuRecorder;

TEST(LinkSubitems, LinkParentsFollowTheLinkAndASelfLinkIsNone) {
  TKestSubmenuItem a, b, target, other;
  MenuRecorder rec(&a);
  a.SetLinkSubitems(&a);
  EXPECT_EQ(a.LinkSubitems(), nullptr);
  EXPECT_TRUE(rec.heard.empty());
  a.SetLinkSubitems(&target);
  b.SetLinkSubitems(&target);
  EXPECT_EQ(target.LinkParents(), (std::vector<TKestCustomItem*>{&a, &b}));
  EXPECT_EQ(rec.heard, (std::vector<test::Heard>{{tbicSubitemsChanged, -1, nullptr, false}}));
  a.SetLinkSubitems(&other);
  EXPECT_EQ(target.LinkParents(), (std::vector<TKestCustomItem*>{&b}));
  EXPECT_EQ(other.LinkParents(), (std::vector<TKestCustomItem*>{&a}));
  a.SetLinkSubitems(&other);
  EXPECT_EQ(rec.heard.size(), 2u);
  a.SetLinkSubitems(nullptr);
  b.SetLinkSubitems(nullptr);
}

TEST(LinkSubitems, DestroyingEitherSideClearsTheOtherAndTellsTheLinkParent) {
  TKestSubmenuItem a;
  MenuRecorder rec(&a);
  {
    TKestSubmenuItem target;
    a.SetLinkSubitems(&target);
    rec.heard.clear();
  }
  EXPECT_EQ(a.LinkSubitems(), nullptr);
  EXPECT_EQ(rec.heard, (std::vector<test::Heard>{{tbicSubitemsChanged, -1, nullptr, false}}));

  TKestSubmenuItem target;
  {
    TKestSubmenuItem parent;
    parent.SetLinkSubitems(&target);
    EXPECT_EQ(target.LinkParents().size(), 1u);
  }
  EXPECT_TRUE(target.LinkParents().empty());
}

TEST(ImageLinks, ImagesResizeOnlyWhenTheSizeSeenLastChanges) {
  TKestRootItem root;
  TKestItem item;
  root.Add(&item);
  TImageList small, large;
  large.SetSize(24, 24);
  MenuRecorder rec(&root);
  item.SetImages(&small); // from none: a new size
  item.SetImages(&large);
  small.SetSize(24, 24); // no longer registered: silent
  large.SetCount(5);
  EXPECT_EQ(rec.Actions(), (std::vector<TKestItemChangedAction>{
                               tbicInvalidateAndResize, tbicInvalidateAndResize, tbicInvalidate}));
  rec.heard.clear();
  // The sizes compared are those of the list now in use, not of the first one.
  large.SetSize(16, 16);
  large.SetSize(16, 16);
  item.SetImages(&small); // 24 after 16
  item.SetImages(nullptr);
  EXPECT_EQ(rec.Actions(),
            (std::vector<TKestItemChangedAction>{tbicInvalidateAndResize, tbicInvalidateAndResize,
                                                 tbicInvalidateAndResize}));
  root.Remove(&item);
}

TEST(ImageLinks, SameSizedListsSwapWithoutResizeAndADestroyedListIsDropped) {
  TKestRootItem root;
  TKestItem item;
  root.Add(&item);
  TImageList first;
  item.SetImages(&first);
  MenuRecorder rec(&root);
  {
    TImageList second;
    item.SetImages(&second);
    EXPECT_EQ(rec.Actions(), std::vector<TKestItemChangedAction>{tbicInvalidate});
  }
  EXPECT_EQ(item.Images(), nullptr);
  EXPECT_EQ(rec.Actions(),
            (std::vector<TKestItemChangedAction>{tbicInvalidate, tbicInvalidateAndResize}));
  root.Remove(&item);
}

TEST(ImageLinks, SubmenuImagesAreAnnouncedOnTheItemItself) {
  TKestSubmenuItem sub;
  MenuRecorder rec(&sub);
  TKestCustomImageList list;
  sub.SetSubMenuImages(&list);
  list.SetSize(20, 20);
  TImageList hot;
  list.SetHotImages(&hot);
  hot.SetCount(3); // a companion's change is a change of the list
  sub.SetSubMenuImages(nullptr);
  EXPECT_EQ(rec.heard.size(), 5u);
  for (const auto& h : rec.heard)
    EXPECT_EQ(h, (test::Heard{tbicSubMenuImagesChanged, -1, nullptr, false}));
}

TEST(ImageLinks, CompanionListsPickByStateAndForgetDestroyedOnes) {
  TKestCustomImageList list;
  TImageList checked, disabled;
  list.SetCheckedImages(&checked);
  list.SetDisabledImages(&disabled);
  list.SetHotImages(&list); // itself counts as none
  EXPECT_EQ(list.HotImages(), nullptr);
  EXPECT_EQ(list.ListForState(false, true, true), &disabled);
  EXPECT_EQ(list.ListForState(true, true, true), &checked);
  EXPECT_EQ(list.ListForState(true, true, false), &list);
  {
    TImageList hot;
    list.SetHotImages(&hot);
    EXPECT_EQ(list.ListForState(true, true, false), &hot);
  }
  EXPECT_EQ(list.HotImages(), nullptr);
  EXPECT_EQ(list.FImagesBitmapMaskColor, 0xFF00FFu);
}

TEST(ControlItem, FreesItsControlUnlessToldOtherwiseAndForgetsAControlThatGoes) {
  kest::ui::Component owner;
  TKestRootItem root;
  auto* item = new TKestControlItem(&owner);
  root.Add(item);
  auto* control = new kest::ui::Control(&owner);
  MenuRecorder rec(&root);
  item->SetControl(control);
  EXPECT_EQ(rec.CountOf(tbicInvalidateAndResize, item), 1);
  delete control;
  EXPECT_EQ(item->Control(), nullptr);
  EXPECT_EQ(rec.CountOf(tbicInvalidateAndResize, item), 2);

  auto* kept = new kest::ui::Control(&owner);
  auto* freed = new kest::ui::Control(&owner);
  item->SetControl(kept);
  item->SetDontFreeControl(true);
  delete item;
  EXPECT_EQ(kept->Owner(), &owner);
  auto* second = new TKestControlItem(&owner);
  second->SetControl(freed);
  const int before = owner.ComponentCount();
  delete second;
  EXPECT_EQ(owner.ComponentCount(), before - 2); // the item and its control
  EXPECT_EQ(kept->Owner(), &owner);
}

} // namespace
} // namespace kest::menu
