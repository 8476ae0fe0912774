// The file dialog and link helpers on top of the headless services.
#include <gtest/gtest.h>

#include <string>

#include "uKestDialogs.h"
#include "ui/headless/HeadlessBackend.h"
#include "ui/toolkit/Application.h"

namespace kest {
namespace {

class Dialogs : public ::testing::Test {
protected:
  ui::headless::HeadlessScreen screen;
  TZFileName name;
  void SetUp() override {
    ui::App().Reset();
    const std::u16string start = u"old.kst";
    std::copy(start.begin(), start.end(), name.Text);
  }
  void TearDown() override { ui::App().Reset(); }
};

TEST_F(Dialogs, OpenDialogGetsTheBankFilterAndFillsTheBuffer) {
  screen->onFileDialog = [](const ui::FileDialogRequest&) {
    return std::u16string(u"/banks/new.kst");
  };
  EXPECT_TRUE(
      FileDialog(name, 7, true, u"", u"Load Kestrelphon bank", BankFileFilter, BankFileExt));
  EXPECT_EQ(std::u16string(name.Text), u"/banks/new.kst");
  ASSERT_EQ(screen->fileDialogs.size(), 1u);
  const auto& r = screen->fileDialogs[0];
  EXPECT_FALSE(r.save);
  EXPECT_EQ(r.owner, 7u);
  EXPECT_EQ(r.fileName, u"old.kst");
  EXPECT_EQ(r.title, u"Load Kestrelphon bank");
  EXPECT_EQ(r.defaultExt, u"kst");
  EXPECT_EQ(r.filters, (std::vector<ui::FileFilter>{{u"Kestrelphon bank (*.kst)", u"*.kst"},
                                                    {u"All files (*.*)", u"*.*"}}));
  EXPECT_EQ(r.flags, ui::OFN_EXPLORER | ui::OFN_HIDEREADONLY | ui::OFN_FILEMUSTEXIST);
}

TEST_F(Dialogs, CancelledOrOverlongAnswersLeaveTheBuffer) {
  EXPECT_FALSE(
      FileDialog(name, 0, false, u"", u"Save Kestrelphon bank as", BankFileFilter, BankFileExt));
  EXPECT_EQ(screen->fileDialogs[0].flags,
            ui::OFN_EXPLORER | ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT);
  EXPECT_TRUE(screen->fileDialogs[0].save);
  EXPECT_EQ(std::u16string(name.Text), u"old.kst");

  screen->onFileDialog = [](const ui::FileDialogRequest&) { return std::u16string(1501, u'x'); };
  EXPECT_FALSE(FileDialog(name, 0, true, u"", u"", nullptr, u""));
  EXPECT_TRUE(screen->fileDialogs[1].filters.empty());
  EXPECT_EQ(std::u16string(name.Text), u"old.kst");

  screen->onFileDialog = [](const ui::FileDialogRequest&) { return std::u16string(1500, u'y'); };
  EXPECT_TRUE(FileDialog(name, 0, true, u"", u"", BankFileFilter, u""));
  EXPECT_EQ(std::u16string(name.Text).size(), 1500u);
  EXPECT_EQ(name.Text[1500], u'\0');
}

TEST_F(Dialogs, OpenUrlLetsPendingMessagesRunAndHandsTheLinkOn) {
  int handled = 0;
  ui::WindowDesc d;
  d.proc = [&](ui::WindowHandle h, std::uint32_t m, ui::WParam w, ui::LParam l) -> ui::LResult {
    if (m == ui::WM_USER + 9) ++handled;
    return ui::DefaultWindowProc(h, m, w, l);
  };
  const ui::WindowHandle owner = ui::CreateWnd(d);
  ui::App().SetHandle(owner);
  ui::PostMsg(owner, ui::WM_USER + 9);
  EXPECT_TRUE(OpenUrl("https://example.org/help"));
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(screen->openedLinks, (std::vector<std::string>{"https://example.org/help"}));
  EXPECT_TRUE(screen->messageBoxes.empty());
  EXPECT_FALSE(screen->clipboard.has_value());
}

TEST_F(Dialogs, AFailedLinkIsReportedAndLeftOnTheClipboard) {
  screen->openLinkSucceeds = false;
  EXPECT_FALSE(OpenUrl("https://example.org/donate"));
  ASSERT_EQ(screen->messageBoxes.size(), 1u);
  const auto& box = screen->messageBoxes[0];
  EXPECT_EQ(box.text, u"Page open error in the browser by default.\r\n"
                      u"The address of the link is copied in a clipboard.");
  EXPECT_EQ(box.caption, u"Kestrelphon");
  EXPECT_EQ(box.flags, ui::MB_ICONEXCLAMATION | ui::MB_OK);
  EXPECT_EQ(screen->clipboard, u"https://example.org/donate");
}

} // namespace
} // namespace kest

namespace kest {
namespace {

TEST_F(Dialogs, LowerLayerMessagesBecomeMessageBoxes) {
  SetMessageBoxService(&UiMessageBoxService());
  int seen = 0;
  screen->onMessageBox = [&](const ui::MessageBoxRequest&) {
    ++seen;
    return ui::IDOK;
  };
  const int answer =
      MessageBoxService().Show("Bank file is damaged", "Kestrelphon", kMbIconExclamation);
  SetMessageBoxService(nullptr);
  EXPECT_EQ(answer, ui::IDOK);
  EXPECT_EQ(seen, 1);
  ASSERT_EQ(screen->messageBoxes.size(), 1u);
  EXPECT_EQ(screen->messageBoxes[0].text, u"Bank file is damaged");
  EXPECT_EQ(screen->messageBoxes[0].flags, ui::MB_ICONEXCLAMATION);
}

} // namespace
} // namespace kest
