// Processing speed through processReplacing of the built module, driven by the
// host harness with a running transport at 44.1 kHz: Kestrelphon with all
// three channels sounding, the same after ten seconds of silence (denormals
// must not slow the decaying lines), and a third-party delay from Debian
// (LSP Artistic Delay, three taps with feedback) for comparison.
//
// Counters: frames/s, and x_realtime = seconds of audio processed per second
// of CPU time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchMain.h"
#include "VstHost.h"

namespace {

using kest::host::PluginModule;
using kest::host::VstHost;

constexpr float kRate = 44100.0f;

std::vector<float> Noise(std::size_t n, uint32_t seed) {
  std::vector<float> v(n);
  for (float& x : v) {
    seed = seed * 1664525u + 1013904223u;
    x = 0.25f * static_cast<float>(static_cast<int32_t>(seed) / 2147483648.0);
  }
  return v;
}

// Modules stay loaded for the whole run.
PluginModule& Module(const std::string& path) {
  static std::map<std::string, std::unique_ptr<PluginModule>> modules;
  auto& m = modules[path];
  if (!m) m = std::make_unique<PluginModule>(path);
  return *m;
}

struct Rig {
  VstHost host;
  std::vector<float> inL, inR, outL, outR;

  Rig(const std::string& path, int32_t block, bool strict) {
    host.SetStrictTexts(strict);
    if (host.Open(Module(path).Entry()) == nullptr) throw std::runtime_error(path + ": no effect");
    host.SetSampleRate(kRate);
    host.SetBlockSize(block);
    inL = Noise(static_cast<std::size_t>(block), 1);
    inR = Noise(static_cast<std::size_t>(block), 2);
    outL.assign(static_cast<std::size_t>(block), 0.0f);
    outR.assign(static_cast<std::size_t>(block), 0.0f);
    host.Time().tempo = 120.0;
    host.Time().playing = true;
  }
  void Process() {
    host.Process(inL.data(), inR.data(), outL.data(), outR.data(),
                 static_cast<int32_t>(inL.size()));
  }
  void SetByName(const std::string& name, float value) {
    const AEffect* e = host.Effect();
    for (int32_t i = 0; i < e->numParams; ++i) {
      if (host.ParamName(i) == name) {
        host.SetParameter(i, value);
        return;
      }
    }
    throw std::runtime_error("no parameter " + name);
  }
};

void Report(benchmark::State& state, int64_t block) {
  const double frames = static_cast<double>(state.iterations()) * static_cast<double>(block);
  state.counters["frames/s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
  state.counters["x_realtime"] = benchmark::Counter(frames / kRate, benchmark::Counter::kIsRate);
}

std::unique_ptr<Rig> KestrelphonRig(int32_t block) {
  auto rig = std::make_unique<Rig>(KEST_MODULE, block, true);
  for (int32_t ch = 4; ch <= 6; ++ch)
    rig->host.SetParameter(ch, 1.0f); // Ch. A, B, C on
  rig->host.Resume();
  return rig;
}

void BM_Kestrelphon(benchmark::State& state) {
  const auto block = static_cast<int32_t>(state.range(0));
  auto rig = KestrelphonRig(block);
  for (int i = 0; i < 64; ++i)
    rig->Process(); // past the start-up glide
  for (auto _ : state) {
    rig->Process();
    benchmark::DoNotOptimize(rig->outL.data());
    benchmark::ClobberMemory();
  }
  Report(state, block);
}

// Ten seconds of silent input first: the lines' feedback decays towards
// denormal numbers, which must not cost more than sound does.
void BM_KestrelphonSilentTail(benchmark::State& state) {
  const auto block = static_cast<int32_t>(state.range(0));
  auto rig = KestrelphonRig(block);
  for (int i = 0; i < 64; ++i)
    rig->Process();
  std::fill(rig->inL.begin(), rig->inL.end(), 0.0f);
  std::fill(rig->inR.begin(), rig->inR.end(), 0.0f);
  for (int64_t done = 0; done < static_cast<int64_t>(10 * kRate); done += block)
    rig->Process();
  for (auto _ : state) {
    rig->Process();
    benchmark::DoNotOptimize(rig->outL.data());
    benchmark::ClobberMemory();
  }
  Report(state, block);
}

void BM_ThirdPartyDelay(benchmark::State& state) {
  if (!std::filesystem::exists(KEST_THIRD_PARTY)) {
    state.SkipWithError(KEST_THIRD_PARTY " is missing: install lsp-plugins-vst to compare");
    return;
  }
  const auto block = static_cast<int32_t>(state.range(0));
  Rig rig(KEST_THIRD_PARTY, block, false);
  // Three delay taps with feedback, about as much work as three comb voices.
  for (const char* tap : {"0", "1", "2"}) {
    rig.SetByName(std::string("on") + tap, 1.0f);
    rig.SetByName(std::string("dadd") + tap, 0.002f);
    rig.SetByName(std::string("fbe") + tap, 1.0f);
    rig.SetByName(std::string("fbg") + tap, 0.7f);
  }
  rig.host.Resume();
  for (int i = 0; i < 64; ++i)
    rig.Process();
  for (auto _ : state) {
    rig.Process();
    benchmark::DoNotOptimize(rig.outL.data());
    benchmark::ClobberMemory();
  }
  Report(state, block);
}

BENCHMARK(BM_Kestrelphon)->Arg(32)->Arg(256)->Arg(4096);
BENCHMARK(BM_KestrelphonSilentTail)->Arg(32)->Arg(256)->Arg(4096);
BENCHMARK(BM_ThirdPartyDelay)->Arg(32)->Arg(256)->Arg(4096);

// Prints Kestrelphon's speed relative to the third-party delay per block size.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const auto it = run.counters.find("frames/s");
      if (it == run.counters.end()) continue;
      const std::string name = run.benchmark_name();
      const int size = std::stoi(name.substr(name.rfind('/') + 1));
      if (name.rfind("BM_Kestrelphon/", 0) == 0) fOurs[size] = it->second.value;
      if (name.rfind("BM_ThirdPartyDelay/", 0) == 0) fTheirs[size] = it->second.value;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (fTheirs.empty()) {
      std::printf("\nNo third-party comparison (lsp-plugins-vst is not installed).\n");
      return;
    }
    std::printf("\nKestrelphon speed / LSP Artistic Delay speed (higher: Kestrelphon is faster)\n");
    for (const auto& [size, ours] : fOurs) {
      const auto it = fTheirs.find(size);
      if (it != fTheirs.end() && it->second > 0.0) {
        std::printf("  block %5d: %.2f\n", size, ours / it->second);
      }
    }
  }

private:
  std::map<int, double> fOurs, fTheirs;
};

} // namespace

int main(int argc, char** argv) {
  return RunBenchmarks<RatioReporter>(argc, argv);
}
