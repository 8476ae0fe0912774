// The single-line edit: typing, caret keys, selection, clipboard keys,
// maximum length and Enter.
#include <gtest/gtest.h>

#include "ui/headless/HeadlessBackend.h"
#include "ui/toolkit/Edit.h"
#include "ui/toolkit/Form.h"

namespace kest::ui {
namespace {

class EditTest : public ::testing::Test {
protected:
  headless::HeadlessScreen screen;
  Form* form = nullptr;
  Edit* edit = nullptr;
  int changes = 0;
  void SetUp() override {
    form = new Form(nullptr);
    form->SetBounds(10, 10, 200, 100);
    form->Show();
    edit = new Edit(form);
    edit->SetParent(form);
    edit->SetBounds(8, 5, 97, 14);
    edit->OnChange = [this](Component*) { ++changes; };
    edit->SetFocus();
    screen.Pump();
  }
  void TearDown() override { delete form; }
  void Keys(std::initializer_list<std::uint16_t> keys) {
    for (auto k : keys)
      screen.Key(k);
    screen.Pump();
  }
  void CtrlKey(std::uint16_t k) {
    screen.KeyDown(VK_CONTROL);
    screen.Key(k);
    screen.KeyUp(VK_CONTROL);
    screen.Pump();
  }
};

TEST_F(EditTest, TypingAndCaretKeys) {
  screen.Type(u"Presett");
  screen.Pump();
  EXPECT_EQ(edit->Text(), u"Presett");
  EXPECT_EQ(changes, 7);
  Keys({VK_BACK});
  EXPECT_EQ(edit->Text(), u"Preset");
  Keys({VK_HOME, VK_DELETE});
  EXPECT_EQ(edit->Text(), u"reset");
  EXPECT_EQ(edit->CaretPos(), 0);
  screen.Type(u"P");
  Keys({VK_END, VK_LEFT, VK_LEFT});
  EXPECT_EQ(edit->CaretPos(), 4);
  Keys({VK_BACK});
  EXPECT_EQ(edit->Text(), u"Preet");
  Keys({VK_HOME, VK_LEFT, VK_BACK}); // nothing to the left
  EXPECT_EQ(edit->Text(), u"Preet");
  Keys({VK_END, VK_RIGHT, VK_DELETE}); // nothing to the right
  EXPECT_EQ(edit->Text(), u"Preet");
}

TEST_F(EditTest, ShiftSelectsAndTypingReplacesTheSelection) {
  edit->SetText(u"Bass Lead");
  screen.KeyDown(VK_SHIFT);
  Keys({VK_HOME, VK_RIGHT});
  screen.KeyUp(VK_SHIFT);
  screen.Pump();
  // From the end to the start, then one back towards the end.
  EXPECT_EQ(edit->SelStart(), 1);
  EXPECT_EQ(edit->SelText(), u"ass Lead");
  screen.Type(u"oo");
  screen.Pump();
  EXPECT_EQ(edit->Text(), u"Boo");
  edit->SetSel(1, 1);
  Keys({VK_RIGHT});
  EXPECT_EQ(edit->SelLength(), 0);
  EXPECT_EQ(edit->CaretPos(), 2);
  edit->SetSel(-4, 99); // clamped
  EXPECT_EQ(edit->SelText(), u"Boo");
}

TEST_F(EditTest, ClipboardKeys) {
  edit->SetText(u"Pad one");
  CtrlKey('A');
  CtrlKey('C');
  EXPECT_EQ(screen->clipboard, u"Pad one");
  Keys({VK_END});
  screen->clipboard = u"two\r\nthree";
  CtrlKey('V');
  EXPECT_EQ(edit->Text(), u"Pad onetwo"); // one line only
  edit->SetSel(0, 3);
  CtrlKey('X');
  EXPECT_EQ(screen->clipboard, u"Pad");
  EXPECT_EQ(edit->Text(), u" onetwo");
  screen.KeyDown(VK_SHIFT);
  screen.Key(VK_INSERT);
  screen.KeyUp(VK_SHIFT);
  screen.Pump();
  EXPECT_EQ(edit->Text(), u"Pad onetwo");
}

TEST_F(EditTest, MaximumLengthAndEnterBeep) {
  edit->SetMaxLength(5);
  screen.Type(u"abcdefg");
  screen.Pump();
  EXPECT_EQ(edit->Text(), u"abcde");
  EXPECT_FALSE(screen->beeps.empty());
  screen->beeps.clear();
  screen.Key(VK_RETURN, u'\r');
  screen.Pump();
  EXPECT_EQ(edit->Text(), u"abcde");
  EXPECT_EQ(screen->beeps.size(), 1u);
  edit->SetText(u"far too long text");
  EXPECT_EQ(edit->Text(), u"far t");
  edit->SetMultiLine(true);
  edit->SetMaxLength(0);
  screen.Key(VK_RETURN, u'\r');
  screen.Pump();
  EXPECT_EQ(edit->Text(), u"far t\r\n");
}

TEST_F(EditTest, ClickingPlacesTheCaret) {
  edit->SetText(u"WWWWWWWW");
  const Point left = edit->ClientToScreen({2, 5});
  screen.Click(left);
  screen.Pump();
  EXPECT_EQ(edit->CaretPos(), 0);
  screen.Advance(1000);
  screen.Click(edit->ClientToScreen({96, 5}));
  screen.Pump();
  EXPECT_EQ(edit->CaretPos(), 8);
}

} // namespace
} // namespace kest::ui
