// The plug-in object: programs, the step clock, auto random, the clipboard,
// texts and the editor host's messages.
#include <cstring>
#include <functional>

#include "SynthFixture.h"
#include "TMemoryStream.h"
#include "TextCodec.h"
#include "uKestUtils.h"

using namespace kest;

namespace {

struct EditorLog {
  std::vector<int32_t> steps;
  std::vector<std::pair<int32_t, float>> params;
  std::vector<std::u16string> names;
  // Run when a parameter reaches the editor, and when the editor is destroyed
  // (given the effect it belonged to).
  std::function<void(int32_t)> onParameter;
  std::function<void(AudioEffect*)> onDestroy;
};

EditorLog* gEditorLog = nullptr;

class RecordingEditor : public TPluginEditorBase {
public:
  using TPluginEditorBase::TPluginEditorBase;
  ~RecordingEditor() override {
    if (gEditorLog->onDestroy) gEditorLog->onDestroy(Effect());
  }
  void SetEditorParametr(int32_t i, float v) override {
    gEditorLog->params.push_back({i, v});
    if (gEditorLog->onParameter) gEditorLog->onParameter(i);
  }
  void SetPresetName(const std::u16string& n) override { gEditorLog->names.push_back(n); }
  void PostStep(int32_t s) override { gEditorLog->steps.push_back(s); }
};

TEST(StepClock, PositionsToSteps) {
  EXPECT_EQ(TPlugin::StepOfPosition(0.0), 0);
  EXPECT_EQ(TPlugin::StepOfPosition(0.26), 1);
  EXPECT_EQ(TPlugin::StepOfPosition(3.99), 15);
  EXPECT_EQ(TPlugin::StepOfPosition(4.0), 0);
  EXPECT_EQ(TPlugin::StepOfPosition(17.5), 6);
  EXPECT_EQ(TPlugin::StepOfPosition(-0.1), 15); // pre-roll counts down
  EXPECT_EQ(TPlugin::StepOfPosition(-4.0), 0);
  for (double ppq : {1e12, 1e300, -1e300, -7.3e15, 123456789.123}) {
    const int s = TPlugin::StepOfPosition(ppq);
    EXPECT_GE(s, 0) << ppq;
    EXPECT_LE(s, 15) << ppq;
  }
}

TEST_F(SynthTest, StepClockFollowsTheHostOnlyWhileActive) {
  float l[8] = {}, r[8] = {};
  float* io[2] = {l, r};
  FakeHost::time.ppqPos = 1.0;
  synth->ProcessReplacing(io, io, 8);
  EXPECT_EQ(synth->CurrentStep(), 0) << "suspended";
  synth->Resume();
  EXPECT_EQ(FakeHost::wantMidi, 1);
  synth->ProcessReplacing(io, io, 8);
  EXPECT_EQ(synth->CurrentStep(), 4);
  FakeHost::answerTime = false;
  synth->ProcessReplacing(io, io, 8);
  EXPECT_EQ(synth->CurrentStep(), 4) << "no time information keeps the step";
  FakeHost::answerTime = true;
  FakeHost::time.ppqPos = std::numeric_limits<double>::quiet_NaN();
  synth->ProcessReplacing(io, io, 8);
  EXPECT_EQ(synth->CurrentStep(), 4);
  FakeHost::time.ppqPos = -0.3;
  synth->ProcessReplacing(io, io, 8);
  EXPECT_EQ(synth->CurrentStep(), 14);
  synth->Suspend();
  EXPECT_EQ(synth->CurrentStep(), 0);
  EXPECT_EQ(synth->BarCount(), 0);
}

TEST_F(SynthTest, AutoRandomEverySecondBarFillsAtQuarterNoteEight) {
  Set(kRandomStyle, 132);
  Set(kRandomRange, 9);
  Set(kRandomRootNote, 12);
  Set(kAutoRandom, 2);
  synth->Resume();
  std::vector<double> notes;
  auto snapshot = [&] {
    std::vector<double> n;
    for (int i = 0; i < 48; ++i)
      n.push_back(synth->Preset()[StepNoteIndex(i / 16, i % 16)].Value());
    return n;
  };
  const auto before = snapshot();
  float l[1] = {}, r[1] = {};
  float* io[2] = {l, r};
  double firstFill = -1;
  for (double ppq = 0.0; ppq < 12.0; ppq += 0.125) {
    FakeHost::time.ppqPos = ppq;
    synth->ProcessReplacing(io, io, 1);
    if (firstFill < 0 && snapshot() != before) firstFill = ppq;
  }
  EXPECT_DOUBLE_EQ(firstFill, 8.0);
  EXPECT_EQ(FakeHost::automations, 0) << "generated notes are not automation";
}

TEST_F(SynthTest, ProgramsSwitchAndOutOfRangeIsIgnored) {
  synth->SetProgram(5);
  EXPECT_EQ(synth->GetProgram(), 5);
  EXPECT_EQ(synth->Preset().Preset(), "Detected");
  EXPECT_FALSE(synth->StepOn(0, 6)); // "1111 1100 ..." of channel A
  synth->SetProgram(-1);
  synth->SetProgram(32);
  EXPECT_EQ(synth->GetProgram(), 5);
  char name[kVstMaxProgNameLen];
  synth->GetProgramName(name);
  EXPECT_STREQ(name, "Detected");
  EXPECT_FALSE(synth->GetProgramNameIndexed(0, 32, name));
  EXPECT_FALSE(synth->GetProgramNameIndexed(0, -1, name));
  EXPECT_TRUE(synth->GetProgramNameIndexed(0, 6, name));
  EXPECT_STREQ(name, "Quil's");
}

TEST_F(SynthTest, ParametersClampAndIgnoreBadInput) {
  synth->SetParameter(kDepth, 1.5f);
  EXPECT_EQ(synth->GetParameter(kDepth), 1.0f);
  synth->SetParameter(kDepth, -0.2f);
  EXPECT_EQ(synth->GetParameter(kDepth), 0.0f);
  synth->SetParameter(kDepth, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(synth->GetParameter(kDepth), 0.0f);
  synth->SetParameter(-1, 0.5f);
  synth->SetParameter(108, 0.5f);
  EXPECT_EQ(synth->GetParameter(108), 0.0f);
  char text[32];
  synth->GetParameterName(200, text);
  EXPECT_STREQ(text, "");
  synth->GetParameterName(kRandomRootNote, text);
  EXPECT_STREQ(text, "Random root note");
  Set(kAutoRandom, 8);
  synth->GetParameterDisplay(kAutoRandom, text);
  EXPECT_STREQ(text, "Each 8-th bar");
  synth->GetParameterLabel(kLevel, text);
  EXPECT_STREQ(text, "db");
}

TEST_F(SynthTest, ClipboardKeepsTheNameOfThePresetPastedInto) {
  EXPECT_FALSE(synth->CanPastePreset());
  synth->PastePreset(); // nothing to paste: nothing happens
  Set(kDepth, 12);
  synth->CopyPreset();
  EXPECT_TRUE(synth->CanPastePreset());
  char renamed[] = "Renamed";
  synth->SetProgramName(renamed);
  Set(kDepth, 90);
  synth->PastePreset();
  EXPECT_EQ(synth->Preset().Preset(), "Renamed");
  EXPECT_NEAR(synth->Preset()[kDepth].Value(), 12.0, 1e-5);
  EXPECT_NEAR(synth->Depth(), std::sqrt(0.75 * 0.12), 1e-6);
}

TEST_F(SynthTest, EditedParametersReachTheHostAsAutomation) {
  synth->SetEditedParameter(kDepth, 80.0);
  EXPECT_EQ(FakeHost::automations, 1);
  EXPECT_NEAR(synth->Depth(), std::sqrt(0.75 * 0.8), 1e-6);
  synth->SetEditedParameter(500, 1.0);
  synth->SetEditedParameter(kDepth, std::numeric_limits<double>::infinity());
  EXPECT_EQ(FakeHost::automations, 1);
}

TEST_F(SynthTest, UpdatingFlagBracketsProgramLoads) {
  EXPECT_FALSE(synth->Updating());
  EXPECT_TRUE(synth->BeginSetProgram());
  EXPECT_TRUE(synth->Updating());
  EXPECT_TRUE(synth->EndSetProgram());
  EXPECT_FALSE(synth->Updating());
  synth->SetProgramManual(99);
  EXPECT_FALSE(synth->Updating());
}

TEST_F(SynthTest, CapabilitiesAndTexts) {
  char yes[] = "receiveVstEvents", midi[] = "receiveVstMidiEvent", upper[] = "ReceiveVstEvents";
  EXPECT_EQ(synth->CanDo(yes), 1);
  EXPECT_EQ(synth->CanDo(midi), 1);
  EXPECT_EQ(synth->CanDo(upper), -1);
  EXPECT_EQ(synth->CanDo(nullptr), -1);
  VstPinProperties pin{};
  EXPECT_TRUE(synth->GetOutputProperties(0, &pin));
  EXPECT_STREQ(pin.label, "KEST 1");
  EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
  EXPECT_TRUE(synth->GetOutputProperties(1, &pin));
  EXPECT_STREQ(pin.label, "KEST 2");
  std::memset(&pin, 0, sizeof pin);
  EXPECT_FALSE(synth->GetOutputProperties(2, &pin));
  EXPECT_FALSE(synth->GetOutputProperties(-1, &pin));
  EXPECT_STREQ(pin.label, "");
  EXPECT_EQ(synth->GetVu(), 0.0f);
}

TEST_F(SynthTest, HostNamesAreUtf8TheBankHoldsWindows1252) {
#if defined(_WIN32)
  // Windows hosts speak the system's 8-bit code page: names pass unchanged.
  char name[] = "Caf\xe9 \x80";
#else
  char name[] = "Caf\xc3\xa9 \xe2\x82\xac";
#endif
  synth->SetProgramName(name);
  EXPECT_EQ(synth->Preset().Preset(), "Caf\xe9 \x80");
  char back[kVstMaxProgNameLen];
  synth->GetProgramName(back);
  EXPECT_STREQ(back, name);
  char longName[] = "A name far longer than twenty-four characters";
  synth->SetProgramName(longName);
  synth->GetProgramName(back);
  EXPECT_EQ(std::strlen(back), 24u);
}

struct WithEditor : SynthTest {
  EditorLog log;
  void SetUp() override {
    gEditorLog = &log;
    TPlugin::SetEditorFactory(+[](TPlugin* p) -> std::unique_ptr<TPluginEditorBase> {
      return std::make_unique<RecordingEditor>(p);
    });
    SynthTest::SetUp();
  }
  void TearDown() override {
    synth.reset();
    TPlugin::SetEditorFactory(nullptr);
    gEditorLog = nullptr;
  }
};

TEST_F(WithEditor, EveryBlockPostsTheStepAndEveryChangeReachesTheEditor) {
  EXPECT_TRUE(synth->Effect()->flags & effFlagsHasEditor);
  EXPECT_EQ(log.params.size(), 108u) << "program 0 applied at construction";
  ASSERT_FALSE(log.names.empty());
  EXPECT_EQ(log.names.back(), u"Hyper flanger");
  synth->Resume();
  float l[4] = {}, r[4] = {};
  float* io[2] = {l, r};
  FakeHost::time.ppqPos = 0.5;
  synth->ProcessReplacing(io, io, 4);
  synth->ProcessReplacing(io, io, 4);
  EXPECT_EQ(log.steps, (std::vector<int32_t>{2, 2}));
  log.params.clear();
  Set(kDepth, 33);
  ASSERT_EQ(log.params.size(), 1u);
  EXPECT_EQ(log.params[0].first, kDepth);
  EXPECT_FLOAT_EQ(log.params[0].second, 33.0f);
  char renamed[] = "Mine";
  synth->SetProgramName(renamed);
  EXPECT_EQ(log.names.back(), u"Mine");
}

std::vector<double> Values(const TParamList& preset) {
  std::vector<double> v;
  for (int i = 0; i < kNumParams; ++i)
    v.push_back(preset[i].Value());
  return v;
}

// Another thread may change the program at any point of an apply or a random
// fill; the editor hook changes it at an exact point of one.
TEST_F(WithEditor, AnEditLandsInThePresetItWasMeantForWhenTheProgramChangesMidway) {
  constexpr int kA = 0, kB = 5; // "Hyper flanger" and "Detected" differ in notes and switches
  synth->SetProgram(kB);        // applied once, a preset's values are what applying it stores
  synth->SetProgram(kA);
  const auto a = Values(synth->Bank()[kA]);
  const auto b = Values(synth->Bank()[kB]);
  bool switched = false;
  auto switchToBAt = [&](int32_t at) {
    switched = false;
    log.onParameter = [&, at](int32_t index) {
      if (index == at && !switched) {
        switched = true;
        synth->SetProgram(kB);
      }
    };
  };
  switchToBAt(50);
  synth->SetProgram(kA); // applying A
  ASSERT_TRUE(switched);
  EXPECT_EQ(Values(synth->Bank()[kA]), a);
  EXPECT_EQ(Values(synth->Bank()[kB]), b);

  synth->SetProgram(kA);
  switchToBAt(StepNoteIndex(0, 9));
  synth->FillRandomSeq(); // filling A
  ASSERT_TRUE(switched);
  EXPECT_EQ(Values(synth->Bank()[kB]), b);
}

TEST_F(WithEditor, TheEditorIsDestroyedWhileTheEngineIsWhole) {
  bool whole = false;
  log.onDestroy = [&](AudioEffect* effect) {
    whole = dynamic_cast<TSynth*>(effect) != nullptr;
    effect->SetParameter(kDepth, 0.3f); // a control letting go as it closes
  };
  synth.reset();
  EXPECT_TRUE(whole);
}

// Preset 3 as a bank file from elsewhere may hold it: finite values far out of
// range, a root note byte above 127, a range of a billion octaves.
TEST_F(SynthTest, HugeValuesFromABankComeBackIntoRangeWhenApplied) {
  kest::TMemoryStream saved;
  synth->Bank().SaveToStream(saved);
  auto bytes = saved.Bytes();
  std::size_t at = 13;
  for (int p = 0; p < 3; ++p)
    at += 1 + bytes[at] + 142;
  const std::size_t values = at + 1 + bytes[at];
  const double huge = 1e300, hugeNegative = -1e300;
  const int32_t billion = 1000000000;
  std::memcpy(&bytes[values], &huge, 8);             // Level
  std::memcpy(&bytes[values + 8], &hugeNegative, 8); // Depth
  bytes[values + 32 + (kRandomRootNote - 4)] = 200;
  std::memcpy(&bytes[values + 32 + (kRandomRange - 4)], &billion, 4);
  kest::TMemoryStream stream(bytes.data(), bytes.size());
  synth->Bank().LoadFromStream(stream, "elsewhere.kst");

  std::vector<double> notes;
  for (int c = 0; c < kNumChannels; ++c) {
    for (int k = 0; k < kNumSteps; ++k)
      notes.push_back(synth->Bank()[3][StepNoteIndex(c, k)].Value());
  }
  for (int round = 0; round < 2; ++round) {
    synth->SetProgram(3); // as a host changes programs: no updating bracket
    EXPECT_EQ(synth->GetParameter(kLevel), 1.0f);
    EXPECT_EQ(synth->GetParameter(kDepth), 0.0f);
    char text[64];
    synth->GetParameterDisplay(kLevel, text);
    EXPECT_STREQ(text, "6.0");
    EXPECT_FLOAT_EQ(synth->Level(), static_cast<float>(0.25 * std::exp(6.0 * 0.115129254)));
    EXPECT_EQ(synth->Depth(), 0.0f);
    EXPECT_EQ(synth->RndNote(), 127);
    EXPECT_EQ(synth->RndRange(), 9);
    for (std::size_t i = 0; i < notes.size(); ++i)
      EXPECT_EQ(synth->StepFreq(static_cast<int>(i) / 16, static_cast<int>(i) % 16),
                TSynth::NoteFreq(RoundEven(notes[i])))
          << "rows transposed";
    synth->SetProgram(0);
  }
}

TEST_F(SynthTest, ZeroAndNullBlocksAreHarmless) {
  float l[4] = {1, 1, 1, 1};
  float* outs[2] = {l, l};
  synth->ProcessReplacing(nullptr, outs, 4); // no inputs: silence in
  synth->ProcessReplacing(outs, outs, 0);
  synth->ProcessReplacing(outs, nullptr, 4);
  synth->ProcessReplacing(outs, outs, -5);
  float* nullOuts[2] = {nullptr, nullptr};
  synth->ProcessReplacing(outs, nullOuts, 4);
  SUCCEED();
}

} // namespace
