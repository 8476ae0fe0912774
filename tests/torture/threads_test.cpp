// A host's threads at once: the audio thread processes while another
// automates every parameter with any value and a third changes programs,
// rates, activity and reads texts. Under ThreadSanitizer any data race fails.
#include <atomic>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "TortureSupport.h"

namespace torture {
namespace {

TEST(Threads, ProcessingWhileOthersAutomateAndChangeProgramsAndRates) {
  const std::uint64_t seed = SeedFor("Threads.Processing", 51);
  Instance p(44100.0f, 128);
  p.host.SetParameter(kAutoRandom, 1.0f / 8.0f); // fills on the audio thread too
  p.host.Time().tempo = 960.0;
  AEffect* e = p.effect;
  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0};
  std::string bad;

  std::thread audio([&] {
    const auto in = Noise(128, 52);
    std::vector<float> l(128), r(128);
    while (!stop.load() && bad.empty()) {
      p.host.Process(in.data(), in.data(), l.data(), r.data(), 128);
      bad = BadSample(l.data(), 128) + BadSample(r.data(), 128);
      ++blocks;
      // A real audio thread waits for its next period between blocks.
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  });
  std::thread automation([&] {
    std::mt19937 rng(static_cast<unsigned>(seed));
    const float odd[] = {std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(), -2.0f, 3.0f, FLT_MAX};
    while (!stop.load()) {
      const int i = static_cast<int>(rng() % kNumParams);
      const float v = rng() % 8 == 0 ? odd[rng() % std::size(odd)]
                                     : std::uniform_real_distribution<float>(0.0f, 1.0f)(rng);
      e->setParameter(e, i, v);
      (void)e->getParameter(e, static_cast<int>(rng() % kNumParams));
    }
  });

  // The host's user-interface thread. Rates go straight to the dispatcher:
  // the harness's own clock belongs to the audio thread here.
  std::mt19937 rng(static_cast<unsigned>(seed + 1));
  const float rates[] = {44100.0f,  96000.0f, 8000.0f,
                         192000.0f, 48000.0f, std::numeric_limits<float>::quiet_NaN()};
  char text[256];
  for (int round = 0; round < 1000; ++round) {
    switch (rng() % 6) {
    case 0:
      e->dispatcher(e, effBeginSetProgram, 0, 0, nullptr, 0.0f);
      e->dispatcher(e, effSetProgram, 0, static_cast<intptr_t>(rng() % kNumPrograms), nullptr,
                    0.0f);
      e->dispatcher(e, effEndSetProgram, 0, 0, nullptr, 0.0f);
      break;
    case 1:
      e->dispatcher(e, effSetProgram, 0, static_cast<intptr_t>(rng() % kNumPrograms), nullptr,
                    0.0f);
      break;
    case 2:
      e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, rates[rng() % std::size(rates)]);
      break;
    case 3:
      e->dispatcher(e, effMainsChanged, 0, static_cast<intptr_t>(rng() % 2), nullptr, 0.0f);
      break;
    case 4:
      for (int i = 0; i < kNumParams; i += 7)
        e->dispatcher(e, effGetParamDisplay, i, 0, text, 0.0f);
      e->dispatcher(e, effGetProgramName, 0, 0, text, 0.0f);
      break;
    default:
      e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  // A busy machine (or an emulator) may have kept the audio thread waiting:
  // give it time to run a few blocks against the final state.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (blocks.load() <= 20 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  stop = true;
  audio.join();
  automation.join();
  EXPECT_EQ(bad, "") << SeedText(seed);
  EXPECT_GT(blocks.load(), 20) << "the audio thread hardly ran";
}

} // namespace
} // namespace torture
