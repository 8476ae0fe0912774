// Random note fills and transposition.
#include <set>

#include "SynthFixture.h"
#include "uKestUtils.h"
#include "uRandomSeq.h"

using namespace kest;

namespace {

struct RandomFill : SynthTest {
  std::multiset<int> Notes() {
    std::multiset<int> s;
    for (int index : kNoteParams)
      s.insert(RoundEven(synth->Preset()[index].Value()));
    return s;
  }
  std::set<int> Distinct() {
    auto m = Notes();
    return {m.begin(), m.end()};
  }
  void Fill(int style, int root, int range, int rounds = 20) {
    Set(kRandomStyle, style);
    Set(kRandomRange, range);
    synth->SetProgramManual(synth->GetProgram()); // sets the root without transposing
    synth->Preset()[kRandomRootNote].SetValue(root);
    synth->UpdatePreset();
    seen.clear();
    for (int i = 0; i < rounds; ++i) {
      synth->FillRandomSeq();
      for (int n : Notes())
        seen.insert(n);
    }
  }
  std::set<int> seen;
};

std::set<int> Range(int from, int to, int step = 1) {
  std::set<int> s;
  for (int n = from; n <= to; n += step)
    s.insert(n);
  return s;
}

TEST_F(RandomFill, FixedSteps) {
  Fill(132, 60, 3);
  EXPECT_EQ(seen, Range(60, 95));
  Fill(143, 60, 3);
  EXPECT_EQ(seen, (std::set<int>{60, 72, 84}));
  Fill(136, 60, 1);
  EXPECT_EQ(seen, (std::set<int>{60, 65}));
  Fill(138, 60, 3);
  EXPECT_EQ(seen, (std::set<int>{60, 67, 74}));
}

TEST_F(RandomFill, IntervalSetsAndTheirOctaves) {
  Fill(0, 60, 1);
  EXPECT_EQ(seen, (std::set<int>{60, 62, 63, 67, 68}));
  Fill(0, 60, 2);
  EXPECT_EQ(seen, (std::set<int>{60, 62, 63, 67, 68}));
  Fill(0, 60, 3, 40);
  EXPECT_EQ(seen, (std::set<int>{60, 62, 63, 67, 68, 72, 74, 75, 79, 80}));
}

TEST_F(RandomFill, FoldsBelow128) {
  Fill(108, 120, 1, 40); // holds an interval of 31: 151 folds to 127
  EXPECT_TRUE(seen.count(127));
  EXPECT_LE(*seen.rbegin(), 127);
  Fill(132, 120, 9, 10);
  EXPECT_LE(*seen.rbegin(), 127);
  EXPECT_GE(*seen.begin(), 115);
}

TEST_F(RandomFill, WritesAll48NotesIncludingSilentOnes) {
  AllSteps(1, false);
  Set(kChA + 2, 0);
  for (int index : kNoteParams)
    Set(index, 0);
  Set(kRandomStyle, 143);
  Set(kRandomRange, 1);
  synth->FillRandomSeq();
  EXPECT_EQ(Distinct(), (std::set<int>{60})) << "root of program 0";
  for (int c = 0; c < kNumChannels; ++c)
    EXPECT_DOUBLE_EQ(synth->StepFreq(c, 9), 261.63);
}

TEST_F(RandomFill, UnknownStylesChangeNothing) {
  const auto before = Notes();
  for (int style : {304, 1000, -1}) {
    synth->Preset()[kRandomStyle].SetValue(style);
    synth->UpdatePreset(); // applies through the normalised setter: clamped
    EXPECT_EQ(synth->RndStyle(), style < 0 ? 0 : 303) << style;
    EXPECT_EQ(Notes(), before) << style;
  }
  // Only a raw out-of-range style in the engine reaches the fill unclamped.
  std::vector<int> written;
  EXPECT_FALSE(FillStyle(304, 60, 3, [&](int i, int) { written.push_back(i); }));
  EXPECT_FALSE(FillStyle(-1, 60, 3, [&](int i, int) { written.push_back(i); }));
  EXPECT_TRUE(written.empty());
}

// The Random parameter and the switches act exactly when their display
// reads "on", whatever normalised value the host sends.
TEST_F(RandomFill, RandomAndSwitchesActAsTheirDisplayReads) {
  Set(kRandomStyle, 132);
  Set(kRandomRange, 9);
  for (float v : {0.0f, 0.49f, 0.4999f, 0.5f, 0.51f, 1.0f}) {
    for (int index : kNoteParams)
      Set(index, 0);
    char text[64];
    synth->SetParameter(kRandom, v);
    synth->GetParameterDisplay(kRandom, text);
    EXPECT_EQ(Distinct() != std::set<int>{0}, std::string(text) == "on") << v;
    synth->SetParameter(StepSwitchIndex(1, 3), v);
    synth->GetParameterDisplay(StepSwitchIndex(1, 3), text);
    EXPECT_EQ(synth->StepOn(1, 3), std::string(text) == "on") << v;
  }
}

TEST_F(RandomFill, RandomParameterFillsWithoutAutomation) {
  Set(kRandomStyle, 132);
  Set(kRandomRange, 9);
  for (int index : kNoteParams)
    Set(index, 0);
  synth->SetParameter(kRandom, 0.4f);
  EXPECT_EQ(Distinct(), (std::set<int>{0}));
  synth->SetParameter(kRandom, 0.6f);
  EXPECT_GT(Distinct().size(), 5u);
  EXPECT_EQ(FakeHost::automations, 0);
}

TEST_F(RandomFill, RootChangesTransposeAndFold) {
  synth->SetProgramManual(0); // root 60
  Set(StepNoteIndex(0, 0), 120);
  Set(StepNoteIndex(0, 1), 5);
  Set(StepNoteIndex(0, 2), 64);
  Set(kRandomRootNote, 72);
  EXPECT_EQ(synth->Preset()[StepNoteIndex(0, 0)].Value(), 120); // 132 folds to 120
  EXPECT_EQ(synth->Preset()[StepNoteIndex(0, 1)].Value(), 17);
  EXPECT_EQ(synth->Preset()[StepNoteIndex(0, 2)].Value(), 76);
  EXPECT_DOUBLE_EQ(synth->StepFreq(0, 2), TSynth::NoteFreq(76));
  Set(StepNoteIndex(0, 1), 5);
  Set(kRandomRootNote, 60);
  EXPECT_EQ(synth->Preset()[StepNoteIndex(0, 1)].Value(), 5); // -7 folds up to 5
  EXPECT_EQ(synth->RndNoteOld(), 72);
  EXPECT_EQ(FakeHost::automations, 0);
}

TEST_F(RandomFill, NoTranspositionWhileAProgramLoads) {
  synth->SetProgramManual(0);
  const auto before = Notes();
  synth->BeginSetProgram();
  Set(kRandomRootNote, 30);
  synth->EndSetProgram();
  EXPECT_EQ(Notes(), before);
  // A program whose root differs loads its own notes untouched.
  synth->SetProgramManual(1); // root 72
  EXPECT_EQ(synth->RndNote(), 72);
  EXPECT_EQ(synth->RndNoteOld(), 72);
  EXPECT_EQ(synth->Preset()[StepNoteIndex(0, 0)].Value(), 72);
}

TEST(FillOrder, DrawsIntervalThenOctavePerNoteInAscendingOrder) {
  const int set[] = {0, 4, 7};
  RandomSeed(99);
  std::vector<int> expected;
  for (int i = 0; i < 48; ++i) {
    const int iv = set[Random(3)];
    const int oct = Random(4);
    expected.push_back(40 + iv + 12 * oct);
  }
  RandomSeed(99);
  std::vector<int> got, order;
  FillFromSet(set, 3, 40, 5, [&](int index, int n) {
    order.push_back(index);
    got.push_back(n);
  });
  EXPECT_EQ(got, expected);
  EXPECT_EQ(order.front(), 23);
  EXPECT_EQ(order[16], 55);
  EXPECT_EQ(order.back(), 102);
}

} // namespace
