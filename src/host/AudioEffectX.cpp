#include "AudioEffectX.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "HostText.h"

namespace {
intptr_t Bool(bool b) {
  return b ? 1 : 0;
}
} // namespace

intptr_t AudioEffectX::Dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt) {
  const auto v32 = static_cast<int32_t>(value);
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
  case effProcessEvents:
    return ProcessEvents(static_cast<VstEvents*>(ptr));
  case effCanBeAutomated:
    return Bool(CanParameterBeAutomated(index));
  case effString2Parameter:
    return Bool(String2parameter(index, text));
  case effGetNumProgramCategories:
    return GetNumCategories();
  case effGetProgramNameIndexed:
    return Bool(GetProgramNameIndexed(v32, index, text));
  case effCopyProgram:
    return Bool(copyProgram(index));
  case effConnectInput:
    InputConnected(index, value != 0);
    return 1;
  case effConnectOutput:
    OutputConnected(index, value != 0);
    return 1;
  case effGetInputProperties:
    return Bool(GetInputProperties(index, static_cast<VstPinProperties*>(ptr)));
  case effGetOutputProperties:
    return Bool(GetOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
  case effGetPlugCategory:
    return GetPlugCategory();
  case effGetCurrentPosition:
    return ReportCurrentPosition();
  case effGetDestinationBuffer:
    return reinterpret_cast<intptr_t>(ReportDestinationBuffer());
  case effOfflineNotify:
    return Bool(OfflineNotify(ptr, v32, index != 0));
  case effOfflinePrepare:
    return Bool(OfflinePrepare(ptr, v32));
  case effOfflineRun:
    return Bool(OfflineRun(ptr, v32));
  case effProcessVarIo:
    return Bool(ProcessVariableIO(ptr));
  case effSetSpeakerArrangement:
    return Bool(SetSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                      static_cast<VstSpeakerArrangement*>(ptr)));
  case effSetBlockSizeAndSampleRate:
    SetBlockSizeAndSampleRate(v32, opt);
    return 1;
  case effSetBypass:
    return Bool(SetBypass(value != 0));
  case effGetEffectName:
    return Bool(GetEffectName(text));
  case effGetErrorText:
    return Bool(GetErrorText(text));
  case effGetVendorString:
    return Bool(GetVendorString(text));
  case effGetProductString:
    return Bool(GetProductString(text));
  case effGetVendorVersion:
    return GetVendorVersion();
  case effVendorSpecific:
    return VendorSpecific(index, value, ptr, opt);
  case effCanDo:
    return CanDo(text);
  case effGetTailSize:
    return GetTailSize();
  case effIdle:
    return FxIdle();
  case effGetIcon:
    return reinterpret_cast<intptr_t>(GetIcon());
  case effSetViewPosition:
    return Bool(SetViewPosition(index, v32));
  case effGetParameterProperties:
    return Bool(GetParameterProperties(index, ptr));
  case effKeysRequired:
    return KeysRequired() ? 0 : 1;
  case effGetVstVersion:
    return GetVstVersion();
  case effEditKeyDown:
  case effEditKeyUp: {
    if (Editor() == nullptr) return 0;
    VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<unsigned char>(value & 0xFF);
    const double m = std::isfinite(opt) ? std::nearbyint(static_cast<double>(opt)) : 0.0;
    key.modifier = static_cast<unsigned char>(static_cast<int64_t>(std::fmod(m, 256.0)) & 0xFF);
    return Bool(opcode == effEditKeyDown ? Editor()->OnKeyDown(key) : Editor()->OnKeyUp(key));
  }
  case effSetEditKnobMode:
    return Editor() != nullptr ? Bool(Editor()->SetKnobMode(v32)) : 0;
  case effGetMidiProgramName:
    return GetMidiProgramName(index, ptr);
  case effGetCurrentMidiProgram:
    return GetCurrentMidiProgram(index, ptr);
  case effGetMidiProgramCategory:
    return GetMidiProgramCategory(index, ptr);
  case effHasMidiProgramsChanged:
    return Bool(HasMidiProgramsChanged(index));
  case effGetMidiKeyName:
    return Bool(GetMidiKeyName(index, ptr));
  case effBeginSetProgram:
    return Bool(BeginSetProgram());
  case effEndSetProgram:
    return Bool(EndSetProgram());
  case effGetSpeakerArrangement:
    return Bool(GetSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                      static_cast<VstSpeakerArrangement**>(ptr)));
  case effShellGetNextPlugin:
    return GetNextShellPlugin(text);
  case effStartProcess:
    return StartProcess();
  case effStopProcess:
    return StopProcess();
  case effSetTotalSampleToProcess:
    return SetTotalSampleToProcess(v32);
  case effSetPanLaw:
    return Bool(SetPanLaw(v32, opt));
  case effBeginLoadBank:
    return BeginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
  case effBeginLoadProgram:
    return BeginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
  case effSetProcessPrecision:
    return Bool(SetProcessPrecision(v32));
  case effGetNumMidiInputChannels:
    return GetNumMidiInputChannels();
  case effGetNumMidiOutputChannels:
    return GetNumMidiOutputChannels();
  default:
    return AudioEffect::Dispatcher(opcode, index, value, ptr, opt);
  }
}

void AudioEffectX::Resume() {
  AudioEffect::Resume();
  static char kMidi[] = "receiveVstMidiEvent";
  if ((FEffect.flags & effFlagsIsSynth) != 0 || CanDo(kMidi) == 1) WantEvents(1);
}

bool AudioEffectX::GetSpeakerArrangement(VstSpeakerArrangement** PluginInput,
                                         VstSpeakerArrangement** PluginOutput) {
  if (PluginInput != nullptr) *PluginInput = nullptr;
  if (PluginOutput != nullptr) *PluginOutput = nullptr;
  return false;
}

bool AudioEffectX::GetProductString(char* Text) {
  kest::CopyHostText(Text, "", 1);
  return false;
}

int32_t AudioEffectX::GetNextShellPlugin(char* Name) {
  kest::CopyHostText(Name, "", 1);
  return 0;
}

int32_t AudioEffectX::GetPlugCategory() {
  return (FEffect.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

bool AudioEffectX::AllocateArrangement(VstSpeakerArrangement** Arrangement, int32_t nbChannels) {
  if (Arrangement == nullptr || nbChannels < 0) return false;
  DeallocateArrangement(Arrangement);
  const std::size_t size = 8 + 112 * static_cast<std::size_t>(nbChannels);
  void* block = std::calloc(1, size);
  if (block == nullptr) return false;
  *Arrangement = static_cast<VstSpeakerArrangement*>(block);
  (*Arrangement)->numChannels = nbChannels;
  return true;
}

bool AudioEffectX::DeallocateArrangement(VstSpeakerArrangement** Arrangement) {
  if (Arrangement != nullptr && *Arrangement != nullptr) {
    std::free(*Arrangement);
    *Arrangement = nullptr;
  }
  return true;
}

bool AudioEffectX::CopySpeaker(VstSpeakerProperties* Dest, VstSpeakerProperties* Source) {
  if (Dest == nullptr || Source == nullptr) return false;
  Dest->azimuth = Source->azimuth;
  Dest->elevation = Source->elevation;
  Dest->radius = Source->radius;
  Dest->reserved = Source->reserved;
  kest::CopyHostText(Dest->name, std::string_view(Source->name, strnlen(Source->name, 63)), 64);
  Dest->type = Source->type;
  std::memcpy(Dest->future, Source->future, sizeof Dest->future);
  return true;
}

bool AudioEffectX::MatchArrangement(VstSpeakerArrangement** Dest, VstSpeakerArrangement* Source) {
  if (Source == nullptr || Dest == nullptr) return false;
  DeallocateArrangement(Dest);
  if (!AllocateArrangement(Dest, Source->numChannels)) return false;
  (*Dest)->type = Source->type;
  for (int32_t i = 0; i < Source->numChannels; ++i) {
    if (!CopySpeaker(&(*Dest)->speakers[i], &Source->speakers[i])) return false;
  }
  return true;
}

// Host-callback wrappers; each answers its default when there is no callback.

bool AudioEffectX::BeginEdit(int32_t Index) {
  return CallHost(audioMasterBeginEdit, Index) != 0;
}
bool AudioEffectX::EndEdit(int32_t Index) {
  return CallHost(audioMasterEndEdit, Index) != 0;
}
bool AudioEffectX::IOChanged() {
  return CallHost(audioMasterIOChanged) != 0;
}

double AudioEffectX::UpdateSampleRate() {
  const intptr_t answer = CallHost(audioMasterGetSampleRate);
  if (answer > 0) FSampleRate = static_cast<float>(answer);
  return FSampleRate;
}

int32_t AudioEffectX::UpdateBlockSize() {
  const intptr_t answer = CallHost(audioMasterGetBlockSize);
  if (answer > 0) FBlockSize = static_cast<int32_t>(answer);
  return FBlockSize;
}

int32_t AudioEffectX::GetInputLatency() {
  return static_cast<int32_t>(CallHost(audioMasterGetInputLatency));
}
int32_t AudioEffectX::GetOutputLatency() {
  return static_cast<int32_t>(CallHost(audioMasterGetOutputLatency));
}

VstTimeInfo* AudioEffectX::GetTimeInfo(int32_t Filter) {
  return reinterpret_cast<VstTimeInfo*>(CallHost(audioMasterGetTime, 0, Filter));
}

int32_t AudioEffectX::GetCurrentProcessLevel() {
  return static_cast<int32_t>(CallHost(audioMasterGetCurrentProcessLevel));
}

bool AudioEffectX::SendVstEventsToHost(VstEvents* Events) {
  return CallHost(audioMasterProcessEvents, 0, 0, Events) == 1;
}

bool AudioEffectX::GetHostVendorString(char* Text) {
  return CallHost(audioMasterGetVendorString, 0, 0, Text) != 0;
}
bool AudioEffectX::GetHostProductString(char* Text) {
  return CallHost(audioMasterGetProductString, 0, 0, Text) != 0;
}
int32_t AudioEffectX::GetHostVendorVersion() {
  return static_cast<int32_t>(CallHost(audioMasterGetVendorVersion));
}
intptr_t AudioEffectX::HostVendorSpecific(int32_t Arg1, intptr_t Arg2, void* PtrArg,
                                          float FloatArg) {
  return CallHost(audioMasterVendorSpecific, Arg1, Arg2, PtrArg, FloatArg);
}
int32_t AudioEffectX::CanHostDo(char* Text) {
  return static_cast<int32_t>(CallHost(audioMasterCanDo, 0, 0, Text));
}
void* AudioEffectX::GetDirectory() {
  return reinterpret_cast<void*>(CallHost(audioMasterGetDirectory));
}
bool AudioEffectX::UpdateDisplay() {
  return CallHost(audioMasterUpdateDisplay) != 0;
}
bool AudioEffectX::SizeWindow(int32_t Width, int32_t Height) {
  return CallHost(audioMasterSizeWindow, Width, Height) != 0;
}
bool AudioEffectX::OpenFileSelector(void* ptr) {
  return ptr != nullptr && CallHost(audioMasterOpenFileSelector, 0, 0, ptr) != 0;
}
bool AudioEffectX::CloseFileSelector(void* ptr) {
  return ptr != nullptr && CallHost(audioMasterCloseFileSelector, 0, 0, ptr) != 0;
}
bool AudioEffectX::OfflineRead(void* Offline, int32_t Option, bool ReadSource) {
  return CallHost(audioMasterOfflineRead, ReadSource ? 1 : 0, Option, Offline) != 0;
}
bool AudioEffectX::OfflineWrite(void* Offline, int32_t Option) {
  return CallHost(audioMasterOfflineWrite, 0, Option, Offline) != 0;
}
bool AudioEffectX::OfflineStart(void* AudioFiles, int32_t NumAudioFiles, int32_t NumNewAudioFiles) {
  return CallHost(audioMasterOfflineStart, NumNewAudioFiles, NumAudioFiles, AudioFiles) != 0;
}
int32_t AudioEffectX::OfflineGetCurrentPass() {
  return static_cast<int32_t>(CallHost(audioMasterOfflineGetCurrentPass));
}
int32_t AudioEffectX::OfflineGetCurrentMetaPass() {
  return static_cast<int32_t>(CallHost(audioMasterOfflineGetCurrentMetaPass));
}
void AudioEffectX::WantEvents(int32_t Filter) {
  CallHost(audioMasterWantMidi, 0, Filter);
}
int32_t AudioEffectX::TempoAt(int32_t Pos) {
  return static_cast<int32_t>(CallHost(audioMasterTempoAt, 0, Pos));
}
int32_t AudioEffectX::GetNumAutomatableParameters() {
  return static_cast<int32_t>(CallHost(audioMasterGetNumAutomatableParameters));
}
int32_t AudioEffectX::GetParameterQuantization() {
  return static_cast<int32_t>(CallHost(audioMasterGetParameterQuantization));
}
bool AudioEffectX::NeedIdle() {
  return CallHost(audioMasterNeedIdle) != 0;
}
AEffect* AudioEffectX::GetPreviousPlug(int32_t) {
  return reinterpret_cast<AEffect*>(CallHost(audioMasterGetPreviousPlug));
}
AEffect* AudioEffectX::GetNextPlug(int32_t) {
  return reinterpret_cast<AEffect*>(CallHost(audioMasterGetNextPlug));
}
int32_t AudioEffectX::WillProcessReplacing() {
  return static_cast<int32_t>(CallHost(audioMasterWillReplaceOrAccumulate));
}
void AudioEffectX::SetOutputSamplerate(float SampleRate) {
  CallHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, SampleRate);
}
VstSpeakerArrangement* AudioEffectX::GetInputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(CallHost(audioMasterGetInputSpeakerArrangement));
}
VstSpeakerArrangement* AudioEffectX::GetOutputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(CallHost(audioMasterGetOutputSpeakerArrangement));
}
void* AudioEffectX::OpenWindow(void* Window) {
  return reinterpret_cast<void*>(CallHost(audioMasterOpenWindow, 0, 0, Window));
}
bool AudioEffectX::CloseWindow(void* Window) {
  return CallHost(audioMasterCloseWindow, 0, 0, Window) != 0;
}
bool AudioEffectX::GetChunkFile(void* NativePath) {
  return NativePath != nullptr && CallHost(audioMasterGetChunkFile, 0, 0, NativePath) != 0;
}
int32_t AudioEffectX::GetAutomationState() {
  return static_cast<int32_t>(CallHost(audioMasterGetAutomationState));
}
int32_t AudioEffectX::GetHostLanguage() {
  return static_cast<int32_t>(CallHost(audioMasterGetLanguage));
}
