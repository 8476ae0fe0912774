// Window helpers: settings with their fallbacks, message removal, monitors,
// captions, printing and buffered repainting.
#include <gtest/gtest.h>

#include "uKestTools.h"
#include "ui/headless/HeadlessBackend.h"

namespace kest::test {
namespace {

using ui::headless::HeadlessConfig;
using ui::headless::HeadlessScreen;

TEST(MenuShowDelay, SystemAnswerFirstThenTheStoredValueReadOnce) {
  HeadlessConfig cfg;
  cfg.settings.menuShowDelayMs = -20;
  {
    HeadlessScreen screen(cfg);
    EXPECT_EQ(MenuShowDelayMs(), 0) << "negative answers become 0";
  }
  cfg.settings.menuShowDelayMs.reset();
  HeadlessScreen screen(cfg);
  SetStoredSettingReader({});
  EXPECT_EQ(MenuShowDelayMs(), 400) << "nothing stored";
  int reads = 0;
  SetStoredSettingReader([&](std::string_view name) {
    ++reads;
    EXPECT_EQ(name, "MenuShowDelay");
    return TKestStoredSetting{TKestStoredSetting::Kind::Text, u"-5"};
  });
  EXPECT_EQ(MenuShowDelayMs(), 0);
  EXPECT_EQ(MenuShowDelayMs(), 0);
  EXPECT_EQ(reads, 1);
  SetStoredSettingReader({});
}

TEST(MenuShowDelay, StoredValueParsing) {
  using K = TKestStoredSetting::Kind;
  EXPECT_EQ(MenuShowDelayFromStored({K::Missing, u""}), 400);
  EXPECT_EQ(MenuShowDelayFromStored({K::Unusable, u"250"}), 0);
  EXPECT_EQ(MenuShowDelayFromStored({K::Text, u"250"}), 250);
  EXPECT_EQ(MenuShowDelayFromStored({K::Text, u"abc"}), 0);
  EXPECT_EQ(MenuShowDelayFromStored({K::Text, u"12x"}), 0);
  EXPECT_EQ(MenuShowDelayFromStored({K::Text, u""}), 0);
  EXPECT_EQ(MenuShowDelayFromStored({K::Text, u"-5"}), -5) << "clamped by the caller";
}

TEST(DesktopSettings, CuesSoundsAndSystemParameters) {
  HeadlessConfig cfg;
  cfg.settings.keyboardCues.reset();
  cfg.settings.menuAnimation = false;
  cfg.settings.soundEvents = {{"MenuPopup", true}, {"MenuCommand", false}};
  HeadlessScreen screen(cfg);
  EXPECT_TRUE(KeyboardCuesOn()) << "on when the system cannot say";
  EXPECT_EQ(SysParamOrDefault(SPI_GETKEYBOARDCUES, 7), 7u);
  EXPECT_EQ(SysParamOrDefault(SPI_GETMENUANIMATION, 7), 0u);
  EXPECT_EQ(SysParamOrDefault(SPI_GETDROPSHADOW, 7), 1u);
  EXPECT_EQ(SysParamOrDefault(0x4242, 9), 9u);
  EXPECT_TRUE(MenuSoundEnabled("MenuPopup"));
  EXPECT_FALSE(MenuSoundEnabled("MenuCommand"));
  EXPECT_FALSE(MenuSoundEnabled("SystemExit")) << "nothing set";
  PlayMenuSound("MenuPopup");
  EXPECT_EQ(screen->sounds, (std::vector<std::string>{"MenuPopup"}));
}

TEST(PendingMessages, RemovalKeepsOtherMessagesAndTheQuit) {
  HeadlessScreen screen;
  ui::WindowDesc d;
  const ui::WindowHandle a = ui::CreateWnd(d);
  const ui::WindowHandle b = ui::CreateWnd(d);
  ui::PostMsg(a, ui::WM_USER, 1);
  ui::PostMsg(b, ui::WM_USER, 2);
  ui::PostMsg(a, ui::WM_CHAR, 'x');
  ui::PostMsg(b, ui::WM_CHAR, 'y');
  RemovePendingMessage(b, ui::WM_USER);
  ui::PostQuitMsg(7);
  RemovePendingMessage(0, ui::WM_QUIT);
  RemovePendingMessages(ui::WM_CHAR, ui::WM_CHAR);
  std::vector<std::pair<std::uint32_t, ui::WParam>> left;
  ui::Message m;
  while (ui::PeekMsg(m, 0, 0, 0, ui::PM_REMOVE)) {
    left.emplace_back(m.message, m.wParam);
    if (m.message == ui::WM_QUIT) break;
  }
  EXPECT_EQ(left, (std::vector<std::pair<std::uint32_t, ui::WParam>>{{ui::WM_USER, 1},
                                                                     {ui::WM_QUIT, 7}}));
  // Range removal stops at the quit and leaves it queued.
  ui::PostQuitMsg(3);
  RemovePendingMessages(0x0001, 0xFFFF);
  ASSERT_TRUE(ui::PeekMsg(m, 0, 0, 0, ui::PM_REMOVE));
  EXPECT_EQ(m.message, ui::WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
}

TEST(Monitors, OneScreenAnswersTheScreenTwoAnswerTheNearest) {
  {
    HeadlessScreen screen;
    EXPECT_EQ(MonitorRectFromPoint({5000, 5000}, true), (ui::Rect{0, 0, 1280, 984}));
    EXPECT_EQ(MonitorRectFromRect({10, 10, 20, 20}, false), (ui::Rect{0, 0, 1280, 1024}));
  }
  HeadlessConfig cfg;
  cfg.monitors.push_back({{1280, 0, 2560, 1024}, {1280, 30, 2560, 1024}});
  HeadlessScreen screen(cfg);
  EXPECT_EQ(MonitorRectFromPoint({3000, 500}, true), (ui::Rect{1280, 30, 2560, 1024}));
  EXPECT_EQ(MonitorRectFromRect({1200, 100, 1600, 200}, false), (ui::Rect{1280, 0, 2560, 1024}));
  EXPECT_EQ(ScreenWorkArea(true), (ui::Rect{0, 0, 1280, 984}));
}

TEST(Captions, AmpersandsTailsAndAccelerators) {
  const std::u16string about = u"&About...";
  EXPECT_EQ(StripAmpersands(about), u"About...");
  EXPECT_EQ(StripCaptionTail(StripAmpersands(about)), u"About");
  EXPECT_EQ(AcceleratorChar(about), u'A');
  EXPECT_EQ(StripAmpersands(u"Fish && Chips"), u"Fish & Chips");
  EXPECT_EQ(AcceleratorChar(u"Fish && Chips"), 0);
  EXPECT_EQ(AcceleratorChar(u"&Load &Bank"), u'B') << "the last marker counts";
  EXPECT_EQ(AcceleratorChar(u"Save&"), 0);
  EXPECT_EQ(AcceleratorChar(u"&&&x"), u'x');
  EXPECT_EQ(StripCaptionTail(u"Name:"), u"Name");
  EXPECT_EQ(StripCaptionTail(u":"), u":");
  EXPECT_EQ(StripCaptionTail(u"..."), u"...");
  EXPECT_EQ(StripCaptionTail(u"Open...:"), u"Open...") << "one tail only";
  EXPECT_EQ(LowerCaseChar(u'B'), u'b');
  EXPECT_EQ(LowerCaseChar(u'\u00C4'), u'\u00E4');
  EXPECT_EQ(LowerCaseChar(u'\u00D7'), u'\u00D7');
  EXPECT_EQ(LowerCaseChar(u'\u042F'), u'\u044F');
  EXPECT_EQ(LowerCaseChar(u'\u0401'), u'\u0451');
  EXPECT_EQ(LowerCaseChar(u'7'), u'7');
  // As the system lower-cases: the dotted capital I becomes a plain i, and
  // the Latin Extended capitals have their small letters.
  EXPECT_EQ(LowerCaseChar(u'\u0130'), u'i');
  EXPECT_EQ(LowerCaseChar(u'\u0178'), u'\u00FF');
  EXPECT_EQ(LowerCaseChar(u'\u0181'), u'\u0253');
  EXPECT_EQ(LowerCaseChar(u'\u01C4'), u'\u01C6');
  EXPECT_EQ(LowerCaseChar(u'\u1E9E'), u'\u00DF');
  EXPECT_EQ(LowerCaseChar(u'\u0131'), u'\u0131') << "small letters stay";
  EXPECT_EQ(LowerCaseChar(u'\u0138'), u'\u0138');
}

TEST(Captions, ExtentWithoutMarkersAndRotatedDrawing) {
  HeadlessScreen screen;
  ui::Bitmap bmp(60, 120);
  ui::Canvas& c = bmp.GetCanvas();
  c.font = ui::Font{"DejaVu Sans", -11, ui::kFontWeightNormal, ui::Rgb(255, 255, 255)};
  EXPECT_EQ(CaptionExtent(c, u"&Go", true), c.TextExtent(u"Go"));
  EXPECT_GT(CaptionExtent(c, u"&Go", false).cx, c.TextExtent(u"Go").cx);
  c.FillRect({0, 0, 60, 120}, 0);
  DrawRotatedCaption(c, u"&Go on", {0, 0, 60, 120}, 0);
  ui::Rect ink{60, 120, 0, 0};
  int inkPixels = 0;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 60; ++x) {
      if (bmp.ColorAt(x, y) == 0) continue;
      ++inkPixels;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
             std::max(ink.bottom, y + 1)};
    }
  }
  const ui::Size text = c.TextExtent(u"Go on");
  EXPECT_GT(ink.Height(), ink.Width()) << "the caption runs downwards";
  EXPECT_LE(ink.Height(), text.cx);
  EXPECT_NEAR((ink.top + ink.bottom) / 2, 60, 3) << "centred";
  EXPECT_NEAR((ink.left + ink.right) / 2, 30, 4);
  c.FillRect({0, 0, 60, 120}, 0);
  DrawRotatedCaption(c, u"&Go on", {0, 0, 60, 120}, ui::DT_HIDEPREFIX);
  int hidden = 0;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 60; ++x)
      hidden += bmp.ColorAt(x, y) != 0;
  }
  EXPECT_LT(hidden, inkPixels) << "no underline under the accelerator";
}

TEST(Lists, UniqueAddInsertAndFreeWhenEmpty) {
  std::unique_ptr<std::vector<int>> list;
  EXPECT_TRUE(AddUniqueToList(list, 1));
  EXPECT_FALSE(AddUniqueToList(list, 1));
  EXPECT_TRUE(InsertUniqueToList(list, 2));
  EXPECT_EQ(*list, (std::vector<int>{2, 1}));
  RemoveFromListAndFree(list, 2);
  RemoveFromListAndFree(list, 1);
  EXPECT_EQ(list, nullptr);
  RemoveFromListAndFree(list, 1);
}

} // namespace
} // namespace kest::test
