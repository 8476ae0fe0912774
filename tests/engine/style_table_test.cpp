// The style table and the style menu's groups.
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "StyleTable.h"

using namespace kest;

TEST(StyleTable, EveryNumberOnceWithValidNotes) {
  const auto& styles = StylesInMenuOrder();
  ASSERT_EQ(styles.size(), 304u);
  std::set<int> numbers;
  int fixed = 0;
  for (const TStyle& s : styles) {
    numbers.insert(s.Number);
    ASSERT_EQ(FindStyle(s.Number), &s);
    if (s.IsFixedStep()) {
      ++fixed;
      EXPECT_GE(s.Number, 132);
      EXPECT_LE(s.Number, 143);
      EXPECT_EQ(s.Step, s.Number - 131);
      continue;
    }
    ASSERT_GE(s.Count, 3) << s.Name;
    ASSERT_LE(s.Count, 11) << s.Name;
    EXPECT_EQ(s.Intervals[0], 0) << s.Name;
    for (int i = 1; i < s.Count; ++i)
      EXPECT_GT(s.Intervals[i], s.Intervals[i - 1]) << s.Name;
    EXPECT_LE(s.Intervals[s.Count - 1], 31) << s.Name;
  }
  EXPECT_EQ(numbers.size(), 304u);
  EXPECT_EQ(*numbers.begin(), 0);
  EXPECT_EQ(*numbers.rbegin(), 303);
  EXPECT_EQ(fixed, 12);
  EXPECT_EQ(FindStyle(304), nullptr);
  EXPECT_EQ(FindStyle(-1), nullptr);
}

TEST(StyleTable, SampleEntries) {
  EXPECT_STREQ(FindStyle(144)->Name, "Ahava raba");
  EXPECT_STREQ(FindStyle(144)->Group, "Scales");
  EXPECT_EQ(FindStyle(154)->Count, 6); // Blues: 0 3 5 6 7 10
  EXPECT_EQ(FindStyle(154)->Intervals[3], 6);
  EXPECT_STREQ(FindStyle(132)->Name, "1 semitone (chromatic)");
  EXPECT_STREQ(FindStyle(0)->Group, "Pentatonic");
  EXPECT_EQ(FindStyle(108)->Intervals[FindStyle(108)->Count - 1], 31);
}

TEST(StyleMenu, GroupsInOrderWithTheirCounts) {
  const auto& menu = StyleMenu();
  const std::pair<const char*, int> expected[] = {
      {"Scales", 71},    {"Chords", 25},    {"Tetratonic", 11}, {"Pentatonic", 18},
      {"Hexatonic", 12}, {"Heptatonic", 9}, {"Octatonic", 14},  {"Nonatonic", 6},
      {"Decatonic", 10}, {"Ethnic", 39},    {"Mela", 26},       {"Raga", 63}};
  ASSERT_EQ(menu.size(), 12u);
  int total = 0;
  for (std::size_t g = 0; g < menu.size(); ++g) {
    EXPECT_EQ(menu[g].Name, expected[g].first);
    int styles = 0;
    int previous = -1;
    for (int item : menu[g].Items) {
      if (item == StyleGroup::kSeparator) continue;
      ++styles;
      if (g > 0) {
        EXPECT_GT(item, previous) << "ascending within " << menu[g].Name;
      }
      previous = item;
    }
    EXPECT_EQ(styles, expected[g].second) << menu[g].Name;
    total += styles;
  }
  EXPECT_EQ(total, 304);
  // "Scales": the twelve fixed steps, a separator, then its interval sets.
  const auto& scales = menu[0].Items;
  ASSERT_EQ(scales.size(), 72u);
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(scales[i], 132 + i);
  EXPECT_EQ(scales[12], StyleGroup::kSeparator);
  EXPECT_EQ(scales[13], 144);
  EXPECT_EQ(scales.back(), 202);
  for (std::size_t g = 1; g < menu.size(); ++g) {
    for (int item : menu[g].Items)
      EXPECT_NE(item, StyleGroup::kSeparator);
  }
}
