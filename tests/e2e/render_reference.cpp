// Renders a fixed input through the built module with a fixed transport and
// writes the output as raw 32-bit floats (every program of the default bank in
// turn, left and right interleaved), or compares the render with such a file.
// The Linux and the Windows builds of this program must agree sample for
// sample: the same sources, the same rounding (-ffp-contract=off). Random
// fills are left out: they are seeded from the clock.
//
//   kest_render_reference MODULE OUT.f32
//   kest_render_reference MODULE --compare REFERENCE.f32
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <stdexcept>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "VstHost.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr double kTempo = 120.0;
constexpr int kFramesPerProgram = 88200; // one bar at 120 BPM: all 16 steps
constexpr int kNumPrograms = 32;
constexpr int kRandom = 103;
constexpr int kAutoRandom = 107;

// Input built with integer arithmetic only, so both platforms' maths
// libraries stay out of it: a decaying noise burst on every beat over a
// 110.25 Hz triangle.
std::vector<float> Input(int frames) {
  std::vector<float> v(static_cast<std::size_t>(frames));
  std::uint32_t seed = 12345u;
  const int beat = static_cast<int>(kRate) / 2;
  for (int i = 0; i < frames; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const float noise = static_cast<float>(static_cast<int>(seed >> 9) % 2001 - 1000) / 1000.0f;
    const int t = i % beat;
    const float env = t < 4410 ? 1.0f - static_cast<float>(t) / 4410.0f : 0.0f;
    const int phase = i % 400;
    const float tri = static_cast<float>(phase < 200 ? phase - 100 : 300 - phase) / 100.0f;
    v[static_cast<std::size_t>(i)] = 0.5f * env * noise + 0.25f * tri;
  }
  return v;
}

// Block sizes vary as a host's do, including odd and tiny ones.
constexpr int kBlocks[] = {512, 256, 1, 100, 37, 1024, 64, 333};

std::vector<float> Render(kest::host::PluginModule& module) {
  const auto in = Input(kFramesPerProgram);
  std::vector<float> out;
  out.reserve(static_cast<std::size_t>(kNumPrograms) * kFramesPerProgram * 2);
  std::vector<float> l(1024), r(1024);
  for (int program = 0; program < kNumPrograms; ++program) {
    kest::host::VstHost host;
    if (host.Open(module.Entry()) == nullptr) throw std::runtime_error("the module refused to open");
    host.SetSampleRate(kRate);
    host.SetBlockSize(1024);
    host.Dispatch(effSetProgram, 0, program);
    // Random fills draw from a clock-seeded generator, so the programs that
    // fill on loading are left out and automatic fills are turned off: the
    // render depends on nothing but the module's code.
    if (host.GetParameter(kRandom) > 0.5f) {
      std::printf("program %d fills at random on loading: left out\n", program);
      continue;
    }
    host.SetParameter(kAutoRandom, 0.0f);
    host.Time().tempo = kTempo;
    host.Time().ppqPos = 0.0;
    host.Time().samplePos = 0.0;
    host.Time().playing = true;
    host.Resume();
    int done = 0;
    bool automated = false;
    for (int b = 0; done < kFramesPerProgram; ++b) {
      if (!automated && done >= kFramesPerProgram / 2) {
        automated = true;
        // Half way through, a host automates two of the sound's parameters.
        host.SetParameter(1 + program % 3, static_cast<float>((program * 37) % 100) / 100.0f);
        host.SetParameter(3, static_cast<float>((program * 11) % 100) / 100.0f);
      }
      const int n = std::min(kBlocks[b % 8], kFramesPerProgram - done);
      host.Process(in.data() + done, in.data() + done, l.data(), r.data(), n);
      for (int i = 0; i < n; ++i) {
        out.push_back(l[static_cast<std::size_t>(i)]);
        out.push_back(r[static_cast<std::size_t>(i)]);
      }
      done += n;
    }
    host.Suspend();
    host.Close();
  }
  return out;
}

int Compare(const std::vector<float>& got, const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return 2;
  }
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() != got.size() * sizeof(float)) {
    std::fprintf(stderr, "%s holds %zu bytes, the render %zu\n", path.c_str(), bytes.size(),
                 got.size() * sizeof(float));
    return 1;
  }
  std::vector<float> want(got.size());
  std::memcpy(want.data(), bytes.data(), bytes.size());
  std::size_t differ = 0, first = 0;
  double worst = 0.0, peak = 0.0;
  for (std::size_t i = 0; i < got.size(); ++i) {
    peak = std::max(peak, std::fabs(static_cast<double>(want[i])));
    // Bit patterns, so that NaNs and signed zeros count too.
    if (std::memcmp(&got[i], &want[i], sizeof(float)) != 0) {
      if (differ++ == 0) first = i;
      worst = std::max(worst, std::fabs(static_cast<double>(got[i]) - want[i]));
    }
  }
  std::printf("%zu samples compared, %zu differ, largest difference %g, peak %g\n", got.size(),
              differ, worst, peak);
  if (differ != 0) {
    const std::size_t frame = first / 2;
    std::printf("first difference: program %zu, frame %zu, %s channel: %.9g instead of %.9g\n",
                frame / kFramesPerProgram, frame % kFramesPerProgram, first % 2 ? "right" : "left",
                static_cast<double>(got[first]), static_cast<double>(want[first]));
    return 1;
  }
  // A silent reference would match a broken module as well.
  if (!(peak > 0.01)) {
    std::printf("the reference is silent\n");
    return 1;
  }
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  const bool compare = argc == 4 && std::string(argv[2]) == "--compare";
  if (argc != 3 && !compare) {
    std::fprintf(stderr, "usage: %s MODULE OUT.f32 | %s MODULE --compare REFERENCE.f32\n", argv[0],
                 argv[0]);
    return 2;
  }
  try {
    kest::host::PluginModule module(argv[1]);
    const auto out = Render(module);
    if (compare) return Compare(out, argv[3]);
    std::ofstream file(argv[2], std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()),
               static_cast<std::streamsize>(out.size() * sizeof(float)));
    if (!file) {
      std::fprintf(stderr, "cannot write %s\n", argv[2]);
      return 2;
    }
    std::printf("%zu samples written to %s\n", out.size(), argv[2]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  }
}
