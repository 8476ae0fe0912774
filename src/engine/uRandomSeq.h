#pragma once
// The random note fills: notes drawn from a style around a root note over a
// range of octaves, and the transposition of all notes when the root moves.
// Each writes the 48 step notes in ascending parameter order through `write`
// (parameter index, note); the engine and the default bank generator share them.
#include <array>

#include "KestRandom.h"
#include "ParamTable.h"
#include "StyleTable.h"

namespace kest {

// The 48 note parameters in the order every fill visits them.
inline constexpr std::array<int, kNumChannels* kNumSteps> kNoteParams = [] {
  std::array<int, kNumChannels * kNumSteps> a{};
  for (int c = 0; c < kNumChannels; ++c) {
    for (int k = 0; k < kNumSteps; ++k)
      a[c * kNumSteps + k] = StepNoteIndex(c, k);
  }
  return a;
}();

inline constexpr int kHighestNote = 127;

constexpr int FoldDown(int n) {
  while (n > kHighestNote)
    n -= 12;
  return n;
}

// Per note: an interval of the set, then (from range 3 on) an octave offset of
// 0 .. range - 2 octaves; folded below 128 by octaves.
template <typename Write>
void FillFromSet(const int* intervals, int m, int root, int range, Write&& write) {
  for (int index : kNoteParams) {
    int n = root + intervals[Random(m)];
    if (range > 1) n += 12 * Random(range - 1);
    write(index, FoldDown(n));
  }
}

// Per note: root + a x Random((12 div a) x range), folded below 128.
template <typename Write> void FillByStep(int a, int root, int range, Write&& write) {
  if (a <= 0) return;
  const int steps = (12 / a) * range;
  for (int index : kNoteParams)
    write(index, FoldDown(root + a * Random(steps)));
}

// Fills by the style with that number; false (nothing written) for an unknown one.
template <typename Write> bool FillStyle(int style, int root, int range, Write&& write) {
  const TStyle* s = FindStyle(style);
  if (s == nullptr) return false;
  if (s->IsFixedStep()) {
    FillByStep(s->Step, root, range, write);
  } else {
    FillFromSet(s->Intervals, s->Count, root, range, write);
  }
  return true;
}

// Moves every note by d semitones, folding back into 0 .. 127 by octaves.
template <typename Read, typename Write> void ShiftNotes(int d, Read&& read, Write&& write) {
  if (d == 0) return;
  for (int index : kNoteParams) {
    int n = read(index) + d;
    n = FoldDown(n);
    while (n < 0)
      n += 12;
    write(index, n);
  }
}

} // namespace kest
