// The preset name box and its inline rename edit.
#include "CtrlsFixture.h"
#include "TKestPresetBox.h"
#include "TestMenu.h"
#include "ui/services/Services.h"
#include "ui/toolkit/Application.h"

namespace kest::test {
namespace {

class PresetBox : public CtrlsTest {
protected:
  void SetUp() override {
    CtrlsTest::SetUp();
    box = Place<TKestPresetBox>(292, 4);
    box->SetCaption(u"Init Comb");
    menu = new TestMenu(form);
    box->SetDropDownMenu(menu);
    box->SetOnAcceptText([this](ui::Component*, std::u16string& text, bool& accept) {
      offered.push_back(text);
      accept = acceptNames;
      if (!acceptNames)
        ui::ShowMessageBox(form->Handle(), u"Name taken", u"Kestrelphon", ui::MB_OK);
    });
  }
  void OpenEdit() {
    ClickAt(box, 20, 10);
    ASSERT_TRUE(box->Edit()->Visible());
    ASSERT_TRUE(box->Edit()->Focused());
  }
  TKestEdit* edit() { return box->Edit(); }

  TKestPresetBox* box = nullptr;
  TestMenu* menu = nullptr;
  std::vector<std::u16string> offered;
  bool acceptNames = true;
};

TEST_F(PresetBox, ReleaseOnTheNameOpensTheEditAndTheArrowOpensTheMenu) {
  ClickAt(box, 106, 10, ui::MouseButton::Right);
  EXPECT_TRUE(edit()->Visible()) << "any button on the name part";
  EXPECT_TRUE(edit()->Focused());
  EXPECT_EQ(edit()->BoundsRect(), ui::Rect::FromSize(300, 9, 97, 14));
  EXPECT_EQ(edit()->Text(), u"Init Comb");
  EXPECT_EQ(edit()->Name(), "PresetEdit");
  ClickAt(box, 107, 10);
  EXPECT_EQ(menu->popups.size(), 1u);
  EXPECT_FALSE(edit()->Visible()) << "the menu hides the edit";
  EXPECT_EQ(edit()->BoundsRect(), ui::Rect{});
  // A press on the name dragged off the box is no rename.
  PressAt(box, 20, 10);
  MoveTo(box, 20, 60);
  Release();
  EXPECT_FALSE(edit()->Visible());
}

TEST_F(PresetBox, EnterAcceptsWithoutALineBreak) {
  OpenEdit();
  edit()->SelectAll();
  screen.Type(u"Drift");
  screen.Key(ui::VK_RETURN, u'\r');
  screen.Pump();
  EXPECT_EQ(offered, (std::vector<std::u16string>{u"Drift"}));
  EXPECT_FALSE(edit()->Visible());
  EXPECT_EQ(ui::GetFocusWnd(), form->Handle()) << "the focus goes back to the form";
  EXPECT_EQ(box->Caption(), u"Init Comb") << "the handler applies the name itself";
}

TEST_F(PresetBox, EscapeAndFocusLossHideWithoutAccepting) {
  form->SetKeyPreview(true);
  form->OnKeyDown = [this](ui::Component*, std::uint16_t& key, ui::ShiftState) {
    if (key == ui::VK_ESCAPE) box->HideEdit();
  };
  OpenEdit();
  screen.Key(ui::VK_ESCAPE);
  screen.Pump();
  EXPECT_FALSE(edit()->Visible());
  OpenEdit();
  form->SetFocus();
  screen.Pump();
  EXPECT_FALSE(edit()->Visible());
  EXPECT_TRUE(offered.empty());
}

TEST_F(PresetBox, RejectedNameComesBackAndKeepsTheFocus) {
  acceptNames = false;
  OpenEdit();
  edit()->SelectAll();
  screen.Type(u"Taken");
  screen.Key(ui::VK_RETURN, u'\r');
  screen.Pump();
  EXPECT_EQ(offered, (std::vector<std::u16string>{u"Taken"}));
  EXPECT_EQ(screen->messageBoxes.size(), 1u);
  EXPECT_TRUE(edit()->Visible()) << "the message box did not hide it";
  EXPECT_TRUE(edit()->Focused());
  EXPECT_EQ(edit()->Text(), u"Init Comb");
  EXPECT_FALSE(edit()->HideLock());
}

TEST_F(PresetBox, FailingHandlerReleasesTheHideLock) {
  std::vector<std::string> errors;
  ui::App().OnException = [&](std::exception_ptr) { errors.push_back("error"); };
  box->SetOnAcceptText(
      [](ui::Component*, std::u16string&, bool&) { throw std::runtime_error("disk full"); });
  OpenEdit();
  screen.Key(ui::VK_RETURN, u'\r');
  screen.Pump();
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_FALSE(edit()->HideLock());
  form->SetFocus();
  screen.Pump();
  EXPECT_FALSE(edit()->Visible());
}

TEST_F(PresetBox, LongNamesStayInsideTheTextArea) {
  box->SetCaption(u"");
  const ui::Bitmap empty = box->ScreenBmp();
  box->SetCaption(u"A preset name far too long to fit in the box");
  const ui::Rect ink = DifferenceBounds(box->ScreenBmp(), empty);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GE(ink.left, 8);
  EXPECT_LE(ink.right, 105);
  EXPECT_GE(ink.top, 5);
  EXPECT_LE(ink.bottom, 19);
}

} // namespace
} // namespace kest::test
