// The about window over the editor: one at a time, centred and kept on the
// screen, dragged by its strip, its link, its cursor, its close button, and
// its end with the editor.
#include <filesystem>
#include <fstream>

#include "EditorFixture.h"
#include "EditorLinks.h"
#include "TFrmAbout.h"
#include "uKestSkins.h"
#include "ui/gfx/Png.h"

namespace kest::test {
namespace {

namespace fs = std::filesystem;

class AboutWindow : public EditorTest {
protected:
  TFrmAbout& ShowAbout() {
    Form().HelpCommand(3);
    Idle();
    return *TFrmAbout::Instance();
  }
  ui::Rect Bounds(TFrmAbout& a) { return ui::GetWindowScreenRect(a.Handle()); }
  void PressOn(TFrmAbout& a, int x, int y) {
    screen.MoveTo(a.ClientToScreen({x, y}));
    screen.Press();
    Idle();
  }
};

TEST_F(AboutWindow, OneWindowCentredOverTheEditorAndNeverOffTheScreen) {
  ASSERT_EQ(OpenEditor(), 1);
  TFrmAbout& a = ShowAbout();
  EXPECT_EQ(&ShowAbout(), &a) << "About twice leaves one window";
  EXPECT_EQ(Bounds(a), ui::Rect::FromSize(kHostAt.x + (494 - 328) / 2, kHostAt.y + (383 - 240) / 2,
                                          TFrmAbout::kWidth, TFrmAbout::kHeight));
  EXPECT_TRUE(ui::IsWindowVisible(a.Handle()));

  std::filesystem::create_directories(KEST_TEST_OUTPUT_DIR);
  const ui::Bitmap shot = screen.Screenshot();
  ui::Bitmap over(560, 440);
  over.GetCanvas().BitBlt(0, 0, over.Width(), over.Height(), shot, kHostAt.x - 33, kHostAt.y - 28);
  ui::SavePng(over, OutputPath("about_over_editor.png"));
  EXPECT_EQ(shot.ColorAt(Bounds(a).left + 160, Bounds(a).top + 100), SkinAbout->ColorAt(160, 100));

  // An editor close to the screen's top-left corner.
  CloseEditor();
  EXPECT_EQ(TFrmAbout::Instance(), nullptr) << "the editor takes its about window along";
  constexpr std::uint64_t corner = 0x5A0002;
  screen->hostWindows[corner] = ui::Rect::FromSize(-200, -100, 494, 383);
  ASSERT_EQ(OpenEditor(reinterpret_cast<void*>(static_cast<std::uintptr_t>(corner))), 1);
  EXPECT_EQ(Bounds(ShowAbout()).TopLeft(), (ui::Point{0, 0}));
}

TEST_F(AboutWindow, TheStripDragsTheLinkOpensTheCloseButtonFrees) {
  ASSERT_EQ(OpenEditor(), 1);
  TFrmAbout& a = ShowAbout();
  const ui::Rect start = Bounds(a);

  // The system's move follows the pointer until the button goes up; the
  // host has its idle requests meanwhile.
  const int idles = host.CallCount(audioMasterIdle);
  int waits = 0;
  screen->onWait = [&](std::uint32_t) {
    if (++waits < 3) {
      screen.Advance(30);
      return true;
    }
    screen.MoveTo(a.ClientToScreen({100 + 40, 10 + 25}));
    screen.Release();
    screen->onWait = nullptr;
    return true;
  };
  PressOn(a, 100, 10);
  EXPECT_EQ(Bounds(a), start.Offset(40, 25));
  EXPECT_GE(host.CallCount(audioMasterIdle), idles + 2);

  // The link: a hand over it, an arrow elsewhere; a press opens the maker's page.
  const fs::path manual = ManualFile();
  fs::create_directories(manual.parent_path());
  std::ofstream(manual) << "<html></html>";
  screen.MoveTo(a.ClientToScreen({90, 170}));
  Idle();
  EXPECT_EQ(screen->shownCursor, ui::Cursor::Hand);
  screen.Press();
  screen.Release();
  Idle();
  screen.MoveTo(a.ClientToScreen({79, 170}));
  Idle();
  EXPECT_EQ(screen->shownCursor, ui::Cursor::Arrow);
  PressOn(a, 60, 120); // on the picture, away from everything
  screen.Release();
  Idle();
  fs::remove_all(manual.parent_path());
  EXPECT_EQ(screen->openedLinks, std::vector<std::string>{ManualLink("maker")});
  EXPECT_EQ(Bounds(a), start.Offset(40, 25));

  PressOn(a, 308 + 8, 4 + 7);
  screen.Release();
  Idle();
  EXPECT_EQ(TFrmAbout::Instance(), nullptr);
  EXPECT_NE(&ShowAbout(), nullptr) << "About again makes a new one";
}

} // namespace
} // namespace kest::test
