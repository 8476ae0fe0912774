#pragma once
// The engine's block path: what a processing call hands its kernel, and the
// kernels, one per instruction set. A kernel runs whole chunks of frames with
// the arithmetic of the one-frame path, step for step and rounding for
// rounding, so every output bit is the same.
//
// Data only here: the kernels are compiled once per instruction set and must
// share no inline function with the rest of the program (the linker would
// keep one copy, perhaps with instructions the machine lacks).
#include <cstdint>

#include "TCombRing.h"

// A one-pole smoother: the target and the smoothed value.
struct TEnv {
  double Ini = 0.0;
  double Env = 0.0;
};

// The values other threads set, taken once per processing call (the one-frame
// path takes them once per frame).
struct TBlockValues {
  double SampleRate = 44100.0;
  double PortK = 0.1;     // glide coefficient
  double Detune1 = 1.0;   // frequency ratio of the left lines
  double Detune2 = 1.0;   // and of the right lines
  double GateIni[4] = {}; // gate targets: wet A, B, C, then dry
  double Level = 0.25;
  float Feed = 0.0f; // loop gain of all six lines
};

struct TBlockJob {
  const float* In[2] = {}; // left, right; null reads as silence
  float* Out[2] = {};
  int32_t Frames = 0; // a positive multiple of kChunk
  TBlockValues Values;
  double KRelease = 0.0;    // gate coefficient
  double KReleaseM = 0.0;   // 1 - KRelease
  TEnv* Port = nullptr;     // the three glides, in hertz
  TEnv* Gate = nullptr;     // wet A, B, C, then dry
  TCombRing* Lines[6] = {}; // 1L, 1R, 2L, 2R, 3L, 3R
  float Peaks[4] = {};      // in L, in R, out L, out R
};

namespace kest {

// Frames a kernel runs together.
inline constexpr int32_t kChunk = 4;

using TBlockKernel = void (*)(TBlockJob& job);

// Baseline x86-64 (SSE2), and AVX2 with FMA (fused only where that rounds
// as the separate steps would).
void BlockKernelBaseline(TBlockJob& job);
void BlockKernelAvx2(TBlockJob& job);

} // namespace kest
