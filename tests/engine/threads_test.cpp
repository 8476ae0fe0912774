// Processing on one thread while others automate, switch programs, fill
// notes, reset and load the bank and change the sample rate. Run under
// ThreadSanitizer, any data race fails it; otherwise it checks the output
// stays finite and the plug-in consistent.
#include <cmath>
#include <cstring>
#include <random>
#include <string>
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
    while (!stop.load())
      synth->ProcessReplacing(ins, outs, 64); // no gap between blocks
  });
  const auto start = std::chrono::steady_clock::now();
  const float rates[] = {48000.0f, 96000.0f, 44100.0f, 22050.0f};
  for (int i = 0; i < 40; ++i)
    synth->SetSampleRate(rates[i % 4]);
  const auto took = std::chrono::steady_clock::now() - start;
  stop = true;
  audio.join();
  EXPECT_EQ(synth->Line(0).MaxDelay(), 1378);
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 5000);
}

// Two threads setting Depth at once, both ending on the same value: every
// line ends on the feedback that Depth gives, whole.
TEST_F(SynthTest, TwoDepthWritersLeaveEveryLineOnTheFinalDepth) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  for (int round = 0; round < 1000 && std::chrono::steady_clock::now() < end; ++round) {
    std::atomic<int> ready{0};
    auto writer = [&](float a, float b) {
      ++ready;
      while (ready.load() < 2)
        std::this_thread::yield();
      for (int i = 0; i < 16; ++i)
        synth->SetParameter(kest::kDepth, i % 2 == 0 ? a : b);
      synth->SetParameter(kest::kDepth, 0.6f);
    };
    std::thread one(writer, 0.2f, 0.9f);
    std::thread two(writer, 0.55f, 0.35f);
    one.join();
    two.join();
    const double d = synth->Preset()[kest::kDepth].Value() * 0.01;
    const auto depth = static_cast<float>(std::sqrt(0.75 * d));
    ASSERT_EQ(synth->Depth(), depth) << "round " << round;
    ASSERT_EQ(synth->DepK(), static_cast<float>(1.0 - 0.006 * d)) << "round " << round;
    for (int i = 0; i < 6; ++i) {
      ASSERT_EQ(synth->Line(i).Feedback(), depth) << "line " << i << ", round " << round;
      ASSERT_EQ(synth->Line(i).Feed(), static_cast<float>(std::pow(depth, 0.3)))
          << "line " << i << ", round " << round;
    }
  }
}

// The host reads program names and the program number on its own thread
// while the editor renames and loads: every name it reads is one that was
// written, whole.
TEST_F(SynthTest, ProgramNamesReadWhileRenamedAreWhole) {
  std::atomic<bool> stop{false};
  std::atomic<long> renames{0};
  std::thread editor([&] {
    char a[] = "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa";
    char b[] = "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb";
    char c[] = "ccc";
    for (int i = 0; !stop.load(); ++i) {
      synth->SetProgramName(a);
      synth->SetProgramName(b);
      synth->SetProgramName(c);
      if (i % 64 == 0) synth->SetProgramManual(i % 128 == 0 ? 0 : 1);
      if (i % 256 == 0) synth->Bank().ResetBank();
      ++renames;
    }
  });
  auto whole = [](const std::string& name) {
    if (name.rfind("- Empty ", 0) == 0 || name == "ccc" || name == "Hyper flanger" ||
        name == "Octave flanger") {
      return true;
    }
    return name.size() == 24 && name.find_first_not_of(name[0]) == std::string::npos;
  };
  std::string bad;
  for (long i = 0; (i < 20000 || renames.load() < 3000) && bad.empty(); ++i) {
    char name[kVstMaxProgNameLen];
    synth->GetProgramName(name);
    if (!whole(name)) bad = name;
    const int32_t program = synth->GetProgram();
    synth->GetProgramNameIndexed(0, program, name);
    if (!whole(name)) bad = name;
  }
  stop = true;
  editor.join();
  EXPECT_EQ(bad, "");
}

// One thread changes programs while the audio thread fills notes at every bar
// and another automates Depth: presets never selected stay as they were, and
// the selected ones change only in Depth and notes.
TEST_F(SynthTest, ProgramChangesDuringFillsAndAutomationTouchNothingElse) {
  constexpr int kSelected = 8;
  std::vector<std::vector<double>> before(kest::kNumPresets);
  for (int p = 0; p < kest::kNumPresets; ++p) {
    synth->Bank()[p][kest::kAutoRandom].SetValue(1);
    synth->Bank()[p][kest::kRandom].SetValue(0);
    synth->SetProgramManual(p); // once applied, applying again stores what is there
    for (int i = 0; i < kest::kNumParams; ++i)
      before[p].push_back(synth->Bank()[p][i].Value());
  }
  synth->SetProgramManual(0);
  synth->Resume();
  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0};
  std::thread audio([&] {
    std::vector<float> l(64), r(64);
    float* io[2] = {l.data(), r.data()};
    for (long n = 0; !stop.load(); ++n, ++blocks) {
      FakeHost::time.ppqPos = static_cast<double>(n) * 0.5; // a bar every eight blocks
      synth->ProcessReplacing(io, io, 64);
    }
  });
  std::thread automation([&] {
    for (int i = 0; !stop.load(); ++i)
      synth->SetParameter(kest::kDepth, static_cast<float>(i % 101) / 100.0f);
  });
  for (int round = 0; round < 400 || blocks.load() < 200; ++round)
    synth->SetProgram(round % kSelected);
  stop = true;
  audio.join();
  automation.join();
  for (int p = 0; p < kest::kNumPresets; ++p) {
    for (int i = 0; i < kest::kNumParams; ++i) {
      const bool note = i >= kest::kNoteA1 && i < kest::kRandom && (i - kest::kStepA1) % 32 >= 16;
      if (p >= kSelected || !(note || i == kest::kDepth)) {
        EXPECT_EQ(synth->Bank()[p][i].Value(), before[p][i]) << "preset " << p << ", " << i;
      }
    }
  }
}

// Instance B's host changes instance A's rate from inside B's block while A
// is in a block of its own on another thread: the rebuild waits for A's block.
// A host changing A's rate from inside A's own block is not kept waiting.
namespace pair_host {
VstTimeInfo time{};
TSynth* a = nullptr;
TSynth* b = nullptr;
std::atomic<bool> holdA{false}, aHeld{false}, release{false}, changeFromB{false},
    changeFromA{false};
std::atomic<bool> changedWhileHeld{false};

intptr_t VSTCALLBACK Callback(AEffect* e, int32_t op, int32_t, intptr_t, void*, float) {
  if (op == audioMasterVersion) return 2400;
  if (op != audioMasterGetTime) return 0;
  if (a != nullptr && e == a->Effect()) {
    if (changeFromA.exchange(false)) a->SetSampleRate(48000.0f);
    if (holdA.exchange(false)) {
      aHeld = true;
      while (!release.load())
        std::this_thread::yield();
    }
  }
  if (b != nullptr && e == b->Effect() && changeFromB.exchange(false)) {
    a->SetSampleRate(96000.0f);
    changedWhileHeld = !release.load();
  }
  return reinterpret_cast<intptr_t>(&time);
}
} // namespace pair_host

TEST(TwoInstances, ARateChangeWaitsForTheBlockOfItsOwnInstanceOnly) {
  using namespace pair_host;
  TSynth first(&Callback), second(&Callback);
  a = &first;
  b = &second;
  float l[64] = {}, r[64] = {};
  float* io[2] = {l, r};
  holdA = true;
  std::thread audioA([&] { first.ProcessReplacing(io, io, 64); });
  while (!aHeld.load())
    std::this_thread::yield();
  std::thread releaser([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    release = true;
  });
  float bl[64] = {}, br[64] = {};
  float* bio[2] = {bl, br};
  changeFromB = true;
  second.ProcessReplacing(bio, bio, 64);
  releaser.join();
  audioA.join();
  EXPECT_FALSE(changedWhileHeld.load()) << "A's lines were rebuilt while A was processing";
  EXPECT_EQ(first.Line(0).MaxDelay(), 6000);

  changeFromA = true;
  first.ProcessReplacing(io, io, 64);
  EXPECT_EQ(first.Line(0).MaxDelay(), 3000);
  a = b = nullptr;
}

} // namespace
