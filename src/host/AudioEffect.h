#pragma once
// The effect base: owns the AEffect record handed to the host, answers the
// basic dispatcher opcodes and wraps the host callback.
#include <atomic>
#include <memory>

#include "AEffEditor.h"
#include "vst2abi.h"

class AudioEffect {
public:
  AudioEffect(audioMasterCallback anAudioMaster, int32_t aNumPrograms, int32_t aNumParams);
  virtual ~AudioEffect();
  AudioEffect(const AudioEffect&) = delete;
  AudioEffect& operator=(const AudioEffect&) = delete;

  // Virtual operations, in slot order.
  virtual void SetSampleRate(float newvalue) { FSampleRate = newvalue; }
  virtual void SetBlockSize(int32_t Value) { FBlockSize = Value; }
  virtual intptr_t Dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  virtual void Open() {}
  virtual void Close() {}
  virtual void Suspend() {}
  virtual void Resume() {}
  virtual void ProcessReplacing(float** Inputs, float** Outputs, int32_t SampleFrames) = 0;
  virtual void ProcessDoubleReplacing(double** /*Inputs*/, double** /*Outputs*/,
                                      int32_t /*SampleFrames*/) {}
  virtual void SetParameter(int32_t /*Index*/, float /*Value*/) {}
  virtual float GetParameter(int32_t /*Index*/) { return 0.0f; }
  virtual void SetParameterAutomated(int32_t Index, float Value);
  virtual int32_t GetProgram() { return CurProgram; }
  virtual void SetProgram(int32_t aProgram) { CurProgram = aProgram; }
  virtual void SetProgramName(char* /*Name*/) {}
  virtual void GetProgramName(char* Name);
  virtual void GetParameterLabel(int32_t Index, char* aLabel);
  virtual void GetParameterDisplay(int32_t Index, char* Text);
  virtual void GetParameterName(int32_t Index, char* Text);
  virtual int32_t GetChunk(void** /*Data*/, bool /*IsPreset*/) { return 0; }
  virtual int32_t SetChunk(void* /*Data*/, int32_t /*ByteSize*/, bool /*IsPreset*/) { return 0; }
  virtual void SetUniqueID(int32_t ID) { FEffect.uniqueID = ID; }
  virtual void SetNumInputs(int32_t Inputs) { FEffect.numInputs = Inputs; }
  virtual void SetNumOutputs(int32_t Outputs) { FEffect.numOutputs = Outputs; }
  virtual void CanProcessReplacing(bool State) { SetFlag(effFlagsCanReplacing, State); }
  virtual void CanDoubleReplacing(bool State) { SetFlag(effFlagsCanDoubleReplacing, State); }
  virtual void ProgramsAreChunks(bool State) { SetFlag(effFlagsProgramChunks, State); }
  virtual void SetInitialDelay(int32_t Delay) { FEffect.initialDelay = Delay; }
  virtual int32_t GetMasterVersion();
  virtual int32_t GetCurrentUniqueId();
  virtual void MasterIdle();
  virtual void Process(float** /*Inputs*/, float** /*Outputs*/, int32_t /*SampleFrames*/) {}
  virtual float GetVu() { return 0.0f; }
  virtual void HasVu(bool State) { SetFlag(effFlagsHasVu, State); }
  virtual void HasClip(bool State) { SetFlag(effFlagsHasClip, State); }
  virtual void CanMono(bool State) { SetFlag(effFlagsCanMono, State); }
  virtual void SetRealtimeQualities(int32_t Qualities) { FEffect.realQualities = Qualities; }
  virtual void SetOfflineQualities(int32_t Qualities) { FEffect.offQualities = Qualities; }
  virtual bool IsInputConnected(int32_t Input);
  virtual bool IsOutputConnected(int32_t Output);

  audioMasterCallback AudioMaster() const { return FAudioMaster; }
  AEffect* Effect() { return &FEffect; }
  AEffEditor* Editor() const { return FEditor.get(); }
  // Takes ownership; sets or clears the has-editor flag.
  void SetEditor(std::unique_ptr<AEffEditor> anEditor);
  float SampleRate() const { return FSampleRate; }
  int32_t BlockSize() const { return FBlockSize; }

  // Calls the host with this effect's record; 0 without a host callback.
  intptr_t CallHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);

  // The AudioEffect behind a record the host passes back.
  static AudioEffect* FromEffect(AEffect* e) {
    return e != nullptr ? static_cast<AudioEffect*>(e->object) : nullptr;
  }

protected:
  void SetFlag(int32_t flag, bool state) {
    if (state)
      FEffect.flags |= flag;
    else
      FEffect.flags &= ~flag;
  }

  audioMasterCallback FAudioMaster;
  AEffect FEffect{};
  std::unique_ptr<AEffEditor> FEditor;
  // Read by the audio thread while the host may set it from another.
  std::atomic<float> FSampleRate{44100.0f};
  std::atomic<int32_t> FBlockSize{1024};
  int32_t NumPrograms;
  int32_t NumParams;
  // Read by the host's dispatcher thread while the editor may change it.
  std::atomic<int32_t> CurProgram{0};
};
