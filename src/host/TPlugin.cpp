#include "TPlugin.h"

#include <cmath>
#include <cstring>
#include <thread>

#include "HostText.h"
#include "KestRandom.h"
#include "TextCodec.h"
#include "ThreadTag.h"
#include "uKestUtils.h"

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#define KEST_HAVE_MXCSR 1
#endif

namespace {

std::atomic<TPlugin::EditorFactory> gEditorFactory{nullptr};

// Flush-to-zero and denormals-are-zero for one processing call, so long
// decays never fall into slow subnormal arithmetic. Many hosts run their
// audio threads so already; the mode is then left alone, as writing it twice
// a call costs about as much as a few frames of sound.
class DenormalGuard {
public:
  DenormalGuard() {
#if KEST_HAVE_MXCSR
    fSaved = _mm_getcsr();
    fChanged = (fSaved & kFlushBits) != kFlushBits;
    if (fChanged) _mm_setcsr(fSaved | kFlushBits);
#endif
  }
  ~DenormalGuard() {
#if KEST_HAVE_MXCSR
    if (fChanged) _mm_setcsr(fSaved);
#endif
  }
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
  static constexpr unsigned kFlushBits = 0x8040u; // FTZ, DAZ
  unsigned fSaved = 0;
  bool fChanged = false;
};

// Preset names are Windows-1252 in the bank; hosts on Linux speak UTF-8, on
// Windows the system's 8-bit code page.
std::string NameToHost(const std::string& name) {
#if defined(_WIN32)
  return name;
#else
  return kest::Cp1252ToUtf8(name);
#endif
}

std::string NameFromHost(const char* text) {
  const std::string raw(text, strnlen(text, 255));
#if defined(_WIN32)
  return raw;
#else
  return kest::Utf8ToCp1252(raw);
#endif
}

} // namespace

void TPlugin::SetEditorFactory(EditorFactory factory) {
  gEditorFactory.store(factory);
}

TPlugin::TPlugin(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kest::kNumParams) {
  kest::RandomizeFromClock();
  fBank = std::make_unique<TPresetList>();
  ClearPeaks();
  fSampleRate = 44100.0f;
  AutoRndLen = 0;
  fPreset = &fBank->Items(0);
  if (EditorFactory factory = gEditorFactory.load()) {
    std::unique_ptr<TPluginEditorBase> editor = factory(this);
    fEditorHost = editor.get();
    SetEditor(std::move(editor));
  }
  TPlugin::Suspend();
  HasVu(false);
  SetNumInputs(2);
  SetNumOutputs(2);
  CanMono(true);
  CanProcessReplacing(true);
  IsSynth(false);
  SetUniqueID(kest::FourCharCode(kest::PluginIdChars[0], kest::PluginIdChars[1],
                                 kest::PluginIdChars[2], kest::PluginIdChars[3]));
}

TPlugin::~TPlugin() {
  ReleaseEditor();
  fPresetCopy.reset();
  fBank.reset();
}

void TPlugin::ReleaseEditor() {
  // No longer reachable before it goes: it may still talk to the plug-in
  // while it closes.
  fEditorHost = nullptr;
  SetEditor(nullptr);
}

void TPlugin::ClearPeaks() {
  for (auto& p : Peaks)
    p.store(0.0f, std::memory_order_relaxed);
}

// ---- Activity and sample rate ----

void TPlugin::Resume() {
  WantEvents(1);
  fActive = true;
}

void TPlugin::Suspend() {
  fActive = false;
  ClearPeaks();
  fStep = 0;
  fBar = 0;
}

// Claims this instance's processing state for one block, and always hands it
// back, also when something inside the block throws.
class TPlugin::BlockClaim {
public:
  explicit BlockClaim(TPlugin& plugin) : fPlugin(plugin) {
    int expected = kIdle;
    fClaimed = !plugin.fRebuildWaiting.load(std::memory_order_relaxed) &&
               plugin.fProcessState.compare_exchange_strong(expected, kProcessing,
                                                            std::memory_order_acquire);
    if (fClaimed) plugin.fProcessThread.store(kest::CurrentThreadTag(), std::memory_order_relaxed);
  }
  ~BlockClaim() {
    if (!fClaimed) return;
    fPlugin.fProcessThread.store(0, std::memory_order_relaxed);
    fPlugin.fProcessState.store(kIdle, std::memory_order_release);
  }
  BlockClaim(const BlockClaim&) = delete;
  BlockClaim& operator=(const BlockClaim&) = delete;
  bool Claimed() const { return fClaimed; }

private:
  TPlugin& fPlugin;
  bool fClaimed;
};

// Keeps the audio thread out of this instance while the lines are rebuilt:
// waits for a running block to end (unless the caller is inside that very
// block, a host calling back from processing) and lets blocks in again when
// it goes, also when the rebuild throws.
class TPlugin::RebuildHold {
public:
  explicit RebuildHold(TPlugin& plugin) : fPlugin(plugin) {
    fInsideBlock =
        plugin.fProcessState.load(std::memory_order_acquire) == kProcessing &&
        plugin.fProcessThread.load(std::memory_order_relaxed) == kest::CurrentThreadTag();
    if (fInsideBlock) return;
    plugin.fRebuildWaiting.store(true);
    int expected = kIdle;
    while (!plugin.fProcessState.compare_exchange_weak(expected, kRebuilding,
                                                       std::memory_order_acquire)) {
      expected = kIdle;
      std::this_thread::yield();
    }
  }
  ~RebuildHold() {
    if (fInsideBlock) return;
    fPlugin.fProcessState.store(kIdle, std::memory_order_release);
    fPlugin.fRebuildWaiting.store(false);
  }
  RebuildHold(const RebuildHold&) = delete;
  RebuildHold& operator=(const RebuildHold&) = delete;

private:
  TPlugin& fPlugin;
  bool fInsideBlock;
};

void TPlugin::SetSampleRate(float newvalue) {
  if (!AcceptedRate(newvalue)) return;
  if (fSampleRate == newvalue) {
    FSampleRate = newvalue;
    return;
  }
  // Blocks arriving meanwhile are answered with silence. A rebuild that fails
  // (memory) leaves the previous rate and lines in place.
  RebuildHold hold(*this);
  const float previous = FSampleRate;
  FSampleRate = newvalue;
  try {
    RecalcSampleRate();
  } catch (...) {
    FSampleRate = previous;
    throw;
  }
  fSampleRate = newvalue;
}

// Both are stored as they come, with no rebuild, but an odd rate is ignored
// here as well: it would otherwise reach the glide and the tuning.
void TPlugin::SetBlockSizeAndSampleRate(int32_t aBlockSize, float aSampleRate) {
  FBlockSize = aBlockSize;
  if (AcceptedRate(aSampleRate)) FSampleRate = aSampleRate;
}

// ---- Processing ----

void TPlugin::ProcessReplacing(float** Inputs, float** Outputs, int32_t SampleFrames) {
  if (Outputs == nullptr || Outputs[0] == nullptr || Outputs[1] == nullptr || SampleFrames <= 0) {
    return;
  }
  BlockClaim claim(*this);
  if (!claim.Claimed()) {
    std::memset(Outputs[0], 0, sizeof(float) * static_cast<std::size_t>(SampleFrames));
    std::memset(Outputs[1], 0, sizeof(float) * static_cast<std::size_t>(SampleFrames));
    return;
  }
  DenormalGuard guard;
  UpdatePos();
  ProcessBlock(Inputs != nullptr ? Inputs[0] : nullptr, Inputs != nullptr ? Inputs[1] : nullptr,
               Outputs[0], Outputs[1], SampleFrames);
}

void TPlugin::ProcessFrames(const float* inL, const float* inR, float* outL, float* outR,
                            int32_t frames) {
  EachFrame(inL, inR, outL, outR, 0, frames, [this](TSample& s) { DoProcess(s); });
}

// The accumulating entry overwrites its outputs too.
void TPlugin::Process(float** Inputs, float** Outputs, int32_t SampleFrames) {
  ProcessReplacing(Inputs, Outputs, SampleFrames);
}

int32_t TPlugin::StepOfPosition(double ppqPos) {
  const double sixteenths = std::floor(ppqPos * 4.0);
  // Beyond about 4.5e307 quarters the product overflows; every position that
  // large is a whole number of bars, so its step is 0.
  if (!std::isfinite(sixteenths)) return 0;
  // The remainder by 16 as floor division gives it: exact for every whole
  // number a double holds, in 0 .. 15 for negative ones too, and without the
  // cost of fmod in every processing call.
  return static_cast<int32_t>(sixteenths - 16.0 * std::floor(sixteenths / 16.0));
}

void TPlugin::UpdatePos() {
  const VstTimeInfo* info = GetTimeInfo(kVstPpqPosValid);
  // Without time information, or with a position that is no number, the
  // last step stays.
  if (info != nullptr && std::isfinite(info->ppqPos)) SetCurrentStep(StepOfPosition(info->ppqPos));
  if (fEditorHost != nullptr) fEditorHost->PostStep(fStep.load(std::memory_order_relaxed));
}

void TPlugin::SetCurrentStep(int32_t step) {
  if (step == fStep.load(std::memory_order_relaxed) || !fActive.load(std::memory_order_relaxed)) {
    return;
  }
  fStep.store(step, std::memory_order_relaxed);
  const int32_t period = AutoRndLen.load(std::memory_order_relaxed);
  if (period != 0 && step == 0) {
    const int32_t bar = fBar.load(std::memory_order_relaxed) + 1;
    if (bar >= period) {
      fBar.store(0, std::memory_order_relaxed);
      FillRandomSeq();
    } else {
      fBar.store(bar, std::memory_order_relaxed);
    }
  }
}

// ---- Parameters ----

void TPlugin::SetParameter(int32_t Index, float Value) {
  ApplyParameter(Preset(), Index, Value);
}

void TPlugin::ApplyParameter(TParamList& preset, int32_t Index, float Value) {
  if (!ValidParam(Index) || !std::isfinite(Value)) return;
  if (Value > 1.0f) Value = 1.0f;
  if (Value < 0.0f) Value = 0.0f;
  preset[Index].SetVstValue(Value);
}

float TPlugin::GetParameter(int32_t Index) {
  return ValidParam(Index) ? Preset()[Index].GetVstValue() : 0.0f;
}

void TPlugin::GetParameterName(int32_t Index, char* Text) {
  kest::CopyHostText(Text, ValidParam(Index) ? Preset()[Index].Name() : "", kVstMaxNameStrLen);
}

void TPlugin::GetParameterLabel(int32_t Index, char* aLabel) {
  kest::CopyHostText(aLabel, ValidParam(Index) ? Preset()[Index].Caption() : "",
                     kVstMaxParamStrLen);
}

void TPlugin::GetParameterDisplay(int32_t Index, char* Text) {
  kest::CopyHostText(Text, ValidParam(Index) ? Preset()[Index].GetDisplay() : "",
                     kVstMaxNameStrLen);
}

void TPlugin::SetEditedParameter(int32_t Index, double Value) {
  if (!ValidParam(Index) || !std::isfinite(Value)) return;
  TParamList& preset = Preset();
  TParameter& p = preset[Index];
  p.SetValue(Value);
  // What SetParameterAutomated does, with the preset the edit was made in.
  const float normalised = p.GetVstValue();
  ApplyParameter(preset, Index, normalised);
  CallHost(audioMasterAutomate, Index, 0, nullptr, normalised);
}

// ---- Programs ----

void TPlugin::SetProgram(int32_t aProgram) {
  if (aProgram < 0 || aProgram >= kNumPrograms) return;
  CurProgram = aProgram;
  TParamList& preset = fBank->Items(aProgram);
  fPreset.store(&preset, std::memory_order_release);
  ApplyPreset(preset);
}

void TPlugin::SetProgramManual(int32_t aProgram) {
  fUpdating = true;
  try {
    SetProgram(aProgram);
  } catch (...) {
    fUpdating = false;
    throw;
  }
  fUpdating = false;
}

bool TPlugin::BeginSetProgram() {
  fUpdating = true;
  return true;
}

bool TPlugin::EndSetProgram() {
  fUpdating = false;
  return true;
}

void TPlugin::ApplyPreset(TParamList& preset) {
  for (int32_t i = 0; i < kest::kNumParams; ++i)
    ApplyParameter(preset, i, preset[i].GetVstValue());
  ShowPresetName(preset);
}

void TPlugin::ShowPresetName(const TParamList& preset) {
  if (fEditorHost != nullptr) fEditorHost->SetPresetName(kest::Cp1252ToUtf16(preset.Preset()));
}

void TPlugin::GetProgramName(char* Name) {
  kest::CopyHostText(Name, NameToHost(Preset().Preset()), kVstMaxProgNameLen);
}

void TPlugin::SetProgramName(char* Name) {
  if (Name == nullptr) return;
  TParamList& preset = Preset();
  std::string name = NameFromHost(Name);
  const std::u16string shown = kest::Cp1252ToUtf16(name);
  preset.SetPreset(std::move(name));
  if (fEditorHost != nullptr) fEditorHost->SetPresetName(shown);
}

bool TPlugin::GetProgramNameIndexed(int32_t /*Category*/, int32_t Index, char* Text) {
  if (Index < 0 || Index >= kNumPrograms || Text == nullptr) return false;
  kest::CopyHostText(Text, NameToHost(fBank->Items(Index).Preset()), kVstMaxProgNameLen);
  return true;
}

// ---- Preset clipboard ----

void TPlugin::CopyPreset() {
  fPresetCopy = Preset().Clone();
}

void TPlugin::PastePreset() {
  if (!CanPastePreset()) return;
  TParamList& preset = Preset();
  preset.CopyFrom(*fPresetCopy);
  ApplyPreset(preset);
}

// ---- Texts and capabilities ----

float TPlugin::GetVu() {
  return VU.exchange(0.0f);
}

bool TPlugin::GetOutputProperties(int32_t Index, VstPinProperties* Properties) {
  if (Index < 0 || Index >= 2 || Properties == nullptr) return false;
  const std::string label = std::string(kest::PluginIdChars, 4) + " " + std::to_string(Index + 1);
  kest::CopyHostText(Properties->label, label, kVstMaxLabelLen);
  Properties->flags = kVstPinIsActive | kVstPinIsStereo;
  return true;
}

bool TPlugin::GetEffectName(char* Name) {
  kest::CopyHostText(Name, kest::EffectNameText, kVstMaxEffectNameLen);
  return true;
}

bool TPlugin::GetVendorString(char* Text) {
  kest::CopyHostText(Text, kest::VendorText, kVstMaxVendorStrLen);
  return true;
}

bool TPlugin::GetProductString(char* Text) {
  kest::CopyHostText(Text, kest::ProductText, kVstMaxProductStrLen);
  return true;
}

int32_t TPlugin::CanDo(char* Text) {
  if (Text == nullptr) return -1;
  const std::string_view t(Text, strnlen(Text, 256));
  return (t == "receiveVstEvents" || t == "receiveVstMidiEvent") ? 1 : -1;
}
