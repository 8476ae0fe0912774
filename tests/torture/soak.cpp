// The long run for release checks: random hosts (see Torturer) one seed
// after another for as long as asked. Not part of the test suite.
//
//   kest_torture_soak [--minutes M] [--seed S] [--ops N]
//
// Seeds S, S+1, ... each drive a fresh random host for N operations. The
// first failure prints its seed and the command that repeats it, and ends
// the run with status 1; a crash prints the seed it happened in.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "Torturer.h"

namespace {

volatile std::sig_atomic_t gSeedLow = 0;
volatile std::sig_atomic_t gSeedHigh = 0;
long gOps = 20000;

// Only async-signal-safe calls: the seed is written digit by digit.
void OnCrash(int signal) {
  char text[96] = "\n[torture] crashed in seed ";
  std::size_t n = std::strlen(text);
  unsigned long long seed =
      (static_cast<unsigned long long>(static_cast<unsigned>(gSeedHigh)) << 32) |
      static_cast<unsigned>(gSeedLow);
  char digits[24];
  int d = 0;
  do {
    digits[d++] = static_cast<char>('0' + seed % 10);
    seed /= 10;
  } while (seed != 0);
  while (d > 0 && n < sizeof text - 2)
    text[n++] = digits[--d];
  text[n++] = '\n';
  (void)!write(2, text, n);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

} // namespace

int main(int argc, char** argv) {
  double minutes = 60.0;
  unsigned long long seed = static_cast<unsigned long long>(std::time(nullptr));
  bool one = false;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--minutes") {
      minutes = std::atof(argv[i + 1]);
    } else if (flag == "--seed") {
      seed = std::strtoull(argv[i + 1], nullptr, 0);
      one = true;
    } else if (flag == "--ops") {
      gOps = std::atol(argv[i + 1]);
    } else {
      std::fprintf(stderr, "usage: %s [--minutes M] [--seed S] [--ops N]\n", argv[0]);
      return 2;
    }
  }
  // A seed alone repeats that one seed; with --minutes it starts a long run there.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--minutes") == 0) one = false;
  }
  for (int s : {SIGSEGV, SIGFPE, SIGILL, SIGABRT})
    std::signal(s, OnCrash);
#ifdef SIGBUS // not on Windows
  std::signal(SIGBUS, OnCrash);
#endif

  const auto start = std::chrono::steady_clock::now();
  const auto end = start + std::chrono::duration<double, std::ratio<60>>(minutes);
  long runs = 0;
  for (unsigned long long s = seed;; ++s) {
    gSeedLow = static_cast<std::sig_atomic_t>(s & 0xFFFFFFFFu);
    gSeedHigh = static_cast<std::sig_atomic_t>(s >> 32);
    const std::string failure = torture::Torturer(s).Run(gOps);
    ++runs;
    if (!failure.empty()) {
      std::fprintf(stderr,
                   "[torture] FAILED: %s\n[torture] repeat with: %s --seed %llu --ops %ld\n",
                   failure.c_str(), argv[0], s, gOps);
      return 1;
    }
    if (one || std::chrono::steady_clock::now() >= end) break;
    if (runs % 100 == 0) {
      const double done =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      std::fprintf(stderr, "[torture] %ld seeds from %llu passed, %.0f s\n", runs, seed, done);
    }
  }
  std::fprintf(stderr, "[torture] %ld seeds from %llu passed (%ld operations each)\n", runs, seed,
               gOps);
  return 0;
}
