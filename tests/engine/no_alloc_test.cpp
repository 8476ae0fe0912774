// The processing path must never allocate: this program counts every
// allocation made while audio is processed.
#include "SynthFixture.h"
#include "TestAllocator.h"

namespace {

TEST_F(SynthTest, ProcessingAllocatesNothingEvenWhenItFillsNotes) {
  Set(kest::kAutoRandom, 1); // a fill at every bar, from inside processing
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
    synth->ProcessReplacing(ins, outs, 256);
    synth->SetParameter(kest::kDepth, static_cast<float>(block % 100) / 100.0f); // automation
    synth->SetParameter(kest::kRandom, 1.0f);
  }
  EXPECT_EQ(test_alloc::StopCounting(), 0);
}

} // namespace
