#pragma once
// The plug-in object: the bank and the current preset, the host's program,
// parameter and text requests, the processing loop and the step clock. The
// sound comes from the engine class that derives from it.
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>

#include "AudioEffectX.h"
#include "TPluginEditorBase.h"
#include "TPresetList.h"

// One stereo frame through the engine: 0 left in, 1 right in, 2 left out, 3 right out.
using TSample = std::array<float, 4>;

class TPlugin : public AudioEffectX {
public:
  using EditorFactory = std::unique_ptr<TPluginEditorBase> (*)(TPlugin* plugin);
  // The editor layer registers how to create the editor host; without one the
  // plug-in has no editor.
  static void SetEditorFactory(EditorFactory factory);

  static constexpr int32_t kNumPrograms = 32;
  // Accepted sample rates; anything else is ignored and the lines keep their size.
  static constexpr float kMinSampleRate = 1000.0f;
  static constexpr float kMaxSampleRate = 768000.0f;
  static bool AcceptedRate(float rate) {
    return std::isfinite(rate) && rate >= kMinSampleRate && rate <= kMaxSampleRate;
  }

  explicit TPlugin(audioMasterCallback audioMaster);
  ~TPlugin() override;

  // Overridden slots of the effect layers.
  void SetSampleRate(float newvalue) override;
  void SetBlockSizeAndSampleRate(int32_t aBlockSize, float aSampleRate) override;
  void Suspend() override;
  void Resume() override;
  void ProcessReplacing(float** Inputs, float** Outputs, int32_t SampleFrames) override;
  void SetParameter(int32_t Index, float Value) override;
  float GetParameter(int32_t Index) override;
  void SetProgram(int32_t aProgram) override;
  void SetProgramName(char* Name) override;
  void GetProgramName(char* Name) override;
  void GetParameterLabel(int32_t Index, char* aLabel) override;
  void GetParameterDisplay(int32_t Index, char* Text) override;
  void GetParameterName(int32_t Index, char* Text) override;
  void Process(float** Inputs, float** Outputs, int32_t SampleFrames) override;
  float GetVu() override;
  bool GetProgramNameIndexed(int32_t Category, int32_t Index, char* Text) override;
  bool BeginSetProgram() override;
  bool EndSetProgram() override;
  bool GetOutputProperties(int32_t Index, VstPinProperties* Properties) override;
  bool GetEffectName(char* Name) override;
  bool GetVendorString(char* Text) override;
  bool GetProductString(char* Text) override;
  int32_t GetVendorVersion() override { return 1; }
  int32_t CanDo(char* Text) override;

  // Added slots.
  virtual void RecalcSampleRate() {}
  virtual void DoProcess(TSample& s) = 0;
  virtual void ResetSound() {}
  virtual void UpdatePos();
  // Random fill and transposition of the notes of the given preset. Every
  // operation that writes a preset takes it once and passes it on: another
  // thread may change the current program meanwhile, and the writes must
  // still land in the preset they were meant for.
  virtual void FillRandomSeq(TParamList& preset) = 0;
  virtual void ShiftStyle(TParamList& preset) = 0;
  virtual void UpdatePreset() { ApplyPreset(Preset()); }
  // Stores a normalised value in the given preset (clamped to 0 .. 1) and,
  // in the engine, applies it.
  virtual void ApplyParameter(TParamList& preset, int32_t Index, float Value);
  // Applies all 108 values of the given preset in ascending order, then
  // passes its name to the editor.
  virtual void ApplyPreset(TParamList& preset);
  // The frames of one processing call, after the step clock has run; null
  // inputs read as silence. Frame by frame through DoProcess unless the
  // engine has a faster path with the same result.
  virtual void ProcessBlock(const float* inL, const float* inR, float* outL, float* outR,
                            int32_t frames) {
    ProcessFrames(inL, inR, outL, outR, frames);
  }
  void FillRandomSeq() { FillRandomSeq(Preset()); }
  void ShiftStyle() { ShiftStyle(Preset()); }

  void SetProgramManual(int32_t aProgram);
  void SetEditedParameter(int32_t Index, double Value);
  void CopyPreset();
  void PastePreset();
  bool CanPastePreset() const { return fPresetCopy != nullptr; }
  void SetCurrentStep(int32_t step);

  TPresetList& Bank() { return *fBank; }
  TParamList& Preset() const { return *fPreset.load(std::memory_order_acquire); }
  TPluginEditorBase* EditorHost() const { return fEditorHost; }
  bool Active() const { return fActive.load(std::memory_order_relaxed); }
  bool Updating() const { return fUpdating.load(std::memory_order_relaxed); }
  int32_t CurrentStep() const { return fStep.load(std::memory_order_relaxed); }
  int32_t BarCount() const { return fBar.load(std::memory_order_relaxed); }
  float PluginSampleRate() const { return fSampleRate; }
  float Peak(int i) const {
    return Peaks[static_cast<std::size_t>(i)].load(std::memory_order_relaxed);
  }

  // The step for a musical position in quarter notes: sixteenths, floored, so
  // a pre-roll position counts down through 15, 14, ... and any finite
  // position lands in 0 .. 15.
  static int32_t StepOfPosition(double ppqPos);

  // Automatic random period in bars, 0 = off; set by the engine.
  std::atomic<int32_t> AutoRndLen{0};

protected:
  // One DoProcess call per frame.
  void ProcessFrames(const float* inL, const float* inR, float* outL, float* outR, int32_t frames);
  // Frames from .. to - 1 one at a time through frame(TSample&): inputs in
  // s[0], s[1] (null reads as silence), outputs out of s[2], s[3].
  template <typename Frame>
  static void EachFrame(const float* inL, const float* inR, float* outL, float* outR,
                        int32_t from, int32_t to, Frame&& frame) {
    TSample s;
    for (int32_t i = from; i < to; ++i) {
      s[0] = inL != nullptr ? inL[i] : 0.0f;
      s[1] = inR != nullptr ? inR[i] : 0.0f;
      frame(s);
      outL[i] = s[2];
      outR[i] = s[3];
    }
  }
  bool ValidParam(int32_t Index) const { return Index >= 0 && Index < NumParams; }
  void ClearPeaks();
  // Destroys the editor; the engine calls it first thing in its destructor,
  // so an editor calling back while it closes meets the whole object.
  void ReleaseEditor();
  // Passes a preset's name to the editor, once it has been applied.
  void ShowPresetName(const TParamList& preset);

  std::atomic<bool> fActive{false};
  std::atomic<TParamList*> fPreset{nullptr};
  std::unique_ptr<TParamList> fPresetCopy;
  float fSampleRate = 44100.0f;
  std::atomic<int32_t> fStep{0};
  std::atomic<int32_t> fBar{0};
  std::unique_ptr<TPresetList> fBank;
  std::atomic<bool> fUpdating{false};
  std::atomic<float> VU{0.0f};
  std::array<std::atomic<float>, 4> Peaks{};

private:
  class BlockClaim;
  class RebuildHold;

  // Rebuilding for a new sample rate must not overlap processing: the audio
  // thread claims kProcessing for a block, the rebuild claims kRebuilding and
  // waits (on the calling thread, never on the audio thread) for a block to end.
  enum ProcessState : int { kIdle = 0, kProcessing = 1, kRebuilding = 2 };
  std::atomic<int> fProcessState{kIdle};
  // The thread inside this instance's block (kest::CurrentThreadTag), 0 when
  // none: a host changing the rate from inside that block must not wait for it.
  std::atomic<std::uintptr_t> fProcessThread{0};
  // Set while a rebuild waits: blocks then stand aside (silence) instead of
  // claiming the state, so an audio thread that processes back to back cannot
  // keep the rebuild waiting.
  std::atomic<bool> fRebuildWaiting{false};
  TPluginEditorBase* fEditorHost = nullptr; // owned through Editor()
};
