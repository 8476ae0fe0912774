#pragma once
// Runs the registered benchmarks with a console reporter of one's own (one
// that adds a summary at the end).
#include <benchmark/benchmark.h>

template <typename Reporter> int RunBenchmarks(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
