#pragma once
// The engine on its literal per-frame path (DoProcess once per frame, every
// value from other threads read afresh each frame): the reference that tests
// hold the block path to, bit for bit, and that benchmarks measure it against.
#include "TSynth.h"

class TSynthReference : public TSynth {
public:
  using TSynth::TSynth;
  void ProcessBlock(const float* inL, const float* inR, float* outL, float* outR,
                    int32_t frames) override {
    ProcessFrames(inL, inR, outL, outR, frames);
  }
};
