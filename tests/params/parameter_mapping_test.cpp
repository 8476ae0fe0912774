// Normalised <-> plain mapping, stepping and clamping of every kind.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "ParamTable.h"
#include "TParamList.h"

using namespace kest;

namespace {

struct Mapping : ::testing::Test {
  TParamList list;
  double Plain(int index, float normalised) {
    list[index].SetVstValue(normalised);
    return list[index].Value();
  }
};

TEST_F(Mapping, NoteParameter) {
  const int note = StepNoteIndex(0, 0);
  EXPECT_EQ(Plain(note, 1.0f), 127);
  EXPECT_EQ(Plain(note, 0.5f), 64);
  EXPECT_EQ(Plain(note, 0.0f), 0);
  list[note].SetValue(127);
  EXPECT_FLOAT_EQ(list[note].GetVstValue(), 1.0f);
  // Every value survives plain -> normalised -> plain.
  for (int n = 0; n <= 127; ++n) {
    list[note].SetValue(n);
    const float x = list[note].GetVstValue();
    EXPECT_EQ(Plain(note, x), n) << n;
  }
}

TEST_F(Mapping, ContinuousLevel) {
  EXPECT_DOUBLE_EQ(Plain(kLevel, 0.5f), -27.0);
  list[kLevel].SetValue(0.0);
  EXPECT_FLOAT_EQ(list[kLevel].GetVstValue(), static_cast<float>(60.0 / 66.0));
  EXPECT_DOUBLE_EQ(Plain(kLevel, 0.0f), -60.0);
  EXPECT_DOUBLE_EQ(Plain(kLevel, 1.0f), 6.0);
}

TEST_F(Mapping, SteppedKinds) {
  EXPECT_DOUBLE_EQ(Plain(kDetune, 0.5f), 25.0); // value number 50 of 101
  EXPECT_DOUBLE_EQ(Plain(kDetune, 1.0f), 50.0);
  EXPECT_EQ(Plain(kChA, 0.49f), 0);
  EXPECT_EQ(Plain(kChA, 0.5f), 1);
  EXPECT_EQ(Plain(kRandomStyle, 1.0f), 303);
  EXPECT_EQ(Plain(kRandomStyle, 0.0f), 0);
  EXPECT_EQ(Plain(kRandomRange, 0.0f), 1);
  EXPECT_EQ(Plain(kRandomRange, 1.0f), 9);
  EXPECT_EQ(Plain(kAutoRandom, 0.999f), 8);
  // A stepped value k reads back as k / (n - 1) and maps to k again.
  for (int k = 0; k < 304; ++k) {
    list[kRandomStyle].SetValue(k);
    EXPECT_EQ(Plain(kRandomStyle, list[kRandomStyle].GetVstValue()), k);
  }
}

TEST_F(Mapping, OutOfRangeAndNonFiniteInput) {
  EXPECT_DOUBLE_EQ(Plain(kDepth, -0.2f), 0.0);
  EXPECT_DOUBLE_EQ(Plain(kDepth, 1.5f), 100.0);
  EXPECT_DOUBLE_EQ(Plain(kDepth, 0.25f), 25.0);
  for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                    -std::numeric_limits<float>::infinity()}) {
    EXPECT_DOUBLE_EQ(Plain(kDepth, bad), 25.0) << "ignored";
    EXPECT_EQ(Plain(StepNoteIndex(1, 3), bad), 60) << "ignored";
  }
}

TEST_F(Mapping, IncAndDec) {
  list[kDepth].SetValue(99.5);
  EXPECT_TRUE(list[kDepth].IncValue());
  EXPECT_DOUBLE_EQ(list[kDepth].Value(), 100.0);
  EXPECT_TRUE(list[kDepth].IncValue()); // true also at the top
  EXPECT_DOUBLE_EQ(list[kDepth].Value(), 100.0);
  list[kLevel].SetValue(-59.5);
  EXPECT_TRUE(list[kLevel].DecValue());
  EXPECT_DOUBLE_EQ(list[kLevel].Value(), -60.0);
  list[kLevel].SetValue(0.0);
  list[kLevel].IncValue();
  EXPECT_NEAR(list[kLevel].Value(), 0.66, 1e-12);
  list[kDetune].SetValue(10.0);
  list[kDetune].DecValue();
  EXPECT_DOUBLE_EQ(list[kDetune].Value(), 9.5);
  EXPECT_FALSE(list[kChA].IncValue());
  EXPECT_FALSE(list[kChA].DecValue());
  EXPECT_EQ(list[kChA].Value(), 1);
  list[StepNoteIndex(2, 15)].SetValue(127);
  list[StepNoteIndex(2, 15)].IncValue();
  EXPECT_EQ(list[StepNoteIndex(2, 15)].Value(), 127);
}

TEST(ParamListModel, TableDefaultsAndIndices) {
  TParamList list;
  ASSERT_EQ(list.Count(), kNumParams);
  EXPECT_EQ(list.Preset(), "- Empty -");
  for (int i = 0; i < kNumParams; ++i) {
    EXPECT_EQ(list[i].Index(), i);
    EXPECT_EQ(list[i].Flags(), 1u);
    EXPECT_EQ(list[i].Value(), list[i].DefaultValue()) << i;
  }
  EXPECT_STREQ(list[StepSwitchIndex(1, 6)].Name(), "Step B7");
  EXPECT_STREQ(list[StepNoteIndex(2, 15)].Name(), "Note C16");
  EXPECT_EQ(StepNoteIndex(2, 15), 102);
  EXPECT_EQ(StepSwitchIndex(2, 0), 71);
  EXPECT_EQ(list[kChA].Value(), 1);
  EXPECT_EQ(list[kChA + 1].Value(), 0);
  EXPECT_EQ(list[kRandomStyle].Value(), 132);
  EXPECT_STREQ(list[kDetune].Caption(), "Cnt");
  EXPECT_EQ(list[kLevel].Type(), ptFloat);
  EXPECT_EQ(list[kRandomRange].Type(), ptInt);
  EXPECT_EQ(list[kAutoRandom].Type(), ptRndMode);
  EXPECT_EQ(list[kRandomRootNote].Type(), ptNote);
  EXPECT_THROW(list[kNumParams], std::out_of_range);
  EXPECT_THROW(list[-1], std::out_of_range);
  auto& detune = static_cast<TParamFloat&>(list[kDetune]);
  EXPECT_EQ(detune.NumSteps(), 101);
  EXPECT_EQ(static_cast<TParamFloat&>(list[kLevel]).NumSteps(), 1);
  EXPECT_DOUBLE_EQ(static_cast<TParamFloat&>(list[kLevel]).Inc(), 0.66);
}

TEST(ParamListModel, CloneAndCopyCarryValuesNotNames) {
  TParamList a;
  a.SetPreset("Mine");
  a[kDepth].SetValue(77);
  a[StepNoteIndex(1, 1)].SetValue(12);
  auto b = a.Clone();
  EXPECT_EQ(b->Preset(), "- Empty -");
  EXPECT_EQ((*b)[kDepth].Value(), 77);
  EXPECT_EQ((*b)[StepNoteIndex(1, 1)].Value(), 12);
  TParamList c;
  c.SetPreset("Other");
  c.CopyFrom(a);
  EXPECT_EQ(c.Preset(), "Other");
  EXPECT_EQ(c[kDepth].Value(), 77);
  a[kDepth].SetValue(1); // the copies are independent
  EXPECT_EQ((*b)[kDepth].Value(), 77);
}

} // namespace
