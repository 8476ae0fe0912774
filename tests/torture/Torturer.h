#pragma once
// A seeded host from hell: random operations of every kind a host may do,
// in random order, on one plug-in instance. The same seed gives the same
// operations; the plug-in's own random fills follow its clock, so only the
// note values they write may differ between two runs of one seed.
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "TortureSupport.h"

namespace torture {

class Torturer {
public:
  explicit Torturer(std::uint64_t seed);

  // Runs `operations` random operations. Answers empty when all went well,
  // else what failed, with the seed, the operation number and the
  // operations that led there.
  std::string Run(long operations);

  // Single operations, for tests that order them themselves. Each answers
  // empty or what failed (without the seed and history).
  std::string Dispatch(int32_t opcode); // random arguments for this opcode
  std::string ProcessBlock();           // a random size, replacing or accumulating
  std::string RandomOperation();

  std::mt19937_64& Rng() { return fRng; }
  Instance& Plugin() { return *fInstance; }

private:
  std::string SetParameter();
  std::string ReadBack();
  std::string Texts();
  std::string Program();
  std::string Rate();
  std::string Transport();
  std::string Reopen();
  std::string Fail(long n, const std::string& what) const;
  void Note(const char* format, ...) __attribute__((format(printf, 2, 3)));

  int Pick(int n) { return static_cast<int>(fRng() % static_cast<std::uint64_t>(n)); }
  bool Chance(int percent) { return Pick(100) < percent; }
  float AnyFloat();
  float AnyRate();
  double AnyPosition();
  int32_t AnyIndex();
  intptr_t AnyValue();

  std::uint64_t fSeed;
  std::mt19937_64 fRng;
  std::unique_ptr<Instance> fInstance;
  std::vector<float> fNoise;
  std::vector<float> fL, fR;
  std::vector<unsigned char> fBuffer, fValueBuffer;
  // The last operations, oldest first from fNext, for the failure report.
  std::array<std::array<char, 120>, 24> fLog{};
  std::size_t fNext = 0;
  long fCount = 0;
};

} // namespace torture
