#include "TortureSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace torture {

VstPluginMainProc Entry() {
  static const std::unique_ptr<kest::host::PluginModule> module =
      std::make_unique<kest::host::PluginModule>(KEST_MODULE_PATH);
  return module->Entry();
}

std::uint64_t SeedFor(const char* test, std::uint64_t fallback) {
  std::uint64_t seed = fallback;
  if (const char* env = std::getenv("KEST_TORTURE_SEED")) seed = std::strtoull(env, nullptr, 0);
  std::cerr << "[torture] " << test << ": " << SeedText(seed) << std::endl;
  return seed;
}

std::string SeedText(std::uint64_t seed) {
  return "seed " + std::to_string(seed) + " (rerun with KEST_TORTURE_SEED=" + std::to_string(seed) +
         ")";
}

std::vector<float> Noise(std::size_t frames, std::uint32_t seed) {
  std::vector<float> v(frames);
  for (float& x : v) {
    seed = seed * 1664525u + 1013904223u;
    x = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
  }
  return v;
}

std::string BadSample(const float* samples, std::size_t frames, float limit) {
  for (std::size_t i = 0; i < frames; ++i) {
    const float x = samples[i];
    const char* what = nullptr;
    if (std::isnan(x))
      what = "NaN";
    else if (std::isinf(x))
      what = "infinite";
    else if (std::fpclassify(x) == FP_SUBNORMAL)
      what = "subnormal";
    else if (std::fabs(x) > limit)
      what = "out of bounds";
    if (what != nullptr) {
      std::ostringstream s;
      s << what << " sample " << x << " at frame " << i << " of " << frames;
      return s.str();
    }
  }
  return {};
}

bool Sounds(const float* samples, std::size_t frames) {
  return std::any_of(samples, samples + frames, [](float x) { return x != 0.0f; });
}

Instance::Instance(float rate, int block) {
  effect = host.Open(Entry());
  if (effect == nullptr) throw std::runtime_error("the module refused to open");
  host.SetSampleRate(rate);
  host.SetBlockSize(block);
  host.Resume();
}

void Instance::Deterministic() {
  host.SetParameter(kRandom, 0.0f);
  host.SetParameter(kAutoRandom, 0.0f);
}

std::string Instance::Run(const std::vector<float>& in, int block, bool accumulating) {
  outL.assign(in.size(), 0.0f);
  outR.assign(in.size(), 0.0f);
  for (std::size_t at = 0; at < in.size(); at += static_cast<std::size_t>(block)) {
    const int n =
        static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(block), in.size() - at));
    if (accumulating) {
      host.ProcessAccumulating(in.data() + at, in.data() + at, outL.data() + at, outR.data() + at,
                               n);
    } else {
      host.Process(in.data() + at, in.data() + at, outL.data() + at, outR.data() + at, n);
    }
  }
  std::string bad = BadSample(outL.data(), outL.size());
  if (bad.empty()) bad = BadSample(outR.data(), outR.size());
  return bad;
}

} // namespace torture
