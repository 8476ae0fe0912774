// Nothing thrown inside the plug-in reaches the host: every entry answers 0
// or silence instead, and a failed operation leaves the plug-in working.
#include <algorithm>
#include <stdexcept>

#include "SynthFixture.h"
#include "TestAllocator.h"
#include "VstEntry.h"

namespace {

struct Block {
  std::vector<float> in = SynthTest::Noise(256), l = std::vector<float>(256, 1.0f),
                     r = std::vector<float>(256, 1.0f);
  // Runs blocks through the record's entry; answers whether the last was all
  // silence. The combs need a few blocks before they sound.
  bool SilentAfter(AEffect* e, int blocks = 16) {
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {l.data(), r.data()};
    for (int b = 0; b < blocks; ++b) {
      std::fill(l.begin(), l.end(), 1.0f);
      std::fill(r.begin(), r.end(), 1.0f);
      e->processReplacing(e, ins, outs, 256);
    }
    for (std::size_t i = 0; i < l.size(); ++i) {
      if (l[i] != 0.0f || r[i] != 0.0f) return false;
    }
    return true;
  }
};

TEST_F(SynthTest, AFailedRateChangeKeepsThePreviousRate) {
  AEffect* e = synth->Effect();
  synth->Resume();
  Block block;
  for (long n = 0;; ++n) {
    test_alloc::FailAllocation(n);
    EXPECT_EQ(e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 96000.0f), 0);
    if (!test_alloc::Disarm()) break; // the n-th allocation was never reached: done
    EXPECT_EQ(synth->SampleRate(), 44100.0f) << n;
    EXPECT_EQ(synth->Line(5).MaxDelay(), 2756) << n;
    EXPECT_FALSE(block.SilentAfter(e)) << "blocks after the failure sound, " << n;
  }
  EXPECT_EQ(synth->SampleRate(), 96000.0f);
  EXPECT_EQ(synth->Line(5).MaxDelay(), 6000);
}

// An editor that throws from every call the plug-in makes on it, while armed.
bool gThrow = false;
class ThrowingEditor : public TPluginEditorBase {
public:
  using TPluginEditorBase::TPluginEditorBase;
  void SetEditorParametr(int32_t, float) override { Throw(); }
  void SetPresetName(const std::u16string&) override { Throw(); }
  void PostStep(int32_t) override { Throw(); }
  void Idle() override { Throw(); }

private:
  static void Throw() {
    if (gThrow) throw std::runtime_error("editor failure");
  }
};

struct Throwing : SynthTest {
  void SetUp() override {
    TPlugin::SetEditorFactory(+[](TPlugin* p) -> std::unique_ptr<TPluginEditorBase> {
      return std::make_unique<ThrowingEditor>(p);
    });
    SynthTest::SetUp();
  }
  void TearDown() override {
    gThrow = false;
    synth.reset();
    TPlugin::SetEditorFactory(nullptr);
  }
};

TEST_F(Throwing, EveryEntryCatchesAndTheNextCallsWork) {
  AEffect* e = synth->Effect();
  synth->Resume();
  Block block;
  gThrow = true;
  EXPECT_TRUE(block.SilentAfter(e, 1));
  float* outs[2] = {block.l.data(), block.r.data()};
  e->process(e, outs, outs, 256);
  e->setParameter(e, kest::kDepth, 0.25f);
  EXPECT_EQ(e->getParameter(e, kest::kDepth), 0.25f);
  EXPECT_EQ(e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(e->dispatcher(e, effSetProgram, 0, 3, nullptr, 0.0f), 0);
  gThrow = false;
  ASSERT_FALSE(block.SilentAfter(e)) << "a block that threw must not silence the next ones";
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 48000.0f); // must not wait for ever
  EXPECT_EQ(synth->Line(0).MaxDelay(), 3000);
}

intptr_t VSTCALLBACK VersionOnly(AEffect*, int32_t op, int32_t, intptr_t, void*, float) {
  return op == audioMasterVersion ? 2400 : 0;
}

TEST(Entry, AFailedConstructionAnswersNull) {
  auto create = +[](audioMasterCallback host) -> AudioEffect* { return new TSynth(host); };
  // Construction makes thousands of allocations: the first few, then a sample.
  for (long n = 0;; n += n < 32 ? 1 : 61) {
    test_alloc::FailAllocation(n);
    AEffect* e = kest::VstEntry(&VersionOnly, create);
    if (!test_alloc::Disarm()) {
      ASSERT_NE(e, nullptr);
      e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
      break;
    }
    EXPECT_EQ(e, nullptr) << n;
  }
}

} // namespace
