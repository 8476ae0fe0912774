#pragma once
// The 304 random styles: a set of semitone offsets above the root note, or a
// fixed interval step, each with its menu group and name.
#include <span>
#include <string_view>
#include <vector>

namespace kest {

inline constexpr int kNumStyles = 304;
inline constexpr int kMaxIntervals = 11;

struct TStyle {
  int Number;
  const char* Group;
  const char* Name;
  int Step;  // fixed step in semitones (1..12), or 0 for an interval set
  int Count; // number of intervals of a set
  int Intervals[kMaxIntervals];

  bool IsFixedStep() const { return Step > 0; }
};

// Every style in menu order (groups in order, styles in order within them).
// A constant table: safe to read from any thread, no allocation.
std::span<const TStyle> StylesInMenuOrder();

// The style with that number, or null outside 0 .. 303.
const TStyle* FindStyle(int number);

// One submenu of the style menu. Items hold style numbers; kSeparator marks
// the line between the fixed steps and the interval sets of "Scales".
struct StyleGroup {
  static constexpr int kSeparator = -1;
  std::string_view Name;
  std::vector<int> Items;
};

// The groups in menu order, as the style menu shows them.
const std::vector<StyleGroup>& StyleMenu();

} // namespace kest
