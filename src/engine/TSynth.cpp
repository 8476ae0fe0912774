#include "TSynth.h"

#include <algorithm>
#include <cmath>

#include "ParamTable.h"
#include "uKestUtils.h"
#include "uRandomSeq.h"

using kest::RoundEven;

namespace {

const std::array<double, 128>& NoteFreqTable() {
  static const std::array<double, 128> table = [] {
    std::array<double, 128> t{};
    for (int n = 0; n < 128; ++n) {
      t[n] = std::round(440.0 * std::pow(2.0, (n - 69) / 12.0) * 100.0) / 100.0;
    }
    return t;
  }();
  return table;
}

int ClampNote(int n) {
  return n < 0 ? 0 : (n > 127 ? 127 : n);
}

// A period shorter than two samples (a pitch above half the sample rate, as
// high notes at low rates give) would put the interpolation's last tap on
// the oldest sample of the ring, and the loop then grows without bound. Such
// pitches cannot sound anyway; they are held at the highest one that can.
float MinDelay(float d) {
  return d < 2.0f ? 2.0f : d;
}

} // namespace

double TSynth::NoteFreq(int n) {
  return NoteFreqTable()[ClampNote(n)];
}

TSynth::TSynth(audioMasterCallback audioMaster)
    : TPlugin(audioMaster), fPipes{TFastDelay(FSampleRate), TFastDelay(FSampleRate),
                                   TFastDelay(FSampleRate), TFastDelay(FSampleRate),
                                   TFastDelay(FSampleRate), TFastDelay(FSampleRate)} {
  fLevel = 0.25f;
  const double sr = FSampleRate.load();
  fKRelease = 1.0 / (sr * 0.003);
  fKReleaseM = 1.0 - fKRelease;
  fPortK = 0.1;
  fDepK = 1.0f;
  fStep = -1;
  fDetune1 = 1.0;
  fDetune2 = 1.0;
  for (auto& ch : fCh)
    ch = true;
  fFeedback = TFeedback{};
  for (TFastDelay& line : fPipes)
    line.ShareFeedback(&fFeedback);
  fRndNote = 60;
  fRndNoteOld = 60;
  fRndRng = 3;
  fRndSty = 0;
  for (int c = 0; c < kest::kNumChannels; ++c) {
    fPort[c] = TEnv{};
    for (int k = 0; k < kest::kNumSteps; ++k) {
      fPatt[c][k] = false;
      fFreq[c][k] = 0.0;
    }
  }
  for (TEnv& gate : fGate)
    gate = TEnv{};
  UseInstructionSet(BestInstructionSet());
  fJob.Port = fPort.data();
  fJob.Gate = fGate.data();
  for (std::size_t l = 0; l < fPipes.size(); ++l)
    fJob.Lines[l] = &fPipes[l].Ring();
  for (TFastDelay& line : fPipes)
    line.Flush();
  SetProgramManual(0);
}

TSynth::~TSynth() {
  ReleaseEditor();
}

void TSynth::ApplyParameter(TParamList& preset, int32_t index, float value) {
  Apply(preset, index, value, true);
}

void TSynth::Apply(TParamList& preset, int32_t index, float value, bool shiftNotes) {
  if (index < 0 || index >= kest::kNumParams || !std::isfinite(value)) return;
  TPlugin::ApplyParameter(preset, index, value);
  const TParameter& p = preset[index];
  const double v = p.Value();

  if (index == kest::kRandom) {
    // Fills when the stored value reads "on", as the display shows it.
    if (v > 0.5) FillRandomSeq(preset);
  } else if (index == kest::kRandomRootNote) {
    fRndNoteOld = fRndNote.load();
    fRndNote = RoundEven(v);
    if (shiftNotes) ShiftStyle(preset);
  } else {
    // Another thread may store a newer value meanwhile: map until what was
    // mapped is what is stored, so the last value stored always wins.
    for (double mapped = v;;) {
      MapValue(index, mapped);
      const double now = p.Value();
      if (now == mapped || std::isnan(now)) break;
      mapped = now;
    }
  }

  if (TPluginEditorBase* editor = EditorHost())
    editor->SetEditorParametr(index, static_cast<float>(v));
}

void TSynth::MapValue(int32_t index, double v) {
  if (index == kest::kLevel) {
    const float x = static_cast<float>(v);
    if (x > -60.0f) {
      const float e = static_cast<float>(std::exp(static_cast<double>(x) * 0.115129254));
      fLevel = static_cast<float>(0.25 * static_cast<double>(e));
    } else {
      fLevel = 0.0f;
    }
  } else if (index == kest::kDepth) {
    const double d = v * 0.01;
    const float depth = static_cast<float>(std::sqrt(0.75 * d));
    fFeedback = TFeedback::From(depth);
    fDepK = static_cast<float>(1.0 - 0.006 * d);
  } else if (index == kest::kGlide) {
    const double g = std::pow(v * 0.01, 1.5);
    const double sr = FSampleRate.load(std::memory_order_relaxed);
    fPortK = 1.0 - std::exp(-1.0 / (sr * (0.0015 + 0.05 * g)));
  } else if (index == kest::kDetune) {
    fDetune1 = std::pow(2.0, v / 1200.0);
    fDetune2 = std::pow(2.0, -v / 1200.0);
  } else if (index >= kest::kChA && index < kest::kChA + kest::kNumChannels) {
    // Switches follow the stored value, so what the host displays ("on" from
    // a normalised 0.5) is what sounds.
    fCh[index - kest::kChA] = v > 0.5;
  } else if (index >= kest::kStepA1 && index < kest::kRandom) {
    const int channel = (index - kest::kStepA1) / 32;
    const int within = (index - kest::kStepA1) % 32;
    if (within < kest::kNumSteps) {
      fPatt[channel][within] = v > 0.5;
    } else {
      fFreq[channel][within - kest::kNumSteps] = NoteFreq(RoundEven(v));
    }
  } else if (index == kest::kRandomRange) {
    fRndRng = RoundEven(v);
  } else if (index == kest::kRandomStyle) {
    fRndSty = RoundEven(v);
  } else if (index == kest::kAutoRandom) {
    AutoRndLen = RoundEven(v);
  }
}

// Applying a preset moves no note: its root note is taken over first, and its
// application shifts nothing even when another thread applies another
// preset meanwhile (the engine's root note would then not be this one's).
void TSynth::ApplyPreset(TParamList& preset) {
  const double root = preset[kest::kRandomRootNote].Value();
  fRndNote = RoundEven(std::clamp(root, 0.0, static_cast<double>(kest::kHighestNote)));
  for (int32_t i = 0; i < kest::kNumParams; ++i)
    Apply(preset, i, preset[i].GetVstValue(), false);
  ShowPresetName(preset);
}

void TSynth::RecalcSampleRate() {
  // Every new ring first: a failed allocation leaves the lines as they were.
  std::array<TFastDelay::TRing, 2 * kest::kNumChannels> rings;
  for (TFastDelay::TRing& ring : rings)
    ring = TFastDelay::NewRing(FSampleRate);
  const double sr = FSampleRate.load();
  fKRelease = 1.0 / (sr * 0.003);
  fKReleaseM = 1.0 - fKRelease;
  for (std::size_t i = 0; i < fPipes.size(); ++i)
    fPipes[i].Adopt(std::move(rings[i]));
  for (TFastDelay& line : fPipes)
    line.Flush();
  // The lines follow fFeedback, which keeps the depth across the rebuild.
}

// ---- Processing ----

void TSynth::TakeValues(int32_t k, TBlockValues& v) const {
  constexpr auto relaxed = std::memory_order_relaxed;
  v.SampleRate = static_cast<double>(FSampleRate.load(relaxed));
  v.PortK = fPortK.load(relaxed);
  v.Detune1 = fDetune1.load(relaxed);
  v.Detune2 = fDetune2.load(relaxed);
  // A channel sounds when its switch and its step are on; the dry signal
  // passes when none does.
  const double depK = fDepK.load(relaxed);
  bool anyOn = false;
  for (int c = 0; c < kest::kNumChannels; ++c) {
    const bool on = fPatt[c][k].load(relaxed) && fCh[c].load(relaxed);
    v.GateIni[c] = on ? depK : 0.0;
    anyOn = anyOn || on;
  }
  v.GateIni[kDry] = anyOn ? 0.0 : 1.0;
  v.Level = fLevel.load(relaxed);
  v.Feed = fFeedback.load(relaxed).Feed;
}

void TSynth::EnterStep(int32_t k) {
  if (fStep == k) return;
  fStep = k;
  for (int c = 0; c < kest::kNumChannels; ++c)
    fPort[c].Ini = fFreq[c][k].load(std::memory_order_relaxed);
}

void TSynth::AimGates(const TBlockValues& v) {
  for (std::size_t g = 0; g < fGate.size(); ++g)
    fGate[g].Ini = v.GateIni[g];
}

void TSynth::RunFrame(const TBlockValues& v, TSample& s, float (&peaks)[4]) {
  // Glide, in hertz.
  for (TEnv& p : fPort)
    p.Env = p.Ini * v.PortK + p.Env * (1.0 - v.PortK);

  // Tuning: each line's delay is one period of its detuned frequency.
  for (int c = 0; c < kest::kNumChannels; ++c) {
    fPipes[2 * c].SetDelay(MinDelay(static_cast<float>(v.SampleRate / (fPort[c].Env * v.Detune1))));
    fPipes[2 * c + 1].SetDelay(
        MinDelay(static_cast<float>(v.SampleRate / (fPort[c].Env * v.Detune2))));
  }

  // Gates, one coefficient for rising and falling.
  AimGates(v);
  for (TEnv& e : fGate)
    e.Env = e.Ini * fKRelease + e.Env * fKReleaseM;

  // Left output, then right.
  for (int side = 0; side < 2; ++side) {
    const double a1 = CombSample(fPipes[side].Ring(), v.Feed, s[side]);
    const double a2 = CombSample(fPipes[side + 2].Ring(), v.Feed, s[side]);
    const double a3 = CombSample(fPipes[side + 4].Ring(), v.Feed, s[side]);
    s[side + 2] =
        static_cast<float>(v.Level * (a1 * fGate[0].Env + a2 * fGate[1].Env + a3 * fGate[2].Env +
                                      static_cast<double>(s[side]) * fGate[kDry].Env * 3.0));
  }

  // Peaks.
  for (int i = 0; i < 4; ++i) {
    float peak = static_cast<float>(static_cast<double>(peaks[i]) * 0.999);
    const float a = std::fabs(s[i]);
    if (a > peak) peak = a;
    peaks[i] = peak;
  }
}

void TSynth::Begin(TBlockValues& v, float (&peaks)[4]) {
  const int32_t k = TPlugin::fStep.load(std::memory_order_relaxed);
  EnterStep(k);
  for (int i = 0; i < 4; ++i)
    peaks[i] = Peaks[i].load(std::memory_order_relaxed);
  TakeValues(k, v);
}

void TSynth::StorePeaks(const float (&peaks)[4]) {
  for (int i = 0; i < 4; ++i)
    Peaks[i].store(peaks[i], std::memory_order_relaxed);
}

void TSynth::DoProcess(TSample& s) {
  float peaks[4];
  TBlockValues v;
  Begin(v, peaks);
  RunFrame(v, s, peaks);
  StorePeaks(peaks);
}

void TSynth::ProcessBlock(const float* inL, const float* inR, float* outL, float* outR,
                          int32_t frames) {
  // The values and the meters are taken straight into the kernel's job:
  // copying them in cost short calls a noticeable share of their time.
  TBlockJob& job = fJob;
  Begin(job.Values, job.Peaks);
  const int32_t whole = frames - frames % kest::kChunk;
  if (whole > 0) {
    job.In[0] = inL;
    job.In[1] = inR;
    job.Out[0] = outL;
    job.Out[1] = outR;
    job.Frames = whole;
    job.KRelease = fKRelease;
    job.KReleaseM = fKReleaseM;
    AimGates(job.Values);
    fKernel.load(std::memory_order_relaxed)(job);
  }
  EachFrame(inL, inR, outL, outR, whole, frames,
            [this, &job](TSample& s) { RunFrame(job.Values, s, job.Peaks); });
  StorePeaks(job.Peaks);
}

bool TSynth::Runs(TInstructionSet set) {
  if (set == TInstructionSet::Baseline) return true;
#if defined(__x86_64__) || defined(__i386__)
  static const bool avx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("fma") != 0;
  }();
  return avx2;
#else
  return false;
#endif
}

TSynth::TInstructionSet TSynth::BestInstructionSet() {
  return Runs(TInstructionSet::Avx2) ? TInstructionSet::Avx2 : TInstructionSet::Baseline;
}

void TSynth::UseInstructionSet(TInstructionSet set) {
  if (!Runs(set)) return;
  fKernel = set == TInstructionSet::Avx2 ? kest::BlockKernelAvx2 : kest::BlockKernelBaseline;
  fInstructionSet = set;
}

// ---- Random fills ----

void TSynth::WriteNote(TParamList& preset, int32_t index, int note) {
  TParameter& p = preset[index];
  p.SetValue(note);
  ApplyParameter(preset, index, p.GetVstValue());
}

void TSynth::FillRandomSeq(TParamList& preset) {
  kest::FillStyle(fRndSty.load(), fRndNote.load(), fRndRng.load(),
                  [&](int index, int note) { WriteNote(preset, index, note); });
}

void TSynth::ShiftStyle(TParamList& preset) {
  if (Updating()) return;
  const int d = fRndNote.load() - fRndNoteOld.load();
  kest::ShiftNotes(
      d, [&](int index) { return RoundEven(preset[index].Value()); },
      [&](int index, int note) { WriteNote(preset, index, note); });
}
