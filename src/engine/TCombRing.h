#pragma once
// A comb's ring as plain data, and the comb's arithmetic for one sample.
//
// The ring is stored twice over: Buf[q] and Buf[q + Max] always hold the same
// sample, so the four taps around any read position lie side by side in
// memory, however the position wraps. The block kernels read them with one
// load per frame; the one-sample path reads the first copy as a plain ring.
// Every sample is a single, stored as a double: the kernels do their
// arithmetic in double, and reading the taps without widening them first
// saves a conversion per line and frame (the value is the same).
#include <cstdint>

struct TCombRing {
  double* Buf = nullptr; // 2 x Max + kSpare samples, each a single
  int32_t Max = 0;      // ring length in samples, the longest delay
  int32_t Cnt = 0;      // write index, 0 .. Max - 1
  float Delay = 2.5f;   // in samples, 0 .. Max

  // Room past the second copy for a block kernel's whole-chunk stores.
  static constexpr int32_t kSpare = 4;
  static constexpr int32_t Samples(int32_t max) { return 2 * max + kSpare; }
};

// One sample through the comb at the ring's delay with loop gain `feed`;
// answers the delayed (interpolated) sample. Internal linkage on purpose:
// every translation unit built for its own instruction set (the block
// kernels) keeps its own copy instead of sharing one with the rest.
static inline float CombSample(TCombRing& r, float feed, float v) {
  const int32_t N = r.Max;
  double* const buf = r.Buf;
  double p = static_cast<double>(r.Cnt) - static_cast<double>(r.Delay);
  if (p < 0.0) p += N;
  int32_t i = static_cast<int32_t>(p);
  const float t = static_cast<float>(p - i);
  // p can round up to exactly N when Cnt is 0 and the delay is tiny.
  if (i >= N) i -= N;
  const float xm1 = static_cast<float>(buf[i == 0 ? N - 1 : i - 1]);
  const float x0 = static_cast<float>(buf[i]);
  const int32_t i1 = i + 1 >= N ? i + 1 - N : i + 1;
  const int32_t i2 = i + 2 >= N ? i + 2 - N : i + 2;
  const float x1 = static_cast<float>(buf[i1]);
  const float x2 = static_cast<float>(buf[i2]);
  const float c1 = static_cast<float>(0.5 * (static_cast<double>(x1) - xm1));
  const float c2 = static_cast<float>(static_cast<double>(xm1) - 2.5 * x0 + 2.0 * x1 - 0.5 * x2);
  const float c3 = static_cast<float>(1.5 * (static_cast<double>(x0) - x1) +
                                      0.5 * (static_cast<double>(x2) - xm1));
  const double td = t;
  const float out = static_cast<float>(((c3 * td + c2) * td + c1) * td + x0);
  const float w = static_cast<float>(static_cast<double>(v) + static_cast<double>(out) * feed);
  buf[r.Cnt] = w;
  buf[r.Cnt + N] = w;
  if (++r.Cnt >= N) r.Cnt = 0;
  return out;
}
