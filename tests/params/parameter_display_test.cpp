// Display texts of every kind.
#include <gtest/gtest.h>

#include "ParamTable.h"
#include "TParamList.h"

using namespace kest;

namespace {

std::string Show(TParamList& list, int index, double value) {
  list[index].SetValue(value);
  return list[index].GetDisplay();
}

TEST(Display, EveryForm) {
  TParamList list;
  EXPECT_EQ(Show(list, kLevel, -60), "-60.0");
  EXPECT_EQ(Show(list, kLevel, 6), "6.0");
  EXPECT_EQ(Show(list, kLevel, -3.75), "-3.8"); // one decimal of the single value
  EXPECT_EQ(Show(list, kDepth, 65.91), "65.9");
  EXPECT_EQ(Show(list, kDetune, 12.5), "12.5");
  EXPECT_EQ(Show(list, kRandomStyle, 132), "132");
  EXPECT_EQ(Show(list, kRandomRange, 3.9), "3"); // truncated
  EXPECT_EQ(Show(list, kChA, 1), "on");
  EXPECT_EQ(Show(list, kChA, 0.5), "off");
  EXPECT_EQ(Show(list, StepNoteIndex(0, 0), 61), "C#5");
  EXPECT_EQ(Show(list, StepNoteIndex(0, 0), 60.6), "C#5"); // rounded
  EXPECT_EQ(Show(list, kRandomRootNote, 127), "G10");
  EXPECT_EQ(Show(list, kAutoRandom, 0), "Off");
  EXPECT_EQ(Show(list, kAutoRandom, 1), "Each bar");
  EXPECT_EQ(Show(list, kAutoRandom, 3), "Each 3-th bar");
  EXPECT_EQ(Show(list, kAutoRandom, 8), "Each 8-th bar");
}

TEST(Display, RandomModeOutsideItsValuesKeepsThePreviousText) {
  TParamList list;
  EXPECT_EQ(Show(list, kAutoRandom, 2), "Each 2-th bar");
  EXPECT_EQ(Show(list, kAutoRandom, 12), "Each 2-th bar");
  EXPECT_EQ(Show(list, kAutoRandom, -1), "Each 2-th bar");
}

TEST(Display, BaseParameterShowsOneDecimal) {
  TParameter p("Plain", 2.0f);
  EXPECT_STREQ(p.Name(), "Plain");
  EXPECT_EQ(p.Value(), 0.0);
  EXPECT_EQ(p.DefaultValue(), 2.0);
  EXPECT_EQ(p.Index(), -1);
  p.SetVstValue(0.25f);
  EXPECT_STREQ(p.GetDisplay(), "0.2"); // 0.25 rounds to even at one decimal
  EXPECT_FALSE(p.IncValue());
  TParameter unnamed;
  EXPECT_STREQ(unnamed.Name(), "Parametr");
}

} // namespace
