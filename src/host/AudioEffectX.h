#pragma once
// The VST 2.x extensions: the extended opcodes, each mapped onto one virtual
// operation with a neutral default, and wrappers for the extended host requests.
#include "AudioEffect.h"

class AudioEffectX : public AudioEffect {
public:
  using AudioEffect::AudioEffect;

  intptr_t Dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;
  void Resume() override;

  // Added virtual operations, in slot order.
  virtual bool CanParameterBeAutomated(int32_t /*Index*/) { return true; }
  virtual bool String2parameter(int32_t /*Index*/, char* /*Text*/) { return false; }
  virtual bool GetParameterProperties(int32_t /*Index*/, void* /*p*/) { return false; }
  virtual bool BeginEdit(int32_t Index);
  virtual bool EndEdit(int32_t Index);
  virtual bool GetProgramNameIndexed(int32_t /*Category*/, int32_t /*Index*/, char* /*Text*/) {
    return false;
  }
  virtual bool BeginSetProgram() { return false; }
  virtual bool EndSetProgram() { return false; }
  virtual int32_t BeginLoadBank(VstPatchChunkInfo* /*ptr*/) { return 0; }
  virtual int32_t BeginLoadProgram(VstPatchChunkInfo* /*ptr*/) { return 0; }
  virtual bool IOChanged();
  virtual double UpdateSampleRate();
  virtual int32_t UpdateBlockSize();
  virtual int32_t GetInputLatency();
  virtual int32_t GetOutputLatency();
  virtual bool GetInputProperties(int32_t /*Index*/, VstPinProperties* /*Properties*/) {
    return false;
  }
  virtual bool GetOutputProperties(int32_t /*Index*/, VstPinProperties* /*Properties*/) {
    return false;
  }
  virtual bool SetSpeakerArrangement(VstSpeakerArrangement* /*PluginInput*/,
                                     VstSpeakerArrangement* /*PluginOutput*/) {
    return false;
  }
  virtual bool GetSpeakerArrangement(VstSpeakerArrangement** PluginInput,
                                     VstSpeakerArrangement** PluginOutput);
  virtual bool SetBypass(bool /*OnOff*/) { return false; }
  virtual bool SetPanLaw(int32_t /*vType*/, float /*Val*/) { return false; }
  virtual bool SetProcessPrecision(int32_t /*Precision*/) { return false; }
  virtual int32_t GetNumMidiInputChannels() { return 0; }
  virtual int32_t GetNumMidiOutputChannels() { return 0; }
  virtual VstTimeInfo* GetTimeInfo(int32_t Filter);
  virtual int32_t GetCurrentProcessLevel();
  virtual int32_t ProcessEvents(VstEvents* /*ev*/) { return 0; }
  virtual bool SendVstEventsToHost(VstEvents* Events);
  virtual int32_t StartProcess() { return 0; }
  virtual int32_t StopProcess() { return 0; }
  virtual bool ProcessVariableIO(void* /*VarIo*/) { return false; }
  virtual int32_t SetTotalSampleToProcess(int32_t Value) { return Value; }
  virtual bool GetHostVendorString(char* Text);
  virtual bool GetHostProductString(char* Text);
  virtual int32_t GetHostVendorVersion();
  virtual intptr_t HostVendorSpecific(int32_t Arg1, intptr_t Arg2, void* PtrArg, float FloatArg);
  virtual int32_t CanHostDo(char* Text);
  virtual void IsSynth(bool State) { SetFlag(effFlagsIsSynth, State); }
  virtual void NoTail(bool State) { SetFlag(effFlagsNoSoundInStop, State); }
  virtual int32_t GetTailSize() { return 0; }
  virtual void* GetDirectory();
  virtual bool GetEffectName(char* /*Name*/) { return false; }
  virtual bool GetVendorString(char* /*Text*/) { return false; }
  virtual bool GetProductString(char* Text);
  virtual int32_t GetVendorVersion() { return 0; }
  virtual intptr_t VendorSpecific(int32_t /*Arg1*/, intptr_t /*Arg2*/, void* /*PtrArg*/,
                                  float /*FloatArg*/) {
    return 0;
  }
  virtual int32_t CanDo(char* /*Text*/) { return 0; }
  virtual int32_t GetVstVersion() { return kVstVersion; }
  virtual int32_t GetPlugCategory();
  virtual int32_t GetMidiProgramName(int32_t /*Channel*/, void* /*MidiProgramName*/) { return 0; }
  virtual int32_t GetCurrentMidiProgram(int32_t /*Channel*/, void* /*CurrentProgram*/) {
    return -1;
  }
  virtual int32_t GetMidiProgramCategory(int32_t /*Channel*/, void* /*Category*/) { return 0; }
  virtual bool HasMidiProgramsChanged(int32_t /*Channel*/) { return false; }
  virtual bool GetMidiKeyName(int32_t /*Channel*/, void* /*KeyName*/) { return false; }
  virtual bool UpdateDisplay();
  virtual bool SizeWindow(int32_t Width, int32_t Height);
  virtual bool OpenFileSelector(void* ptr);
  virtual bool CloseFileSelector(void* ptr);
  virtual int32_t GetNextShellPlugin(char* Name);
  virtual bool AllocateArrangement(VstSpeakerArrangement** Arrangement, int32_t nbChannels);
  virtual bool DeallocateArrangement(VstSpeakerArrangement** Arrangement);
  virtual bool CopySpeaker(VstSpeakerProperties* Dest, VstSpeakerProperties* Source);
  virtual bool MatchArrangement(VstSpeakerArrangement** Dest, VstSpeakerArrangement* Source);
  virtual bool OfflineRead(void* Offline, int32_t Option, bool ReadSource);
  virtual bool OfflineWrite(void* Offline, int32_t Option);
  virtual bool OfflineStart(void* AudioFiles, int32_t NumAudioFiles, int32_t NumNewAudioFiles);
  virtual int32_t OfflineGetCurrentPass();
  virtual int32_t OfflineGetCurrentMetaPass();
  virtual bool OfflineNotify(void* /*Ptr*/, int32_t /*Numaudiofiles*/, bool /*Start*/) {
    return false;
  }
  virtual bool OfflinePrepare(void* /*Offline*/, int32_t /*Count*/) { return false; }
  virtual bool OfflineRun(void* /*Offline*/, int32_t /*Count*/) { return false; }
  virtual int32_t OfflineGetNumPasses() { return 0; }
  virtual int32_t OfflineGetNumMetaPasses() { return 0; }
  virtual void WantEvents(int32_t Filter);
  virtual int32_t TempoAt(int32_t Pos);
  virtual int32_t GetNumAutomatableParameters();
  virtual int32_t GetParameterQuantization();
  virtual int32_t GetNumCategories() { return 1; }
  virtual bool copyProgram(int32_t /*Destination*/) { return false; }
  virtual bool NeedIdle();
  virtual AEffect* GetPreviousPlug(int32_t Input);
  virtual AEffect* GetNextPlug(int32_t Output);
  virtual void InputConnected(int32_t /*Index*/, bool /*State*/) {}
  virtual void OutputConnected(int32_t /*Index*/, bool /*State*/) {}
  virtual int32_t WillProcessReplacing();
  virtual void WantAsyncOperation(bool State) { SetFlag(effFlagsExtIsAsync, State); }
  virtual void HasExternalBuffer(bool State) { SetFlag(effFlagsExtHasBuffer, State); }
  virtual int32_t ReportCurrentPosition() { return 0; }
  virtual float* ReportDestinationBuffer() { return nullptr; }
  virtual void SetOutputSamplerate(float SampleRate);
  virtual VstSpeakerArrangement* GetInputSpeakerArrangement();
  virtual VstSpeakerArrangement* GetOutputSpeakerArrangement();
  virtual void* OpenWindow(void* Window);
  virtual bool CloseWindow(void* Window);
  virtual void SetBlockSizeAndSampleRate(int32_t aBlockSize, float aSampleRate) {
    FBlockSize = aBlockSize;
    FSampleRate = aSampleRate;
  }
  virtual bool GetErrorText(char* /*Text*/) { return false; }
  virtual void* GetIcon() { return nullptr; }
  virtual bool SetViewPosition(int32_t /*x*/, int32_t /*y*/) { return false; }
  virtual int32_t FxIdle() { return 0; }
  virtual bool KeysRequired() { return false; }
  virtual bool GetChunkFile(void* NativePath);

  int32_t GetAutomationState();
  int32_t GetHostLanguage();
};
