#include "VstHost.h"

#include <cstring>
#include <stdexcept>

namespace kest::host {

namespace {
// The host being asked while an entry point runs: the plug-in may call back
// before the host has stored itself in the record's user field.
thread_local VstHost* tOpening = nullptr;
} // namespace

VstHost::VstHost() = default;

VstHost::~VstHost() {
  Close();
}

AEffect* VstHost::Open(VstPluginMainProc entry, intptr_t hostVersion) {
  Close();
  fVersion = hostVersion;
  tOpening = this;
  AEffect* effect = entry != nullptr ? entry(&VstHost::Callback) : nullptr;
  tOpening = nullptr;
  if (effect == nullptr) return nullptr;
  if (effect->magic != kEffectMagic)
    throw std::runtime_error("the entry point answered a record without the VstP magic");
  effect->user = this;
  fEffect = effect;
  Dispatch(effOpen);
  return fEffect;
}

void VstHost::Close() {
  if (fEffect == nullptr) return;
  fEffect->dispatcher(fEffect, effClose, 0, 0, nullptr, 0.0f);
  fEffect = nullptr;
}

intptr_t VstHost::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  if (fEffect == nullptr) return 0;
  return fEffect->dispatcher(fEffect, opcode, index, value, ptr, opt);
}

void VstHost::SetSampleRate(float rate) {
  fSampleRate = rate;
  Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
}

void VstHost::SetBlockSize(int32_t frames) {
  fBlockSize = frames;
  Dispatch(effSetBlockSize, 0, frames);
}

std::string VstHost::ReadText(int32_t opcode, int32_t index, std::size_t hostLimit) {
  // A large buffer filled with a marker: the plug-in must stay within the
  // size hosts are relied on to provide and terminate its text there.
  char buffer[512];
  std::memset(buffer, fStrictTexts ? 0x7F : 0, sizeof buffer);
  if (opcode == effGetProgramNameIndexed) {
    Dispatch(opcode, index, -1, buffer);
  } else {
    Dispatch(opcode, index, 0, buffer);
  }
  buffer[sizeof buffer - 1] = '\0';
  if (!fStrictTexts) return std::string(buffer, strnlen(buffer, hostLimit));
  for (std::size_t i = hostLimit; i < sizeof buffer - 1; ++i) {
    if (buffer[i] != 0x7F) throw std::runtime_error("plug-in wrote past the host's text buffer");
  }
  const void* zero = std::memchr(buffer, 0, hostLimit);
  if (zero == nullptr)
    throw std::runtime_error("plug-in text is not terminated within the host's buffer");
  return std::string(buffer, static_cast<const char*>(zero) - buffer);
}

std::string VstHost::ProgramName() {
  return ReadText(effGetProgramName, 0, kVstMaxProgNameLen);
}
std::string VstHost::ProgramNameIndexed(int32_t index) {
  return ReadText(effGetProgramNameIndexed, index, kVstMaxProgNameLen);
}
std::string VstHost::ParamName(int32_t index) {
  return ReadText(effGetParamName, index, kVstMaxNameStrLen);
}
std::string VstHost::ParamLabel(int32_t index) {
  return ReadText(effGetParamLabel, index, kVstMaxParamStrLen);
}
std::string VstHost::ParamDisplay(int32_t index) {
  return ReadText(effGetParamDisplay, index, kVstMaxNameStrLen);
}
std::string VstHost::EffectName() {
  return ReadText(effGetEffectName, 0, kVstMaxEffectNameLen);
}
std::string VstHost::VendorString() {
  return ReadText(effGetVendorString, 0, kVstMaxVendorStrLen);
}
std::string VstHost::ProductString() {
  return ReadText(effGetProductString, 0, kVstMaxProductStrLen);
}

void VstHost::SetParameter(int32_t index, float value) {
  if (fEffect != nullptr) fEffect->setParameter(fEffect, index, value);
}

float VstHost::GetParameter(int32_t index) {
  return fEffect != nullptr ? fEffect->getParameter(fEffect, index) : 0.0f;
}

void VstHost::Process(const float* inL, const float* inR, float* outL, float* outR,
                      int32_t frames) {
  if (fEffect != nullptr) RunBlock(fEffect->processReplacing, inL, inR, outL, outR, frames);
}

void VstHost::ProcessAccumulating(const float* inL, const float* inR, float* outL, float* outR,
                                  int32_t frames) {
  if (fEffect != nullptr) RunBlock(fEffect->process, inL, inR, outL, outR, frames);
}

void VstHost::RunBlock(AEffectProcessProc entry, const float* inL, const float* inR, float* outL,
                       float* outR, int32_t frames) {
  float* inputs[2] = {const_cast<float*>(inL), const_cast<float*>(inR)};
  float* outputs[2] = {outL, outR};
  entry(fEffect, inputs, outputs, frames);
  Advance(frames);
}

void VstHost::Advance(int32_t frames) {
  if (!fTransport.playing || frames <= 0) return;
  fTransport.samplePos += frames;
  fTransport.ppqPos += frames / static_cast<double>(fSampleRate.load()) * fTransport.tempo / 60.0;
}

std::vector<AutomationEvent> VstHost::Automation() const {
  std::lock_guard<std::mutex> guard(fLock);
  return fAutomation;
}

void VstHost::ClearAutomation() {
  std::lock_guard<std::mutex> guard(fLock);
  fAutomation.clear();
}

int VstHost::CallCount(int32_t opcode) const {
  std::lock_guard<std::mutex> guard(fLock);
  const auto it = fCalls.find(opcode);
  return it == fCalls.end() ? 0 : it->second;
}

intptr_t VSTCALLBACK VstHost::Callback(AEffect* effect, int32_t opcode, int32_t index,
                                       intptr_t value, void* ptr, float opt) {
  VstHost* host =
      effect != nullptr && effect->user != nullptr ? static_cast<VstHost*>(effect->user) : tOpening;
  if (host == nullptr) return opcode == audioMasterVersion ? 2400 : 0;
  return host->Answer(opcode, index, value, ptr, opt);
}

intptr_t VstHost::Answer(int32_t opcode, int32_t index, intptr_t /*value*/, void* ptr, float opt) {
  {
    std::lock_guard<std::mutex> guard(fLock);
    ++fCalls[opcode];
    if (opcode == audioMasterAutomate) fAutomation.push_back({index, opt});
  }
  switch (opcode) {
  case audioMasterVersion:
    return fVersion;
  case audioMasterGetTime: {
    if (!fTransport.answerTimeInfo) return 0;
    fTimeInfo = VstTimeInfo{};
    fTimeInfo.sampleRate = fSampleRate;
    fTimeInfo.samplePos = fTransport.samplePos;
    fTimeInfo.ppqPos = fTransport.ppqPos;
    fTimeInfo.tempo = fTransport.tempo;
    fTimeInfo.timeSigNumerator = 4;
    fTimeInfo.timeSigDenominator = 4;
    fTimeInfo.flags = kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid |
                      (fTransport.playing ? kVstTransportPlaying : 0);
    return reinterpret_cast<intptr_t>(&fTimeInfo);
  }
  case audioMasterGetSampleRate:
    return static_cast<intptr_t>(fSampleRate);
  case audioMasterGetBlockSize:
    return fBlockSize;
  case audioMasterGetVendorString:
    if (ptr != nullptr) std::strcpy(static_cast<char*>(ptr), "Kestrelphon test host");
    return 1;
  case audioMasterGetProductString:
    if (ptr != nullptr) std::strcpy(static_cast<char*>(ptr), "VstHost");
    return 1;
  case audioMasterGetVendorVersion:
    return 1;
  case audioMasterCanDo:
    return 0;
  case audioMasterIdle:
    if (fIdleRequestAnswer) fIdleRequestAnswer();
    return 1;
  default:
    return 0;
  }
}

} // namespace kest::host
