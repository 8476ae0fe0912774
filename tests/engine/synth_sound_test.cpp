// What the engine sounds like, against values worked out independently.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "SynthFixture.h"

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

using namespace kest;

namespace {

TEST_F(SynthTest, MinimumLevelSilencesEverythingDryIncluded) {
  Set(kLevel, -60);
  const auto in = Noise(4000);
  const auto [l, r] = Process(in, in);
  for (std::size_t i = 0; i < in.size(); ++i) {
    ASSERT_EQ(l[i], 0.0f);
    ASSERT_EQ(r[i], 0.0f);
  }
}

TEST_F(SynthTest, WithNoChannelSoundingTheDryInputPassesAtThreeQuarters) {
  for (int c = 0; c < kNumChannels; ++c)
    AllSteps(c, false);
  const auto in = Noise(44100 / 10);
  const auto [l, r] = Process(in, in);
  // The 3 ms gate settles within 60 ms to far below a millionth.
  for (std::size_t i = 44100 * 60 / 1000; i < in.size(); ++i) {
    ASSERT_NEAR(l[i], 0.75f * in[i], 1e-6f) << i;
    ASSERT_NEAR(r[i], 0.75f * in[i], 1e-6f) << i;
  }
}

TEST_F(SynthTest, ChannelSwitchesOffAlsoPassTheDrySignal) {
  for (int c = 0; c < kNumChannels; ++c)
    Set(kChA + c, 0);
  const auto in = Noise(4410);
  const auto [l, r] = Process(in, in);
  EXPECT_NEAR(l.back(), 0.75f * in.back(), 1e-6f);
}

// 44000 Hz and A (440 Hz) make a period of exactly 100 samples.
struct PlainDelay : SynthTest {
  void SetUp() override {
    SynthTest::SetUp();
    synth->SetSampleRate(44000.0f);
    Set(kLevel, 0);
    Set(kDepth, 0);
    Set(kGlide, 0);
    Set(kDetune, 0);
    Set(kChA, 1);
    Set(kChA + 1, 0);
    Set(kChA + 2, 0);
    for (int c = 0; c < kNumChannels; ++c) {
      AllSteps(c, true);
      AllNotes(c, 69);
    }
    synth->Resume();
    // Let the glide reach 440 Hz and the gates settle on silence.
    const std::vector<float> zeros(44000, 0.0f);
    Process(zeros, zeros);
  }
};

TEST_F(PlainDelay, DepthZeroGivesOneCopyDelayedByOnePeriod) {
  EXPECT_EQ(synth->Line(0).Delay(), 100.0f);
  EXPECT_EQ(synth->Line(1).Delay(), 100.0f);
  const auto in = Noise(2000, 7);
  const auto [l, r] = Process(in, in);
  for (std::size_t i = 0; i < in.size(); ++i) {
    const float expected = i >= 100 ? 0.25f * in[i - 100] : 0.0f;
    ASSERT_NEAR(l[i], expected, 1e-6f) << i;
    ASSERT_NEAR(r[i], expected, 1e-6f) << i;
  }
}

TEST_F(PlainDelay, DetuneZeroKeepsLeftAndRightIdenticalDetuneSplitsThem) {
  const auto in = Noise(3000, 3);
  Set(kDepth, 80);
  auto [l, r] = Process(in, in);
  EXPECT_EQ(l, r);
  Set(kDetune, 20);
  std::tie(l, r) = Process(in, in);
  EXPECT_NE(l, r);
  // Left is raised, right lowered by 20 cents: shorter and longer periods.
  EXPECT_NEAR(synth->Line(0).Delay(), 100.0 / std::pow(2.0, 20.0 / 1200.0), 1e-3);
  EXPECT_NEAR(synth->Line(1).Delay(), 100.0 * std::pow(2.0, 20.0 / 1200.0), 1e-3);
}

TEST_F(PlainDelay, ANewNoteOfTheCurrentStepWaitsForTheNextStep) {
  Set(StepNoteIndex(0, 0), 81); // the step that is playing
  const std::vector<float> zeros(4000, 0.0f);
  Process(zeros, zeros);
  EXPECT_EQ(synth->Line(0).Delay(), 100.0f) << "pitch unchanged";
  FakeHost::time.ppqPos = 0.25; // step 1
  Process(zeros, zeros);
  FakeHost::time.ppqPos = 0.0;
  Process(std::vector<float>(44000, 0.0f), std::vector<float>(44000, 0.0f));
  EXPECT_NEAR(synth->Line(0).Delay(), 44000.0 / 880.0, 1e-4) << "heard when the step returns";
}

TEST_F(PlainDelay, OneChannelOpenGivesItsLinesWithoutDry) {
  Set(kDepth, 50);
  const std::vector<float> zeros(4400, 0.0f); // the wet gate settles on the new depth
  Process(zeros, zeros);
  const auto in = Noise(3000, 11);
  const auto [l, r] = Process(in, in);
  // An independent comb: y[n] = w[n-100], w[n] = x[n] + g y[n].
  const double g = std::pow(std::sqrt(0.75 * 0.5), 0.3);
  const double depK = 1.0 - 0.006 * 0.5;
  std::vector<double> w(in.size(), 0.0);
  for (std::size_t i = 0; i < in.size(); ++i) {
    const double y = i >= 100 ? w[i - 100] : 0.0;
    w[i] = in[i] + g * y;
    ASSERT_NEAR(l[i], 0.25 * depK * y, 2e-5) << i;
  }
}

TEST_F(SynthTest, SampleRateChangeRebuildsLinesAndKeepsTheGateTime) {
  synth->SetSampleRate(96000.0f);
  EXPECT_EQ(synth->Line(0).MaxDelay(), 6000);
  EXPECT_EQ(synth->Line(5).MaxDelay(), 6000);
  EXPECT_DOUBLE_EQ(synth->KRelease(), 1.0 / (96000.0 * 0.003));
  EXPECT_FLOAT_EQ(synth->Line(3).Feedback(), synth->Depth());
  const double portK = synth->PortK(); // keeps the rate Glide was set at
  synth->SetSampleRate(48000.0f);
  EXPECT_EQ(synth->PortK(), portK);
  EXPECT_EQ(synth->Line(0).MaxDelay(), 3000);
}

TEST_F(SynthTest, OddSampleRatesAreIgnored) {
  for (float bad : {0.0f, -44100.0f, 1e9f, std::numeric_limits<float>::quiet_NaN(),
                    std::numeric_limits<float>::infinity()}) {
    synth->SetSampleRate(bad);
    EXPECT_EQ(synth->Line(0).MaxDelay(), 2756);
    EXPECT_FLOAT_EQ(synth->SampleRate(), 44100.0f);
  }
  synth->SetSampleRate(8000.0f);
  EXPECT_EQ(synth->Line(0).MaxDelay(), 500);
  synth->SetSampleRate(384000.0f);
  EXPECT_EQ(synth->Line(0).MaxDelay(), 24000);
}

TEST_F(SynthTest, PeaksFollowAndDecay) {
  synth->Resume();
  const std::vector<float> in(100, 0.5f), silent(100, 0.0f);
  Process(in, silent);
  EXPECT_FLOAT_EQ(synth->Peak(0), 0.5f);
  EXPECT_EQ(synth->Peak(1), 0.0f);
  Process(silent, silent);
  EXPECT_NEAR(synth->Peak(0), 0.5 * std::pow(0.999, 100), 1e-5);
  synth->Suspend();
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(synth->Peak(i), 0.0f);
}

TEST_F(SynthTest, ParameterMappingIntoTheEngine) {
  Set(kLevel, 6);
  EXPECT_NEAR(synth->Level(), 0.4988, 1e-4);
  Set(kLevel, 0);
  EXPECT_FLOAT_EQ(synth->Level(), 0.25f);
  Set(kDepth, 100);
  EXPECT_NEAR(synth->Depth(), 0.8660, 1e-4);
  EXPECT_NEAR(synth->Line(0).Feed(), 0.9578, 1e-4);
  EXPECT_FLOAT_EQ(synth->DepK(), 0.994f);
  Set(kGlide, 100);
  EXPECT_DOUBLE_EQ(synth->PortK(), 1.0 - std::exp(-1.0 / (44100.0 * 0.0515)));
  Set(kDetune, 50);
  EXPECT_DOUBLE_EQ(synth->Detune1(), std::pow(2.0, 50.0 / 1200.0));
  EXPECT_DOUBLE_EQ(synth->Detune2(), std::pow(2.0, -50.0 / 1200.0));
  Set(StepNoteIndex(1, 4), 69);
  EXPECT_DOUBLE_EQ(synth->StepFreq(1, 4), 440.0);
  Set(StepNoteIndex(2, 0), 60);
  EXPECT_DOUBLE_EQ(synth->StepFreq(2, 0), 261.63);
  Set(StepSwitchIndex(2, 15), 0);
  EXPECT_FALSE(synth->StepOn(2, 15));
  Set(kAutoRandom, 3);
  EXPECT_EQ(synth->AutoRndLen.load(), 3);
  Set(kRandomRange, 7);
  Set(kRandomStyle, 200);
  EXPECT_EQ(synth->RndRange(), 7);
  EXPECT_EQ(synth->RndStyle(), 200);
}

TEST_F(SynthTest, SwitchesSoundAsTheirStoredValueReads) {
  Set(kChA, 0);
  synth->SetParameter(kChA, 0.5f);
  for (int c = 0; c < kNumChannels; ++c)
    AllSteps(c, false);
  synth->SetParameter(StepSwitchIndex(0, 0), 0.5f);
  const auto in = Noise(8000);
  const auto [l, r] = Process(in, in);
  EXPECT_GT(std::fabs(l.back() - 0.75f * in.back()), 1e-4f) << "channel A sounds, no dry";
}

TEST(NoteFreq, TableValues) {
  EXPECT_DOUBLE_EQ(TSynth::NoteFreq(0), 8.18);
  EXPECT_DOUBLE_EQ(TSynth::NoteFreq(60), 261.63);
  EXPECT_DOUBLE_EQ(TSynth::NoteFreq(69), 440.0);
  EXPECT_DOUBLE_EQ(TSynth::NoteFreq(127), 12543.85);
}

TEST_F(SynthTest, ProcessEventsAcceptsAnything) {
  VstEvents none{};
  EXPECT_EQ(synth->ProcessEvents(&none), 1);
  EXPECT_EQ(synth->ProcessEvents(nullptr), 1);
}

#if defined(__SSE__) || defined(__x86_64__)
// Subnormal numbers are flushed while the engine runs, whatever floating-point
// mode the host's thread is in, and the host gets its own mode back (the
// sticky exception flags aside).
TEST_F(SynthTest, FlushesSubnormalsInEveryHostModeAndRestoresTheMode) {
  // A burst, then silence long enough for the lines to decay below the
  // smallest normal single.
  std::vector<float> in = Noise(2048);
  in.resize(256 * 700, 0.0f); // four seconds
  const unsigned hostMode = _mm_getcsr();
  std::vector<float> renders[2];
  for (const unsigned mode : {hostMode & ~0x8040u, hostMode | 0x8040u}) {
    SetUp();
    synth->SetSampleRate(44100.0f);
    synth->Resume();
    _mm_setcsr(mode);
    std::vector<float> out(in.size());
    for (std::size_t at = 0; at < in.size(); at += 256) {
      float* ins[2] = {in.data() + at, in.data() + at};
      float* outs[2] = {out.data() + at, out.data() + at};
      synth->ProcessReplacing(ins, outs, 256);
      ASSERT_EQ(_mm_getcsr() & ~0x3Fu, mode & ~0x3Fu);
    }
    _mm_setcsr(hostMode);
    renders[(mode & 0x8040u) != 0] = out;
  }
  EXPECT_EQ(0, std::memcmp(renders[0].data(), renders[1].data(), in.size() * sizeof(float)));
  EXPECT_EQ(std::count_if(renders[0].begin(), renders[0].end(),
                          [](float x) { return x != 0.0f && std::fabs(x) < 1.1754944e-38f; }),
            0);
}
#endif

} // namespace
