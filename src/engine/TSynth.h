#pragma once
// The engine: three pitched stereo comb voices (a left and a right line per
// channel) tuned to the notes of the current step, with glide, detune, depth,
// level and channel gates; and the random note fills.
#include <array>
#include <atomic>
#include <memory>

#include "TBlockKernel.h"
#include "TFastDelay.h"
#include "TPlugin.h"

class TSynth : public TPlugin {
public:
  using TEnv = ::TEnv;

  // The instruction sets the block path is built for.
  enum class TInstructionSet { Baseline, Avx2 };
  // Whether this machine runs it; the best one it runs.
  static bool Runs(TInstructionSet set);
  static TInstructionSet BestInstructionSet();

  explicit TSynth(audioMasterCallback audioMaster);
  ~TSynth() override;

  void Suspend() override { TPlugin::Suspend(); }
  int32_t ProcessEvents(VstEvents* /*ev*/) override { return 1; }
  void RecalcSampleRate() override;
  // One frame, every value from other threads read afresh: the literal
  // per-frame path, kept as the reference the block path is held to.
  void DoProcess(TSample& s) override;
  using TPlugin::FillRandomSeq;
  using TPlugin::ShiftStyle;
  void FillRandomSeq(TParamList& preset) override;
  void ShiftStyle(TParamList& preset) override;
  void ApplyParameter(TParamList& preset, int32_t index, float value) override;
  void ApplyPreset(TParamList& preset) override;
  // A processing call's frames: values from other threads read once, whole
  // chunks of frames through the kernel, the rest frame by frame.
  void ProcessBlock(const float* inL, const float* inR, float* outL, float* outR,
                    int32_t frames) override;

  // The block path's instruction set: the best one at creation; another one
  // the machine runs may be chosen (tests and benchmarks compare them).
  void UseInstructionSet(TInstructionSet set);
  TInstructionSet InstructionSet() const { return fInstructionSet.load(std::memory_order_relaxed); }

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
  const TEnv& Gate(int channel) const { return fGate[channel]; }
  const TEnv& DryGate() const { return fGate[kDry]; }
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

  // The values other threads set, as they are now, for the current step k.
  void TakeValues(int32_t k, TBlockValues& v) const;
  // A new step loads the glide targets, whatever its switches say.
  void EnterStep(int32_t k);
  // The gates' targets from the values taken.
  void AimGates(const TBlockValues& v);
  // What every call into the sound starts with: the step's glide targets,
  // the peak meters and the values other threads set, as they are now.
  void Begin(TBlockValues& v, float (&peaks)[4]);
  void StorePeaks(const float (&peaks)[4]);
  // One frame with the given values; peaks in and out.
  void RunFrame(const TBlockValues& v, TSample& s, float (&peaks)[4]);

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
  static constexpr int kDry = kest::kNumChannels;
  std::array<TEnv, kest::kNumChannels + 1> fGate{}; // wet gates A, B, C, then the dry gate
  std::array<TEnv, kest::kNumChannels> fPort{};     // glide of A, B, C in hertz
  double fKRelease = 0.0;
  double fKReleaseM = 0.0;
  // 1L, 1R, 2L, 2R, 3L, 3R
  std::array<TFastDelay, 2 * kest::kNumChannels> fPipes;
  int32_t fStep = -1; // the step whose notes were last loaded into the glides
  // What each processing call hands the kernel; the pointers into this
  // instance stay, the rest is filled in per call.
  TBlockJob fJob;
  std::atomic<TInstructionSet> fInstructionSet{TInstructionSet::Baseline};
  std::atomic<kest::TBlockKernel> fKernel{nullptr};
};
