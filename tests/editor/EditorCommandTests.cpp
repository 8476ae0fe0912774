// The commands of the editor's menus, as the menus run them: the random
// style and period, presets, the bank with its dialogs and failures, the
// preset clipboard, rename and help. Message boxes and file dialogs are
// answered by the test.
#include <filesystem>
#include <fstream>

#include "../params/BankTestSupport.h"
#include "EditorFixture.h"
#include "EditorLinks.h"
#include "TFrmAbout.h"
#include "TPlugin.h"
#include "uKestDialogs.h"
#include "ui/gfx/Utf.h"

namespace kest::test {
namespace {

namespace fs = std::filesystem;

class EditorCommands : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    // Bank file errors in real message boxes, as the module shows them.
    SetMessageBoxService(&UiMessageBoxService());
    dir = fs::path(OutputPath("commands")) /
          ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir);
    fs::create_directories(dir);
    ASSERT_EQ(OpenEditor(), 1);
  }
  void TearDown() override {
    SetMessageBoxService(nullptr);
    EditorTest::TearDown();
  }

  // The file dialog answers with this file (or is cancelled with none).
  void Answer(const std::optional<fs::path>& file) {
    screen->onFileDialog = [file](const ui::FileDialogRequest&) -> std::optional<std::u16string> {
      if (!file) return std::nullopt;
      return ui::Utf8ToUtf16(file->string());
    };
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int i = 0; i < 32; ++i)
      names.push_back(host.ProgramNameIndexed(i));
    return names;
  }
  int Program() { return static_cast<int>(host.Dispatch(effGetProgram)); }
  std::u16string LastMessage() {
    return screen->messageBoxes.empty() ? u"" : screen->messageBoxes.back().text;
  }
  std::array<float, 48> Notes() {
    std::array<float, 48> notes{};
    for (int c = 0; c < 3; ++c)
      for (int i = 0; i < 16; ++i)
        notes[static_cast<std::size_t>(c * 16 + i)] = host.GetParameter(StepNoteIndex(c, i));
    return notes;
  }

  fs::path dir;
};

TEST_F(EditorCommands, AStyleFillsNewRowsAtOnceAPeriodOnlySetsItself) {
  TFrmEditor& f = Form();
  host.Dispatch(effSetProgram, 0, 0); // "Hyper flanger": rows no style would make
  const auto before = Notes();
  f.ChooseAutoRandom(4);
  EXPECT_TRUE(Automated(kAutoRandom, 4));
  EXPECT_EQ(Notes(), before);
  EXPECT_EQ(f.CurrentAutoRandom(), 4);

  f.ChooseStyle(144);
  EXPECT_TRUE(Automated(kRandomStyle, 144));
  EXPECT_NE(Notes(), before);
  EXPECT_EQ(f.Frq2[5]->Value(), Plugin().Preset()[StepNoteIndex(1, 5)].Value());

  // The marks follow what the host automated since.
  host.SetParameter(kRandomStyle, Normalised(kRandomStyle, 7));
  host.SetParameter(kAutoRandom, Normalised(kAutoRandom, 8));
  EXPECT_EQ(f.CurrentStyle(), 7);
  EXPECT_EQ(f.CurrentAutoRandom(), 8);
}

TEST_F(EditorCommands, APresetChoiceSelectsTheProgramAndTellsTheHost) {
  const int updates = host.CallCount(audioMasterUpdateDisplay);
  Form().ChoosePreset(9);
  EXPECT_EQ(Program(), 9);
  EXPECT_EQ(Form().Prsbox->Caption(), ui::Utf8ToUtf16(host.ProgramNameIndexed(9)));
  EXPECT_GT(host.CallCount(audioMasterUpdateDisplay), updates);
}

TEST_F(EditorCommands, SavedBanksLoadBackAndSelectTheirFirstProgram) {
  TFrmEditor& f = Form();
  host.Dispatch(effSetProgram, 0, 3);
  char name[] = "Kestrel dawn";
  host.Dispatch(effSetProgramName, 0, 0, name);
  const auto saved = Names();
  const fs::path file = dir / "mine.kst";
  Answer(file);
  f.SaveBank();
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(Program(), 3) << "saving changes no program";
  ASSERT_EQ(screen->fileDialogs.size(), 1u);
  EXPECT_TRUE(screen->fileDialogs[0].save);
  EXPECT_EQ(screen->fileDialogs[0].title, u"Save Kestrelphon bank as");
  EXPECT_EQ(screen->fileDialogs[0].fileName, u"");

  f.EmptyBank();
  EXPECT_EQ(host.ProgramNameIndexed(3), "- Empty 4 -");
  host.Dispatch(effSetProgram, 0, 5);
  const int updates = host.CallCount(audioMasterUpdateDisplay);
  f.LoadBank();
  EXPECT_EQ(screen->fileDialogs.back().title, u"Load Kestrelphon bank");
  EXPECT_FALSE(screen->fileDialogs.back().save);
  EXPECT_EQ(screen->fileDialogs.back().fileName, ui::Utf8ToUtf16(file.string()))
      << "the dialog starts at the last name chosen";
  EXPECT_EQ(Names(), saved);
  EXPECT_EQ(Program(), 0);
  EXPECT_EQ(f.Prsbox->Caption(), ui::Utf8ToUtf16(saved[0]));
  EXPECT_GT(host.CallCount(audioMasterUpdateDisplay), updates);
  EXPECT_TRUE(screen->messageBoxes.empty());
}

TEST_F(EditorCommands, ABankThatCannotBeLoadedLeavesTheBankAsItWasAndSaysWhy) {
  TFrmEditor& f = Form();
  host.Dispatch(effSetProgram, 0, 6);
  const auto names = Names();
  const auto bytes = SaveBytes(Plugin().Bank());

  Answer(std::nullopt);
  f.LoadBank();
  EXPECT_EQ(screen->fileDialogs.size(), 1u);
  EXPECT_TRUE(screen->messageBoxes.empty()) << "a cancelled dialog changes nothing";

  const fs::path shortFile = dir / "short.kst";
  std::ofstream(shortFile, std::ios::binary) << "twelve bytes";
  Answer(shortFile);
  f.LoadBank();
  ASSERT_EQ(screen->messageBoxes.size(), 1u) << "said once, not again by the error handler";
  EXPECT_EQ(LastMessage(), u"An error occured while loading the Kestrelphon bank file \"" +
                               ui::Utf8ToUtf16(shortFile.string()) +
                               u"\".\r\nThe file is an unsupported format.");
  EXPECT_EQ(screen->messageBoxes[0].caption, u"Kestrelphon");
  EXPECT_EQ(screen->messageBoxes[0].flags, ui::MB_ICONEXCLAMATION | ui::MB_OK);

  auto corrupt = bytes;
  corrupt.push_back(0);
  const fs::path longFile = dir / "long.kst";
  std::ofstream(longFile, std::ios::binary)
      .write(reinterpret_cast<const char*>(corrupt.data()),
             static_cast<std::streamsize>(corrupt.size()));
  Answer(longFile);
  f.LoadBank();
  EXPECT_NE(LastMessage().find(u"The file is corrupted."), std::u16string::npos);

  Answer(dir / "missing.kst");
  f.LoadBank();
  ASSERT_EQ(screen->messageBoxes.size(), 3u);
  EXPECT_NE(LastMessage().find(u"missing.kst"), std::u16string::npos) << "the system's reason";

  EXPECT_EQ(SaveBytes(Plugin().Bank()), bytes);
  EXPECT_EQ(Names(), names);
  EXPECT_EQ(Program(), 6);
}

TEST_F(EditorCommands, ASaveThatFailsKeepsTheOldFile) {
  const fs::path file = dir / "kept.kst";
  std::ofstream(file, std::ios::binary) << "the user's older bank";
  // The new bank is written beside the file first; make that impossible.
  fs::create_directory(dir / "kept.kst.saving");
  Answer(file);
  Form().SaveBank();
  ASSERT_EQ(screen->messageBoxes.size(), 1u);
  EXPECT_EQ(LastMessage().rfind(u"An error occured while saving the Kestrelphon bank file \"" +
                                    ui::Utf8ToUtf16(file.string()) + u"\".\r\n",
                                0),
            0u);
  const auto kept = ReadFileBytes(file.string());
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "the user's older bank");
}

TEST_F(EditorCommands, DefaultAndEmptyBanksReplaceEverythingAndSelectProgramZero) {
  TFrmEditor& f = Form();
  const auto defaults = Names();
  host.Dispatch(effSetProgram, 0, 7);
  f.EmptyBank();
  EXPECT_EQ(Program(), 0);
  EXPECT_EQ(host.ProgramNameIndexed(5), "- Empty 6 -");
  EXPECT_EQ(f.Prsbox->Caption(), u"- Empty 1 -");
  EXPECT_FLOAT_EQ(f.SlDpt->Value(), TParamList()[kDepth].Value());

  host.Dispatch(effSetProgram, 0, 12);
  f.DefaultBank();
  EXPECT_EQ(Program(), 0);
  EXPECT_EQ(Names(), defaults);
  EXPECT_EQ(f.Prsbox->Caption(), ui::Utf8ToUtf16(defaults[0]));
}

TEST_F(EditorCommands, PasteWaitsForACopyAndKeepsTheCurrentName) {
  TFrmEditor& f = Form();
  const double depth = Plugin().Preset()[kDepth].Value();
  const float shown = f.SlDpt->Value();
  EXPECT_FALSE(f.CanPastePreset());
  f.PastePreset();
  EXPECT_EQ(Plugin().Preset()[kDepth].Value(), depth) << "nothing to paste yet";

  f.CopyPreset();
  EXPECT_TRUE(f.CanPastePreset());
  host.Dispatch(effSetProgram, 0, 4);
  const std::string name = host.ProgramName();
  f.PastePreset();
  EXPECT_EQ(Plugin().Preset()[kDepth].Value(), depth);
  EXPECT_EQ(f.SlDpt->Value(), shown);
  EXPECT_EQ(host.ProgramName(), name);

  f.RenamePreset();
  EXPECT_TRUE(f.Prsbox->Edit()->Visible()) << "rename is the inline edit";
}

TEST_F(EditorCommands, HelpOpensTheManualBesideTheModuleOrSaysItIsMissing) {
  TFrmEditor& f = Form();
  const fs::path manual = ManualFile();
  fs::remove_all(manual.parent_path());
  f.HelpCommand(0);
  ASSERT_EQ(screen->messageBoxes.size(), 1u);
  EXPECT_NE(LastMessage().find(u"not installed"), std::u16string::npos);
  EXPECT_TRUE(screen->openedLinks.empty());

  fs::create_directories(manual.parent_path());
  std::ofstream(manual) << "<html></html>";
  for (int tag : {0, 1, 2})
    f.HelpCommand(tag);
  fs::remove_all(manual.parent_path());
  ASSERT_EQ(screen->openedLinks.size(), 3u);
  EXPECT_EQ(screen->openedLinks[0], ManualLink());
  EXPECT_EQ(screen->openedLinks[1], ManualLink("home"));
  EXPECT_EQ(screen->openedLinks[2], ManualLink("donate"));
  EXPECT_EQ(ManualLink("home").rfind("file:///", 0), 0u) << ManualLink("home");
  EXPECT_EQ(FileLink("/a b/Kestrelphon-manual/ü.html"),
            "file:///a%20b/Kestrelphon-manual/%C3%BC.html");
#ifdef _WIN32
  EXPECT_EQ(FileLink("C:\\a b\\m.html"), "file:///C:/a%20b/m.html");
#endif
}

} // namespace
} // namespace kest::test
