// What the setters send, radio groups, and effective options.
#include <gtest/gtest.h>

#include <memory>

#include "MenuRecorder.h"

namespace kest::menu {
namespace {

using test::MenuRecorder;

class Props : public ::testing::Test {
protected:
  kest::ui::Component owner;
  TKestRootItem* root = new TKestRootItem(&owner);
  TKestItem* Add(TKestCustomItem* parent, int group) {
    auto* item = new TKestItem(&owner);
    item->SetGroupIndex(group);
    item->SetRadioItem(true);
    parent->Add(item);
    return item;
  }
};

TEST_F(Props, CheckingARadioItemUnchecksItsGroupUnderTheSameParentOnly) {
  auto* sub = new TKestSubmenuItem(&owner);
  root->Add(sub);
  TKestItem* a = Add(root, 1);
  TKestItem* b = Add(root, 1);
  TKestItem* other = Add(root, 2);
  TKestItem* elsewhere = Add(sub, 1);
  for (TKestItem* i : {b, other, elsewhere})
    i->SetChecked(true);
  MenuRecorder rec(root);
  a->SetChecked(true);
  EXPECT_TRUE(a->Checked());
  EXPECT_FALSE(b->Checked());
  EXPECT_TRUE(other->Checked());
  EXPECT_TRUE(elsewhere->Checked());
  EXPECT_EQ(rec.heard, (std::vector<test::Heard>{{tbicInvalidate, -1, a, false},
                                                 {tbicInvalidate, -1, b, false}}));
}

TEST_F(Props, GroupZeroTouchesNobodyAndRadioLookAloneDoesNotToggle) {
  TKestItem* a = Add(root, 0);
  TKestItem* b = Add(root, 0);
  b->SetChecked(true);
  a->SetChecked(true);
  EXPECT_TRUE(b->Checked());
  a->Click(); // no AutoCheck: the radio look does not make it toggle
  EXPECT_TRUE(a->Checked());
}

TEST_F(Props, JoiningTheGroupOfACheckedItemWhileCheckedUnchecksTheOthers) {
  TKestItem* a = Add(root, 1);
  TKestItem* b = Add(root, 2);
  a->SetChecked(true);
  b->SetChecked(true);
  b->SetGroupIndex(1);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  TKestItem* c = Add(root, 3); // unchecked: joining changes nobody
  c->SetGroupIndex(1);
  EXPECT_TRUE(b->Checked());
}

TEST_F(Props, AutoCheckTogglesAndUnchecksSiblingsThenRunsOnClick) {
  TKestItem* a = Add(root, 1);
  TKestItem* b = Add(root, 1);
  b->SetChecked(true);
  a->SetAutoCheck(true);
  bool checkedInHandler = false;
  a->OnClick = [&](kest::ui::Component* s) {
    checkedInHandler = static_cast<TKestItem*>(s)->Checked();
  };
  a->Click();
  EXPECT_TRUE(checkedInHandler);
  EXPECT_FALSE(b->Checked());
  a->SetEnabled(false);
  a->Click();
  EXPECT_TRUE(a->Checked()); // a disabled item ignores clicks
}

TEST_F(Props, ImageIndexResizesOnlyWhenAnImageAppearsOrGoes) {
  TKestItem* a = Add(root, 0);
  MenuRecorder rec(root);
  a->SetImageIndex(3);
  a->SetImageIndex(4);
  a->SetImageIndex(-2); // any negative index is no image
  a->SetImageIndex(-1);
  a->SetImageIndex(0);
  EXPECT_EQ(rec.Actions(), (std::vector<TKestItemChangedAction>{
                               tbicInvalidateAndResize, tbicInvalidate, tbicInvalidateAndResize,
                               tbicInvalidate, tbicInvalidateAndResize}));
}

TEST_F(Props, OnlyLayoutOptionsResize) {
  TKestItem* a = Add(root, 0);
  MenuRecorder rec(root);
  a->SetOptions({tboShowHint});
  a->SetOptions({tboShowHint, tboNoAutoHint, tboLongHintInMenuOnly});
  EXPECT_TRUE(rec.heard.empty());
  EXPECT_EQ(a->EffectiveOptions(),
            (TKestItemOptions{tboShowHint, tboNoAutoHint, tboLongHintInMenuOnly}));
  for (TKestItemOption o : {tboDefault, tboDropdownArrow, tboImageAboveCaption, tboNoRotation,
                            tboSameWidth, tboToolbarStyle}) {
    rec.heard.clear();
    a->SetOptions(a->Options() + TKestItemOptions{o});
    EXPECT_EQ(rec.Actions(), std::vector<TKestItemChangedAction>{tbicInvalidateAndResize})
        << int(o);
  }
}

TEST_F(Props, ToolbarSizeNeedsToolbarStyle) {
  TKestItem* a = Add(root, 0);
  MenuRecorder rec(root);
  a->SetOptions({tboToolbarSize});
  EXPECT_TRUE(a->Options().Empty());
  EXPECT_TRUE(rec.heard.empty());
  a->SetOptions({tboToolbarStyle, tboToolbarSize});
  EXPECT_EQ(a->EffectiveOptions(), (TKestItemOptions{tboToolbarStyle, tboToolbarSize}));
  // Blocking the inherited style also drops an inherited size.
  TKestItem* child = Add(new TKestSubmenuItem(&owner), 0);
  a->SetOptions({});
  root->SetOptions({tboToolbarStyle, tboToolbarSize});
  TKestCustomItem* sub = child->Parent();
  root->Add(sub);
  EXPECT_EQ(child->EffectiveOptions(), (TKestItemOptions{tboToolbarStyle, tboToolbarSize}));
  sub->SetMaskOptions({tboToolbarStyle});
  EXPECT_TRUE(sub->EffectiveOptions().Empty());
  EXPECT_TRUE(child->EffectiveOptions().Empty());
}

TEST_F(Props, OptionsAreInheritedWithoutDefaultAndThroughMasksAndOptOuts) {
  auto* sub = new TKestSubmenuItem(&owner);
  root->Add(sub);
  TKestItem* leaf = Add(sub, 0);
  TKestItem* loner = Add(sub, 0);
  loner->SetInheritOptions(false);
  root->SetOptions({tboDefault, tboSameWidth, tboShowHint});
  EXPECT_EQ(sub->EffectiveOptions(), (TKestItemOptions{tboSameWidth, tboShowHint}));
  EXPECT_EQ(leaf->EffectiveOptions(), (TKestItemOptions{tboSameWidth, tboShowHint}));
  EXPECT_TRUE(loner->EffectiveOptions().Empty());

  MenuRecorder rec(sub);
  sub->SetMaskOptions({tboSameWidth});
  EXPECT_EQ(leaf->EffectiveOptions(), (TKestItemOptions{tboShowHint}));
  EXPECT_EQ(rec.CountOf(tbicInvalidateAndResize, leaf), 1);
  leaf->SetOptions({tboSameWidth}); // its own options pass any mask above
  EXPECT_EQ(leaf->EffectiveOptions(), (TKestItemOptions{tboSameWidth, tboShowHint}));
  loner->SetInheritOptions(true);
  EXPECT_EQ(loner->EffectiveOptions(), (TKestItemOptions{tboShowHint}));

  // A removed item keeps what it had; inserting elsewhere recomputes.
  sub->Remove(leaf);
  EXPECT_TRUE(leaf->EffectiveOptions().Contains(tboShowHint));
  auto* bare = new TKestRootItem(&owner);
  bare->Add(leaf);
  EXPECT_EQ(leaf->EffectiveOptions(), (TKestItemOptions{tboSameWidth}));
}

TEST_F(Props, KindsHaveTheirStylesAndTheirOwnSetters) {
  const TKestItemStyle base{tbisSelectable, tbisRedrawOnSelChange, tbisRedrawOnMouseOverChange};
  EXPECT_EQ(TKestItem().GetItemStyle(), base);
  EXPECT_EQ(TKestRootItem().GetItemStyle(), base);
  EXPECT_EQ(TKestSubmenuItem().GetItemStyle(),
            (base + TKestItemStyle{tbisSubmenu, tbisSubitemsEditable}));
  EXPECT_EQ(TKestSeparatorItem().GetItemStyle(),
            (TKestItemStyle{tbisSeparator, tbisClicksTransparent}));
  EXPECT_EQ(TKestLabelItem().GetItemStyle(), TKestItemStyle{tbisClicksTransparent});
  EXPECT_EQ(
      TKestControlItem().GetItemStyle(),
      (TKestItemStyle{tbisClicksTransparent, tbisRedrawOnSelChange, tbisRedrawOnMouseOverChange}));
  EXPECT_EQ(TKestSeparatorItem().GetItemViewerClass(), TKestItemViewerClass::Separator);
  EXPECT_EQ(TKestLabelItem().GetItemViewerClass(), TKestItemViewerClass::Label);

  auto* combo = new TKestSubmenuItem(&owner);
  auto* sep = new TKestSeparatorItem(&owner);
  root->Add(combo);
  root->Add(sep);
  MenuRecorder rec(root);
  combo->SetDropdownCombo(true);
  EXPECT_TRUE(combo->GetItemStyle().Contains(tbisCombo));
  sep->SetBlank(true);
  EXPECT_EQ(rec.heard, (std::vector<test::Heard>{{tbicInvalidateAndResize, -1, combo, false},
                                                 {tbicInvalidate, -1, sep, false}}));
}

TEST(Sets, OrdinalsAreBitPositions) {
  EXPECT_EQ((TKestItemOptions{tboDefault, tboToolbarSize}).Bits(), 0x0201);
  EXPECT_EQ((TKestItemStyle{tbisRedrawOnMouseOverChange}).Bits(), 0x1000);
  EXPECT_EQ((TKestItemOptions{tboDefault, tboDropdownArrow, tboImageAboveCaption, tboNoRotation,
                              tboSameWidth, tboToolbarStyle, tboToolbarSize})
                .Bits(),
            kResizingOptionsMask);
}

} // namespace
} // namespace kest::menu
