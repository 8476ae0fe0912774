// Automation and the step clock from other threads while the editor's own
// thread pumps: nothing races (ThreadSanitizer), and once the threads stop
// every control shows its parameter's latest value.
#include <atomic>
#include <random>
#include <thread>
#include <vector>

#include "EditorFixture.h"
#include "TPlugin.h"
#include "uKestUtils.h"

namespace kest::test {
namespace {

using EditorThreads = EditorTest;

TEST_F(EditorThreads, OtherThreadsHandValuesOverWithoutRacing) {
  ASSERT_EQ(OpenEditor(), 1);
  host.Resume();
  std::atomic<bool> automating{true};
  std::atomic<bool> playing{true};
  std::thread automation([&] {
    std::mt19937 rng(17);
    std::uniform_int_distribution<int32_t> index(0, kRandom - 1);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (int i = 0; i < 4000; ++i)
      host.SetParameter(index(rng), value(rng));
    automating = false;
  });
  std::thread audio([&] {
    std::vector<float> in(128, 0.5f), outL(128), outR(128);
    while (playing)
      host.Process(in.data(), in.data(), outL.data(), outR.data(), 128);
  });
  while (automating) {
    Idle();
    screen.Advance(5);
  }
  automation.join();
  playing = false;
  audio.join();
  Idle();

  TFrmEditor& f = Form();
  const TParamList& preset = Plugin().Preset();
  for (int c = 0; c < kNumChannels; ++c) {
    const std::array<TKestSwitch*, 16>& switches = c == 0 ? f.Pat1 : c == 1 ? f.Pat2 : f.Pat3;
    const std::array<TKestKnob*, 16>& knobs = c == 0 ? f.Frq1 : c == 1 ? f.Frq2 : f.Frq3;
    for (int i = 0; i < kNumSteps; ++i) {
      const auto k = static_cast<std::size_t>(i);
      EXPECT_EQ(switches[k]->Checked(), preset[StepSwitchIndex(c, i)].Value() > 0.5) << c << i;
      EXPECT_EQ(knobs[k]->Value(), RoundEven(preset[StepNoteIndex(c, i)].Value())) << c << i;
    }
  }
  const std::array<TKestSlider*, 4> sliders{f.SlLev, f.SlDpt, f.SlGld, f.SlDtn};
  for (int i = kLevel; i <= kDetune; ++i) {
    const TKestSlider* s = sliders[static_cast<std::size_t>(i)];
    const double halfPosition = (s->MaxValue() - s->MinValue()) / 88 / 2;
    EXPECT_NEAR(s->Value(), preset[i].Value(), halfPosition + 1e-4) << i;
  }
  EXPECT_EQ(f.CkChB->Checked(), preset[kChA + 1].Value() > 0.5);
  EXPECT_EQ(f.Leds->Step(), Plugin().CurrentStep());
}

} // namespace
} // namespace kest::test
