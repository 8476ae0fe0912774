// Bank loads and resets, the preset clipboard and program changes on the
// user-interface thread while the audio thread processes and a third thread
// automates. These are reached through the engine's own interface (the host
// interface has no bank operations), so the engine is linked directly.
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "ParamTable.h"
#include "TMemoryStream.h"
#include "TSynth.h"
#include "TortureSupport.h"

namespace torture {
namespace {

// A host whose transport plays at 480 bpm, 44100 Hz, 64-frame blocks; only
// the audio thread asks for the time.
struct PlayingHost {
  static inline VstTimeInfo time{};
  static intptr_t VSTCALLBACK Callback(AEffect*, int32_t op, int32_t, intptr_t, void*, float) {
    if (op == audioMasterVersion) return 2400;
    if (op == audioMasterGetTime) {
      time.ppqPos += 64.0 / 44100.0 * 8.0;
      time.flags = kVstPpqPosValid | kVstTransportPlaying;
      return reinterpret_cast<intptr_t>(&time);
    }
    return 0;
  }
};

std::vector<std::uint8_t> Saved(TSynth& synth) {
  kest::TMemoryStream s;
  synth.Bank().SaveToStream(s);
  return s.Bytes();
}

TEST(BankThreads, LoadsResetsAndClipboardWhileProcessing) {
  const std::uint64_t seed = SeedFor("BankThreads.LoadsResetsAndClipboard", 61);
  TSynth synth(&PlayingHost::Callback);
  // A bank of our own to load: the default one with every preset filled anew.
  for (int p = 0; p < kNumPrograms; ++p) {
    synth.SetProgramManual(p);
    synth.FillRandomSeq();
  }
  const std::vector<std::uint8_t> ours = Saved(synth);
  synth.Bank().LoadDefaultBank();
  synth.SetProgramManual(0);
  synth.SetParameter(kest::kAutoRandom, 1.0f / 8.0f); // fills on the audio thread too
  synth.Resume();

  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0};
  std::string bad;
  std::atomic<bool> broke{false}; // bad is filled: the audio thread has stopped
  std::thread audio([&] {
    const auto in = Noise(64, 62);
    std::vector<float> l(64), r(64);
    float* ins[2] = {const_cast<float*>(in.data()), const_cast<float*>(in.data())};
    float* outs[2] = {l.data(), r.data()};
    while (!stop.load() && bad.empty()) {
      synth.ProcessReplacing(ins, outs, 64);
      bad = BadSample(l.data(), 64) + BadSample(r.data(), 64);
      broke = !bad.empty();
      ++blocks;
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
  });
  std::thread automation([&] {
    std::mt19937 rng(static_cast<unsigned>(seed));
    while (!stop.load()) {
      const int i = static_cast<int>(rng() % kNumParams);
      const float v = rng() % 10 == 0 ? std::numeric_limits<float>::quiet_NaN()
                                      : std::uniform_real_distribution<float>(-0.5f, 1.5f)(rng);
      synth.SetParameter(i, v);
    }
  });

  std::mt19937 rng(static_cast<unsigned>(seed + 1));
  const float rates[] = {44100.0f, 22050.0f, 96000.0f, 8000.0f};
  for (int round = 0; round < 400; ++round) {
    switch (rng() % 7) {
    case 0:
      synth.Bank().ResetBank();
      break;
    case 1:
      synth.Bank().LoadDefaultBank();
      break;
    case 2: {
      kest::TMemoryStream s(ours.data(), ours.size());
      synth.Bank().LoadFromStream(s, "ours.kst");
      break;
    }
    case 3:
      synth.CopyPreset();
      synth.SetProgramManual(static_cast<int32_t>(rng() % kNumPrograms));
      synth.PastePreset();
      break;
    case 4:
      synth.SetProgramManual(static_cast<int32_t>(rng() % kNumPrograms));
      break;
    case 5:
      synth.SetSampleRate(rates[rng() % std::size(rates)]);
      break;
    default:
      synth.FillRandomSeq();
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(300));
  }
  // However the machine shares its cores, the audio thread gets to process
  // enough blocks beside the user interface's work before it is judged.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (blocks.load() < 200 && !broke.load() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  stop = true;
  audio.join();
  automation.join();
  EXPECT_EQ(bad, "") << SeedText(seed);
  EXPECT_GE(blocks.load(), 200) << "the audio thread hardly ran within two minutes";

  // Loads change presets in place: once everyone has stopped, a load still
  // gives exactly the bank that was saved.
  kest::TMemoryStream s(ours.data(), ours.size());
  synth.Bank().LoadFromStream(s, "ours.kst");
  EXPECT_EQ(Saved(synth), ours) << SeedText(seed);
}

} // namespace
} // namespace torture
