// The processing path must never allocate: this program counts every
// allocation made while audio is processed, through operator new and
// through the C allocator.
#include <cstdlib>

#include "EngineRender.h"
#include "SynthFixture.h"
#include "TestAllocator.h"

namespace {

// What the count would miss makes the test below pass for nothing.
TEST(AllocationCount, SeesTheCAllocatorAndOperatorNew) {
  void* volatile kept = nullptr;
  test_alloc::StartCounting();
  kept = std::malloc(16);
  std::free(kept);
  kept = std::calloc(2, 16);
  kept = std::realloc(kept, 64);
  std::free(kept);
  EXPECT_GE(test_alloc::StopCounting(), 3);
  test_alloc::StartCounting();
  int* volatile object = new int(1);
  delete object;
  EXPECT_GE(test_alloc::StopCounting(), 1);
}

struct NoAllocation : SynthTest, ::testing::WithParamInterface<TSynth::TInstructionSet> {};

TEST_P(NoAllocation, ProcessingAllocatesNothingEvenWhenItFillsNotes) {
  if (!TSynth::Runs(GetParam())) GTEST_SKIP() << "this machine lacks the instruction set";
  synth->UseInstructionSet(GetParam());
  Set(kest::kAutoRandom, 1); // a fill at every bar, from inside processing
  Set(kest::kGlide, 60);
  Set(kest::kChA + 1, 1);
  Set(kest::kChA + 2, 1);
  synth->Resume();
  std::vector<float> l(256), r(256);
  const auto noise = Noise(256);
  float* ins[2] = {const_cast<float*>(noise.data()), const_cast<float*>(noise.data())};
  float* outs[2] = {l.data(), r.data()};
  test_alloc::StartCounting();
  for (int block = 0; block < 400; ++block) {
    FakeHost::time.ppqPos = block * 0.1;
    synth->ProcessReplacing(ins, outs, 1 + block % 256); // odd sizes and whole chunks
    synth->SetParameter(kest::kDepth, static_cast<float>(block % 100) / 100.0f); // automation
    synth->SetParameter(kest::kRandom, 1.0f);
  }
  EXPECT_EQ(test_alloc::StopCounting(), 0);
}

INSTANTIATE_TEST_SUITE_P(InstructionSets, NoAllocation, engine_render::InstructionSets(),
                         engine_render::InstructionSetName);

} // namespace
