// The block path against the per-frame reference path, bit for bit: long
// noise at four sample rates and odd block sizes, through moving glides,
// detune, automation, program changes, random fills, silence, gates that
// open and close, and notes too high and too low for the lines to run their
// frames side by side.
//
// The block path reads values other threads set once per processing call;
// the reference reads them every frame. A host automates between its
// processing calls, and so does this test: every change lands between two
// calls (wherever that falls within a step, a chunk of the kernel or a glide).
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "EngineRender.h"
#include "KestRandom.h"
#include "SynthFixture.h"
#include "TSynthReference.h"

namespace {

using namespace engine_render;
using kest::kNumSteps;

struct Event {
  double seconds;
  std::function<void(TSynth&)> apply;
};

void SetAllNotes(TSynth& s, int channel, int note) {
  for (int k = 0; k < kNumSteps; ++k)
    SetPlain(s, kest::StepNoteIndex(channel, k), note);
}

// Two bars at 240 BPM.
const std::vector<Event>& Schedule() {
  static const std::vector<Event> events = {
      {0.0, [](TSynth& s) { s.SetProgram(0); }}, // rows of moving notes, full glide
      {0.05, [](TSynth& s) { s.SetParameter(kest::kDetune, 0.6f); }},
      {0.25, [](TSynth& s) { s.SetParameter(kest::kLevel, 0.7f); }},
      {0.3, [](TSynth& s) { s.SetParameter(kest::kDepth, 0.97f); }},
      // Too high for side by side at the low rates, and too low for the ring.
      {0.4, [](TSynth& s) { SetAllNotes(s, 0, 127); }},
      {0.45, [](TSynth& s) { SetAllNotes(s, 1, 0); }},
      {0.55, [](TSynth& s) { s.SetParameter(kest::kChA + 1, 0.0f); }},
      {0.7, [](TSynth& s) { s.SetParameter(kest::kChA + 1, 1.0f); }},
      {0.8, [](TSynth& s) { s.SetProgram(18); }}, // fills on loading, every bar after
      {1.0, [](TSynth& s) { s.SetParameter(kest::kGlide, 0.0f); }},
      {1.05, [](TSynth& s) { SetAllNotes(s, 2, 127); }},
      {1.2,
       [](TSynth& s) {
         for (int k = 0; k < kNumSteps; k += 2)
           s.SetParameter(kest::StepSwitchIndex(0, k), 0.0f);
       }},
      {1.5, [](TSynth& s) { s.SetProgram(4); }}, // a short glide, fills every bar
      {1.7, [](TSynth& s) { s.SetParameter(kest::kGlide, 0.55f); }},
      {1.8, [](TSynth& s) { s.SetParameter(kest::kDetune, 0.0f); }},
      {1.9, [](TSynth& s) { s.SetParameter(kest::kDepth, 0.0f); }},
  };
  return events;
}

// Noise with a stretch of silence (the combs ring out towards nothing).
class NoiseWithRest final : public Signal {
public:
  explicit NoiseWithRest(float rate) : fRestFrom(1.1 * rate), fRestTo(1.4 * rate) {}
  void Next(float& left, float& right) override {
    fNoise.Next(left, right);
    if (fFrame >= fRestFrom && fFrame < fRestTo) left = right = 0.0f;
    fFrame += 1.0;
  }

private:
  Noise fNoise;
  double fFrame = 0.0, fRestFrom, fRestTo;
};

struct Rendered {
  Output out;
  TSynth::TEnv port[3], gate[3], dry;
  float delays[6];
};

Rendered RenderThrough(TSynth& synth, float rate, int block) {
  synth.SetSampleRate(rate);
  kest::RandomSeed(0x5EED);
  synth.Resume();
  Plan plan;
  plan.rate = rate;
  plan.tempo = 240.0;
  plan.frames = static_cast<int>(2.0 * rate);
  plan.blocks = {block};
  std::size_t next = 0;
  plan.between = [&](TSynth& s, int at) {
    const auto& events = Schedule();
    while (next < events.size() && at >= events[next].seconds * rate)
      events[next++].apply(s);
  };
  NoiseWithRest input(rate);
  Rendered r;
  r.out = Render(synth, plan, input);
  for (int c = 0; c < 3; ++c) {
    r.port[c] = synth.Port(c);
    r.gate[c] = synth.Gate(c);
  }
  r.dry = synth.DryGate();
  for (int l = 0; l < 6; ++l)
    r.delays[l] = synth.Line(l).Delay();
  return r;
}

bool SameBits(const void* a, const void* b, std::size_t n) {
  return std::memcmp(a, b, n) == 0;
}

std::string FirstDifference(const std::vector<float>& got, const std::vector<float>& want) {
  for (std::size_t i = 0; i < want.size(); ++i) {
    if (!SameBits(&got[i], &want[i], sizeof(float))) {
      return "frame " + std::to_string(i) + ": " + std::to_string(got[i]) + " instead of " +
             std::to_string(want[i]);
    }
  }
  return "none";
}

struct BlockPath : ::testing::TestWithParam<TSynth::TInstructionSet> {};

TEST_P(BlockPath, RendersWhatTheReferencePathRendersBitForBit) {
  if (!TSynth::Runs(GetParam())) GTEST_SKIP() << "this machine lacks the instruction set";
  for (float rate : {22050.0f, 44100.0f, 48000.0f, 96000.0f}) {
    for (int block : {1, 31, 33, 4096}) {
      SCOPED_TRACE(std::to_string(rate) + " Hz, blocks of " + std::to_string(block));
      FakeHost::Reset();
      TSynthReference reference(&FakeHost::Callback);
      const Rendered want = RenderThrough(reference, rate, block);
      FakeHost::Reset();
      TSynth synth(&FakeHost::Callback);
      synth.UseInstructionSet(GetParam());
      const Rendered got = RenderThrough(synth, rate, block);

      ASSERT_EQ(got.out.left.size(), want.out.left.size());
      EXPECT_TRUE(
          SameBits(got.out.left.data(), want.out.left.data(), sizeof(float) * want.out.left.size()))
          << "left, first difference at " << FirstDifference(got.out.left, want.out.left);
      EXPECT_TRUE(SameBits(got.out.right.data(), want.out.right.data(),
                           sizeof(float) * want.out.right.size()))
          << "right, first difference at " << FirstDifference(got.out.right, want.out.right);
      EXPECT_TRUE(SameBits(got.out.peaks, want.out.peaks, sizeof want.out.peaks)) << "peaks";
      EXPECT_TRUE(SameBits(got.port, want.port, sizeof want.port)) << "glides";
      EXPECT_TRUE(SameBits(got.gate, want.gate, sizeof want.gate)) << "gates";
      EXPECT_TRUE(SameBits(&got.dry, &want.dry, sizeof want.dry)) << "dry gate";
      EXPECT_TRUE(SameBits(got.delays, want.delays, sizeof want.delays)) << "line delays";
    }
  }
}

// Noise with samples a host should not send: huge ones, subnormal ones,
// negative zeros, then an infinity and a NaN (after which the lines hold NaN).
class HostileNoise final : public Signal {
public:
  explicit HostileNoise(float rate) : fInfAt(0.6 * rate), fNanAt(0.8 * rate) {}
  void Next(float& left, float& right) override {
    fNoise.Next(left, right);
    const int n = fFrame++;
    if (n % 97 == 13) left = 1e30f;
    if (n % 389 == 200) right = -1e-40f;
    if (n % 131 == 7) left = right = -0.0f;
    if (n == fInfAt) right = std::numeric_limits<float>::infinity();
    if (n == fNanAt) left = std::numeric_limits<float>::quiet_NaN();
  }

private:
  Noise fNoise;
  int fFrame = 0;
  int fInfAt, fNanAt;
};

// The meters after every call, and every sample (a NaN matching any NaN).
TEST_P(BlockPath, HostileSamplesGiveTheSameMetersAfterEveryCall) {
  if (!TSynth::Runs(GetParam())) GTEST_SKIP() << "this machine lacks the instruction set";
  constexpr float kRate = 44100.0f;
  auto render = [&](TSynth& synth, std::vector<float>& meters) {
    synth.SetSampleRate(kRate);
    synth.Resume();
    synth.SetProgram(0);
    Plan plan;
    plan.rate = kRate;
    plan.frames = static_cast<int>(kRate);
    plan.blocks = {37, 4, 260};
    plan.between = [&](TSynth& s, int) {
      for (int i = 0; i < 4; ++i)
        meters.push_back(s.Peak(i));
    };
    HostileNoise input(kRate);
    return Render(synth, plan, input);
  };
  FakeHost::Reset();
  TSynthReference reference(&FakeHost::Callback);
  std::vector<float> wantMeters, gotMeters;
  const Output want = render(reference, wantMeters);
  FakeHost::Reset();
  TSynth synth(&FakeHost::Callback);
  synth.UseInstructionSet(GetParam());
  const Output got = render(synth, gotMeters);

  ASSERT_EQ(gotMeters.size(), wantMeters.size());
  EXPECT_TRUE(SameBits(gotMeters.data(), wantMeters.data(), sizeof(float) * wantMeters.size()))
      << "meters, first difference at " << FirstDifference(gotMeters, wantMeters);
  for (const auto& [side, g, w] : {std::tuple{"left", &got.left, &want.left},
                                   std::tuple{"right", &got.right, &want.right}}) {
    ASSERT_EQ(g->size(), w->size());
    std::size_t differ = 0;
    for (std::size_t i = 0; i < w->size(); ++i) {
      const bool bothNaN = std::isnan((*g)[i]) && std::isnan((*w)[i]);
      if (!bothNaN && !SameBits(&(*g)[i], &(*w)[i], sizeof(float))) ++differ;
    }
    EXPECT_EQ(differ, 0u) << side;
  }
  EXPECT_TRUE(std::isnan(got.left.back())) << "the NaN reached the lines";
}

INSTANTIATE_TEST_SUITE_P(InstructionSets, BlockPath, InstructionSets(), InstructionSetName);

} // namespace
