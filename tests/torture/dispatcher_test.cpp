// The dispatcher under fuzzing, random hosts, a thousand open/close cycles
// and several instances side by side.
#include <algorithm>
#include <numeric>
#include <random>

#include <gtest/gtest.h>

#include "TortureSupport.h"
#include "Torturer.h"

namespace torture {
namespace {

// Every opcode 0 .. 100 in random order with random arguments, a processed
// block after every few.
TEST(Dispatcher, EveryOpcodeInRandomOrderBetweenBlocks) {
  const std::uint64_t seed = SeedFor("Dispatcher.EveryOpcode", 31);
  Torturer t(seed);
  std::vector<int32_t> opcodes(101);
  std::iota(opcodes.begin(), opcodes.end(), 0);
  for (int round = 0; round < 40; ++round) {
    std::shuffle(opcodes.begin(), opcodes.end(), t.Rng());
    for (std::size_t i = 0; i < opcodes.size(); ++i) {
      const std::string failure = t.Dispatch(opcodes[i]);
      ASSERT_EQ(failure, "") << "round " << round << "; " << SeedText(seed);
      if (i % 4 == 3) {
        ASSERT_EQ(t.ProcessBlock(), "")
            << "after opcode " << opcodes[i] << ", round " << round << "; " << SeedText(seed);
      }
    }
  }
}

// Random hosts: processing, automation, programs, rates, transports, texts
// and dispatcher calls mixed; one test per seed.
struct RandomHosts : ::testing::TestWithParam<int> {};

TEST_P(RandomHosts, SurviveTheirOperations) {
  const std::uint64_t seed = SeedFor("RandomHosts", 1000) + static_cast<std::uint64_t>(GetParam());
  Torturer t(seed);
  const std::string failure = t.Run(Scaled(4000));
  ASSERT_EQ(failure, "");
}

INSTANTIATE_TEST_SUITE_P(Dispatcher, RandomHosts, ::testing::Range(0, 4));

TEST(Lifecycle, OpenAndCloseAThousandTimes) {
  const auto in = Noise(64, 32);
  std::vector<float> l(64), r(64);
  for (int i = 0; i < 1000; ++i) {
    kest::host::VstHost host;
    AEffect* e = host.Open(Entry());
    ASSERT_NE(e, nullptr) << "opening " << i;
    if (i % 3 == 0) {
      // Some hosts scan: open, suspend a plug-in never resumed, close.
      host.Suspend();
    } else if (i % 3 == 1) {
      host.SetSampleRate(i % 2 == 0 ? 96000.0f : 22050.0f);
      host.Resume();
      host.Process(in.data(), in.data(), l.data(), r.data(), 64);
      ASSERT_EQ(BadSample(l.data(), 64), "") << "opening " << i;
      host.Suspend();
    }
    host.Close();
  }
}

// Instances do not share state: each sounds as it does alone.
TEST(Lifecycle, SeveralInstancesSoundAsEachAlone) {
  constexpr int kInstances = 4;
  const auto in = Noise(44100, 33);
  std::vector<std::vector<float>> alone(kInstances);
  const auto prepare = [](Instance& p, int k) {
    p.host.Dispatch(effSetProgram, 0, 3 * k + 1);
    p.Deterministic();
    p.host.Time().tempo = 100.0 + 20.0 * k;
  };
  for (int k = 0; k < kInstances; ++k) {
    Instance p(44100.0f, 128 + 64 * k);
    prepare(p, k);
    ASSERT_EQ(p.Run(in, 128 + 64 * k), "");
    alone[k] = p.outL;
  }
  std::vector<std::unique_ptr<Instance>> together;
  for (int k = 0; k < kInstances; ++k) {
    together.push_back(std::make_unique<Instance>(44100.0f, 128 + 64 * k));
    prepare(*together.back(), k);
    together.back()->outL.assign(in.size(), 0.0f);
    together.back()->outR.assign(in.size(), 0.0f);
  }
  // Interleaved: each instance takes its next block in turn.
  std::vector<std::size_t> at(kInstances, 0);
  for (bool busy = true; busy;) {
    busy = false;
    for (int k = 0; k < kInstances; ++k) {
      Instance& p = *together[k];
      const std::size_t block = 128 + 64 * static_cast<std::size_t>(k);
      if (at[k] >= in.size()) continue;
      const int n = static_cast<int>(std::min(block, in.size() - at[k]));
      p.host.Process(in.data() + at[k], in.data() + at[k], p.outL.data() + at[k],
                     p.outR.data() + at[k], n);
      at[k] += static_cast<std::size_t>(n);
      busy = true;
    }
  }
  for (int k = 0; k < kInstances; ++k)
    EXPECT_EQ(together[k]->outL, alone[k]) << "instance " << k;
}

} // namespace
} // namespace torture
