#include "DefaultBank.h"

#include <string>

#include "DefaultBankNotes.h"
#include "ParamTable.h"

namespace kest {

namespace {

struct PresetRow {
  const char* name;
  double level, depth, glide, detune;
  int random, root, range, style, autoRandom;
};

constexpr PresetRow kPresets[kNumPresets] = {
    {"Hyper flanger", 0, 65.91, 100, 32, 0, 60, 3, 0, 0},
    {"Octave flanger", 0, 65.91, 100, 32, 0, 72, 3, 0, 0},
    {"3 semi flanger", 0, 94.32, 100, 32, 0, 72, 3, 0, 0},
    {"Gonduras", 0, 70.45, 100, 39.5, 0, 60, 3, 0, 0},
    {"Full chaos", -3.75, 77.27, 12.5, 5.5, 0, 12, 9, 132, 1},
    {"Detected", 0, 50, 33.05, 0, 0, 48, 4, 133, 0},
    {"Quil's", 0, 84.09, 0, 0, 0, 36, 5, 239, 0},
    {"Sueta", 0, 77.27, 30.68, 0, 0, 60, 3, 0, 0},
    {"Chromatic", 0, 63.64, 0, 9.5, 0, 60, 3, 132, 0},
    {"Whole tones", 0, 78.41, 11.36, 13.5, 0, 48, 5, 133, 1},
    {"Night blues", 0, 72.73, 0, 9, 0, 48, 3, 154, 2},
    {"M9", 0, 50, 0, 9.5, 0, 48, 4, 232, 1},
    {"Pentatonic", 0, 69.32, 0, 9.5, 0, 60, 3, 9, 1},
    {"China", 0, 69.32, 0, 9.5, 0, 60, 3, 155, 1},
    {"Sansagari", 0, 69.32, 0, 9.5, 0, 60, 3, 273, 1},
    {"Miyakobushi", 0, 69.32, 10.64, 9.5, 0, 60, 3, 265, 1},
    {"Hamsadhvani", 0, 50, 0, 0, 0, 60, 3, 39, 1},
    {"Ishikotsucho", -3.75, 76.14, 0, 12, 0, 48, 4, 255, 1},
    {"Kung", -3.75, 84, 0, 12, 1, 60, 3, 260, 1},
    {"Kuntvarali", -3.75, 90.91, 28.41, 12, 1, 60, 3, 49, 1},
    {"Mahathi", -3.75, 90.91, 12.5, 12, 0, 60, 3, 51, 1},
    {"Mamata", -3.75, 90.91, 1.14, 12, 1, 60, 3, 53, 1},
    {"Citrambari", 0, 50, 0, 0, 0, 48, 4, 279, 2},
    {"Ghandarva", 0, 50, 28.41, 6, 0, 48, 4, 248, 1},
    {"Houseini", 0, 76.14, 0, 0, 0, 60, 3, 253, 1},
    {"Kaikavasi", 0, 76.14, 0, 0, 0, 60, 3, 258, 1},
    {"Hedjaz", 0, 76.14, 0, 0, 0, 60, 3, 263, 1},
    {"Rasranjani", 0, 76.14, 0, 0, 0, 60, 3, 69, 1},
    {"Rounded", 0, 63.64, 12.5, 9, 0, 36, 5, 132, 0},
    {"Gipsy", 0, 50, 0, 0, 0, 48, 4, 84, 1},
    {"Zubrela", 0, 50, 0, 0, 0, 60, 3, 0, 0},
    {"Pengan", 0, 50, 0, 0, 1, 60, 3, 5, 0},
};

// Step switches that differ from "all on", as step 1..16 patterns.
struct SwitchRow {
  int preset;
  const char* channels[kNumChannels];
};

constexpr SwitchRow kSwitches[] = {
    {3, {"1111111111000000", "1111100000000000", "0000000000111111"}},
    {5, {"1111110000000001", "1011010111011101", "1010111010111011"}},
    {7, {"1111111111111111", "1111111111111111", "1000000001000000"}},
};

// The three flanger presets play fixed note rows.
constexpr int kFlangerNotes[3][kNumChannels][kNumSteps] = {
    {{60, 61, 62, 63, 64, 65, 66, 67, 68, 67, 66, 65, 64, 63, 62, 61},
     {64, 63, 62, 61, 60, 61, 62, 63, 64, 65, 66, 67, 68, 67, 66, 65},
     {66, 67, 68, 67, 66, 65, 64, 63, 62, 61, 60, 61, 62, 63, 64, 65}},
    {{72, 73, 74, 75, 76, 77, 78, 79, 80, 79, 78, 77, 76, 75, 74, 73},
     {60, 61, 62, 63, 64, 65, 66, 67, 68, 67, 66, 65, 64, 63, 62, 61},
     {48, 49, 50, 51, 52, 53, 54, 55, 56, 55, 54, 53, 52, 51, 50, 49}},
    {{63, 64, 65, 66, 67, 68, 69, 70, 71, 70, 69, 68, 67, 66, 65, 64},
     {60, 61, 62, 63, 64, 65, 66, 67, 68, 67, 66, 65, 64, 63, 62, 61},
     {66, 67, 68, 69, 70, 71, 72, 73, 74, 73, 72, 71, 70, 69, 68, 67}},
};

void ApplyRow(TParamList& p, const PresetRow& row) {
  p.SetPreset(row.name);
  p[kLevel].SetValue(row.level);
  p[kDepth].SetValue(row.depth);
  p[kGlide].SetValue(row.glide);
  p[kDetune].SetValue(row.detune);
  for (int c = 0; c < kNumChannels; ++c)
    p[kChA + c].SetValue(1);
  p[kRandom].SetValue(row.random);
  p[kRandomRootNote].SetValue(row.root);
  p[kRandomRange].SetValue(row.range);
  p[kRandomStyle].SetValue(row.style);
  p[kAutoRandom].SetValue(row.autoRandom);
}

} // namespace

std::array<std::unique_ptr<TParamList>, kNumPresets> BuildDefaultBank() {
  std::array<std::unique_ptr<TParamList>, kNumPresets> bank;
  for (int i = 0; i < kNumPresets; ++i) {
    bank[i] = std::make_unique<TParamList>();
    ApplyRow(*bank[i], kPresets[i]);
  }
  for (const SwitchRow& s : kSwitches) {
    for (int c = 0; c < kNumChannels; ++c) {
      for (int k = 0; k < kNumSteps; ++k) {
        (*bank[s.preset])[StepSwitchIndex(c, k)].SetValue(s.channels[c][k] == '1' ? 1 : 0);
      }
    }
  }
  for (int i = 0; i < kNumPresets; ++i) {
    TParamList& p = *bank[i];
    if (i < 3) {
      for (int c = 0; c < kNumChannels; ++c) {
        for (int k = 0; k < kNumSteps; ++k)
          p[StepNoteIndex(c, k)].SetValue(kFlangerNotes[i][c][k]);
      }
    } else {
      FillDefaultNotes(p, i);
    }
  }
  return bank;
}

} // namespace kest
