// The bank as a whole: the default bank, names, reset.
#include <set>

#include <gtest/gtest.h>

#include "BankTestSupport.h"
#include "DefaultBank.h"
#include "ParamTable.h"

using namespace kest;

namespace {

TEST(DefaultBank, MatchesThePresetTable) {
  TPresetList bank;
  EXPECT_EQ(bank[0].Preset(), "Hyper flanger");
  EXPECT_EQ(bank[6].Preset(), "Quil's");
  EXPECT_EQ(bank[31].Preset(), "Pengan");
  EXPECT_DOUBLE_EQ(bank[4][kLevel].Value(), -3.75);
  EXPECT_DOUBLE_EQ(bank[2][kDepth].Value(), 94.32);
  EXPECT_DOUBLE_EQ(bank[5][kGlide].Value(), 33.05);
  EXPECT_DOUBLE_EQ(bank[3][kDetune].Value(), 39.5);
  EXPECT_EQ(bank[4][kRandomRootNote].Value(), 12);
  EXPECT_EQ(bank[4][kRandomRange].Value(), 9);
  EXPECT_EQ(bank[6][kRandomStyle].Value(), 239);
  EXPECT_EQ(bank[10][kAutoRandom].Value(), 2);
  EXPECT_EQ(bank[18][kRandom].Value(), 1);
  for (int i = 0; i < kNumPresets; ++i) {
    for (int c = 0; c < kNumChannels; ++c)
      EXPECT_EQ(bank[i][kChA + c].Value(), 1) << i;
  }
  // Step switches: all on except in three presets.
  auto pattern = [&](int preset, int channel) {
    std::string s;
    for (int k = 0; k < kNumSteps; ++k)
      s += bank[preset][StepSwitchIndex(channel, k)].Value() > 0.5 ? '1' : '0';
    return s;
  };
  EXPECT_EQ(pattern(3, 0), "1111111111000000");
  EXPECT_EQ(pattern(5, 1), "1011010111011101");
  EXPECT_EQ(pattern(7, 2), "1000000001000000");
  EXPECT_EQ(pattern(8, 2), "1111111111111111");
  // The flanger presets' notes.
  EXPECT_EQ(bank[0][StepNoteIndex(0, 8)].Value(), 68);
  EXPECT_EQ(bank[1][StepNoteIndex(2, 15)].Value(), 49);
  EXPECT_EQ(bank[2][StepNoteIndex(2, 8)].Value(), 74);
}

TEST(DefaultBank, RandomRowsFollowEachPresetsStyle) {
  TPresetList bank;
  auto notes = [&](int preset) {
    std::set<int> s;
    for (int c = 0; c < kNumChannels; ++c) {
      for (int k = 0; k < kNumSteps; ++k)
        s.insert(static_cast<int>(bank[preset][StepNoteIndex(c, k)].Value()));
    }
    return s;
  };
  const auto chromatic = notes(8); // style 132, root 60, range 3: 60 .. 95
  EXPECT_GE(*chromatic.begin(), 60);
  EXPECT_LE(*chromatic.rbegin(), 95);
  EXPECT_GT(chromatic.size(), 10u);
  for (int n : notes(10)) { // blues from 48, one octave of offsets
    const int iv = (n - 48) % 12;
    EXPECT_TRUE(iv == 0 || iv == 3 || iv == 5 || iv == 6 || iv == 7 || iv == 10) << n;
    EXPECT_LE(n, 48 + 10 + 12);
  }
  for (int n : notes(4))
    EXPECT_LE(n, 127); // root 12, range 9
  for (int i = 3; i < kNumPresets; ++i)
    EXPECT_GT(notes(i).size(), 1u) << "preset " << i;
}

TEST(DefaultBank, CommittedFileIsWhatTheGeneratorWrites) {
  const auto committed = ReadFileBytes(KEST_DEFAULT_BANK_FILE);
  ASSERT_EQ(committed.size(), 4862u);
  const auto presets = BuildDefaultBank();
  std::array<const TParamList*, kNumPresets> view{};
  for (int i = 0; i < kNumPresets; ++i)
    view[i] = presets[i].get();
  TMemoryStream s;
  WriteBank(s, view);
  EXPECT_EQ(s.Bytes(), committed) << "run the default-bank target and commit the result";
}

TEST(Bank, NamesAndIndexOfPreset) {
  TPresetList bank;
  EXPECT_EQ(bank.IndexOfPreset("Gonduras"), 3);
  EXPECT_EQ(bank.IndexOfPreset("gonduras"), -1);
  EXPECT_EQ(bank.IndexOfPreset(""), -1);
  bank[9].SetPreset("Gonduras");
  EXPECT_EQ(bank.IndexOfPreset("Gonduras"), 3); // the first
  EXPECT_THROW(bank[32], std::out_of_range);
  EXPECT_THROW(bank[-1], std::out_of_range);
  EXPECT_EQ(bank.FileName().substr(bank.FileName().size() - 15), "Kestrelphon.kst");
}

TEST(Bank, ResetKeepsPresetObjectsAndRestoresDefaults) {
  TPresetList bank;
  TParamList* fifth = &bank[5];
  bank.ResetBank();
  EXPECT_EQ(&bank[5], fifth); // the audio thread may hold it
  EXPECT_EQ(bank[5].Preset(), "- Empty 6 -");
  EXPECT_EQ(bank[0].Preset(), "- Empty 1 -");
  EXPECT_EQ(bank[31].Preset(), "- Empty 32 -");
  TParamList fresh;
  for (int i = 0; i < kNumPresets; ++i) {
    for (int p = 0; p < kNumParams; ++p)
      ASSERT_EQ(bank[i][p].Value(), fresh[p].Value());
  }
  bank.LoadDefaultBank();
  EXPECT_EQ(bank[5].Preset(), "Detected");
}

// Until a user interface is installed, messages go to stderr and only the
// most recent few are kept.
TEST(Messages, WithoutAUserInterfaceTheyArePrintedAndFewAreKept) {
  MessageLog log;
  testing::internal::CaptureStderr();
  for (int i = 0; i < 1000; ++i)
    MessageBoxService().Show("message " + std::to_string(i), "Kestrelphon", kMbOk);
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_LE(log.All().size(), 16u);
  ASSERT_FALSE(log.All().empty());
  EXPECT_EQ(log.All().back().text, "message 999");
  EXPECT_NE(printed.find("message 0\n"), std::string::npos);
  EXPECT_NE(printed.find("message 999\n"), std::string::npos);
}

} // namespace
