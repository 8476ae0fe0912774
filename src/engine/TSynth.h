#pragma once
// The engine: three pitched stereo comb voices (a left and a right line per
// channel) tuned to the notes of the current step, with glide, detune, depth,
// level and channel gates; and the random note fills.
#include <array>
#include <atomic>
#include <memory>

#include "TFastDelay.h"
#include "TPlugin.h"

class TSynth : public TPlugin {
public:
  struct TEnv {
    double Ini = 0.0; // target
    double Env = 0.0; // smoothed value
  };

  explicit TSynth(audioMasterCallback audioMaster);
  ~TSynth() override;

  void Suspend() override { TPlugin::Suspend(); }
  int32_t ProcessEvents(VstEvents* /*ev*/) override { return 1; }
  void RecalcSampleRate() override;
  void DoProcess(TSample& s) override;
  using TPlugin::FillRandomSeq;
  using TPlugin::ShiftStyle;
  void FillRandomSeq(TParamList& preset) override;
  void ShiftStyle(TParamList& preset) override;
  void ApplyParameter(TParamList& preset, int32_t index, float value) override;
  void ApplyPreset(TParamList& preset) override;

  // 440 x 2^((n - 69) / 12) rounded to two decimals, for notes 0 .. 127.
  static double NoteFreq(int n);

  // Read-only views for tests and the editor.
  float Level() const { return fLevel.load(std::memory_order_relaxed); }
  float Depth() const { return fFeedback.load(std::memory_order_relaxed).Feedback; }
  float DepK() const { return fDepK.load(std::memory_order_relaxed); }
  double PortK() const { return fPortK.load(std::memory_order_relaxed); }
  double Detune1() const { return fDetune1.load(std::memory_order_relaxed); }
  double Detune2() const { return fDetune2.load(std::memory_order_relaxed); }
  double KRelease() const { return fKRelease; }
  double StepFreq(int channel, int step) const {
    return fFreq[channel][step].load(std::memory_order_relaxed);
  }
  bool StepOn(int channel, int step) const {
    return fPatt[channel][step].load(std::memory_order_relaxed);
  }
  const TFastDelay& Line(int i) const { return fPipes[i]; }
  const TEnv& Port(int channel) const { return fPort[channel]; }
  const TEnv& Gate(int channel) const { return fE[channel]; }
  const TEnv& DryGate() const { return fEC; }
  int32_t EngineStep() const { return fStep; }
  int32_t RndNote() const { return fRndNote.load(std::memory_order_relaxed); }
  int32_t RndNoteOld() const { return fRndNoteOld.load(std::memory_order_relaxed); }
  int32_t RndRange() const { return fRndRng.load(std::memory_order_relaxed); }
  int32_t RndStyle() const { return fRndSty.load(std::memory_order_relaxed); }

private:
  // ApplyParameter; a new root note moves the notes only when shiftNotes is
  // set (not while a preset is applied).
  void Apply(TParamList& preset, int32_t index, float value, bool shiftNotes);
  void WriteNote(TParamList& preset, int32_t index, int note);
  // Turns a plain value into engine state, for the parameters whose state is
  // a function of their value alone.
  void MapValue(int32_t index, double v);

  // Written by the threads that set parameters, read by the audio thread.
  std::atomic<float> fLevel{0.25f};
  // Depth as the feedback all six lines follow: one value, published whole.
  std::atomic<TFeedback> fFeedback{TFeedback{}};
  std::atomic<float> fDepK{1.0f};
  std::atomic<double> fDetune1{1.0};
  std::atomic<double> fDetune2{1.0};
  std::array<std::atomic<bool>, kest::kNumChannels> fCh{};
  std::atomic<double> fPortK{0.1};
  std::array<std::array<std::atomic<bool>, kest::kNumSteps>, kest::kNumChannels> fPatt{};
  std::array<std::array<std::atomic<double>, kest::kNumSteps>, kest::kNumChannels> fFreq{};
  std::atomic<int32_t> fRndNote{60};
  std::atomic<int32_t> fRndNoteOld{60};
  std::atomic<int32_t> fRndRng{3};
  std::atomic<int32_t> fRndSty{0};

  // Audio-thread state; replaced only while processing is held off.
  std::array<TEnv, kest::kNumChannels> fE{};    // wet gates A, B, C
  TEnv fEC{};                                   // dry gate
  std::array<TEnv, kest::kNumChannels> fPort{}; // glide of A, B, C in hertz
  double fKRelease = 0.0;
  double fKReleaseM = 0.0;
  // 1L, 1R, 2L, 2R, 3L, 3R
  std::array<TFastDelay, 2 * kest::kNumChannels> fPipes;
  int32_t fStep = -1; // the step whose notes were last loaded into the glides
};
