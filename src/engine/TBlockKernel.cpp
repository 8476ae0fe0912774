// The block kernel. This file is compiled once per instruction set; the build
// names the function it defines (KEST_BLOCK_KERNEL) and adds the instruction
// set's flags. Everything else here has internal linkage.
//
// A chunk of four frames at a time: the glides and the gates step frame after
// frame (each step needs the one before), then the delays of all four frames
// are divided out together, each line runs its four frames side by side, and
// the mix and the peak meters follow. Every value is formed by the same
// operations in the same order and rounded at the same places as in the
// one-frame path (TSynth::RunFrame, CombSample), so the bits agree.
#include "TBlockKernel.h"
#include "Simd4.h"

#ifndef KEST_BLOCK_KERNEL
#error "KEST_BLOCK_KERNEL must name the kernel this build of the file defines"
#endif

namespace {

using namespace simd;
using kest::kChunk;

#define KEST_INLINE inline __attribute__((always_inline))

constexpr int kLines = 6;

// Four one-pole smoothers side by side (three glides and an idle lane, or
// the four gates): Env := Ini x k + Env x (1 - k), the product Ini x k being
// the same every frame.
struct TSmoothers {
  D4 IniK;
  D4 Keep;
  D4 Env;
  bool Settled; // one more step would change nothing, nor would any later one

  TSmoothers(const TEnv* env, int lanes, double k, double keep) {
    double ini[4] = {}, now[4] = {};
    for (int i = 0; i < lanes; ++i) {
      ini[i] = env[i].Ini;
      now[i] = env[i].Env;
    }
    IniK = Make(ini[0], ini[1], ini[2], ini[3]) * k;
    Keep = Splat(keep);
    Env = Make(now[0], now[1], now[2], now[3]);
    Settled = AllEqual(IniK + Env * Keep, Env);
  }

  // Four frames; answers each smoother's four values in f0 .. f3.
  inline void Step(D4& f0, D4& f1, D4& f2, D4& f3) {
    f0 = IniK + Env * Keep;
    f1 = IniK + f0 * Keep;
    f2 = IniK + f1 * Keep;
    f3 = IniK + f2 * Keep;
    Env = f3;
    Settled = AllEqual(IniK + f3 * Keep, f3);
    Transpose(f0, f1, f2, f3);
  }

  void Save(TEnv* env, int lanes) const {
    for (int i = 0; i < lanes; ++i)
      env[i].Env = Lane(Env, i);
  }
};

// The lanes of a delay with which four frames of a line may run side by
// side: none then reads what an earlier one of them writes, as each frame's
// taps lie behind the chunk's first write and ahead of the ring's wrap onto it.
inline F4 SideBySide(F4 delay, int32_t max) {
  return Within(delay, static_cast<float>(kChunk + 1), static_cast<float>(max - 1));
}

// The constants of the cubic, as vectors. Times a single, each but 1.5 gives
// an exact double.
struct TCubic {
  D4 Half = Splat(0.5);
  D4 MinusHalf = Splat(-0.5);
  D4 OneAndHalf = Splat(1.5);
  D4 MinusTwoAndHalf = Splat(-2.5);
  D4 Two = Splat(2.0);
};

// A line's four frames between reading the ring and writing it back: the
// cubic's coefficients (singles) and what it is evaluated at.
struct TCoefficients {
  D4 C1, C2, C3, X0, T;
};

// The taps are singles: 2.5 x0, 2 x1 and 0.5 x2 are exact, as is half of a
// difference of two of them.
inline TCoefficients Coefficients(D4 xm1, D4 x0, D4 x1, D4 x2, D4 t, const TCubic& k) {
  const D4 c2 =
      ProductPlus(k.MinusHalf, x2, ProductPlus(k.Two, x1, ProductPlus(k.MinusTwoAndHalf, x0, xm1)));
  const D4 c3 = ProductPlus(k.Half, x2 - xm1, k.OneAndHalf * (x0 - x1));
  return {Single(k.Half * (x1 - xm1)), Single(c2), Single(c3), x0, t};
}

// The end of CombSample for four frames: the cubic and the write-back.
// Answers the four outputs (singles, held as doubles).
// C3 x T and out x feed are products of singles, exact.
inline D4 CombWrite(TCombRing& r, const TCoefficients& c, D4 feed, D4 v) {
  const D4 out = Single((ProductPlus(c.C3, c.T, c.C2) * c.T + c.C1) * c.T + c.X0);
  const D4 w = Single(ProductPlus(out, feed, v));
  const int32_t N = r.Max;
  const int32_t cnt = r.Cnt;
  Store(r.Buf + cnt, w);
  Store(r.Buf + cnt + N, w);
  if (cnt + kChunk > N) {
    // Frames past the ring's end went to the second copy only (and into the
    // spare room): they belong at the start of the first copy too.
    for (int32_t f = N - cnt; f < kChunk; ++f)
      r.Buf[cnt + f - N] = Lane(w, f);
    r.Cnt = cnt + kChunk - N;
  } else {
    r.Cnt = cnt + kChunk == N ? 0 : cnt + kChunk;
  }
  return out;
}

// Where a delay puts a frame's read position, Cnt + Max + f - delay (one
// ring further on than CombSample counts, so never negative; on the doubled
// ring the taps are the same). Its integer part is Cnt + Max + f - Lag and
// its fraction Lag - delay, both exact, so both come from the delay alone.
struct TLag {
  F4 Lag; // the delay rounded up
  D4 T;   // the interpolation fraction, a single

  explicit TLag(F4 delay) : Lag(Ceil(delay)), T(Wide(Lag - delay)) {}
};

// The taps of four frames whose read positions follow one another, from the
// first frame's x-1 on: seven neighbouring samples.
inline void NeighbouringTaps(const double* at, D4& xm1, D4& x0, D4& x1, D4& x2) {
  xm1 = Load(at);
  x0 = Load(at + 1);
  x1 = Load(at + 2);
  x2 = Load(at + 3);
}

// Four frames of a line whose delay moves.
inline D4 CombMoving(TCombRing& r, F4 delay, const TCubic& k, D4 feed, D4 v) {
  const TLag lag(delay);
  const int32_t base = r.Cnt + r.Max - 1;
  D4 xm1, x0, x1, x2;
  if (Uniform(lag.Lag)) {
    // The usual case: the delay's whole part stays within the chunk.
    NeighbouringTaps(r.Buf + base - static_cast<int32_t>(First(lag.Lag)), xm1, x0, x1, x2);
  } else {
    const I4 at = SplatI(base) + MakeI(0, 1, 2, 3) - Truncate(lag.Lag);
    D4 a = Load(r.Buf + Lane(at, 0)), b = Load(r.Buf + Lane(at, 1));
    D4 c = Load(r.Buf + Lane(at, 2)), d = Load(r.Buf + Lane(at, 3));
    Transpose(a, b, c, d);
    xm1 = a, x0 = b, x1 = c, x2 = d;
  }
  return CombWrite(r, Coefficients(xm1, x0, x1, x2, lag.T, k), feed, v);
}

// The lines' delays once the glide has settled: they stand, and so do their
// lags and fractions, from chunk to chunk.
struct TStanding {
  float Delay[kLines];
  bool SideBySide[kLines];
  bool AllSideBySide;
  int32_t Lag[kLines];
  D4 T[kLines];
};

// Reads four frames of a line whose read positions follow one another, lag
// samples behind the writes.
inline TCoefficients CombRead(const TCombRing& r, int32_t lag, D4 t, const TCubic& k) {
  D4 xm1, x0, x1, x2;
  NeighbouringTaps(r.Buf + r.Cnt + r.Max - 1 - lag, xm1, x0, x1, x2);
  return Coefficients(xm1, x0, x1, x2, t, k);
}

inline D4 CombSteady(TCombRing& r, int32_t lag, D4 t, const TCubic& k, D4 feed, D4 v) {
  return CombWrite(r, CombRead(r, lag, t, k), feed, v);
}

// All six lines at lags that hold through the chunk. Every line's reading
// half runs before any writing half, so the long chains from the taps to the
// write-backs of the six lines overlap.
inline void CombSix(TCombRing* const* lines, const int32_t* lag, const D4* t, const TCubic& k,
                    D4 feed, const D4* in, D4* out) {
  TCoefficients c[kLines];
#pragma GCC unroll 6
  for (int l = 0; l < kLines; ++l)
    c[l] = CombRead(*lines[l], lag[l], t[l], k);
#pragma GCC unroll 6
  for (int l = 0; l < kLines; ++l)
    out[l] = CombWrite(*lines[l], c[l], feed, in[l & 1]);
}

// Four frames one at a time, for delays too short or too long to run side by side.
inline D4 CombOneByOne(TCombRing& r, F4 delay, float feed, F4 v) {
  alignas(16) float d[4], in[4], out[4];
  Store(d, delay);
  Store(in, v);
  for (int f = 0; f < kChunk; ++f) {
    r.Delay = d[f];
    out[f] = CombSample(r, feed, in[f]);
  }
  return Wide(Load(out));
}

// The peak meters (in L, in R, out L, out R): frame after frame each decays
// by 0.999 (in double, rounded to single) and takes the frame's level if
// that is higher.
// The levels and the samples are singles, and the larger of two singles is
// the same whether they are compared as singles or as doubles: only the decay
// needs double. The meters go as two pairs (in, out), each in the low half of
// a vector: a pair's decay takes two-lane conversions, which are quicker
// than four-lane ones, and the chain of decays is what the end of a short
// processing call waits for.
class TPeaks {
public:
  explicit TPeaks(const float* levels)
      : fIn(MakeF(levels[0], levels[1], 0.0f, 0.0f)),
        fOut(MakeF(levels[2], levels[3], 0.0f, 0.0f)) {}

  // A chunk's frames of the four signals.
  KEST_INLINE void Run(F4 inL, F4 inR, F4 outL, F4 outR) {
    fIn = Run(fIn, inL, inR);
    fOut = Run(fOut, outL, outR);
  }

  void Save(float* levels) const {
    levels[0] = Lane(fIn, 0);
    levels[1] = Lane(fIn, 1);
    levels[2] = Lane(fOut, 0);
    levels[3] = Lane(fOut, 1);
  }

private:
  // Merely inline: forcing a class's static members inline made the
  // sanitizers' unoptimised build give the kernel an unwinding symbol of its
  // own, which the kernel code check refuses.
  // A pair of meters after one frame, whose levels are in the low lanes of `frame`.
  static inline F4 Frame(F4 meters, F4 frame) {
    return Max(frame, DecayLowPair(meters, 0.999));
  }

  static inline F4 Run(F4 meters, F4 left, F4 right) {
    const F4 frames01 = Abs(InterleaveLow(left, right));
    const F4 frames23 = Abs(InterleaveHigh(left, right));
    meters = Frame(meters, frames01);
    meters = Frame(meters, HighHalf(frames01));
    meters = Frame(meters, frames23);
    return Frame(meters, HighHalf(frames23));
  }

  F4 fIn;  // in L, in R in the low lanes
  F4 fOut; // out L, out R in the low lanes
};

// What a chunk's lines and mix need: the delays (or that they stand), each
// line's lag and fraction, and the gates over the chunk's frames.
struct TControl {
  bool Moving; // the delays move within the chunk (else: the standing ones)
  F4 Delays[kLines];
  bool SideBySide[kLines];
  // Every line side by side at a lag that holds through the chunk (the usual case).
  bool Neighbouring;
  // The lags and fractions of moving delays (standing ones: TStanding).
  int32_t Lag[kLines];
  D4 T[kLines];
  D4 Gate[4];
};

// The control of one processing call: the glides, the tuning and the gates,
// chunk after chunk.
class TControlPass {
public:
  explicit TControlPass(const TBlockJob& job)
      : fJob(job), fValues(job.Values), fSampleRate(Splat(job.Values.SampleRate)),
        fGlide(job.Port, 3, job.Values.PortK, 1.0 - job.Values.PortK),
        fGates(job.Gate, 4, job.KRelease, job.KReleaseM) {
    int32_t max = job.Lines[0]->Max;
    for (const TCombRing* line : job.Lines)
      max = line->Max < max ? line->Max : max;
    fLongest = static_cast<float>(max - 1);
    if (fGlide.Settled) {
      // The delays stand from the first frame on.
      const D4 hz[3] = {Splat(Lane(fGlide.Env, 0)), Splat(Lane(fGlide.Env, 1)),
                        Splat(Lane(fGlide.Env, 2))};
      TControl c;
      Tune(hz, c);
      Settle(c, 0);
    }
    if (fGates.Settled) StandGates();
  }

  // The next chunk's control.
  KEST_INLINE void Next(TControl& c) {
    c.Moving = !fGlide.Settled;
    if (c.Moving) {
      D4 hz[4];
      fGlide.Step(hz[0], hz[1], hz[2], hz[3]);
      Tune(hz, c);
      if (fGlide.Settled) Settle(c, kChunk - 1);
    } else {
      c.Neighbouring = Standing.AllSideBySide;
    }
    if (fGates.Settled) {
      for (int g = 0; g < 4; ++g)
        c.Gate[g] = fStandingGates[g];
    } else {
      fGates.Step(c.Gate[0], c.Gate[1], c.Gate[2], c.Gate[3]);
      if (fGates.Settled) StandGates();
    }
  }

  void Save(TBlockJob& job) const {
    fGlide.Save(job.Port, 3);
    fGates.Save(job.Gate, 4);
  }

  TStanding Standing;

private:
  // The delay a line is set to for a tuning quotient: at least two samples,
  // at most the ring, a NaN the longest (the order of Max and Min does that).
  // Delays with which the frames may run side by side are all that already;
  // then the lags and fractions follow, a channel's two lines at a time (as
  // TLag works them out).
  KEST_INLINE void Tune(const D4* hz, TControl& c) {
    F8 delays[3];
    F8 sideBySide = Pair(AllSet(), AllSet());
    for (int ch = 0; ch < 3; ++ch) {
      c.Delays[2 * ch] = Narrow(fSampleRate / (hz[ch] * fValues.Detune1));
      c.Delays[2 * ch + 1] = Narrow(fSampleRate / (hz[ch] * fValues.Detune2));
      delays[ch] = Pair(c.Delays[2 * ch], c.Delays[2 * ch + 1]);
      sideBySide = sideBySide & Within(delays[ch], static_cast<float>(kChunk + 1), fLongest);
    }
    if (All(sideBySide)) {
      c.Neighbouring = true;
      for (int ch = 0; ch < 3; ++ch) {
        const F8 lag = Ceil(delays[ch]);
        const F8 t = lag - delays[ch];
        c.Neighbouring = c.Neighbouring && UniformHalves(lag);
        c.Lag[2 * ch] = static_cast<int32_t>(First(Low(lag)));
        c.Lag[2 * ch + 1] = static_cast<int32_t>(First(High(lag)));
        c.T[2 * ch] = Wide(Low(t));
        c.T[2 * ch + 1] = Wide(High(t));
        c.SideBySide[2 * ch] = c.SideBySide[2 * ch + 1] = true;
      }
      return;
    }
    c.Neighbouring = false;
    for (int l = 0; l < kLines; ++l) {
      const float max = static_cast<float>(fJob.Lines[l]->Max);
      c.Delays[l] = Min(Max(SplatF(2.0f), c.Delays[l]), SplatF(max));
      c.SideBySide[l] = All(SideBySide(c.Delays[l], fJob.Lines[l]->Max));
    }
  }

  void StandGates() {
    for (int g = 0; g < 4; ++g)
      fStandingGates[g] = Splat(Lane(fGates.Env, g));
  }

  void Settle(const TControl& c, int frame) {
    TStanding& s = Standing;
    s.AllSideBySide = true;
    for (int l = 0; l < kLines; ++l) {
      s.Delay[l] = Lane(c.Delays[l], frame);
      s.SideBySide[l] = All(SideBySide(SplatF(s.Delay[l]), fJob.Lines[l]->Max));
      s.AllSideBySide = s.AllSideBySide && s.SideBySide[l];
      const TLag lag(SplatF(s.Delay[l]));
      s.Lag[l] = static_cast<int32_t>(First(lag.Lag));
      s.T[l] = lag.T;
    }
  }

  const TBlockJob& fJob;
  const TBlockValues& fValues;
  const D4 fSampleRate;
  float fLongest; // the longest delay every line can run side by side with
  TSmoothers fGlide;
  TSmoothers fGates;
  D4 fStandingGates[4]; // the gates once they have settled
};

// Four frames of every line.
KEST_INLINE void CombLines(TBlockJob& job, const TControl& c, const TStanding& standing,
                           const TCubic& k, D4 feed, const F4* inF, const D4* in, D4* out) {
  if (c.Neighbouring) {
    CombSix(job.Lines, c.Moving ? c.Lag : standing.Lag, c.Moving ? c.T : standing.T, k, feed, in,
            out);
    return;
  }
  for (int l = 0; l < kLines; ++l) {
    TCombRing& r = *job.Lines[l];
    const int s = l & 1;
    if (!c.Moving) {
      out[l] = standing.SideBySide[l]
                   ? CombSteady(r, standing.Lag[l], standing.T[l], k, feed, in[s])
                   : CombOneByOne(r, SplatF(standing.Delay[l]), job.Values.Feed, inF[s]);
    } else if (c.SideBySide[l]) {
      out[l] = CombMoving(r, c.Delays[l], k, feed, in[s]);
    } else {
      out[l] = CombOneByOne(r, c.Delays[l], job.Values.Feed, inF[s]);
    }
  }
}

} // namespace

namespace kest {

void KEST_BLOCK_KERNEL(TBlockJob& job) {
  const D4 feed = Splat(static_cast<double>(job.Values.Feed));
  const D4 level = Splat(job.Values.Level);
  const TCubic cubic;
  TControlPass control(job);
  // Each chunk's control is worked out while the chunk before it runs, so
  // the glide, the divisions and the gates overlap the lines.
  TControl controls[2];
  TControl* now = &controls[0];
  TControl* next = &controls[1];
  control.Next(*now);

  TPeaks peaks(job.Peaks);
  // The meters run a chunk behind, beside the lines: the previous chunk's levels.
  F4 levels[4] = {};

  for (int32_t j = 0; j < job.Frames; j += kChunk) {
    F4 inF[2];
    D4 in[2];
    for (int s = 0; s < 2; ++s) {
      inF[s] = job.In[s] != nullptr ? Load(job.In[s] + j) : SplatF(0.0f);
      in[s] = Wide(inF[s]);
    }
    const bool last = j + kChunk >= job.Frames;
    if (!last) control.Next(*next);

    D4 out[kLines];
    CombLines(job, *now, control.Standing, cubic, feed, inF, in, out);

    if (j > 0) peaks.Run(levels[0], levels[1], levels[2], levels[3]);
    for (int s = 0; s < 2; ++s) {
      const F4 mixed = Narrow(level * (out[s] * now->Gate[0] + out[s + 2] * now->Gate[1] +
                                       out[s + 4] * now->Gate[2] + in[s] * now->Gate[3] * 3.0));
      Store(job.Out[s] + j, mixed);
      levels[s] = inF[s];
      levels[s + 2] = mixed;
    }

    if (!last) {
      TControl* const done = now;
      now = next;
      next = done;
    }
  }
  peaks.Run(levels[0], levels[1], levels[2], levels[3]);

  control.Save(job);
  for (int l = 0; l < kLines; ++l)
    job.Lines[l]->Delay =
        now->Moving ? Lane(now->Delays[l], kChunk - 1) : control.Standing.Delay[l];
  peaks.Save(job.Peaks);
}

} // namespace kest
