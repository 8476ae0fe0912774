// The engine's block path against its per-frame reference path, measured in
// the same run: the engine linked in, driven as a host drives it (running
// transport at 120 BPM, 44.1 kHz, program 0 "Hyper flanger" with all three
// channels on, so the glide moves all the time), at block sizes 32, 256 and
// 4096. Besides the sounding case, two that must not be slower: ten seconds
// of silent input first (the lines decay towards subnormal numbers), and
// channel C gated off for ten seconds (its gate has settled at zero).
//
// At the end a table gives ns per frame of each path (the fastest of five
// runs: the machine is shared), real-time factors, and the reference's time
// divided by the path's (the speed-up), per case and block size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchMain.h"
#include "ParamTable.h"
#include "TSynthReference.h"

namespace {

constexpr float kRate = 44100.0f;

struct Transport {
  static inline VstTimeInfo time{};
  static intptr_t VSTCALLBACK Callback(AEffect*, int32_t op, int32_t, intptr_t, void*, float) {
    if (op == audioMasterVersion) return 2400;
    if (op == audioMasterGetTime) return reinterpret_cast<intptr_t>(&time);
    return 0;
  }
};

enum Path { kReference, kBaseline, kAvx2 };
const char* const kPathNames[] = {"reference", "baseline", "avx2"};
enum Case { kSounding, kSilentTail, kChannelOff };
const char* const kCaseNames[] = {"sounding", "silent tail", "channel C off"};

struct Rig {
  std::unique_ptr<TSynth> synth;
  std::vector<float> inL, inR, outL, outR;
  double ppq = 0.0;

  Rig(Path path, int32_t block) {
    Transport::time = VstTimeInfo{};
    Transport::time.flags = kVstPpqPosValid;
    Transport::time.tempo = 120.0;
    if (path == kReference) {
      synth = std::make_unique<TSynthReference>(&Transport::Callback);
    } else {
      synth = std::make_unique<TSynth>(&Transport::Callback);
      synth->UseInstructionSet(path == kAvx2 ? TSynth::TInstructionSet::Avx2
                                             : TSynth::TInstructionSet::Baseline);
    }
    synth->SetSampleRate(kRate);
    for (int c = 0; c < kest::kNumChannels; ++c)
      synth->SetParameter(kest::kChA + c, 1.0f);
    synth->Resume();
    uint32_t seed = 1;
    for (auto* v : {&inL, &inR}) {
      v->resize(static_cast<std::size_t>(block));
      for (float& x : *v) {
        seed = seed * 1664525u + 1013904223u;
        x = 0.25f * static_cast<float>(static_cast<int32_t>(seed) / 2147483648.0);
      }
    }
    outL.assign(inL.size(), 0.0f);
    outR.assign(inL.size(), 0.0f);
  }
  void Process() {
    Transport::time.ppqPos = ppq;
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    synth->ProcessReplacing(ins, outs, static_cast<int32_t>(inL.size()));
    ppq += static_cast<double>(inL.size()) * 2.0 / kRate;
  }
  void Run(double seconds) {
    for (double done = 0.0; done < seconds * kRate; done += static_cast<double>(inL.size()))
      Process();
  }
};

void BM_Engine(benchmark::State& state) {
  const auto path = static_cast<Path>(state.range(0));
  const auto which = static_cast<Case>(state.range(1));
  const auto block = static_cast<int32_t>(state.range(2));
  if (path == kAvx2 && !TSynth::Runs(TSynth::TInstructionSet::Avx2)) {
    state.SkipWithError("this machine lacks AVX2 or FMA");
    return;
  }
  Rig rig(path, block);
  rig.Run(0.1); // past the start-up glide
  if (which == kSilentTail) {
    std::fill(rig.inL.begin(), rig.inL.end(), 0.0f);
    std::fill(rig.inR.begin(), rig.inR.end(), 0.0f);
    rig.Run(10.0);
  } else if (which == kChannelOff) {
    rig.synth->SetParameter(kest::kChA + 2, 0.0f);
    rig.Run(10.0);
  }
  for (auto _ : state) {
    rig.Process();
    benchmark::DoNotOptimize(rig.outL.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * block);
  state.SetLabel(std::string(kPathNames[path]) + ", " + kCaseNames[which]);
}

void Arguments(benchmark::internal::Benchmark* b) {
  for (int which : {kSounding, kSilentTail, kChannelOff}) {
    for (int block : {32, 256, 4096}) {
      for (int path : {kReference, kBaseline, kAvx2})
        b->Args({path, which, block});
    }
  }
}
// The machine is shared: each figure is the fastest of several runs.
BENCHMARK(BM_Engine)
    ->Apply(Arguments)
    ->MinTime(0.2)
    ->Repetitions(5)
    ->ComputeStatistics("min",
                        [](const std::vector<double>& v) {
                          return *std::min_element(v.begin(), v.end());
                        })
    ->ReportAggregatesOnly(true);

// Prints each path's time per frame beside the reference's, from this run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Aggregate || run.aggregate_name != "min") {
        continue;
      }
      int path = 0, which = 0, block = 0;
      if (std::sscanf(run.run_name.str().c_str(), "BM_Engine/%d/%d/%d", &path, &which, &block) ==
          3) {
        const double ns = run.GetAdjustedCPUTime() * 1e9 /
                          benchmark::GetTimeUnitMultiplier(run.time_unit) / block;
        fNsPerFrame[{which, block}][path] = ns;
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nns per frame, fastest of the runs (x: speed-up over the reference path in "
                "this run; real time: frames per second / %.0f)\n",
                kRate);
    std::printf("%-14s %6s %17s %26s %26s\n", "case", "block", "reference", "baseline", "avx2");
    for (const auto& [key, ns] : fNsPerFrame) {
      std::printf("%-14s %6d", kCaseNames[key.first], key.second);
      const auto ref = ns.find(kReference);
      for (int path : {kReference, kBaseline, kAvx2}) {
        const auto it = ns.find(path);
        if (it == ns.end()) {
          std::printf(" %26s", "-");
          continue;
        }
        const double realTime = 1e9 / (it->second * kRate);
        if (path == kReference || ref == ns.end()) {
          std::printf(" %6.1f (%5.0fx rt)", it->second, realTime);
        } else {
          std::printf(" %6.1f (%5.0fx rt, x%4.2f)", it->second, realTime, ref->second / it->second);
        }
      }
      std::printf("\n");
    }
  }

private:
  std::map<std::pair<int, int>, std::map<int, double>> fNsPerFrame;
};

} // namespace

int main(int argc, char** argv) {
  return RunBenchmarks<RatioReporter>(argc, argv);
}
