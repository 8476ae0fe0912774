#include "ParamTable.h"

#include <string>

namespace kest {

namespace {

std::array<TVSTParam, kNumParams> BuildTable() {
  static std::array<std::string, 96> names; // "Step A1" ... "Note C16"
  std::array<TVSTParam, kNumParams> t{};
  t[kLevel] = {ptFloat, "Level", "db", 0.0f, -60.0f, 6.0f, 0.0f};
  t[kDepth] = {ptFloat, "Depth", "%", 50.0f, 0.0f, 100.0f, 0.0f};
  t[kGlide] = {ptFloat, "Glide", "%", 0.0f, 0.0f, 100.0f, 0.0f};
  t[kDetune] = {ptFloat, "Detune", "Cnt", 0.0f, 0.0f, 50.0f, 0.5f};
  t[kChA + 0] = {ptBool, "Ch. A", "", 1.0f, 0.0f, 1.0f, 1.0f};
  t[kChA + 1] = {ptBool, "Ch. B", "", 0.0f, 0.0f, 1.0f, 1.0f};
  t[kChA + 2] = {ptBool, "Ch. C", "", 0.0f, 0.0f, 1.0f, 1.0f};
  int n = 0;
  for (int c = 0; c < kNumChannels; ++c) {
    const char letter = static_cast<char>('A' + c);
    for (int k = 0; k < kNumSteps; ++k) {
      names[n] = std::string("Step ") + letter + std::to_string(k + 1);
      t[StepSwitchIndex(c, k)] = {ptBool, names[n].c_str(), "", 1.0f, 0.0f, 1.0f, 1.0f};
      ++n;
      names[n] = std::string("Note ") + letter + std::to_string(k + 1);
      t[StepNoteIndex(c, k)] = {ptNote, names[n].c_str(), "", 60.0f, 0.0f, 127.0f, 1.0f};
      ++n;
    }
  }
  t[kRandom] = {ptBool, "Random", "", 0.0f, 0.0f, 1.0f, 1.0f};
  t[kRandomRootNote] = {ptNote, "Random root note", "", 60.0f, 0.0f, 127.0f, 1.0f};
  t[kRandomRange] = {ptInt, "Random range", "Oct", 3.0f, 1.0f, 9.0f, 1.0f};
  t[kRandomStyle] = {ptInt, "Random style #", "", 132.0f, 0.0f, 303.0f, 1.0f};
  t[kAutoRandom] = {ptRndMode, "Auto random", "", 0.0f, 0.0f, 8.0f, 1.0f};
  return t;
}

} // namespace

const std::array<TVSTParam, kNumParams>& ParamTable() {
  static const std::array<TVSTParam, kNumParams> table = BuildTable();
  return table;
}

} // namespace kest
