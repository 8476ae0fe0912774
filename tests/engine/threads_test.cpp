// Processing on one thread while others automate, switch programs, fill
// notes, reset and load the bank and change the sample rate. Run under
// ThreadSanitizer, any data race fails it; otherwise it checks the output
// stays finite and the plug-in consistent.
#include <cmath>
#include <random>
#include <thread>

#include "SynthFixture.h"

namespace {

TEST_F(SynthTest, ConcurrentHostAndUserInterface) {
  synth->Resume();
  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0};
  std::atomic<bool> bad{false};
  std::thread audio([&] {
    std::vector<float> l(128), r(128);
    const auto noise = Noise(128);
    float* ins[2] = {const_cast<float*>(noise.data()), const_cast<float*>(noise.data())};
    float* outs[2] = {l.data(), r.data()};
    while (!stop.load()) {
      synth->ProcessReplacing(ins, outs, 128);
      for (float v : l) {
        if (!std::isfinite(v)) bad = true;
      }
      ++blocks;
    }
  });
  std::thread automation([&] {
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> value(-0.5f, 1.5f);
    std::uniform_int_distribution<int> index(0, 107);
    while (!stop.load())
      synth->SetParameter(index(rng), value(rng));
  });
  std::mt19937 rng(2);
  const float rates[] = {44100.0f, 48000.0f, 96000.0f, 22050.0f};
  for (int round = 0; round < 60; ++round) {
    synth->SetProgramManual(round % 32);
    synth->FillRandomSeq();
    synth->CopyPreset();
    synth->PastePreset();
    if (round % 10 == 0) synth->SetSampleRate(rates[(round / 10) % 4]);
    if (round % 15 == 0) synth->Bank().ResetBank();
    if (round % 15 == 7) synth->Bank().LoadDefaultBank();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  stop = true;
  audio.join();
  automation.join();
  EXPECT_FALSE(bad.load());
  EXPECT_GT(blocks.load(), 10);
}

TEST_F(SynthTest, RateChangeIsNotHeldUpByBackToBackProcessing) {
  synth->Resume();
  std::atomic<bool> stop{false};
  std::thread audio([&] {
    std::vector<float> l(64), r(64);
    const auto noise = Noise(64);
    float* ins[2] = {const_cast<float*>(noise.data()), const_cast<float*>(noise.data())};
    float* outs[2] = {l.data(), r.data()};
    while (!stop.load()) synth->ProcessReplacing(ins, outs, 64); // no gap between blocks
  });
  const auto start = std::chrono::steady_clock::now();
  const float rates[] = {48000.0f, 96000.0f, 44100.0f, 22050.0f};
  for (int i = 0; i < 40; ++i) synth->SetSampleRate(rates[i % 4]);
  const auto took = std::chrono::steady_clock::now() - start;
  stop = true;
  audio.join();
  EXPECT_EQ(synth->Line(0).MaxDelay(), 1378);
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 5000);
}

} // namespace
