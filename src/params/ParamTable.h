#pragma once
// The 108 parameters every preset holds, by index.
#include <array>

#include "TParameter.h"

namespace kest {

inline constexpr int kNumParams = 108;

// Parameter indices.
enum ParamIndex : int {
  kLevel = 0,
  kDepth = 1,
  kGlide = 2,
  kDetune = 3,
  kChA = 4,     // channel switches A, B, C: 4, 5, 6
  kStepA1 = 7,  // step switch of channel c, step k (0-based): 7 + 32c + k
  kNoteA1 = 23, // step note of channel c, step k (0-based): 23 + 32c + k
  kRandom = 103,
  kRandomRootNote = 104,
  kRandomRange = 105,
  kRandomStyle = 106,
  kAutoRandom = 107,
};

inline constexpr int kNumChannels = 3;
inline constexpr int kNumSteps = 16;

constexpr int StepSwitchIndex(int channel, int step) {
  return kStepA1 + 32 * channel + step;
}
constexpr int StepNoteIndex(int channel, int step) {
  return kNoteA1 + 32 * channel + step;
}

// The definition table, built once; its texts live as long as the program.
const std::array<TVSTParam, kNumParams>& ParamTable();

} // namespace kest
