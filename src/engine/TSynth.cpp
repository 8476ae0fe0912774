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
    fE[c] = TEnv{};
    fPort[c] = TEnv{};
    for (int k = 0; k < kest::kNumSteps; ++k) {
      fPatt[c][k] = false;
      fFreq[c][k] = 0.0;
    }
  }
  fEC = TEnv{};
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

void TSynth::DoProcess(TSample& s) {
  constexpr auto relaxed = std::memory_order_relaxed;
  const int32_t k = TPlugin::fStep.load(relaxed);
  const double SR = static_cast<double>(FSampleRate.load(relaxed));

  // 1. A new step loads the glide targets, whatever its switches say.
  if (fStep != k) {
    fStep = k;
    for (int c = 0; c < kest::kNumChannels; ++c)
      fPort[c].Ini = fFreq[c][k].load(relaxed);
  }

  // 2. Glide, in hertz.
  const double portK = fPortK.load(relaxed);
  for (TEnv& p : fPort)
    p.Env = p.Ini * portK + p.Env * (1.0 - portK);

  // 3. Tuning: each line's delay is one period of its detuned frequency.
  const double detune1 = fDetune1.load(relaxed);
  const double detune2 = fDetune2.load(relaxed);
  for (int c = 0; c < kest::kNumChannels; ++c) {
    fPipes[2 * c].SetDelay(MinDelay(static_cast<float>(SR / (fPort[c].Env * detune1))));
    fPipes[2 * c + 1].SetDelay(MinDelay(static_cast<float>(SR / (fPort[c].Env * detune2))));
  }

  // 4. Gates: a channel sounds when its switch and its step are on; the dry
  // signal passes when none does.
  const double depK = fDepK.load(relaxed);
  bool anyOn = false;
  for (int c = 0; c < kest::kNumChannels; ++c) {
    const bool on = fPatt[c][k].load(relaxed) && fCh[c].load(relaxed);
    fE[c].Ini = on ? depK : 0.0;
    anyOn = anyOn || on;
  }
  fEC.Ini = anyOn ? 0.0 : 1.0;

  // 5. Gate smoothing, one coefficient for rising and falling.
  for (TEnv& e : fE)
    e.Env = e.Ini * fKRelease + e.Env * fKReleaseM;
  fEC.Env = fEC.Ini * fKRelease + fEC.Env * fKReleaseM;

  const double level = fLevel.load(relaxed);

  // 6. Left output.
  {
    const double a1 = fPipes[0].Process(s[0]);
    const double a2 = fPipes[2].Process(s[0]);
    const double a3 = fPipes[4].Process(s[0]);
    s[2] = static_cast<float>(level * (a1 * fE[0].Env + a2 * fE[1].Env + a3 * fE[2].Env +
                                       static_cast<double>(s[0]) * fEC.Env * 3.0));
  }
  // 7. Right output.
  {
    const double a1 = fPipes[1].Process(s[1]);
    const double a2 = fPipes[3].Process(s[1]);
    const double a3 = fPipes[5].Process(s[1]);
    s[3] = static_cast<float>(level * (a1 * fE[0].Env + a2 * fE[1].Env + a3 * fE[2].Env +
                                       static_cast<double>(s[1]) * fEC.Env * 3.0));
  }

  // 8. Peaks.
  for (int i = 0; i < 4; ++i) {
    float peak = static_cast<float>(static_cast<double>(Peaks[i].load(relaxed)) * 0.999);
    const float a = std::fabs(s[i]);
    if (a > peak) peak = a;
    Peaks[i].store(peak, relaxed);
  }
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
