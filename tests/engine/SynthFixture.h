#pragma once
// A TSynth driven by a fake host whose musical position the test sets.
#include <cmath>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "ParamTable.h"
#include "TSynth.h"

struct FakeHost {
  static inline VstTimeInfo time{};
  static inline bool answerTime = true;
  static inline int automations = 0;
  static inline int wantMidi = 0;
  static intptr_t VSTCALLBACK Callback(AEffect*, int32_t op, int32_t, intptr_t, void*, float) {
    switch (op) {
    case audioMasterVersion:
      return 2400;
    case audioMasterGetTime:
      return answerTime ? reinterpret_cast<intptr_t>(&time) : 0;
    case audioMasterAutomate:
      ++automations;
      return 0;
    case audioMasterWantMidi:
      ++wantMidi;
      return 0;
    default:
      return 0;
    }
  }
  static void Reset() {
    time = VstTimeInfo{};
    time.flags = kVstPpqPosValid;
    answerTime = true;
    automations = 0;
    wantMidi = 0;
  }
};

// Sets a parameter by its plain value, as the editor does.
inline void SetPlain(TSynth& synth, int index, double plain) {
  TParameter& p = synth.Preset()[index];
  p.SetValue(plain);
  synth.SetParameter(index, p.GetVstValue());
}

struct SynthTest : ::testing::Test {
  std::unique_ptr<TSynth> synth;

  void SetUp() override {
    FakeHost::Reset();
    synth = std::make_unique<TSynth>(&FakeHost::Callback);
  }

  void Set(int index, double plain) { SetPlain(*synth, index, plain); }

  void AllSteps(int channel, bool on) {
    for (int k = 0; k < kest::kNumSteps; ++k)
      Set(kest::StepSwitchIndex(channel, k), on ? 1 : 0);
  }
  void AllNotes(int channel, int note) {
    for (int k = 0; k < kest::kNumSteps; ++k)
      Set(kest::StepNoteIndex(channel, k), note);
  }

  // Processes stereo input in blocks at a standing position; answers L and R.
  std::pair<std::vector<float>, std::vector<float>>
  Process(const std::vector<float>& inL, const std::vector<float>& inR, int block = 64) {
    std::vector<float> outL(inL.size()), outR(inR.size());
    for (std::size_t at = 0; at < inL.size(); at += block) {
      const int n = static_cast<int>(std::min<std::size_t>(block, inL.size() - at));
      float* ins[2] = {const_cast<float*>(inL.data() + at), const_cast<float*>(inR.data() + at)};
      float* outs[2] = {outL.data() + at, outR.data() + at};
      synth->ProcessReplacing(ins, outs, n);
    }
    return {outL, outR};
  }

  static std::vector<float> Noise(std::size_t n, unsigned seed = 1) {
    std::vector<float> v(n);
    for (auto& x : v) {
      seed = seed * 1664525u + 1013904223u;
      x = static_cast<float>(static_cast<int>(seed >> 8) % 20001 - 10000) / 20000.0f;
    }
    return v;
  }
};
