#pragma once
// The plug-in's one process-wide uniform integer generator. Several threads
// may draw at once (user interface, host automation, audio); each draw takes
// one step of a shared counter atomically, so no draw is lost or repeated.
#include <cstdint>

namespace kest {

// Random(n): uniform in 0 .. n - 1; 0 for n <= 1.
int Random(int n);
// Seeds from the clock (each new plug-in object does).
void RandomizeFromClock();
// Seeds with a fixed value, for reproducible fills.
void RandomSeed(std::uint64_t seed);

} // namespace kest
