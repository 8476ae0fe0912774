// What a menu column looks like: the colours of its frame, fill, texts,
// selection, marks, separators and scroll arrows, with pictures to look at.
#include "ViewFixture.h"
#include "ui/gfx/Png.h"

namespace kest::menu::test {
namespace {

using namespace kest::ui;

class Pictures : public ViewTest {
protected:
  void Build() {
    undo = AddItem(u"&Undo\tCtrl+Z");
    undo->SetChecked(true);
    AddLabel(u"Voices");
    for (const char16_t* c : {u"Voice &A", u"Voice &B"}) {
      TKestItem* r = AddItem(c);
      r->SetRadioItem(true);
      r->SetGroupIndex(1);
      radios.push_back(r);
    }
    radios[1]->SetChecked(true);
    AddSeparator();
    disabled = AddItem(u"&Paste");
    disabled->SetEnabled(false);
    disabled->SetShortCut(ShortCut('V', ssCtrl));
    sub = AddSubmenu(u"&Styles");
    AddItem(u"Major", sub);
    AddItem(u"Minor", sub);
    AddSeparator();
    AddItem(u"&About...");
  }
  Bitmap Shot(const std::string& name) {
    screen.Pump();
    Bitmap b = screen.Screenshot(popup->Handle());
    SavePng(b, OutputPath(name));
    return b;
  }
  // The window-coordinate rectangle of an item's row.
  Rect Row(TKestView* v, const TKestCustomItem* it) {
    return v->Find(it)->BoundsRect().Offset(kKestPopupFrame, kKestPopupFrame);
  }
  static int Count(const Bitmap& b, const Rect& r, Color c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        n += b.ColorAt(x, y) == c;
    return n;
  }

  TKestItem* undo = nullptr;
  TKestItem* disabled = nullptr;
  TKestSubmenuItem* sub = nullptr;
  std::vector<TKestItem*> radios;
};

TEST_F(Pictures, ColumnInTheMenuColours) {
  Build();
  TKestView* v = Open();
  const Bitmap plain = Shot("menu_column.png");
  EXPECT_EQ(plain.ColorAt(0, 0), colors::FrameLine);
  EXPECT_EQ(plain.ColorAt(plain.Width() - 1, plain.Height() - 1), colors::FrameLine);
  EXPECT_EQ(plain.ColorAt(1, 1), colors::Background);
  const Rect undoRow = Row(v, undo);
  EXPECT_GT(Count(plain, undoRow, colors::Text), 20) << "caption, shortcut and check mark";
  EXPECT_EQ(Count(plain, undoRow, colors::Selection), 0);
  const Rect pasteRow = Row(v, disabled);
  EXPECT_GT(Count(plain, pasteRow, colors::DisabledText), 10);
  EXPECT_EQ(Count(plain, pasteRow, colors::Text), 0);
  // The check mark sits in the check column, the radio mark of the checked
  // radio item only.
  const int column = undoRow.Height();
  EXPECT_GT(Count(plain, {undoRow.left, undoRow.top, undoRow.left + column, undoRow.bottom},
                  colors::Text),
            5);
  const Rect a = Row(v, radios[0]);
  const Rect b = Row(v, radios[1]);
  EXPECT_EQ(Count(plain, {a.left, a.top, a.left + column, a.bottom}, colors::Text), 0);
  EXPECT_EQ(Count(plain, {b.left, b.top, b.left + column, b.bottom}, colors::Text), 5 * 5 - 4);
  // The separator's rule, 12 pixels in from each side.
  const TKestItemViewer* sep = v->GetViewer(4);
  const Rect s = sep->BoundsRect().Offset(kKestPopupFrame, kKestPopupFrame);
  const int ruleY = s.top + s.Height() / 2 - 1;
  EXPECT_EQ(plain.ColorAt(s.left + 12, ruleY), colors::Selection);
  EXPECT_EQ(plain.ColorAt(s.left + 11, ruleY), colors::Background);
  EXPECT_EQ(plain.ColorAt(s.right - 13, ruleY), colors::Selection);
  // The submenu arrow at the right edge of its row.
  const Rect subRow = Row(v, sub);
  EXPECT_GT(
      Count(plain, {subRow.right - 13, subRow.top, subRow.right, subRow.bottom}, colors::Text), 8);

  // Selected: the row fills with the selection colour except the check
  // column of a checked item; the selected item is drawn on its own.
  v->Select(v->Find(undo), false);
  const Bitmap selected = Shot("menu_column_selected.png");
  EXPECT_EQ(selected.ColorAt(undoRow.right - 2, undoRow.top + 1), colors::Selection);
  EXPECT_EQ(selected.ColorAt(undoRow.left + column, undoRow.top + 1), colors::Background);
  EXPECT_EQ(selected.ColorAt(undoRow.left + column + 1, undoRow.top + 1), colors::Selection);
  v->Select(v->Find(disabled), false);
  const Bitmap selectedDisabled = Shot("menu_column_selected_disabled.png");
  EXPECT_EQ(selectedDisabled.ColorAt(pasteRow.left + 1, pasteRow.top + 1), colors::Selection);
  EXPECT_EQ(Count(selectedDisabled, undoRow, colors::Selection), 0)
      << "the old selection was repainted";
  v->Select(v->Find(sub), false);
  v->OpenChildPopup(false);
  screen.Pump();
  SavePng(screen.Screenshot(), OutputPath("menu_with_submenu_screen.png"));
}

TEST_F(Pictures, ScrollArrowsInTheTextColour) {
  Build();
  for (int i = 0; i < 8; ++i)
    AddItem(u"More " + std::u16string(1, static_cast<char16_t>(u'1' + i)));
  TKestView* v = Open();
  v->SetMaxHeight(120);
  v->ValidatePositions();
  v->Scroll(true);
  ASSERT_TRUE(v->ShowUpArrow());
  ASSERT_TRUE(v->ShowDownArrow());
  const Bitmap shot = Shot("menu_column_scrolled.png");
  EXPECT_EQ(shot.Height(), 120 + 6);
  // Apexes: the up arrow's at the top strip's centre line, the down
  // arrow's three pixels under the bottom strip's.
  const int cx = kKestPopupFrame + (shot.Width() - 6) / 2;
  EXPECT_EQ(shot.ColorAt(cx, kKestPopupFrame + 19 / 2 - 1), colors::Text);
  EXPECT_EQ(shot.ColorAt(cx, kKestPopupFrame + 19 / 2 - 3), colors::Background);
  const int downCy = kKestPopupFrame + (120 - 19 + 120) / 2 - 1;
  EXPECT_EQ(shot.ColorAt(cx, downCy + 2), colors::Text);
  EXPECT_EQ(shot.ColorAt(cx, downCy + 5), colors::Background);
  // Nothing of an item shows in the arrow zones.
  EXPECT_EQ(Count(shot, {kKestPopupFrame, kKestPopupFrame, shot.Width() - 3, kKestPopupFrame + 19},
                  colors::Text),
            Count(shot, {cx - 4, kKestPopupFrame, cx + 4, kKestPopupFrame + 19}, colors::Text));
}

} // namespace
} // namespace kest::menu::test
