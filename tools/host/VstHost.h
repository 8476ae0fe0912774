#pragma once
// A small VST 2.4 host for tests and tools: loads a module, answers the host
// requests a plug-in relies on with a simulated transport, records what the
// plug-in asks of it, and drives the effect through its AEffect record.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "vst2abi.h"

namespace kest::host {

// A loaded plug-in module (shared library); unloads on destruction.
class PluginModule {
public:
  // Throws std::runtime_error with a clear message when the file cannot be
  // loaded or exports no VST 2.4 entry point.
  explicit PluginModule(const std::string& path);
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  VstPluginMainProc Entry() const { return fEntry; }
  const std::string& Path() const { return fPath; }

private:
  void Unload();
  std::string fPath;
  void* fHandle = nullptr;
  VstPluginMainProc fEntry = nullptr;
};

// The musical transport the host reports through audioMasterGetTime.
struct Transport {
  double tempo = 120.0;
  double ppqPos = 0.0;
  double samplePos = 0.0;
  bool playing = true;
  bool answerTimeInfo = true; // false: the host answers no time information
};

struct AutomationEvent {
  int32_t index;
  float value;
};

class VstHost {
public:
  VstHost();
  ~VstHost(); // closes the effect if it is still open
  VstHost(const VstHost&) = delete;
  VstHost& operator=(const VstHost&) = delete;

  // Calls the entry point; answers the record or null. The host's version
  // answer can be changed to test refusal.
  AEffect* Open(VstPluginMainProc entry, intptr_t hostVersion = 2400);
  void Close(); // effClose; the record is gone afterwards
  AEffect* Effect() const { return fEffect; }

  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
  void SetSampleRate(float rate);
  void SetBlockSize(int32_t frames);
  void Resume() { Dispatch(effMainsChanged, 0, 1); }
  void Suspend() { Dispatch(effMainsChanged, 0, 0); }

  // Texts read with buffers this host controls (generously sized, then checked
  // for termination within the size hosts are relied on to give).
  std::string ProgramName();
  std::string ProgramNameIndexed(int32_t index);
  std::string ParamName(int32_t index);
  std::string ParamLabel(int32_t index);
  std::string ParamDisplay(int32_t index);
  std::string EffectName();
  std::string VendorString();
  std::string ProductString();

  void SetParameter(int32_t index, float value);
  float GetParameter(int32_t index);

  // One processReplacing block of stereo audio; advances the transport by
  // the block when it is playing.
  void Process(const float* inL, const float* inR, float* outL, float* outR, int32_t frames);
  // The legacy accumulating entry.
  void ProcessAccumulating(const float* inL, const float* inR, float* outL, float* outR,
                           int32_t frames);

  // Strict (the default): a text written past the size hosts are relied on
  // to give fails loudly. Lenient: such a text is cut there, as a host that
  // gives larger buffers would show it (for third-party plug-ins).
  void SetStrictTexts(bool strict) { fStrictTexts = strict; }

  // What this host does when the plug-in asks for its idle
  // (audioMasterIdle): nothing by default; some hosts make an editor idle
  // call (effEditIdle) there, or worse.
  void SetIdleRequestAnswer(std::function<void()> Answer) {
    fIdleRequestAnswer = std::move(Answer);
  }
  void SetEditIdleOnIdleRequest(bool Value) {
    SetIdleRequestAnswer(Value ? std::function<void()>([this] { Dispatch(effEditIdle); })
                               : nullptr);
  }

  Transport& Time() { return fTransport; }
  float CurrentSampleRate() const { return fSampleRate.load(); }

  // What the plug-in asked of the host.
  std::vector<AutomationEvent> Automation() const;
  void ClearAutomation();
  int CallCount(int32_t opcode) const;

private:
  static intptr_t VSTCALLBACK Callback(AEffect* effect, int32_t opcode, int32_t index,
                                       intptr_t value, void* ptr, float opt);
  intptr_t Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  std::string ReadText(int32_t opcode, int32_t index, std::size_t hostLimit);
  void RunBlock(AEffectProcessProc entry, const float* inL, const float* inR, float* outL,
                float* outR, int32_t frames);
  void Advance(int32_t frames);

  AEffect* fEffect = nullptr;
  bool fStrictTexts = true;
  std::function<void()> fIdleRequestAnswer;
  intptr_t fVersion = 2400;
  std::atomic<float> fSampleRate{44100.0f}; // read in the callback on the audio thread
  int32_t fBlockSize = 1024;
  Transport fTransport;
  VstTimeInfo fTimeInfo{};
  mutable std::mutex fLock; // the callback may come from several threads
  std::vector<AutomationEvent> fAutomation;
  std::map<int32_t, int> fCalls;
};

} // namespace kest::host
