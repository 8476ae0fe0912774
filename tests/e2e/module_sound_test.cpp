// The module's sound and its step clock, heard through the host interface.
#include <cmath>

#include "ModuleFixture.h"

namespace {

constexpr int kLevel = 0, kDepth = 1, kDetune = 3;
int StepSwitch(int channel, int step) {
  return 7 + 32 * channel + step;
}

// Whether the last part of a run is the dry signal at 0 dB Level (0.75 x in).
bool IsDry(const std::vector<float>& in, const std::vector<float>& out) {
  for (std::size_t i = in.size() * 3 / 4; i < in.size(); ++i) {
    if (std::fabs(out[i] - 0.75f * in[i]) > 1e-5f) return false;
  }
  return true;
}

struct Sound : ModuleTest {
  void SetUp() override {
    ModuleTest::SetUp();
    host.Resume();
    host.Time().playing = false; // the position stands where the test puts it
  }
  void OnlyStep(int step) {
    for (int c = 0; c < 3; ++c) {
      for (int k = 0; k < 16; ++k)
        host.SetParameter(StepSwitch(c, k), k == step ? 1.0f : 0.0f);
    }
  }
};

TEST_F(Sound, StepClockPicksTheSixteenthOfThePosition) {
  const struct {
    double ppq;
    int step;
  } cases[] = {{0.0, 0}, {0.26, 1}, {3.99, 15}, {4.0, 0}, {17.5, 6}, {-0.1, 15}, {-1.0, 12}};
  const auto in = Noise(8192);
  for (auto c : cases) {
    host.Time().ppqPos = c.ppq;
    OnlyStep(c.step);
    EXPECT_FALSE(IsDry(in, Run(in).first)) << "ppq " << c.ppq << " should sound step " << c.step;
    OnlyStep((c.step + 1) % 16);
    EXPECT_TRUE(IsDry(in, Run(in).first))
        << "ppq " << c.ppq << " is not step " << (c.step + 1) % 16;
  }
}

TEST_F(Sound, WithoutTimeInformationTheStepStays) {
  host.Time().ppqPos = 1.0; // step 4
  const auto in = Noise(4096);
  OnlyStep(4);
  Run(in);
  host.Time().answerTimeInfo = false;
  EXPECT_FALSE(IsDry(in, Run(in).first));
  OnlyStep(0);
  EXPECT_TRUE(IsDry(in, Run(in).first));
}

TEST_F(Sound, LowestLevelIsSilence) {
  host.SetParameter(kLevel, 0.0f);
  const auto in = Noise(10000);
  const auto [l, r] = Run(in);
  for (std::size_t i = 0; i < in.size(); ++i)
    ASSERT_TRUE(l[i] == 0.0f && r[i] == 0.0f) << i;
}

TEST_F(Sound, EverySwitchOffPassesThreeQuarters) {
  OnlyStep(-1);
  const auto in = Noise(8192);
  EXPECT_TRUE(IsDry(in, Run(in).first));
}

TEST_F(Sound, DetuneZeroGivesIdenticalSides) {
  SetDisplayed(kDetune, "0.0");
  SetDisplayed(kDepth, "80.0");
  const auto in = Noise(20000);
  const auto [l, r] = Run(in);
  EXPECT_EQ(l, r);
  SetDisplayed(kDetune, "10.0");
  const auto [l2, r2] = Run(in);
  EXPECT_NE(l2, r2);
}

TEST_F(Sound, AccumulatingEntryOverwritesLikeReplacing) {
  const auto in = Noise(512);
  std::vector<float> l(512, 5.0f), r(512, 5.0f);
  kest::host::VstHost other;
  other.Open(module->Entry());
  other.Resume();
  other.Time().playing = false;
  std::vector<float> l2(512), r2(512);
  host.ProcessAccumulating(in.data(), in.data(), l.data(), r.data(), 512);
  other.Process(in.data(), in.data(), l2.data(), r2.data(), 512);
  EXPECT_EQ(l, l2);
}

TEST_F(Sound, ZeroFrameBlocksAndRateChangesWhileRunning) {
  const auto in = Noise(1024);
  std::vector<float> l(1024), r(1024);
  host.Process(in.data(), in.data(), l.data(), r.data(), 0);
  Run(in);
  host.SetSampleRate(96000.0f); // without suspending first
  const auto [a, b] = Run(in);
  for (float v : a)
    ASSERT_TRUE(std::isfinite(v));
  host.SetSampleRate(0.0f);
  host.SetSampleRate(std::numeric_limits<float>::quiet_NaN());
  const auto [c, d] = Run(in);
  for (float v : c)
    ASSERT_TRUE(std::isfinite(v));
}

TEST_F(ModuleTest, AutoRandomFillsNewRowsEverySecondBarWhilePlaying) {
  host.SetParameter(106, 132.0f / 303.0f); // chromatic
  host.SetParameter(105, 1.0f);            // 9 octaves
  host.SetParameter(107, 2.0f / 8.0f);     // every 2nd bar
  host.Resume();
  host.Time().tempo = 120.0; // a quarter note is 22050 frames at 44.1 kHz
  auto notes = [&] {
    std::vector<float> v;
    for (int c = 0; c < 3; ++c)
      for (int k = 0; k < 16; ++k)
        v.push_back(host.GetParameter(23 + 32 * c + k));
    return v;
  };
  const auto before = notes();
  const std::vector<float> in(441, 0.0f);
  double firstChange = -1;
  int changes = 0;
  auto last = before;
  while (host.Time().ppqPos < 16.5) {
    const double at = host.Time().ppqPos;
    Run(in, 441);
    const auto now = notes();
    if (now != last) {
      ++changes;
      if (firstChange < 0) firstChange = at;
      last = now;
    }
  }
  // Fills at the starts of bars 3 and 5 (quarter notes 8 and 16): in the
  // first block that starts at or after quarter note 8 (blocks are 0.02 long).
  EXPECT_GT(firstChange, 8.0 - 0.02);
  EXPECT_LT(firstChange, 8.0 + 0.021);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(host.CallCount(audioMasterAutomate), 0);
}

} // namespace
