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

// The delay a line is set to for a tuning quotient: at least two samples, at
// most the ring, a NaN the longest (the order of Max and Min does that).
inline F4 LineDelay(D4 quotient, float max) {
  return Min(Max(SplatF(2.0f), Narrow(quotient)), SplatF(max));
}

// Four frames may run side by side when none reads what an earlier one of
// them writes: each frame's taps then lie behind the chunk's first write and
// ahead of the ring's wrap onto it.
inline bool SideBySide(F4 delay, int32_t max) {
  return AllWithin(delay, static_cast<float>(kChunk + 1), static_cast<float>(max - 1));
}

// The constants of the cubic, as vectors.
struct TCubic {
  D4 Half = Splat(0.5);
  D4 OneAndHalf = Splat(1.5);
  D4 TwoAndHalf = Splat(2.5);
  D4 Two = Opaque(Splat(2.0)); // kept a product: see Opaque
};

// The end of CombSample for four frames: coefficients, cubic, write-back.
// Answers the four outputs (singles, held as doubles).
inline D4 CombFinish(TCombRing& r, D4 xm1, D4 x0, D4 x1, D4 x2, D4 td, const TCubic& k, D4 feed,
                     D4 v) {
  const D4 c1 = Single(k.Half * (x1 - xm1));
  const D4 c2 = Single(xm1 - k.TwoAndHalf * x0 + k.Two * x1 - k.Half * x2);
  const D4 c3 = Single(k.OneAndHalf * (x0 - x1) + k.Half * (x2 - xm1));
  const D4 out = Single(((c3 * td + c2) * td + c1) * td + x0);
  const F4 w = Narrow(v + out * feed);
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
  I4 Lag; // the delay rounded up
  D4 T;   // the interpolation fraction, a single

  explicit TLag(F4 delay) {
    const I4 whole = Truncate(delay);
    const F4 frac = delay - Float(whole);
    const F4 fractional = NonZero(frac);
    T = Wide(Where(fractional, SplatF(1.0f) - frac));
    Lag = whole - AsInt(fractional); // the mask reads -1
  }
};

// The taps of four frames whose read positions follow one another, from the
// first frame's x-1 on: seven neighbouring samples.
inline void NeighbouringTaps(const float* at, D4& xm1, D4& x0, D4& x1, D4& x2) {
  xm1 = Wide(Load(at));
  Shifts(xm1, Wide(Load(at + kChunk)), x0, x1, x2);
}

// Four frames of a line whose delay moves.
inline D4 CombMoving(TCombRing& r, F4 delay, const TCubic& k, D4 feed, D4 v) {
  const TLag lag(delay);
  const int32_t base = r.Cnt + r.Max - 1;
  D4 xm1, x0, x1, x2;
  if (Uniform(lag.Lag)) {
    // The usual case: the delay's whole part stays within the chunk.
    NeighbouringTaps(r.Buf + base - First(lag.Lag), xm1, x0, x1, x2);
  } else {
    const I4 at = SplatI(base) + MakeI(0, 1, 2, 3) - lag.Lag;
    F4 a = Load(r.Buf + Lane(at, 0)), b = Load(r.Buf + Lane(at, 1));
    F4 c = Load(r.Buf + Lane(at, 2)), d = Load(r.Buf + Lane(at, 3));
    Transpose(a, b, c, d);
    xm1 = Wide(a), x0 = Wide(b), x1 = Wide(c), x2 = Wide(d);
  }
  return CombFinish(r, xm1, x0, x1, x2, lag.T, k, feed, v);
}

// A line whose delay stands: its lag and fraction hold from chunk to chunk.
struct TStanding {
  float Delay;
  bool SideBySide;
  int32_t Lag;
  D4 T;
};

inline D4 CombSteady(TCombRing& r, const TStanding& s, const TCubic& k, D4 feed, D4 v) {
  D4 xm1, x0, x1, x2;
  NeighbouringTaps(r.Buf + r.Cnt + r.Max - 1 - s.Lag, xm1, x0, x1, x2);
  return CombFinish(r, xm1, x0, x1, x2, s.T, k, feed, v);
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
struct TPeaks {
  D4 Level;

  // levels: in L, in R, out L, out R over a chunk's frames.
  inline void Run(D4 inL, D4 inR, D4 outL, D4 outR) {
    D4 a0 = Abs(inL), a1 = Abs(inR), a2 = Abs(outL), a3 = Abs(outR);
    Transpose(a0, a1, a2, a3);
    Level = Max(a0, Single(Level * 0.999));
    Level = Max(a1, Single(Level * 0.999));
    Level = Max(a2, Single(Level * 0.999));
    Level = Max(a3, Single(Level * 0.999));
  }
};

} // namespace

namespace kest {

void KEST_BLOCK_KERNEL(TBlockJob& job) {
  const TBlockValues& values = job.Values;
  const D4 sr = Splat(values.SampleRate);
  const D4 feed = Splat(static_cast<double>(values.Feed));
  const D4 level = Splat(values.Level);
  const TCubic cubic;

  TSmoothers glide(job.Port, 3, values.PortK, 1.0 - values.PortK);
  TSmoothers gates(job.Gate, 4, job.KRelease, job.KReleaseM);

  // What the lines and the mix need for one chunk, worked out a chunk ahead
  // so that the glide, the divisions and the gates run beside the lines.
  struct TControl {
    bool Moving; // the delays move within the chunk (else: the standing ones)
    F4 Delays[kLines];
    bool SideBySide[kLines];
    D4 Gate[4]; // the gates over the chunk's frames
  };
  TStanding steady[kLines];
  auto tune = [&](const D4* hz, TControl& c) {
    for (int ch = 0; ch < 3; ++ch) {
      c.Delays[2 * ch] =
          LineDelay(sr / (hz[ch] * values.Detune1), static_cast<float>(job.Lines[2 * ch]->Max));
      c.Delays[2 * ch + 1] =
          LineDelay(sr / (hz[ch] * values.Detune2), static_cast<float>(job.Lines[2 * ch + 1]->Max));
    }
    for (int l = 0; l < kLines; ++l)
      c.SideBySide[l] = SideBySide(c.Delays[l], job.Lines[l]->Max);
  };
  auto settle = [&](const TControl& c, int frame) {
    for (int l = 0; l < kLines; ++l) {
      TStanding& s = steady[l];
      s.Delay = Lane(c.Delays[l], frame);
      s.SideBySide = SideBySide(SplatF(s.Delay), job.Lines[l]->Max);
      const TLag lag(SplatF(s.Delay));
      s.Lag = First(lag.Lag);
      s.T = lag.T;
    }
  };
  auto control = [&](TControl& c) {
    c.Moving = !glide.Settled;
    if (c.Moving) {
      D4 hz[4];
      glide.Step(hz[0], hz[1], hz[2], hz[3]);
      tune(hz, c);
      if (glide.Settled) settle(c, kChunk - 1);
    }
    if (gates.Settled) {
      for (int g = 0; g < 4; ++g)
        c.Gate[g] = Splat(Lane(gates.Env, g));
    } else {
      gates.Step(c.Gate[0], c.Gate[1], c.Gate[2], c.Gate[3]);
    }
  };
  TControl now, next;
  {
    const D4 hz[3] = {Splat(Lane(glide.Env, 0)), Splat(Lane(glide.Env, 1)),
                      Splat(Lane(glide.Env, 2))};
    tune(hz, now);
    settle(now, 0);
  }
  control(now);

  TPeaks peaks;
  peaks.Level = Make(job.Peaks[0], job.Peaks[1], job.Peaks[2], job.Peaks[3]);
  // The previous chunk's levels: the meters run a chunk behind, beside the lines.
  D4 levels[4];
  bool pending = false;

  for (int32_t j = 0; j < job.Frames; j += kChunk) {
    F4 inF[2];
    D4 in[2];
    for (int s = 0; s < 2; ++s) {
      inF[s] = job.In[s] != nullptr ? Load(job.In[s] + j) : SplatF(0.0f);
      in[s] = Wide(inF[s]);
    }

    const bool last = j + kChunk >= job.Frames;
    if (!last) control(next);

    D4 out[kLines];
    for (int l = 0; l < kLines; ++l) {
      TCombRing& r = *job.Lines[l];
      const int s = l & 1;
      if (!now.Moving) {
        out[l] = steady[l].SideBySide
                     ? CombSteady(r, steady[l], cubic, feed, in[s])
                     : CombOneByOne(r, SplatF(steady[l].Delay), values.Feed, inF[s]);
      } else if (now.SideBySide[l]) {
        out[l] = CombMoving(r, now.Delays[l], cubic, feed, in[s]);
      } else {
        out[l] = CombOneByOne(r, now.Delays[l], values.Feed, inF[s]);
      }
    }

    if (pending) peaks.Run(levels[0], levels[1], levels[2], levels[3]);

    for (int s = 0; s < 2; ++s) {
      const F4 mixed = Narrow(level * (out[s] * now.Gate[0] + out[s + 2] * now.Gate[1] +
                                       out[s + 4] * now.Gate[2] + in[s] * now.Gate[3] * 3.0));
      Store(job.Out[s] + j, mixed);
      levels[s] = in[s];
      levels[s + 2] = Wide(mixed);
    }
    pending = true;

    if (!last) now = next;
  }
  if (pending) peaks.Run(levels[0], levels[1], levels[2], levels[3]);

  glide.Save(job.Port, 3);
  gates.Save(job.Gate, 4);
  for (int l = 0; l < kLines; ++l)
    job.Lines[l]->Delay = now.Moving ? Lane(now.Delays[l], kChunk - 1) : steady[l].Delay;
  alignas(32) double p[4];
  Store(p, peaks.Level);
  for (int i = 0; i < 4; ++i)
    job.Peaks[i] = static_cast<float>(p[i]);
}

} // namespace kest
