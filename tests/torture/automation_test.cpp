// Automation as a busy session sends it: every parameter every 32 frames,
// values a host should never send, program changes mid-stream.
#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "TortureSupport.h"
#include "Torturer.h"

namespace torture {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(Automation, EveryParameterEverySubBlockWithProgramChanges) {
  const std::uint64_t seed = SeedFor("Automation.EveryParameterEverySubBlock", 21);
  std::mt19937 rng(static_cast<unsigned>(seed));
  std::uniform_real_distribution<float> unit(0.0f, 1.0f), wide(-3.0f, 4.0f);
  const float odd[] = {kNaN, -kNaN, kInf, -kInf, FLT_MAX, -FLT_MAX, 1e-42f, -0.0f, 1e30f};
  Instance p(44100.0f, 32);
  p.host.Time().tempo = 300.0;
  const auto in = Noise(32, 22);
  std::vector<float> l(32), r(32);
  for (int sub = 0; sub < 2500; ++sub) {
    for (int i = 0; i < kNumParams; ++i) {
      const unsigned k = rng() % 10;
      p.host.SetParameter(i, k < 6 ? unit(rng) : k < 8 ? wide(rng) : odd[rng() % std::size(odd)]);
    }
    if (sub % 97 == 0)
      p.host.Dispatch(effSetProgram, 0, static_cast<intptr_t>(rng() % kNumPrograms));
    p.host.Process(in.data(), in.data(), l.data(), r.data(), 32);
    const std::string bad = BadSample(l.data(), 32) + BadSample(r.data(), 32);
    ASSERT_EQ(bad, "") << "sub-block " << sub << "; " << SeedText(seed);
  }
  for (int i = 0; i < kNumParams; ++i) {
    const float v = p.host.GetParameter(i);
    EXPECT_TRUE(v >= 0.0f && v <= 1.0f)
        << "parameter " << i << " reads " << v << "; " << SeedText(seed);
  }
}

// A value that is no number changes nothing, neither the stored value nor
// the sound; values beyond the ends count as the ends.
TEST(Automation, NonFiniteValuesChangeNothingAndOutOfRangeValuesClamp) {
  Instance a(44100.0f, 64), b(44100.0f, 64);
  for (Instance* p : {&a, &b}) {
    p->host.Dispatch(effSetProgram, 0, 6);
    p->Deterministic();
  }
  for (int i = 0; i < kNumParams; ++i) {
    if (i == kRandom) continue; // a value above one half runs a random fill
    for (float odd : {kNaN, kInf, -kInf}) {
      const float before = b.host.GetParameter(i);
      const std::string shown = b.host.ParamDisplay(i);
      b.host.SetParameter(i, odd);
      EXPECT_EQ(b.host.GetParameter(i), before) << "parameter " << i << " took " << odd;
      EXPECT_EQ(b.host.ParamDisplay(i), shown) << "parameter " << i << " took " << odd;
    }
  }
  const auto in = Noise(30000, 23);
  ASSERT_EQ(a.Run(in, 64), "");
  ASSERT_EQ(b.Run(in, 64), "");
  EXPECT_EQ(a.outL, b.outL);
  EXPECT_EQ(a.outR, b.outR);

  for (int i = 0; i < kNumParams; ++i) {
    if (i == kRandom || i == kRootNote) continue; // side effects on the notes
    for (auto [beyond, end] : {std::pair{7.0f, 1.0f},
                               {1.0000001f, 1.0f},
                               {FLT_MAX, 1.0f},
                               {-3.0f, 0.0f},
                               {-1e-42f, 0.0f},
                               {-FLT_MAX, 0.0f}}) {
      a.host.SetParameter(i, end);
      const float expected = a.host.GetParameter(i);
      const std::string shown = a.host.ParamDisplay(i);
      a.host.SetParameter(i, 0.5f);
      a.host.SetParameter(i, beyond);
      EXPECT_EQ(a.host.GetParameter(i), expected) << "parameter " << i << " set to " << beyond;
      EXPECT_EQ(a.host.ParamDisplay(i), shown) << "parameter " << i << " set to " << beyond;
    }
  }
}

} // namespace
} // namespace torture
