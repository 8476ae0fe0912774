// Views over real item trees: layout, keys, accelerators, the submenu and
// scroll timers on the fake clock, and how a menu ends.
#include "ViewFixture.h"
#include "uKestTools.h"
#include "ui/toolkit/Application.h"

namespace kest::menu::test {
namespace {

using namespace kest::ui;

// The row height and widths the sizing rules give for the menu font.
struct Metrics {
  int rowHeight = 0;
  int Width(const std::u16string& caption, const std::u16string& shortcut = u"") {
    Canvas& c = scratch.GetCanvas();
    c.font = KestMenuFont();
    int w = CaptionExtent(c, caption, true).cx + rowHeight + 6;
    if (!shortcut.empty()) w += rowHeight + c.TextExtent(shortcut).cx - 6;
    return w + rowHeight;
  }
  Metrics() {
    Canvas& c = scratch.GetCanvas();
    c.font = KestMenuFont();
    const TextMetrics tm = c.GetTextMetrics();
    rowHeight = tm.height + tm.externalLeading + 4;
  }
  Bitmap scratch{1, 1};
};

using Layout = ViewTest;

TEST_F(Layout, ColumnTakesItsSizesFromTheFontAndHidesEdgeSeparators) {
  AddSeparator(); // leading
  auto* a = AddItem(u"&Alpha");
  AddSeparator();
  AddSeparator(); // doubled
  auto* b = AddItem(u"Beta\tCtrl+B");
  AddLabel(u"Heading");
  auto* hidden = AddItem(u"Never shown");
  hidden->SetVisible(false);
  AddSeparator(); // trailing
  TKestView* v = Open();
  Metrics m;
  std::vector<bool> shown;
  for (int i = 0; i < v->ViewerCount(); ++i)
    shown.push_back(v->GetViewer(i)->Show());
  EXPECT_EQ(shown, (std::vector<bool>{false, true, true, false, true, true, false, false}));
  const int widest = std::max(m.Width(u"&Alpha"), m.Width(u"Beta", u"Ctrl+B"));
  EXPECT_EQ(v->Find(a)->BoundsRect(), Rect::FromSize(0, 0, widest, m.rowHeight));
  EXPECT_EQ(v->Find(b)->BoundsRect(), Rect::FromSize(0, m.rowHeight + 10, widest, m.rowHeight));
  const int labelHeight = v->GetViewer(5)->BoundsRect().Height();
  // The popup window wears a 3-pixel frame around the column.
  EXPECT_EQ(popup->Width(), widest + 6);
  EXPECT_EQ(popup->Height(), 2 * m.rowHeight + 10 + labelHeight + 6);

  // A longer caption widens every row.
  b->SetCaption(u"Beta with a much longer caption");
  EXPECT_EQ(v->Find(a)->BoundsRect().Width(), m.Width(u"Beta with a much longer caption"));
}

TEST_F(Layout, EmptyMenusShowAnEmptyColumn) {
  AddSeparator();
  AddSeparator();
  Open();
  EXPECT_EQ(popup->Width(), 23 + 6);
  EXPECT_EQ(popup->Height(), 22 + 6);
  delete popup;
  popup = nullptr;
  root->Clear();
  AddItem(u"Gone")->SetVisible(false);
  Open();
  EXPECT_EQ(popup->Width(), 23 + 6);
  EXPECT_EQ(popup->Height(), 22 + 6);
}

TEST_F(Layout, ViewersFollowTheItemTree) {
  auto* a = AddItem(u"A");
  auto* c = AddItem(u"C");
  TKestView* v = Open();
  auto* b = new TKestItem(root);
  b->SetCaption(u"B");
  root->Insert(1, b);
  ASSERT_EQ(v->ViewerCount(), 3);
  EXPECT_EQ(v->GetViewer(1)->Item(), b);
  EXPECT_LT(v->Find(b)->BoundsRect().top, v->Find(c)->BoundsRect().top);
  v->Select(v->Find(b), false);
  delete b; // the selected item goes
  EXPECT_EQ(v->Selected(), nullptr);
  EXPECT_EQ(v->ViewerCount(), 2);
  EXPECT_THROW(v->Find(b), EKestItemError);
  EXPECT_THROW(v->GetViewer(2), EKestItemError);

  // The submenu of an item with linked subitems shows the target's items.
  auto* other = new TKestRootItem(nullptr);
  auto* x = new TKestItem(other);
  x->SetCaption(u"X");
  other->Add(x);
  root->SetLinkSubitems(other);
  ASSERT_EQ(v->ViewerCount(), 1);
  EXPECT_EQ(v->GetViewer(0)->Item(), x);
  delete other; // the link goes with its target
  ASSERT_EQ(v->ViewerCount(), 2);
  EXPECT_EQ(v->GetViewer(0)->Item(), a);
}

TEST_F(Layout, ScrollArrowsAndOneItemPerStep) {
  std::vector<TKestItem*> items;
  for (int i = 0; i < 12; ++i)
    items.push_back(AddItem(u"Item " + std::u16string(1, static_cast<char16_t>(u'A' + i))));
  TKestView* v = Open();
  const int row = v->Find(items[0])->BoundsRect().Height();
  v->SetMaxHeight(5 * row);
  v->ValidatePositions();
  EXPECT_FALSE(v->ShowUpArrow());
  EXPECT_TRUE(v->ShowDownArrow());
  EXPECT_EQ(popup->Height(), 5 * row + 6);
  // Rows that reach into the bottom arrow's 19 pixels are clipped.
  int firstHidden = 0;
  while (v->Find(items[static_cast<std::size_t>(firstHidden)])->Show())
    ++firstHidden;
  EXPECT_TRUE(v->Find(items[static_cast<std::size_t>(firstHidden)])->Clipped());
  EXPECT_LE(v->Find(items[static_cast<std::size_t>(firstHidden) - 1])->BoundsRect().bottom,
            5 * row - 19);

  v->Scroll(true);
  EXPECT_TRUE(v->ShowUpArrow());
  const Rect revealed = v->Find(items[static_cast<std::size_t>(firstHidden)])->BoundsRect();
  EXPECT_TRUE(v->Find(items[static_cast<std::size_t>(firstHidden)])->Show());
  EXPECT_EQ(revealed.bottom, 5 * row - 19) << "exactly the next item, flush with the arrow";
  EXPECT_FALSE(v->Find(items[static_cast<std::size_t>(firstHidden) + 1])->Show());

  // The pointer resting on the up arrow scrolls back one item per 100 ms.
  const int offset = v->ScrollOffset();
  PointTo(popup->ClientToScreen({20, 5}));
  screen.RunFor(99);
  EXPECT_EQ(v->ScrollOffset(), offset);
  screen.RunFor(1);
  EXPECT_LT(v->ScrollOffset(), offset);
  screen.RunFor(2000);
  EXPECT_EQ(v->ScrollOffset(), 0);
  EXPECT_FALSE(v->ShowUpArrow());

  // Keys bring the selection into view.
  Key(VK_END);
  EXPECT_EQ(v->Selected()->Item(), items.back());
  EXPECT_TRUE(v->Selected()->Show());
  EXPECT_FALSE(v->ShowDownArrow());
}

using Keys = ViewTest;

TEST_F(Keys, ArrowsTabHomeAndEndWrapAndTakeDisabledItems) {
  auto* a = AddItem(u"A");
  AddSeparator();
  auto* b = AddItem(u"B");
  b->SetEnabled(false);
  AddLabel(u"Label");
  auto* c = AddItem(u"C");
  TKestView* v = Open();
  Key(VK_DOWN);
  EXPECT_EQ(v->Selected()->Item(), a);
  Key(VK_DOWN);
  EXPECT_EQ(v->Selected()->Item(), b) << "disabled items are selected by the arrows";
  Key(VK_DOWN);
  EXPECT_EQ(v->Selected()->Item(), c) << "labels and separators are passed over";
  Key(VK_DOWN);
  EXPECT_EQ(v->Selected()->Item(), a) << "wraps round";
  Key(VK_UP);
  EXPECT_EQ(v->Selected()->Item(), c);
  Key(VK_TAB, ssShift);
  EXPECT_EQ(v->Selected()->Item(), b);
  Key(VK_TAB);
  EXPECT_EQ(v->Selected()->Item(), c);
  Key(VK_HOME);
  EXPECT_EQ(v->Selected()->Item(), a);
  Key(VK_END);
  EXPECT_EQ(v->Selected()->Item(), c);
  std::uint16_t other = 'Q';
  v->KeyDown(other, 0);
  EXPECT_EQ(other, 'Q') << "keys that are not the view's stay";
}

TEST_F(Keys, EndingActions) {
  auto* a = AddItem(u"A");
  auto* off = AddItem(u"Off");
  off->SetEnabled(false);
  off->SetHelpContext(77);
  TKestView* v = Open();
  v->Select(v->Find(off), false);
  Key(VK_RETURN);
  EXPECT_EQ(v->DoneActionData().DoneAction, tbdaCancel) << "a disabled item closes the menu";
  EXPECT_EQ(v->DoneActionData().ClickItem, nullptr);
  v->SetDoneAction(tbdaNone);
  Key(VK_F1);
  EXPECT_EQ(v->DoneActionData().DoneAction, tbdaHelpContext);
  EXPECT_EQ(v->DoneActionData().ContextID, 77u);
  v->SetDoneAction(tbdaNone);
  v->Select(v->Find(a), false);
  Key(VK_RETURN);
  EXPECT_EQ(v->DoneActionData().DoneAction, tbdaClickItem);
  EXPECT_EQ(v->DoneActionData().ClickItem, a);
  EXPECT_TRUE(v->DoneActionData().Sound);
  delete a; // the recorded click must not reach a freed item
  EXPECT_EQ(v->DoneActionData().ClickItem, nullptr);
  EXPECT_EQ(v->DoneActionData().DoneAction, tbdaCancel);
  v->SetDoneAction(tbdaNone);
  Key(VK_F10);
  EXPECT_TRUE(v->IsModalEnding());
}

TEST_F(Keys, EscapeAndLeftCloseOnlyTheDeepestLevel) {
  auto* sub = AddSubmenu(u"Sub");
  AddItem(u"Inner", sub);
  auto* deeper = AddSubmenu(u"Deeper", sub);
  AddItem(u"Bottom", deeper);
  TKestView* v = Open();
  v->Select(v->Find(sub), false);
  Key(VK_RIGHT);
  ASSERT_NE(v->OpenViewerView(), nullptr);
  EXPECT_EQ(SelectedCaption(v->OpenViewerView()), "Inner") << "RIGHT selects the first item";
  Key(VK_DOWN);
  Key(VK_RETURN); // opens rather than executes
  ASSERT_NE(v->OpenViewerView()->OpenViewerView(), nullptr);
  EXPECT_FALSE(v->IsModalEnding());
  Key(VK_ESCAPE);
  EXPECT_EQ(v->OpenViewerView()->OpenViewerView(), nullptr);
  ASSERT_NE(v->OpenViewerView(), nullptr);
  Key(VK_LEFT);
  EXPECT_EQ(v->OpenViewerView(), nullptr);
  EXPECT_FALSE(v->IsModalEnding());
  Key(VK_LEFT); // the root has nowhere to go
  Key(VK_ESCAPE);
  EXPECT_EQ(v->DoneActionData().DoneAction, tbdaCancel);
}

using Accelerators = ViewTest;

TEST_F(Accelerators, PrimaryThenFirstLetterEnabledBeforeDisabled) {
  auto* open = AddItem(u"&Open");
  auto* options = AddItem(u"Preferences (&o)");
  auto* save = AddItem(u"Save");
  auto* gone = AddItem(u"&Gone");
  gone->SetEnabled(false);
  auto* turkish = AddItem(u"\u0130stanbul (&\u0130)");
  auto* umlaut = AddItem(u"&\u00C4rger");
  TKestView* v = Open();
  bool only = true;
  EXPECT_EQ(v->NextSelectableWithAccel(nullptr, u'o', false, only), v->Find(open));
  EXPECT_FALSE(only) << "two enabled items answer to O";
  EXPECT_EQ(v->NextSelectableWithAccel(v->Find(open), u'O', false, only), v->Find(options));
  EXPECT_EQ(v->NextSelectableWithAccel(v->Find(options), u'o', false, only), v->Find(open));
  EXPECT_EQ(v->NextSelectableWithAccel(nullptr, u's', false, only), v->Find(save));
  EXPECT_TRUE(only) << "first letter, one match";
  EXPECT_EQ(v->NextSelectableWithAccel(nullptr, u's', true, only), nullptr)
      << "only primary accelerators asked for";
  EXPECT_EQ(v->NextSelectableWithAccel(nullptr, u'g', false, only), v->Find(gone));
  EXPECT_TRUE(only) << "a disabled match is the only one";
  EXPECT_EQ(v->NextSelectableWithAccel(nullptr, u'i', false, only), v->Find(turkish));
  EXPECT_EQ(v->NextSelectableWithAccel(nullptr, u'\u00E4', false, only), v->Find(umlaut));
  EXPECT_EQ(v->NextSelectableWithAccel(nullptr, u' ', false, only), nullptr);
}

TEST_F(Accelerators, HintTextAndHiddenUnderlines) {
  auto* open = AddItem(u"&Open...");
  open->SetShortCut(ShortCut('O', ssCtrl));
  auto* hinted = AddItem(u"Other");
  hinted->SetHint(u"Short|Long");
  TKestView* v = Open();
  EXPECT_EQ(v->Find(open)->GetHintText(), u"Open (Ctrl+O)");
  App().HintShortCuts = false;
  EXPECT_EQ(v->Find(open)->GetHintText(), u"Open");
  EXPECT_EQ(v->Find(hinted)->GetHintText(), u"Short");

  v->Style().Include(vsUseHiddenAccels);
  screen->config.settings.keyboardCues = false;
  v->SetAccelsVisibility(false);
  EXPECT_FALSE(v->State().Contains(vsShowAccels));
  v->SetAccelsVisibility(true);
  EXPECT_TRUE(v->State().Contains(vsShowAccels));
  screen->config.settings.keyboardCues = true;
  v->SetAccelsVisibility(false);
  EXPECT_TRUE(v->State().Contains(vsShowAccels)) << "the desktop's keyboard cues show them";
}

using Timers = ViewTest;

TEST_F(Timers, SubmenusOpenAndCloseAfterTheShowDelay) {
  screen->config.settings.menuShowDelayMs = 300;
  auto* plain = AddItem(u"Plain");
  auto* sub = AddSubmenu(u"Sub");
  auto* inner = AddItem(u"Inner", sub);
  auto* other = AddSubmenu(u"Other");
  AddItem(u"Other inner", other);
  TKestView* v = Open();
  PointTo(Centre(v, sub));
  screen.RunFor(299);
  EXPECT_EQ(v->OpenViewerView(), nullptr);
  screen.RunFor(1);
  ASSERT_NE(v->OpenViewerView(), nullptr) << "opens after resting for the show delay";
  EXPECT_EQ(v->OpenViewer(), v->Find(sub));

  // Into the submenu: its item stays selected in the parent.
  TKestView* child = v->OpenViewerView();
  PointTo(Centre(child, inner));
  EXPECT_EQ(SelectedCaption(v), "Sub");
  EXPECT_EQ(SelectedCaption(child), "Inner");
  screen.RunFor(1000);
  EXPECT_EQ(v->OpenViewerView(), child);

  // Onto another item: the submenu closes after the delay...
  PointTo(Centre(v, plain));
  screen.RunFor(299);
  EXPECT_NE(v->OpenViewerView(), nullptr);
  screen.RunFor(1);
  EXPECT_EQ(v->OpenViewerView(), nullptr);

  // ... unless the pointer reaches the submenu first.
  PointTo(Centre(v, sub));
  screen.RunFor(300);
  ASSERT_NE(v->OpenViewerView(), nullptr);
  PointTo(Centre(v, plain));
  screen.RunFor(150);
  PointTo(Centre(v->OpenViewerView(), inner));
  screen.RunFor(1000);
  EXPECT_NE(v->OpenViewerView(), nullptr);
  EXPECT_EQ(SelectedCaption(v), "Sub");

  // A press on a submenu item opens it at once.
  PointTo(Centre(v, other));
  bool down = false;
  v->Find(other)->MouseDown(0, 5, 5, down);
  ASSERT_NE(v->OpenViewerView(), nullptr);
  EXPECT_EQ(v->OpenViewer(), v->Find(other));
}

TEST_F(Timers, ReleasingOverWhatCannotBeClickedLeavesTheMenuOpen) {
  auto* off = AddItem(u"Off");
  off->SetEnabled(false);
  auto* sep = AddSeparator();
  auto* label = AddLabel(u"Label");
  auto* on = AddItem(u"On");
  TKestView* v = Open();
  for (TKestCustomItem* it : std::vector<TKestCustomItem*>{off, sep, label}) {
    PointTo(Centre(v, it));
    TKestItemViewer* sel = v->Selected();
    ASSERT_NE(sel, nullptr);
    sel->MouseUp(3, 3, true);
    EXPECT_FALSE(v->IsModalEnding());
  }
  PointTo(Centre(v, on));
  v->Selected()->MouseUp(3, 3, true);
  EXPECT_EQ(v->DoneActionData().ClickItem, on);

  // Cancel mode ends the menu and hides its windows.
  v->SetDoneAction(tbdaNone);
  v->CancelMode();
  EXPECT_EQ(v->DoneActionData().DoneAction, tbdaCancel);
  EXPECT_FALSE(popup->Visible());
}

} // namespace
} // namespace kest::menu::test
