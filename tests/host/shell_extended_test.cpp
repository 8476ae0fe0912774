// The extended dispatcher: argument mapping and default answers.
#include <cstring>

#include <gtest/gtest.h>

#include "TestEffect.h"

namespace {

struct Extended : ::testing::Test {
  ShellLog log;
  TestEffect* fx = new TestEffect(nullptr, log);
  AEffect* e = fx->Effect();
  intptr_t Call(int32_t op, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                float opt = 0.0f) {
    return e->dispatcher(e, op, index, value, ptr, opt);
  }
  void TearDown() override { Call(effClose); }
};

TEST_F(Extended, DefaultAnswers) {
  struct Case {
    int32_t op;
    intptr_t answer;
  };
  const Case cases[] = {
      {effProcessEvents, 0},
      {effCanBeAutomated, 1},
      {effString2Parameter, 0},
      {effGetNumProgramCategories, 1},
      {effGetProgramNameIndexed, 0},
      {effCopyProgram, 0},
      {effConnectInput, 1},
      {effConnectOutput, 1},
      {effGetInputProperties, 0},
      {effGetOutputProperties, 0},
      {effGetPlugCategory, kPlugCategUnknown},
      {effGetCurrentPosition, 0},
      {effGetDestinationBuffer, 0},
      {effOfflineNotify, 0},
      {effOfflinePrepare, 0},
      {effOfflineRun, 0},
      {effProcessVarIo, 0},
      {effSetSpeakerArrangement, 0},
      {effSetBypass, 0},
      {effGetEffectName, 0},
      {effGetErrorText, 0},
      {effGetVendorString, 0},
      {effGetProductString, 0},
      {effGetVendorVersion, 0},
      {effVendorSpecific, 0},
      {effCanDo, 0},
      {effGetTailSize, 0},
      {effIdle, 0},
      {effGetIcon, 0},
      {effSetViewPosition, 0},
      {effGetParameterProperties, 0},
      {effKeysRequired, 1},
      {effGetVstVersion, 2400},
      {effGetMidiProgramName, 0},
      {effGetCurrentMidiProgram, -1},
      {effGetMidiProgramCategory, 0},
      {effHasMidiProgramsChanged, 0},
      {effGetMidiKeyName, 0},
      {effBeginSetProgram, 0},
      {effEndSetProgram, 0},
      {effShellGetNextPlugin, 0},
      {effStartProcess, 0},
      {effStopProcess, 0},
      {effSetPanLaw, 0},
      {effBeginLoadBank, 0},
      {effBeginLoadProgram, 0},
      {effSetProcessPrecision, 0},
      {effGetNumMidiInputChannels, 0},
      {effGetNumMidiOutputChannels, 0},
  };
  char text[256] = "receiveVstEvents";
  for (const Case& c : cases) {
    std::strcpy(text, "x");
    EXPECT_EQ(Call(c.op, 0, 0, text), c.answer) << "opcode " << c.op;
  }
}

TEST_F(Extended, TextsWrittenEmptyAndValuesPassedOn) {
  char text[16] = "junk";
  EXPECT_EQ(Call(effGetProductString, 0, 0, text), 0);
  EXPECT_STREQ(text, "");
  std::strcpy(text, "junk");
  EXPECT_EQ(Call(effShellGetNextPlugin, 0, 0, text), 0);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(Call(effSetTotalSampleToProcess, 0, 12345), 12345);
  EXPECT_EQ(Call(effSetTotalSampleToProcess, 0, (1LL << 32) + 7), 7);
}

TEST_F(Extended, SpeakerArrangementDefaultClearsBothPointers) {
  VstSpeakerArrangement dummy{};
  VstSpeakerArrangement* in = &dummy;
  VstSpeakerArrangement* out = &dummy;
  EXPECT_EQ(Call(effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out), 0);
  EXPECT_EQ(in, nullptr);
  EXPECT_EQ(out, nullptr);
}

TEST_F(Extended, BlockSizeAndSampleRateStoredDirectly) {
  EXPECT_EQ(Call(effSetBlockSizeAndSampleRate, 0, 64, nullptr, 96000.0f), 1);
  EXPECT_EQ(fx->BlockSize(), 64);
  EXPECT_FLOAT_EQ(fx->SampleRate(), 96000.0f);
}

TEST_F(Extended, OpcodesOutsideTheExtendedRangeReachTheBase) {
  Call(effSetChunk, 0, 0, nullptr);
  EXPECT_EQ(Call(effSetChunk), 0);
  EXPECT_EQ(Call(80), 0);
  EXPECT_EQ(Call(effIdentify), VstFourCC('N', 'v', 'E', 'f'));
}

TEST_F(Extended, FlagSetters) {
  struct {
    void (AudioEffect::*set)(bool);
    int32_t flag;
  } base[] = {{&AudioEffect::HasVu, effFlagsHasVu},
              {&AudioEffect::HasClip, effFlagsHasClip},
              {&AudioEffect::CanMono, effFlagsCanMono},
              {&AudioEffect::CanProcessReplacing, effFlagsCanReplacing},
              {&AudioEffect::CanDoubleReplacing, effFlagsCanDoubleReplacing},
              {&AudioEffect::ProgramsAreChunks, effFlagsProgramChunks}};
  for (auto& b : base) {
    (fx->*b.set)(true);
    EXPECT_TRUE(e->flags & b.flag);
    (fx->*b.set)(false);
    EXPECT_FALSE(e->flags & b.flag);
  }
  struct {
    void (AudioEffectX::*set)(bool);
    int32_t flag;
  } ext[] = {{&AudioEffectX::IsSynth, effFlagsIsSynth},
             {&AudioEffectX::NoTail, effFlagsNoSoundInStop},
             {&AudioEffectX::WantAsyncOperation, effFlagsExtIsAsync},
             {&AudioEffectX::HasExternalBuffer, effFlagsExtHasBuffer}};
  for (auto& x : ext) {
    (fx->*x.set)(true);
    EXPECT_TRUE(e->flags & x.flag);
    (fx->*x.set)(false);
    EXPECT_FALSE(e->flags & x.flag);
  }
  fx->IsSynth(true);
  EXPECT_EQ(Call(effGetPlugCategory), kPlugCategSynth);
  fx->SetUniqueID(77);
  fx->SetNumInputs(5);
  fx->SetNumOutputs(6);
  fx->SetInitialDelay(9);
  fx->SetRealtimeQualities(3);
  fx->SetOfflineQualities(4);
  EXPECT_EQ(e->uniqueID, 77);
  EXPECT_EQ(e->numInputs, 5);
  EXPECT_EQ(e->numOutputs, 6);
  EXPECT_EQ(e->initialDelay, 9);
  EXPECT_EQ(e->realQualities, 3);
  EXPECT_EQ(e->offQualities, 4);
}

TEST_F(Extended, ResumeAsksForEventsOnlyWhenWanted) {
  Call(effMainsChanged, 0, 1);
  EXPECT_TRUE(log.calls.empty());
  fx->fMidi = 1;
  Call(effMainsChanged, 0, 1);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"WantEvents 1"}));
  fx->fMidi = 0;
  fx->IsSynth(true);
  Call(effMainsChanged, 0, 1);
  EXPECT_EQ(log.calls.size(), 2u);
}

TEST_F(Extended, ArrangementHelpers) {
  VstSpeakerArrangement* a = nullptr;
  ASSERT_TRUE(fx->AllocateArrangement(&a, 3));
  EXPECT_EQ(a->numChannels, 3);
  EXPECT_EQ(a->speakers[2].azimuth, 0.0f);
  a->type = 7;
  a->speakers[1].azimuth = 0.5f;
  std::memset(a->speakers[1].name, 'x', sizeof a->speakers[1].name); // unterminated
  a->speakers[1].type = 4;
  VstSpeakerArrangement* b = nullptr;
  ASSERT_TRUE(fx->MatchArrangement(&b, a));
  EXPECT_EQ(b->type, 7);
  EXPECT_EQ(b->numChannels, 3);
  EXPECT_FLOAT_EQ(b->speakers[1].azimuth, 0.5f);
  EXPECT_EQ(b->speakers[1].type, 4);
  EXPECT_EQ(std::strlen(b->speakers[1].name), 63u);
  EXPECT_FALSE(fx->MatchArrangement(&b, nullptr));
  EXPECT_FALSE(fx->CopySpeaker(nullptr, &a->speakers[0]));
  EXPECT_TRUE(fx->DeallocateArrangement(&a));
  EXPECT_EQ(a, nullptr);
  EXPECT_TRUE(fx->DeallocateArrangement(&a));
  fx->DeallocateArrangement(&b);
}

} // namespace
