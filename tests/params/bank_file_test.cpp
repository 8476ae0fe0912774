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
      const auto m = messages.All().back();
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

// Finite values far outside a parameter's range, as a file from elsewhere may
// hold them, come back into the range; values inside it keep their bytes.
TEST_F(BankFile, OutOfRangeValuesAreHeldToTheirRange) {
  // Offsets in preset 0's values: the four doubles, then one byte each for
  // 4 .. 104, two integers (105, 106) and a byte (107).
  auto bytes = original;
  const std::size_t values = 13 + 1 + bank[0].Preset().size();
  const double huge = 1e300, hugeNegative = -1e300, inside = 12.345678901234;
  const int32_t billion = 1000000000;
  std::memcpy(&bytes[values], &huge, 8);             // Level
  std::memcpy(&bytes[values + 8], &hugeNegative, 8); // Depth
  std::memcpy(&bytes[values + 16], &inside, 8);      // Glide
  bytes[values + 32] = 7;                            // Ch. A
  bytes[values + 132] = 200;                         // Random root note
  std::memcpy(&bytes[values + 133], &billion, 4);    // Random range
  std::memcpy(&bytes[values + 137], &billion, 4);    // Random style #
  bytes[values + 141] = 255;                         // Auto random
  EXPECT_EQ(Load(bytes), "");
  const auto& table = ParamTable();
  for (int i = 0; i < kNumParams; ++i) {
    EXPECT_GE(bank[0][i].Value(), table[i].Min) << i;
    EXPECT_LE(bank[0][i].Value(), table[i].Max) << i;
    const float vst = bank[0][i].GetVstValue();
    EXPECT_TRUE(vst >= 0.0f && vst <= 1.0f) << i;
  }
  EXPECT_EQ(bank[0][kLevel].Value(), 6.0);
  EXPECT_EQ(bank[0][kDepth].Value(), 0.0);
  EXPECT_EQ(bank[0][kGlide].Value(), inside);
  EXPECT_EQ(bank[0][kRandomRootNote].Value(), 127.0);
  EXPECT_EQ(bank[0][kRandomRange].Value(), 9.0);
  EXPECT_EQ(bank[0][kRandomStyle].Value(), 303.0);
  EXPECT_EQ(bank[0][kAutoRandom].Value(), 8.0);
  EXPECT_EQ(bank[0][kChA].Value(), 1.0);
  // A value set out of range by other means still reads back in range.
  bank[1][kLevel].SetValue(1e300);
  EXPECT_EQ(bank[1][kLevel].GetVstValue(), 1.0f);
}

struct BankOnDisk : BankFile {
  // A folder per test: ctest runs them side by side.
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      (std::string("kest_bank_") + testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  // The UTF-8 text the bank's file operations take.
  static std::string Utf8(const std::filesystem::path& p) {
    const std::u8string u = p.u8string();
    return {u.begin(), u.end()};
  }
  bool NoTemporaryFiles() const {
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      if (entry.path().extension() == ".saving") return false;
    }
    return true;
  }
};

TEST_F(BankOnDisk, SaveLoadAndFailures) {
  const std::string path = Utf8(dir / "my.kst");
  bank[4].SetPreset("Saved");
  bank.SaveToFile(path);
  EXPECT_EQ(ReadFileBytes(path), SaveBytes(bank));
  EXPECT_TRUE(NoTemporaryFiles());

  TPresetList other;
  other.LoadFromFile(path);
  EXPECT_EQ(other[4].Preset(), "Saved");
  EXPECT_THROW(other.LoadFromFile(Utf8(dir / "missing.kst")), EFileError);
  EXPECT_EQ(other[4].Preset(), "Saved");

  // A save that cannot complete reports the file and the reason and leaves
  // what is there untouched.
  const std::string blocked = Utf8(dir / "folder.kst");
  std::filesystem::create_directories(blocked);
  EXPECT_THROW(bank.SaveToFile(blocked), EAbort);
  ASSERT_FALSE(messages.All().empty());
  EXPECT_NE(messages.All().back().text.find("saving the Kestrelphon bank file \"" + blocked + "\""),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(blocked));
  EXPECT_TRUE(NoTemporaryFiles());
  EXPECT_THROW(bank.SaveToFile(Utf8(dir / "no" / "such" / "dir.kst")), EAbort);
}

TEST_F(BankOnDisk, SavingOverAFileReplacesItOrKeepsItWhole) {
  const std::string path = Utf8(dir / "over.kst");
  bank.SaveToFile(path);
  bank[7].SetPreset("Second save");
  bank.SaveToFile(path);
  EXPECT_EQ(ReadFileBytes(path), SaveBytes(bank));
  EXPECT_TRUE(NoTemporaryFiles());

  // The new bytes cannot be written: the old file stays as it was.
  const auto kept = ReadFileBytes(path);
  std::filesystem::create_directories(path + ".saving");
  bank[7].SetPreset("Third save");
  EXPECT_THROW(bank.SaveToFile(path), EAbort);
  EXPECT_EQ(ReadFileBytes(path), kept);
  std::filesystem::remove(path + ".saving");
}

// Names outside the system's 8-bit code page, as users give them.
TEST_F(BankOnDisk, FileNamesBeyondAscii) {
  const std::filesystem::path wide = dir / u8"Банк für Bänke ☃.kst";
  bank[2].SetPreset("Unicode");
  bank.SaveToFile(Utf8(wide));
  EXPECT_TRUE(std::filesystem::exists(wide)) << "saved under its own name";
  bank.SaveToFile(Utf8(wide)); // and over itself
  TPresetList other;
  other.LoadFromFile(Utf8(wide));
  EXPECT_EQ(other[2].Preset(), "Unicode");
  EXPECT_TRUE(NoTemporaryFiles());
}

} // namespace
