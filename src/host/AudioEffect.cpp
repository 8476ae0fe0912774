#include "AudioEffect.h"

#include <cmath>

#include "HostText.h"

namespace {

// The six functions a host calls through the record; each finds the object
// through the record's object field. Nothing thrown inside may reach the host
// (it would unwind through code that knows nothing of it): each catches
// everything and answers 0, or silence for processing.

template <typename Sample> void Silence(AEffect* e, Sample** outputs, int32_t frames) {
  if (outputs == nullptr || frames <= 0) return;
  for (int32_t c = 0; c < e->numOutputs; ++c) {
    if (outputs[c] == nullptr) continue;
    for (int32_t i = 0; i < frames; ++i)
      outputs[c][i] = 0;
  }
}

intptr_t VSTCALLBACK DispatcherEntry(AEffect* e, int32_t opcode, int32_t index, intptr_t value,
                                     void* ptr, float opt) {
  AudioEffect* effect = AudioEffect::FromEffect(e);
  if (effect == nullptr) return 0;
  if (opcode == effClose) {
    try {
      effect->Dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
    }
    delete effect;
    return 1;
  }
  try {
    return effect->Dispatcher(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}

void VSTCALLBACK ProcessEntry(AEffect* e, float** inputs, float** outputs, int32_t frames) {
  try {
    if (AudioEffect* effect = AudioEffect::FromEffect(e)) effect->Process(inputs, outputs, frames);
  } catch (...) {
    Silence(e, outputs, frames);
  }
}

void VSTCALLBACK ProcessReplacingEntry(AEffect* e, float** inputs, float** outputs,
                                       int32_t frames) {
  try {
    if (AudioEffect* effect = AudioEffect::FromEffect(e))
      effect->ProcessReplacing(inputs, outputs, frames);
  } catch (...) {
    Silence(e, outputs, frames);
  }
}

void VSTCALLBACK ProcessDoubleReplacingEntry(AEffect* e, double** inputs, double** outputs,
                                             int32_t frames) {
  try {
    if (AudioEffect* effect = AudioEffect::FromEffect(e))
      effect->ProcessDoubleReplacing(inputs, outputs, frames);
  } catch (...) {
    Silence(e, outputs, frames);
  }
}

void VSTCALLBACK SetParameterEntry(AEffect* e, int32_t index, float value) {
  try {
    if (AudioEffect* effect = AudioEffect::FromEffect(e)) effect->SetParameter(index, value);
  } catch (...) {
  }
}

float VSTCALLBACK GetParameterEntry(AEffect* e, int32_t index) {
  try {
    AudioEffect* effect = AudioEffect::FromEffect(e);
    return effect != nullptr ? effect->GetParameter(index) : 0.0f;
  } catch (...) {
    return 0.0f;
  }
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback anAudioMaster, int32_t aNumPrograms,
                         int32_t aNumParams)
    : FAudioMaster(anAudioMaster), NumPrograms(aNumPrograms), NumParams(aNumParams) {
  FEffect.magic = kEffectMagic;
  FEffect.dispatcher = DispatcherEntry;
  FEffect.process = ProcessEntry;
  FEffect.setParameter = SetParameterEntry;
  FEffect.getParameter = GetParameterEntry;
  FEffect.processReplacing = ProcessReplacingEntry;
  FEffect.processDoubleReplacing = ProcessDoubleReplacingEntry;
  FEffect.numPrograms = NumPrograms;
  FEffect.numParams = NumParams;
  FEffect.numInputs = 1;
  FEffect.numOutputs = 2;
  FEffect.flags = effFlagsCanReplacing;
  FEffect.ioRatio = 1.0f;
  FEffect.object = this;
  FEffect.user = nullptr;
  FEffect.uniqueID = VstFourCC('N', 'o', 'E', 'f');
  FEffect.version = 1;
}

AudioEffect::~AudioEffect() {
  FEditor.reset();
}

void AudioEffect::SetEditor(std::unique_ptr<AEffEditor> anEditor) {
  FEditor = std::move(anEditor);
  SetFlag(effFlagsHasEditor, FEditor != nullptr);
}

intptr_t AudioEffect::CallHost(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                               float opt) {
  if (FAudioMaster == nullptr) return 0;
  return FAudioMaster(&FEffect, opcode, index, value, ptr, opt);
}

intptr_t AudioEffect::Dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                 float opt) {
  switch (opcode) {
  case effOpen:
    Open();
    return 0;
  case effClose:
    Close();
    return 0;
  case effSetProgram:
    if (static_cast<int64_t>(value) < NumPrograms) SetProgram(static_cast<int32_t>(value));
    return 0;
  case effGetProgram:
    return GetProgram();
  case effSetProgramName:
    if (ptr != nullptr) SetProgramName(static_cast<char*>(ptr));
    return 0;
  case effGetProgramName:
    if (ptr != nullptr) GetProgramName(static_cast<char*>(ptr));
    return 0;
  case effGetParamLabel:
    if (ptr != nullptr) GetParameterLabel(index, static_cast<char*>(ptr));
    return 0;
  case effGetParamDisplay:
    if (ptr != nullptr) GetParameterDisplay(index, static_cast<char*>(ptr));
    return 0;
  case effGetParamName:
    if (ptr != nullptr) GetParameterName(index, static_cast<char*>(ptr));
    return 0;
  case effGetVu:
    return static_cast<intptr_t>(std::lrint(static_cast<double>(GetVu()) * 32767.0));
  case effSetSampleRate:
    SetSampleRate(opt);
    return 0;
  case effSetBlockSize:
    SetBlockSize(static_cast<int32_t>(value));
    return 0;
  case effMainsChanged:
    if (value != 0)
      Resume();
    else
      Suspend();
    return 0;
  case effEditGetRect:
    if (FEditor != nullptr && ptr != nullptr) {
      ERect* rect = nullptr;
      const int32_t answer = FEditor->GetRect(&rect);
      *static_cast<ERect**>(ptr) = rect;
      return answer;
    }
    return 0;
  case effEditOpen:
    return FEditor != nullptr ? FEditor->Open(ptr) : 0;
  case effEditClose:
    if (FEditor != nullptr) FEditor->Close();
    return 0;
  case effEditIdle:
    if (FEditor != nullptr) FEditor->Idle();
    return 0;
  case effIdentify:
    return VstFourCC('N', 'v', 'E', 'f');
  case effGetChunk:
    return ptr != nullptr ? GetChunk(static_cast<void**>(ptr), index != 0) : 0;
  case effSetChunk:
    return SetChunk(ptr, static_cast<int32_t>(value), index != 0);
  default:
    return 0;
  }
}

void AudioEffect::SetParameterAutomated(int32_t Index, float Value) {
  SetParameter(Index, Value);
  CallHost(audioMasterAutomate, Index, 0, nullptr, Value);
}

void AudioEffect::GetProgramName(char* Name) {
  kest::CopyHostText(Name, "", 1);
}
void AudioEffect::GetParameterLabel(int32_t, char* aLabel) {
  kest::CopyHostText(aLabel, "", 1);
}
void AudioEffect::GetParameterDisplay(int32_t, char* Text) {
  kest::CopyHostText(Text, "", 1);
}
void AudioEffect::GetParameterName(int32_t, char* Text) {
  kest::CopyHostText(Text, "", 1);
}

int32_t AudioEffect::GetMasterVersion() {
  if (FAudioMaster == nullptr) return 1;
  const auto v = static_cast<int32_t>(CallHost(audioMasterVersion));
  return v == 0 ? 1 : v;
}

int32_t AudioEffect::GetCurrentUniqueId() {
  return static_cast<int32_t>(CallHost(audioMasterCurrentId));
}

void AudioEffect::MasterIdle() {
  CallHost(audioMasterIdle);
}

bool AudioEffect::IsInputConnected(int32_t Input) {
  if (FAudioMaster == nullptr) return true;
  return CallHost(audioMasterPinConnected, Input, 0) == 0;
}

bool AudioEffect::IsOutputConnected(int32_t Output) {
  if (FAudioMaster == nullptr) return true;
  return CallHost(audioMasterPinConnected, Output, 1) == 0;
}
