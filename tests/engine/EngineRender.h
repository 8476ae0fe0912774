#pragma once
// Renders through an engine as a host drives it: a running transport, blocks
// whose sizes change from call to call, and host calls made between the
// processing calls. The signals use + - * / only, so every build (Linux,
// Windows) makes the same input samples.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TSynth.h"

namespace engine_render {

// A stereo test signal, one frame at a time.
class Signal {
public:
  virtual ~Signal() = default;
  virtual void Next(float& left, float& right) = 0;
};

// White noise at a quarter of full scale, independent on the two sides.
class Noise final : public Signal {
public:
  explicit Noise(uint32_t seed = 0x2545F491u) : fState(seed) {}
  void Next(float& left, float& right) override;

private:
  float Draw();
  uint32_t fState;
};

// Kick on the beats, snare on 2 and 4, a hat on every sixteenth, following
// the tempo of the render.
class Drums final : public Signal {
public:
  Drums(double rate, double tempo, double startQuarter);
  void Next(float& left, float& right) override;

private:
  double fRate;
  double fFramesPerSixteenth;
  double fFrame;
  int64_t fSixteenth = -1;
  double fKickPhase = 0.0, fKickSweep = 0.0, fKick = 0.0, fSnare = 0.0, fHat = 0.0;
  double fKickRate, fSnareRate, fHatRate, fSweepRate;
  Noise fNoise{0x1234567u};
};

struct Plan {
  float rate = 44100.0f;
  double tempo = 120.0;
  double startQuarter = 0.0;
  int frames = 0;
  std::vector<int> blocks{256}; // block sizes, used in turn
  // Host calls before the processing call that starts at frame `at`.
  std::function<void(TSynth& synth, int at)> between;
};

struct Output {
  std::vector<float> left, right;
  float peaks[4] = {};
};

// Processes the plan's frames of the signal through the engine with the
// transport running from the plan's start; the engine must be resumed.
Output Render(TSynth& synth, const Plan& plan, Signal& signal);

// FNV-1a over the bits of every output sample and the four peak meters.
uint64_t Fingerprint(const Output& out);

// Both instruction sets of the block path, for tests run once with each.
inline auto InstructionSets() {
  return ::testing::Values(TSynth::TInstructionSet::Baseline, TSynth::TInstructionSet::Avx2);
}
inline std::string
InstructionSetName(const ::testing::TestParamInfo<TSynth::TInstructionSet>& info) {
  return info.param == TSynth::TInstructionSet::Avx2 ? "Avx2" : "Baseline";
}

} // namespace engine_render
