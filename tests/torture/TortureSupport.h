#pragma once
// Shared pieces of the torture suite: the built module, seeds, noise, and the
// checks every processed sample must pass.
#include <cstdint>
#include <string>
#include <vector>

#include "VstHost.h"

namespace torture {

// The module's entry point; the module stays loaded for the whole process.
VstPluginMainProc Entry();

// The seed of a seeded test: KEST_TORTURE_SEED when set, else `fallback`.
// Printed to stderr so that even a crash leaves it in the log.
std::uint64_t SeedFor(const char* test, std::uint64_t fallback);
std::string SeedText(std::uint64_t seed);

// Uniform noise in -0.5 .. 0.5 from a small generator of its own.
std::vector<float> Noise(std::size_t frames, std::uint32_t seed);

// The first sample that is NaN, infinite, subnormal or beyond `limit` in
// magnitude, described; empty when every sample is sound.
std::string BadSample(const float* samples, std::size_t frames, float limit = 1000.0f);
// Whether any sample is non-zero.
bool Sounds(const float* samples, std::size_t frames);

// Sanitizer and unoptimised builds run the longest loops for half as long.
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
inline constexpr long kLongLoops = 2;
#else
inline constexpr long kLongLoops = 1;
#endif
constexpr long Scaled(long optimisedCount) {
  return optimisedCount * kLongLoops / 2;
}

// Parameter indices used by the tests.
inline constexpr int kLevel = 0;
inline constexpr int kDepth = 1;
inline constexpr int kGlide = 2;
inline constexpr int kDetune = 3;
inline constexpr int kRandom = 103;
inline constexpr int kRootNote = 104;
inline constexpr int kAutoRandom = 107;
inline constexpr int kNumParams = 108;
inline constexpr int kNumPrograms = 32;

// One opened plug-in, as a host holds it, with stereo buffers.
struct Instance {
  kest::host::VstHost host;
  AEffect* effect = nullptr;
  std::vector<float> outL, outR;

  // Opens, sets rate and block size and resumes.
  explicit Instance(float rate = 44100.0f, int block = 512);
  // Random fills and automatic random fills off: what remains sounds the
  // same on every run (the plug-in seeds its generator from the clock).
  void Deterministic();
  // Processes `in` (both sides) in blocks of `block`; the output stays in
  // outL and outR. Answers the first bad sample, or empty.
  std::string Run(const std::vector<float>& in, int block, bool accumulating = false);
};

} // namespace torture
