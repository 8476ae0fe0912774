// The basic dispatcher, the record and the entry functions.
#include <gtest/gtest.h>

#include "TestEffect.h"
#include "VstEntry.h"

namespace {

intptr_t VSTCALLBACK Host2400(AEffect*, int32_t op, int32_t, intptr_t, void*, float) {
  return op == audioMasterVersion ? 2400 : 0;
}
intptr_t VSTCALLBACK HostVersion0(AEffect*, int32_t, int32_t, intptr_t, void*, float) {
  return 0;
}

struct Shell : ::testing::Test {
  ShellLog log;
  TestEffect* fx = new TestEffect(Host2400, log);
  AEffect* e = fx->Effect();
  intptr_t Call(int32_t op, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                float opt = 0.0f) {
    return e->dispatcher(e, op, index, value, ptr, opt);
  }
  void TearDown() override {
    if (log.destroyed == 0) Call(effClose);
  }
};

TEST_F(Shell, RecordAsConstructed) {
  EXPECT_EQ(e->magic, VstFourCC('V', 's', 't', 'P'));
  EXPECT_EQ(e->numPrograms, 4);
  EXPECT_EQ(e->numParams, 3);
  EXPECT_EQ(e->numInputs, 1);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->flags, effFlagsCanReplacing);
  EXPECT_EQ(e->uniqueID, VstFourCC('N', 'o', 'E', 'f'));
  EXPECT_EQ(e->version, 1);
  EXPECT_FLOAT_EQ(e->ioRatio, 1.0f);
  EXPECT_EQ(e->object, fx);
  EXPECT_EQ(e->user, nullptr);
  EXPECT_FLOAT_EQ(fx->SampleRate(), 44100.0f);
  EXPECT_EQ(fx->BlockSize(), 1024);
}

TEST_F(Shell, ProgramSelectionBounds) {
  Call(effSetProgram, 0, 3);
  Call(effSetProgram, 0, 4);         // = NumPrograms: ignored
  Call(effSetProgram, 0, 1LL << 40); // far beyond: ignored, not truncated
  Call(effSetProgram, 0, -1);        // passed on; the effect decides
  EXPECT_EQ(log.calls, (std::vector<std::string>{"SetProgram 3", "SetProgram -1"}));
  EXPECT_EQ(Call(effGetProgram), -1);
}

TEST_F(Shell, FixedAnswers) {
  EXPECT_EQ(Call(effIdentify), VstFourCC('N', 'v', 'E', 'f'));
  EXPECT_EQ(Call(effGetVu), 0);
  void* chunk = nullptr;
  EXPECT_EQ(Call(effGetChunk, 0, 0, &chunk), 0);
  EXPECT_EQ(Call(effSetChunk, 1, 100, nullptr), 0);
  for (int op : {16, 17, 18, 20, 21, 1000, -5})
    EXPECT_EQ(Call(op, 1, 2, nullptr, 3.0f), 0) << op;
}

TEST_F(Shell, SampleRateBlockSizeAndMains) {
  Call(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  Call(effSetBlockSize, 0, (1LL << 32) + 256); // low 32 bits
  EXPECT_FLOAT_EQ(fx->SampleRate(), 48000.0f);
  EXPECT_EQ(fx->BlockSize(), 256);
  Call(effMainsChanged, 0, 0);
  EXPECT_EQ(log.calls.back(), "Suspend");
}

TEST_F(Shell, EditorOpcodesWithoutEditorAnswerZeroAndLeavePointerAlone) {
  ERect sentinel{};
  ERect* rect = &sentinel;
  EXPECT_EQ(Call(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, &sentinel);
  EXPECT_EQ(Call(effEditGetRect, 0, 0, nullptr), 0);
  EXPECT_EQ(Call(effEditOpen, 0, 0, reinterpret_cast<void*>(0x1234)), 0);
  EXPECT_EQ(Call(effEditClose), 0);
  EXPECT_EQ(Call(effEditIdle), 0);
  EXPECT_EQ(Call(effEditKeyDown, 'a', 1, nullptr, 1.0f), 0);
  EXPECT_EQ(Call(effEditKeyUp, 'a', 1), 0);
  EXPECT_EQ(Call(effSetEditKnobMode, 0, 2), 0);
}

TEST_F(Shell, EditorOpcodesReachTheEditor) {
  std::vector<std::string> editorLog;
  auto editor = std::make_unique<TestEditor>(fx, editorLog);
  TestEditor* ed = editor.get();
  fx->SetEditor(std::move(editor));
  EXPECT_TRUE(e->flags & effFlagsHasEditor);
  ERect* rect = nullptr;
  EXPECT_EQ(Call(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect, &ed->fRect);
  EXPECT_EQ(Call(effEditKeyDown, 65, 0x1FF, nullptr, 2.6f), 1);
  EXPECT_EQ(editorLog.back(), "KeyDown 65 255 3");
  EXPECT_EQ(Call(effEditKeyUp, 65, 1), 0);
  EXPECT_EQ(Call(effSetEditKnobMode, 0, 2), 1);
  Call(effEditIdle);
  EXPECT_EQ(editorLog.back(), "Idle");
  fx->SetEditor(nullptr);
  EXPECT_FALSE(e->flags & effFlagsHasEditor);
}

TEST_F(Shell, EntryFunctionsForwardAndCloseDestroysOnce) {
  e->setParameter(e, 2, 0.25f);
  EXPECT_EQ(log.calls.back(), "SetParameter 2 0.250000");
  EXPECT_FLOAT_EQ(e->getParameter(e, 2), 0.0f);
  float in[4] = {}, out[4] = {};
  float* ins[2] = {in, in};
  float* outs[2] = {out, out};
  e->processReplacing(e, ins, outs, 4);
  e->process(e, ins, outs, 4);
  EXPECT_EQ(Call(effOpen), 0);
  EXPECT_EQ(Call(effClose), 1);
  EXPECT_EQ(log.destroyed, 1);
  EXPECT_EQ(log.calls.back(), "Close");
}

TEST(Entry, RefusesAHostThatAnswersVersionZero) {
  static int created = 0;
  auto factory = +[](audioMasterCallback m) -> AudioEffect* {
    static ShellLog log;
    ++created;
    return new TestEffect(m, log);
  };
  EXPECT_EQ(kest::VstEntry(HostVersion0, factory), nullptr);
  EXPECT_EQ(created, 0);
  EXPECT_EQ(kest::VstEntry(nullptr, factory), nullptr);
  AEffect* e = kest::VstEntry(Host2400, factory);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(created, 1);
  EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST(Entry, ConstructionFailureAnswersNull) {
  auto throwing = +[](audioMasterCallback) -> AudioEffect* { throw std::runtime_error("no"); };
  auto null = +[](audioMasterCallback) -> AudioEffect* { return nullptr; };
  EXPECT_EQ(kest::VstEntry(Host2400, throwing), nullptr);
  EXPECT_EQ(kest::VstEntry(Host2400, null), nullptr);
}

TEST(EntryFunctions, NullRecordIsHarmless) {
  ShellLog log;
  auto* fx = new TestEffect(nullptr, log);
  AEffect* e = fx->Effect();
  EXPECT_EQ(e->dispatcher(nullptr, effGetProgram, 0, 0, nullptr, 0), 0);
  e->setParameter(nullptr, 0, 1.0f);
  EXPECT_EQ(e->getParameter(nullptr, 0), 0.0f);
  e->processReplacing(nullptr, nullptr, nullptr, 16);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0);
  EXPECT_EQ(log.destroyed, 1);
}

} // namespace
