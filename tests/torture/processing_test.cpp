// Processing as hosts do it: every common rate and block size, rates and
// block sizes that change, empty blocks, the legacy entry, long runs over a
// wandering transport, positions no sane host sends, and no time at all.
#include <cfloat>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>

#include <gtest/gtest.h>

#include "TortureSupport.h"

namespace torture {
namespace {

constexpr float kRates[] = {8000, 22050, 44100, 48000, 88200, 96000, 192000, 384000};
constexpr int kBlocks[] = {1, 2, 31, 32, 64, 256, 1000, 4096, 8192};
constexpr float kZeroDb = 60.0f / 66.0f; // Level spans -60 .. +6 dB

// The first frame where two runs differ, or -1.
long FirstDifference(const Instance& a, const Instance& b) {
  for (std::size_t i = 0; i < a.outL.size() && i < b.outL.size(); ++i) {
    if (a.outL[i] != b.outL[i] || a.outR[i] != b.outR[i]) return static_cast<long>(i);
  }
  return a.outL.size() == b.outL.size() ? -1
                                        : static_cast<long>(std::min(a.outL.size(), b.outL.size()));
}

// A plug-in that sounds for sure: a program, Level at 0 dB, fills off.
void Sounding(Instance& p, int program) {
  p.host.Dispatch(effSetProgram, 0, program);
  p.Deterministic();
  p.host.SetParameter(kLevel, kZeroDb);
}

using Combination = std::tuple<float, int>;
struct EveryRateAndBlock : ::testing::TestWithParam<Combination> {};

TEST_P(EveryRateAndBlock, NoiseGivesSoundAndOnlySoundSamples) {
  const auto [rate, block] = GetParam();
  const int program = static_cast<int>(rate / 1000.0f + static_cast<float>(block)) % kNumPrograms;
  Instance p(rate, block);
  Sounding(p, program);
  p.host.Time().tempo = 240.0; // several steps within a short run
  const std::size_t frames =
      std::max<std::size_t>(static_cast<std::size_t>(rate * 0.3f), 2u * block);
  const auto in = Noise(frames, 7);
  const std::string bad = p.Run(in, block);
  ASSERT_EQ(bad, "") << "program " << program;
  // After the first block the gates have opened or the dry path passes.
  const std::size_t from = frames / 2;
  EXPECT_TRUE(Sounds(p.outL.data() + from, frames - from)) << "program " << program;
  EXPECT_TRUE(Sounds(p.outR.data() + from, frames - from)) << "program " << program;
}

INSTANTIATE_TEST_SUITE_P(Torture, EveryRateAndBlock,
                         ::testing::Combine(::testing::ValuesIn(kRates),
                                            ::testing::ValuesIn(kBlocks)),
                         [](const ::testing::TestParamInfo<Combination>& info) {
                           return std::to_string(static_cast<int>(std::get<0>(info.param))) +
                                  "Hz_" + std::to_string(std::get<1>(info.param)) + "frames";
                         });

// With the position standing still nothing depends on where blocks begin,
// so any split of the same audio gives the same samples.
TEST(Blocks, AnySplitGivesTheSameSamplesWhileThePositionStands) {
  const std::uint64_t seed = SeedFor("Blocks.AnySplit", 11);
  for (float rate : {8000.0f, 44100.0f, 192000.0f}) {
    const auto in = Noise(static_cast<std::size_t>(rate * 0.2f), 3);
    Instance ref(rate, 4096);
    Sounding(ref, 5);
    ref.host.Time().playing = false;
    ref.host.Time().ppqPos = 1.3;
    ASSERT_EQ(ref.Run(in, 4096), "");
    for (int block : {1, 31, 1000, 8192, -1}) {
      Instance p(rate, block);
      Sounding(p, 5);
      p.host.Time().playing = false;
      p.host.Time().ppqPos = 1.3;
      if (block > 0) {
        ASSERT_EQ(p.Run(in, block), "");
      } else {
        // A new size every block, with empty blocks between.
        std::mt19937 rng(static_cast<unsigned>(seed));
        p.outL.assign(in.size(), 1.0f);
        p.outR.assign(in.size(), 1.0f);
        for (std::size_t at = 0; at < in.size();) {
          const int n = static_cast<int>(std::min<std::size_t>(1 + rng() % 3000, in.size() - at));
          p.host.SetBlockSize(n);
          p.host.Process(in.data() + at, in.data() + at, p.outL.data() + at, p.outR.data() + at, 0);
          ASSERT_EQ(p.outL[at], 1.0f) << "an empty block wrote output; " << SeedText(seed);
          p.host.Process(in.data() + at, in.data() + at, p.outL.data() + at, p.outR.data() + at, n);
          at += static_cast<std::size_t>(n);
        }
      }
      EXPECT_EQ(FirstDifference(ref, p), -1)
          << rate << " Hz, blocks of " << block << "; " << SeedText(seed);
    }
  }
}

TEST(Blocks, SizesChangingEveryBlockOnARunningTransport) {
  const std::uint64_t seed = SeedFor("Blocks.SizesChanging", 12);
  std::mt19937 rng(static_cast<unsigned>(seed));
  Instance p(48000.0f, 8192);
  Sounding(p, 9);
  const auto in = Noise(8192, 4);
  std::vector<float> l(8192), r(8192);
  for (long block = 0; block < Scaled(600); ++block) {
    const int n = static_cast<int>(rng() % 8193);
    if (rng() % 4 == 0) p.host.SetBlockSize(n);
    p.host.Process(in.data(), in.data(), l.data(), r.data(), n);
    const std::string bad = BadSample(l.data(), static_cast<std::size_t>(n)) +
                            BadSample(r.data(), static_cast<std::size_t>(n));
    ASSERT_EQ(bad, "") << "block " << block << " of " << n << " frames; " << SeedText(seed);
  }
  EXPECT_TRUE(Sounds(l.data(), 1000));
}

// The legacy entry overwrites its outputs, exactly as the replacing one.
TEST(Blocks, AccumulatingEntryGivesTheReplacingSamples) {
  const auto in = Noise(44100, 5);
  Instance a(44100.0f, 300), b(44100.0f, 300);
  Sounding(a, 3);
  Sounding(b, 3);
  ASSERT_EQ(a.Run(in, 300), "");
  b.outL.assign(in.size(), 0.25f);
  b.outR.assign(in.size(), -0.25f);
  for (std::size_t at = 0; at < in.size(); at += 300) {
    const int n = static_cast<int>(std::min<std::size_t>(300, in.size() - at));
    b.host.ProcessAccumulating(in.data() + at, in.data() + at, b.outL.data() + at,
                               b.outR.data() + at, n);
  }
  EXPECT_EQ(FirstDifference(a, b), -1);
}

// Suspending around a rate change, or not, makes no difference to the sound;
// rates no card runs at are ignored by both rate requests.
TEST(Rates, ChangesWithAndWithoutSuspendingSoundAlike) {
  const float rates[] = {44100, 96000, 8000, 384000, 22050, 48000, 192000, 88200};
  const float odd[] = {0.0f,
                       -48000.0f,
                       std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity(),
                       999.0f,
                       768001.0f,
                       1e-42f,
                       FLT_MAX};
  Instance a(44100.0f, 256), b(44100.0f, 256), c(44100.0f, 256);
  for (Instance* p : {&a, &b, &c})
    Sounding(*p, 7);
  for (std::size_t i = 0; i < std::size(rates); ++i) {
    const float rate = rates[i];
    a.host.Suspend();
    a.host.SetSampleRate(rate);
    a.host.Resume();
    b.host.SetSampleRate(rate);
    c.host.SetSampleRate(rate);
    // Odd rates through both requests, a program load that recomputes the
    // glide from the rate, and the same program again.
    c.host.Dispatch(effSetSampleRate, 0, 0, nullptr, odd[i]); // the harness keeps its clock
    c.host.Dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, odd[(i + 3) % std::size(odd)]);
    for (Instance* p : {&a, &b, &c})
      Sounding(*p, 7 + static_cast<int>(i));
    const auto in = Noise(static_cast<std::size_t>(rate * 0.1f), 6 + static_cast<unsigned>(i));
    for (Instance* p : {&a, &b, &c})
      ASSERT_EQ(p->Run(in, 256), "") << rate << " Hz";
    EXPECT_TRUE(Sounds(a.outL.data() + in.size() / 2, in.size() / 2)) << rate << " Hz";
    EXPECT_EQ(FirstDifference(a, b), -1) << "suspended or not, at " << rate << " Hz";
    EXPECT_EQ(FirstDifference(a, c), -1)
        << "after the odd rate " << odd[i] << ", at " << rate << " Hz";
  }
}

// Notes above half the sample rate (high notes at low rates) with the most
// feedback and detune: the combs must stay bounded.
TEST(Rates, NotesAboveHalfTheRateStayBounded) {
  for (float rate : {1000.0f, 8000.0f, 22050.0f}) {
    for (int note : {90, 110, 120, 127}) {
      Instance p(rate, 256);
      Sounding(p, 0);
      p.host.SetParameter(kDepth, 1.0f);
      p.host.SetParameter(kDetune, 1.0f);
      for (int c = 0; c < 3; ++c) {
        for (int k = 0; k < 16; ++k) {
          p.host.SetParameter(7 + 32 * c + k, 1.0f);
          p.host.SetParameter(23 + 32 * c + k, static_cast<float>(note) / 127.0f);
        }
      }
      const auto in = Noise(static_cast<std::size_t>(rate * 4.0f), 14);
      EXPECT_EQ(p.Run(in, 256), "") << "note " << note << " at " << rate << " Hz";
    }
  }
}

// Minutes of audio over a transport that loops, jumps back, stands still and
// changes tempo, with automatic random fills every bar.
TEST(LongRun, WanderingTransportForMinutes) {
  const std::uint64_t seed = SeedFor("LongRun.WanderingTransport", 13);
  std::mt19937 rng(static_cast<unsigned>(seed));
  Instance p(44100.0f, 512);
  Sounding(p, 1);
  p.host.SetParameter(kAutoRandom, 1.0f / 8.0f); // every bar
  p.host.SetParameter(kDepth, 1.0f);
  kest::host::Transport& t = p.host.Time();
  const auto in = Noise(512, 8);
  std::vector<float> l(512), r(512);
  const long blocks = Scaled(2L * 60 * 44100 / 512); // two minutes, one when unoptimised
  bool heard = false;
  for (long b = 0; b < blocks; ++b) {
    switch (rng() % 64) {
    case 0:
      t.ppqPos = std::max(0.0, t.ppqPos - 4.0);
      break; // loop a bar
    case 1:
      t.ppqPos = std::uniform_real_distribution<double>(-8.0, 8.0)(rng);
      break; // jump
    case 2:
      t.playing = !t.playing;
      break; // stop / play
    case 3:
      t.tempo = 40.0 + static_cast<double>(rng() % 400);
      break;
    default:
      break;
    }
    if (t.ppqPos > 16.0) t.ppqPos -= 16.0; // a four-bar loop
    p.host.Process(in.data(), in.data(), l.data(), r.data(), 512);
    const std::string bad = BadSample(l.data(), 512) + BadSample(r.data(), 512);
    ASSERT_EQ(bad, "") << "block " << b << " at ppq " << t.ppqPos << "; " << SeedText(seed);
    heard = heard || Sounds(l.data(), 512);
    if ((b + 1) % (44100 / 512 * 10) == 0) {
      ASSERT_TRUE(heard) << "ten seconds of silence before block " << b << "; " << SeedText(seed);
      heard = false;
    }
  }
}

// Positions: the step of a position is its sixteenth within the bar, however
// large or negative; a position that is no number keeps the last step, and
// so does a host without time information.
struct Positions : ::testing::Test {
  std::vector<float> in = Noise(8000, 9);

  // Runs a fresh plug-in with the transport standing at each position in
  // turn (one run each) and answers the last run.
  static std::unique_ptr<Instance> At(std::initializer_list<double> positions,
                                      const std::vector<float>& in, bool timeInfo = true) {
    auto p = std::make_unique<Instance>(44100.0f, 500);
    Sounding(*p, 4);
    // Channel A alone, a note of its own on every step: each step sounds apart.
    for (int k = 0; k < 16; ++k) {
      p->host.SetParameter(7 + k, 1.0f);
      p->host.SetParameter(23 + k, static_cast<float>(40 + 3 * k) / 127.0f);
      p->host.SetParameter(39 + k, 0.0f);
      p->host.SetParameter(71 + k, 0.0f);
    }
    p->host.Time().playing = false;
    p->host.Time().answerTimeInfo = timeInfo;
    for (double pos : positions) {
      p->host.Time().ppqPos = pos;
      const std::string bad = p->Run(in, 500);
      EXPECT_EQ(bad, "") << "at " << pos;
    }
    return p;
  }
};

TEST_F(Positions, HugeAndNegativePositionsLandOnTheirStep) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double position, same;
  } cases[] = {{DBL_MAX, 0.0},
               {-DBL_MAX, 0.0},
               {1e300, 0.0},
               {-1e300, 0.0},
               {1152921504606846976.0, 0.0},
               {-1152921504606846976.0, 0.0},
               {1e15 + 0.75, 0.75},
               {-0.25, 3.75},
               {-1.0, 3.0},
               {-16.5, 3.5},
               {-1e-300, 3.75},
               {inf, 0.0},
               {-inf, 0.0}};
  for (const auto& c : cases) {
    const auto ref = At({c.same}, in);
    const auto p = At({c.position}, in);
    EXPECT_EQ(FirstDifference(*ref, *p), -1)
        << "position " << c.position << " should sound as " << c.same;
  }
}

TEST_F(Positions, PositionsThatAreNoNumberKeepTheLastStep) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const auto ref = At({1.25, 1.25, 1.25}, in);
  for (double odd : {nan, -nan, inf, -inf}) {
    const auto p = At({1.25, odd, odd}, in);
    EXPECT_EQ(FirstDifference(*ref, *p), -1) << "position " << odd;
  }
}

TEST_F(Positions, WithoutTimeInformationTheStepStays) {
  EXPECT_EQ(FirstDifference(*At({0.0}, in), *At({7.25}, in, false)), -1) << "from the start";
  // Time information that stops arriving after step 5.
  const auto ref = At({1.25, 1.25}, in);
  auto p = At({1.25}, in);
  p->host.Time().answerTimeInfo = false;
  p->host.Time().ppqPos = 2.0;
  ASSERT_EQ(p->Run(in, 500), "");
  EXPECT_EQ(FirstDifference(*ref, *p), -1);
}

TEST_F(Positions, RunningFromHugeAndNegativePositions) {
  for (double start : {DBL_MAX, -DBL_MAX, 1e300, -1e300, 4503599627370495.5, -4503599627370495.5,
                       -1e-320, -64.0}) {
    Instance p(48000.0f, 64);
    Sounding(p, 2);
    p.host.Time().ppqPos = start;
    p.host.Time().tempo = 999.0;
    ASSERT_EQ(p.Run(Noise(48000, 10), 64), "") << "from " << start;
    EXPECT_TRUE(Sounds(p.outL.data() + 24000, 24000)) << "from " << start;
  }
}

} // namespace
} // namespace torture
