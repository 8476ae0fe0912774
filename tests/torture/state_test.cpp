// State as hosts keep it: programs that read back as they were, and a
// session restored from saved parameter values that sounds as it did.
#include <random>

#include <gtest/gtest.h>

#include "TortureSupport.h"

namespace torture {
namespace {

struct Snapshot {
  std::vector<float> values;
  std::vector<std::string> shown;
  std::string name;
};

Snapshot Take(Instance& p) {
  Snapshot s;
  for (int i = 0; i < kNumParams; ++i) {
    s.values.push_back(p.host.GetParameter(i));
    s.shown.push_back(p.host.ParamDisplay(i));
  }
  s.name = p.host.ProgramName();
  return s;
}

TEST(State, EveryProgramReadsBackAfterSwitchingAwayAndBack) {
  const std::uint64_t seed = SeedFor("State.EveryProgramReadsBack", 41);
  std::mt19937 rng(static_cast<unsigned>(seed));
  Instance p;
  for (int program = 0; program < kNumPrograms; ++program) {
    p.host.Dispatch(effSetProgram, 0, program);
    // A program that holds Random on fills new notes each time it loads.
    const bool fills = p.host.GetParameter(kRandom) > 0.5f;
    const Snapshot first = Take(p);
    for (int away = 0; away < 3; ++away)
      p.host.Dispatch(effSetProgram, 0, static_cast<intptr_t>(rng() % kNumPrograms));
    p.host.Dispatch(effSetProgram, 0, program);
    const Snapshot again = Take(p);
    EXPECT_EQ(again.name, first.name) << "program " << program;
    for (int i = 0; i < kNumParams; ++i) {
      const bool note = (i - 23) % 32 >= 0 && (i - 23) % 32 < 16 && i >= 23 && i < 103;
      if (fills && note) continue;
      EXPECT_EQ(again.values[i], first.values[i])
          << "program " << program << ", parameter " << i << "; " << SeedText(seed);
      EXPECT_EQ(again.shown[i], first.shown[i])
          << "program " << program << ", parameter " << i << "; " << SeedText(seed);
    }
  }
}

// The original: a program, then random automation of every parameter. The
// random fill (103) and the automatic fill (107) end off: their notes come
// from a generator seeded by the clock. Exactly one half is never sent: a
// switch keeps it as on while the sound takes it as off.
struct Restore : ::testing::Test {
  static float Draw(std::mt19937& rng) {
    float v = std::uniform_real_distribution<float>(0.0f, 1.0f)(rng);
    return v == 0.5f ? 0.25f : v;
  }
  static std::vector<float> Original(Instance& p, std::mt19937& rng, int program, bool rootToo) {
    p.host.Dispatch(effSetProgram, 0, program);
    for (int round = 0; round < 3; ++round) {
      for (int i = 0; i < kNumParams; ++i) {
        if (i == kRootNote && !rootToo) continue;
        p.host.SetParameter(i, Draw(rng));
      }
    }
    p.Deterministic();
    std::vector<float> saved;
    for (int i = 0; i < kNumParams; ++i)
      saved.push_back(p.host.GetParameter(i));
    return saved;
  }
};

// A host that saves the program number and the values and restores them
// into a new instance in index order.
TEST_F(Restore, ProgramAndValuesReproduceTheSound) {
  const std::uint64_t seed = SeedFor("Restore.ProgramAndValues", 42);
  std::mt19937 rng(static_cast<unsigned>(seed));
  const auto in = Noise(2 * 44100, 43);
  for (int program : {0, 5, 17, 31}) {
    Instance original;
    const auto saved = Original(original, rng, program, false);
    ASSERT_EQ(original.Run(in, 512), "");
    Instance restored;
    restored.host.Dispatch(effSetProgram, 0, program);
    for (int i = 0; i < kNumParams; ++i)
      restored.host.SetParameter(i, saved[static_cast<std::size_t>(i)]);
    ASSERT_EQ(restored.Run(in, 512), "");
    EXPECT_TRUE(original.outL == restored.outL && original.outR == restored.outR)
        << "program " << program << "; " << SeedText(seed);
  }
}

// A host that restores inside effBeginSetProgram / effEndSetProgram: the
// root note then moves no notes, so even a changed root restores exactly.
TEST_F(Restore, ValuesInsideAProgramLoadReproduceTheSound) {
  const std::uint64_t seed = SeedFor("Restore.InsideAProgramLoad", 44);
  std::mt19937 rng(static_cast<unsigned>(seed));
  const auto in = Noise(2 * 44100, 45);
  for (int program : {2, 11, 26}) {
    Instance original;
    const auto saved = Original(original, rng, program, true);
    ASSERT_EQ(original.Run(in, 256), "");
    Instance restored;
    restored.host.Dispatch(effBeginSetProgram);
    for (int i = 0; i < kNumParams; ++i)
      restored.host.SetParameter(i, saved[static_cast<std::size_t>(i)]);
    restored.host.Dispatch(effEndSetProgram);
    for (int i = 0; i < kNumParams; ++i)
      ASSERT_EQ(restored.host.GetParameter(i), saved[static_cast<std::size_t>(i)]) << i;
    ASSERT_EQ(restored.Run(in, 256), "");
    EXPECT_TRUE(original.outL == restored.outL && original.outR == restored.outR)
        << "program " << program << "; " << SeedText(seed);
  }
}

} // namespace
} // namespace torture
