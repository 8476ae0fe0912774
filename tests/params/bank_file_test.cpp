// Reading and writing bank files: every failure, its message, and the bank
// left as it was.
#include <cmath>
#include <filesystem>
#include <limits>

#include <gtest/gtest.h>

#include "BankTestSupport.h"
#include "ParamTable.h"

using namespace kest;

namespace {

struct BankFile : ::testing::Test {
  TPresetList bank;
  MessageLog messages;
  std::vector<std::uint8_t> original = SaveBytes(bank);

  // Loads bytes; answers the reason shown, or "" when it loaded.
  std::string Load(std::vector<std::uint8_t> bytes, const std::string& name = "x.kst") {
    TMemoryStream s(bytes.data(), bytes.size());
    try {
      bank.LoadFromStream(s, name);
    } catch (const EAbort&) {
      EXPECT_FALSE(messages.All().empty());
      const auto& m = messages.All().back();
      EXPECT_EQ(m.caption, "Kestrelphon");
      EXPECT_EQ(m.flags, kMbOk | kMbIconExclamation);
      const std::string prefix =
          "An error occured while loading the Kestrelphon bank file \"" + name + "\".\r\n";
      EXPECT_EQ(m.text.substr(0, prefix.size()), prefix);
      return m.text.substr(prefix.size());
    }
    return "";
  }
};

TEST_F(BankFile, HeaderFailuresInOrder) {
  auto bytes = original;
  EXPECT_EQ(Load({bytes.begin(), bytes.begin() + 12}), kUnsupportedFormat);
  EXPECT_EQ(Load({}), kUnsupportedFormat);
  bytes[0] = 0xA5;
  EXPECT_EQ(Load(bytes), kUnsupportedFormat);
  bytes = original;
  bytes[3] = 'X';
  EXPECT_EQ(Load(bytes), kUnsupportedFormat);
  for (std::uint8_t v : {0, 2, 255}) {
    bytes = original;
    bytes[4] = v;
    EXPECT_EQ(Load(bytes), kNewVersion) << int(v);
  }
  bytes = original;
  bytes.push_back(0);
  EXPECT_EQ(Load(bytes), kCorrupted);
  bytes = original;
  PutInt32(bytes, 9, -1);
  EXPECT_EQ(Load(bytes), kCorrupted);
  bytes = original;
  bytes[4] = 2;
  bytes.push_back(0); // version is checked before size
  EXPECT_EQ(Load(bytes), kNewVersion);
  EXPECT_EQ(SaveBytes(bank), original);
}

TEST_F(BankFile, DataEndingEarlyIsAReadErrorAndChangesNothing) {
  for (std::size_t cut :
       {std::size_t{13}, std::size_t{14}, std::size_t{200}, original.size() - 1}) {
    std::vector<std::uint8_t> bytes(original.begin(), original.begin() + cut);
    PutInt32(bytes, 9, static_cast<int32_t>(bytes.size())); // size field matches
    EXPECT_EQ(Load(bytes), kReadError) << cut;
    EXPECT_EQ(SaveBytes(bank), original) << "bank unchanged after cut at " << cut;
  }
}

TEST_F(BankFile, PresetCountIsNotExamined) {
  auto bytes = original;
  PutInt32(bytes, 5, 7);
  bank[3].SetPreset("changed");
  EXPECT_EQ(Load(bytes), "");
  EXPECT_EQ(bank[3].Preset(), "Gonduras");
  EXPECT_TRUE(messages.All().empty());
}

TEST_F(BankFile, RoundTripRoundsIntegerKinds) {
  bank[0].SetPreset("");
  bank[1].SetPreset(std::string(300, 'n'));
  bank[2].SetPreset("Caf\xe9");
  bank[2][kDepth].SetValue(12.345678901234);
  bank[2][kRandomStyle].SetValue(143.6);
  bank[2][StepNoteIndex(0, 0)].SetValue(60.5); // ties to even
  bank[2][kChA].SetValue(0.7);
  kest::TMemoryStream s;
  bank.SaveToStream(s);
  EXPECT_EQ(
      s.Size(), 4589u + 0 + 255 + 4 + [&] {
        std::size_t n = 0;
        for (int i = 3; i < kNumPresets; ++i)
          n += bank[i].Preset().size();
        return n;
      }());
  TPresetList other;
  other.ResetBank();
  other.LoadFromStream(s, "");
  EXPECT_EQ(other[0].Preset(), "");
  EXPECT_EQ(other[1].Preset(), std::string(255, 'n'));
  EXPECT_EQ(other[2].Preset(), "Caf\xe9");
  EXPECT_DOUBLE_EQ(other[2][kDepth].Value(), 12.345678901234);
  EXPECT_EQ(other[2][kRandomStyle].Value(), 144);
  EXPECT_EQ(other[2][StepNoteIndex(0, 0)].Value(), 60);
  EXPECT_EQ(other[2][kChA].Value(), 1);
  for (int i = 3; i < kNumPresets; ++i) {
    EXPECT_EQ(other[i].Preset(), bank[i].Preset());
    for (int p = 0; p < kNumParams; ++p)
      EXPECT_EQ(other[i][p].Value(), bank[i][p].Value());
  }
}

TEST_F(BankFile, NonFiniteValuesBecomeDefaults) {
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity()};
  for (double v : bad) {
    auto bytes = original;
    // Preset 0 record: header, length byte, name, then Level's double.
    const std::size_t level = 13 + 1 + bank[0].Preset().size();
    std::memcpy(bytes.data() + level + 8, &v, 8); // Depth
    EXPECT_EQ(Load(bytes), "");
    EXPECT_EQ(bank[0][kDepth].Value(), 50.0);
  }
}

TEST_F(BankFile, FilesOnDisk) {
  const auto dir = std::filesystem::temp_directory_path() / "kest_bank_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "my.kst").string();
  bank[4].SetPreset("Saved");
  bank.SaveToFile(path);
  EXPECT_EQ(ReadFileBytes(path), SaveBytes(bank));
  EXPECT_FALSE(std::filesystem::exists(path + ".saving"));

  TPresetList other;
  other.LoadFromFile(path);
  EXPECT_EQ(other[4].Preset(), "Saved");
  EXPECT_THROW(other.LoadFromFile((dir / "missing.kst").string()), EFileError);
  EXPECT_EQ(other[4].Preset(), "Saved");

  // A save that cannot complete reports the file and the reason and leaves
  // what is there untouched.
  const std::string blocked = (dir / "folder.kst").string();
  std::filesystem::create_directories(blocked);
  EXPECT_THROW(bank.SaveToFile(blocked), EAbort);
  ASSERT_FALSE(messages.All().empty());
  EXPECT_NE(messages.All().back().text.find("saving the Kestrelphon bank file \"" + blocked + "\""),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(blocked));
  EXPECT_FALSE(std::filesystem::exists(blocked + ".saving"));
  EXPECT_THROW(bank.SaveToFile((dir / "no" / "such" / "dir.kst").string()), EAbort);
  std::filesystem::remove_all(dir);
}

} // namespace
