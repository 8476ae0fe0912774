#include "KestRandom.h"

#include <atomic>
#include <chrono>

namespace kest {

namespace {

std::atomic<std::uint64_t> gState{0x9E3779B97F4A7C15ull};

// SplitMix64: a counter stepped by a fixed odd constant, then mixed.
std::uint64_t Next() {
  std::uint64_t z =
      gState.fetch_add(0x9E3779B97F4A7C15ull, std::memory_order_relaxed) + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

} // namespace

int Random(int n) {
  if (n <= 1) return 0;
  // The top 32 bits scaled into 0 .. n - 1.
  const std::uint64_t r = Next() >> 32;
  return static_cast<int>((r * static_cast<std::uint64_t>(n)) >> 32);
}

void RandomizeFromClock() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
  RandomSeed(static_cast<std::uint64_t>(now) ^ (static_cast<std::uint64_t>(wall) << 1));
}

void RandomSeed(std::uint64_t seed) {
  gState.store(seed, std::memory_order_relaxed);
}

} // namespace kest
