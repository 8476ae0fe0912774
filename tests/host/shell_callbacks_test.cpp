// Host-callback wrappers, with and without a host.
#include <gtest/gtest.h>

#include "TestEffect.h"

namespace {

struct Request {
  AEffect* effect;
  int32_t opcode;
  int32_t index;
  intptr_t value;
  void* ptr;
  float opt;
};

std::vector<Request> gRequests;
intptr_t gAnswer = 0;

intptr_t VSTCALLBACK RecordingHost(AEffect* e, int32_t op, int32_t index, intptr_t value, void* ptr,
                                   float opt) {
  gRequests.push_back({e, op, index, value, ptr, opt});
  return gAnswer;
}

struct Callbacks : ::testing::Test {
  ShellLog log;
  TestEffect* fx = nullptr;
  void SetUp() override {
    gRequests.clear();
    gAnswer = 0;
    fx = new TestEffect(RecordingHost, log);
  }
  void TearDown() override { fx->Effect()->dispatcher(fx->Effect(), effClose, 0, 0, nullptr, 0); }
};

TEST_F(Callbacks, AutomationSetsThenTellsTheHost) {
  fx->SetParameterAutomated(2, 0.75f);
  EXPECT_EQ(log.calls.back(), "SetParameter 2 0.750000");
  ASSERT_EQ(gRequests.size(), 1u);
  EXPECT_EQ(gRequests[0].effect, fx->Effect());
  EXPECT_EQ(gRequests[0].opcode, audioMasterAutomate);
  EXPECT_EQ(gRequests[0].index, 2);
  EXPECT_FLOAT_EQ(gRequests[0].opt, 0.75f);
}

TEST_F(Callbacks, VersionZeroBecomesOne) {
  EXPECT_EQ(fx->GetMasterVersion(), 1);
  gAnswer = 2400;
  EXPECT_EQ(fx->GetMasterVersion(), 2400);
  EXPECT_EQ(fx->GetCurrentUniqueId(), 2400);
}

TEST_F(Callbacks, PinConnectedMeansZero) {
  gAnswer = 0;
  EXPECT_TRUE(fx->IsInputConnected(1));
  EXPECT_EQ(gRequests.back().index, 1);
  EXPECT_EQ(gRequests.back().value, 0);
  gAnswer = 1;
  EXPECT_FALSE(fx->IsOutputConnected(0));
  EXPECT_EQ(gRequests.back().value, 1);
}

TEST_F(Callbacks, ArgumentsReachTheHost) {
  gAnswer = 1;
  fx->GetTimeInfo(kVstPpqPosValid);
  EXPECT_EQ(gRequests.back().opcode, audioMasterGetTime);
  EXPECT_EQ(gRequests.back().value, kVstPpqPosValid);
  EXPECT_TRUE(fx->SizeWindow(494, 383));
  EXPECT_EQ(gRequests.back().index, 494);
  EXPECT_EQ(gRequests.back().value, 383);
  fx->HostVendorSpecific(1, 2, &gAnswer, 4.0f);
  EXPECT_EQ(gRequests.back().index, 1);
  EXPECT_EQ(gRequests.back().value, 2);
  EXPECT_EQ(gRequests.back().ptr, &gAnswer);
  EXPECT_FLOAT_EQ(gRequests.back().opt, 4.0f);
  EXPECT_TRUE(fx->OfflineStart(&gAnswer, 3, 5));
  EXPECT_EQ(gRequests.back().index, 5);
  EXPECT_EQ(gRequests.back().value, 3);
  fx->SetOutputSamplerate(22050.0f);
  EXPECT_FLOAT_EQ(gRequests.back().opt, 22050.0f);
  EXPECT_TRUE(fx->SendVstEventsToHost(nullptr));
  gAnswer = 2;
  EXPECT_FALSE(fx->SendVstEventsToHost(nullptr));
}

TEST_F(Callbacks, NullPointersAnswerFalseWithoutAsking) {
  gAnswer = 1;
  EXPECT_FALSE(fx->OpenFileSelector(nullptr));
  EXPECT_FALSE(fx->CloseFileSelector(nullptr));
  EXPECT_FALSE(fx->GetChunkFile(nullptr));
  EXPECT_TRUE(gRequests.empty());
}

TEST_F(Callbacks, SampleRateAndBlockSizeTakeOnlyPositiveAnswers) {
  gAnswer = 0;
  EXPECT_DOUBLE_EQ(fx->UpdateSampleRate(), 44100.0);
  gAnswer = 48000;
  EXPECT_DOUBLE_EQ(fx->UpdateSampleRate(), 48000.0);
  gAnswer = -5;
  EXPECT_EQ(fx->UpdateBlockSize(), 1024);
  gAnswer = 128;
  EXPECT_EQ(fx->UpdateBlockSize(), 128);
}

TEST(NoHost, WrappersAnswerTheirDefaults) {
  ShellLog log;
  auto* fx = new TestEffect(nullptr, log);
  EXPECT_EQ(fx->GetMasterVersion(), 1);
  EXPECT_EQ(fx->GetCurrentUniqueId(), 0);
  EXPECT_TRUE(fx->IsInputConnected(0));
  EXPECT_TRUE(fx->IsOutputConnected(0));
  EXPECT_EQ(fx->GetTimeInfo(kVstPpqPosValid), nullptr);
  EXPECT_FALSE(fx->SizeWindow(1, 1));
  EXPECT_EQ(fx->TempoAt(0), 0);
  EXPECT_EQ(fx->GetPreviousPlug(0), nullptr);
  EXPECT_EQ(fx->GetInputSpeakerArrangement(), nullptr);
  EXPECT_DOUBLE_EQ(fx->UpdateSampleRate(), 44100.0);
  fx->MasterIdle();
  fx->WantEvents(1);
  fx->SetParameterAutomated(1, 0.5f);
  EXPECT_EQ(log.calls.back(), "SetParameter 1 0.500000");
  fx->Effect()->dispatcher(fx->Effect(), effClose, 0, 0, nullptr, 0);
}

} // namespace
