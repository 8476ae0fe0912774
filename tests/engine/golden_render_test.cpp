// Every preset of the default bank rendered as a host plays it, pinned to the
// bit: a fingerprint of each render is committed, so any change of an output
// sample or a peak meter (a constant, a rounding, the order of two operations)
// fails here. If a change of the sound is meant, the failure prints the new
// table to replace golden_renders.inc with.
#include <cinttypes>
#include <cstdio>
#include <string>

#include "EngineRender.h"
#include "KestRandom.h"
#include "SynthFixture.h"

namespace {

using namespace engine_render;

struct GoldenRender {
  int program;
  const char* signal; // "noise" or "drums"
  int rate;
  uint64_t fingerprint;
};

constexpr GoldenRender kGolden[] = {
#include "golden_renders.inc"
};

// One second at 240 BPM from the last quarter of a bar: all sixteen steps, a
// bar start (automatic fills), odd block sizes, and half way through a host
// automating the sound's four knobs (Level well below 0 dB, where its mapping
// constant shows in every sample).
uint64_t RenderPreset(int program, const std::string& signal, int rate,
                      TSynth::TInstructionSet set) {
  FakeHost::Reset();
  TSynth synth(&FakeHost::Callback);
  synth.UseInstructionSet(set);
  synth.SetSampleRate(static_cast<float>(rate));
  kest::RandomSeed(0x4B455354u + static_cast<uint64_t>(program));
  synth.SetProgram(program);
  synth.Resume();
  Plan plan;
  plan.rate = static_cast<float>(rate);
  plan.tempo = 240.0;
  plan.startQuarter = 3.0;
  plan.frames = rate;
  plan.blocks = {33, 1, 4096, 31, 257, 2};
  bool automated = false;
  plan.between = [&](TSynth& s, int at) {
    if (automated || at < plan.frames / 2) return;
    automated = true;
    s.SetParameter(kest::kLevel, 0.45f);
    s.SetParameter(kest::kDepth, 0.8f);
    s.SetParameter(kest::kGlide, 0.3f);
    s.SetParameter(kest::kDetune, 0.7f);
  };
  Noise noise;
  Drums drums(rate, plan.tempo, plan.startQuarter);
  Signal& input = signal == "noise" ? static_cast<Signal&>(noise) : drums;
  const Output out = Render(synth, plan, input);
  // A weak input would pin little.
  EXPECT_GT(out.peaks[0], 0.05f) << signal;
  return Fingerprint(out);
}

struct GoldenRenders : ::testing::TestWithParam<TSynth::TInstructionSet> {};

TEST_P(GoldenRenders, EveryPresetRendersToTheCommittedBits) {
  if (!TSynth::Runs(GetParam())) GTEST_SKIP() << "this machine lacks the instruction set";
  std::string table;
  int differ = 0;
  for (const GoldenRender& g : kGolden) {
    const uint64_t got = RenderPreset(g.program, g.signal, g.rate, GetParam());
    if (got != g.fingerprint) {
      ++differ;
      ADD_FAILURE() << "program " << g.program << ", " << g.signal << " at " << g.rate
                    << " Hz renders differently";
    }
    char line[96];
    std::snprintf(line, sizeof line, "{%d, \"%s\", %d, 0x%016" PRIx64 "ull},\n", g.program,
                  g.signal, g.rate, got);
    table += line;
  }
  if (differ != 0) std::printf("The renders as they now are:\n%s", table.c_str());
}

INSTANTIATE_TEST_SUITE_P(InstructionSets, GoldenRenders, InstructionSets(), InstructionSetName);

TEST(GoldenRenderTable, CoversEveryPresetWithBothSignalsAtBothRates) {
  EXPECT_EQ(std::size(kGolden), 32u * 2u * 2u);
}

} // namespace
