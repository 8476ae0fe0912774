// The processing path must never allocate: this program counts every
// allocation made while audio is processed.
#include <atomic>
#include <cstdlib>
#include <new>

#include "SynthFixture.h"

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};
} // namespace

void* operator new(std::size_t n) {
  if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1);
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void* operator new[](std::size_t n) {
  return operator new(n);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

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
  gAllocations = 0;
  gCounting = true;
  for (int block = 0; block < 400; ++block) {
    FakeHost::time.ppqPos = block * 0.1;
    synth->ProcessReplacing(ins, outs, 256);
    synth->SetParameter(kest::kDepth, static_cast<float>(block % 100) / 100.0f); // automation
    synth->SetParameter(kest::kRandom, 1.0f);
  }
  gCounting = false;
  EXPECT_EQ(gAllocations.load(), 0);
}

} // namespace
