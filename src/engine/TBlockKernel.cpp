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

#ifndef KEST_BLOCK_KERNEL
#error "KEST_BLOCK_KERNEL must name the kernel this build of the file defines"
#endif

namespace {

using v4d = double __attribute__((vector_size(32)));
using v4f = float __attribute__((vector_size(16)));
using v4i = int32_t __attribute__((vector_size(16)));
using v4l = int64_t __attribute__((vector_size(32)));

#define KEST_INLINE inline __attribute__((always_inline))

KEST_INLINE v4d Wide(v4f x) {
  return __builtin_convertvector(x, v4d);
}
KEST_INLINE v4f Narrow(v4d x) {
  return __builtin_convertvector(x, v4f);
}
// Rounded to single precision, kept as double for the steps that follow.
KEST_INLINE v4d Single(v4d x) {
  return Wide(Narrow(x));
}
KEST_INLINE v4d Splat(double x) {
  return v4d{x, x, x, x};
}
KEST_INLINE v4f Splat(float x) {
  return v4f{x, x, x, x};
}
KEST_INLINE v4f Load(const float* p) {
  v4f v;
  __builtin_memcpy(&v, p, sizeof v);
  return v;
}
KEST_INLINE void Store(float* p, v4f v) {
  __builtin_memcpy(p, &v, sizeof v);
}
KEST_INLINE bool All(v4i m) {
  return (m[0] & m[1] & m[2] & m[3]) != 0;
}
KEST_INLINE bool All(v4l m) {
  return (m[0] & m[1] & m[2] & m[3]) != 0;
}
KEST_INLINE v4f Abs(v4f x) {
  return (v4f)((v4i)x & 0x7FFFFFFF);
}

// Rows to columns.
template <typename V> KEST_INLINE void Transpose(V& a, V& b, V& c, V& d) {
  const V t0 = __builtin_shufflevector(a, b, 0, 4, 1, 5);
  const V t1 = __builtin_shufflevector(a, b, 2, 6, 3, 7);
  const V t2 = __builtin_shufflevector(c, d, 0, 4, 1, 5);
  const V t3 = __builtin_shufflevector(c, d, 2, 6, 3, 7);
  a = __builtin_shufflevector(t0, t2, 0, 1, 4, 5);
  b = __builtin_shufflevector(t0, t2, 2, 3, 6, 7);
  c = __builtin_shufflevector(t1, t3, 0, 1, 4, 5);
  d = __builtin_shufflevector(t1, t3, 2, 3, 6, 7);
}

// Four one-pole smoothers side by side (three glides and an idle lane, or
// the four gates): Env := Ini x k + Env x (1 - k), the product Ini x k being
// the same every frame.
struct TSmoothers {
  v4d IniK;
  v4d Keep;
  v4d Env;
  bool Settled; // one more step would change nothing, nor would any later one

  TSmoothers(const TEnv* env, int lanes, double k, double keep) {
    double ini[4] = {}, now[4] = {};
    for (int i = 0; i < lanes; ++i) {
      ini[i] = env[i].Ini;
      now[i] = env[i].Env;
    }
    IniK = v4d{ini[0], ini[1], ini[2], ini[3]} * k;
    Keep = Splat(keep);
    Env = v4d{now[0], now[1], now[2], now[3]};
    Settled = All(IniK + Env * Keep == Env);
  }

  // Four frames; answers each smoother's four values in f0 .. f3.
  KEST_INLINE void Step(v4d& f0, v4d& f1, v4d& f2, v4d& f3) {
    f0 = IniK + Env * Keep;
    f1 = IniK + f0 * Keep;
    f2 = IniK + f1 * Keep;
    f3 = IniK + f2 * Keep;
    Env = f3;
    Settled = All(IniK + f3 * Keep == f3);
    Transpose(f0, f1, f2, f3);
  }

  void Save(TEnv* env, int lanes) const {
    for (int i = 0; i < lanes; ++i)
      env[i].Env = Env[i];
  }
};

// The delay a line is set to for a tuning quotient: at least two samples, at
// most the ring, a NaN the longest.
KEST_INLINE v4f LineDelay(v4d quotient, float max) {
  v4f d = Narrow(quotient);
  d = d < 2.0f ? Splat(2.0f) : d;
  d = d > max ? Splat(max) : d;
  d = d == d ? d : Splat(max);
  return d;
}

// Four frames may run side by side when none reads what an earlier one of
// them writes: then frame f's taps lie behind the chunk's first write and
// ahead of its wrap-around.
KEST_INLINE bool SideBySide(v4f delay, int32_t max) {
  return All((delay > static_cast<float>(kest::kChunk + 1)) &
             (delay <= static_cast<float>(max - 1)));
}

// The end of CombSample for four frames: coefficients, cubic, write-back.
KEST_INLINE v4f CombFinish(TCombRing& r, v4f xm1f, v4f x0f, v4f x1f, v4f x2f, v4d td, double feed,
                           v4d v) {
  const v4d xm1 = Wide(xm1f), x0 = Wide(x0f), x1 = Wide(x1f), x2 = Wide(x2f);
  const v4d c1 = Single(0.5 * (x1 - xm1));
  const v4d c2 = Single(xm1 - 2.5 * x0 + 2.0 * x1 - 0.5 * x2);
  const v4d c3 = Single(1.5 * (x0 - x1) + 0.5 * (x2 - xm1));
  const v4f out = Narrow(((c3 * td + c2) * td + c1) * td + x0);
  const v4f w = Narrow(v + Wide(out) * feed);
  const int32_t N = r.Max;
  const int32_t cnt = r.Cnt;
  Store(r.Buf + cnt, w);
  Store(r.Buf + cnt + N, w);
  // Frames past the ring's end went to the second copy only (and into the
  // spare room): they belong at the start of the first copy too.
  for (int32_t f = N - cnt; f < kest::kChunk; ++f)
    r.Buf[cnt + f - N] = w[f];
  r.Cnt = cnt + kest::kChunk >= N ? cnt + kest::kChunk - N : cnt + kest::kChunk;
  return out;
}

// Four frames of a line whose delay moves. Positions are counted one ring
// further on (Cnt + Max - delay is never negative), which changes neither the
// fraction nor, on the doubled ring, the taps.
KEST_INLINE v4f CombMoving(TCombRing& r, v4f delay, double feed, v4d v) {
  const v4d p = (Splat(static_cast<double>(r.Cnt + r.Max)) + v4d{0.0, 1.0, 2.0, 3.0}) - Wide(delay);
  const v4i i = __builtin_convertvector(p, v4i);
  const v4d td = Single(p - __builtin_convertvector(i, v4d));
  v4f xm1 = Load(r.Buf + i[0] - 1);
  v4f x0 = Load(r.Buf + i[1] - 1);
  v4f x1 = Load(r.Buf + i[2] - 1);
  v4f x2 = Load(r.Buf + i[3] - 1);
  Transpose(xm1, x0, x1, x2);
  return CombFinish(r, xm1, x0, x1, x2, td, feed, v);
}

// Four frames of a line whose delay stands: the read position moves on by
// one a frame, so each tap of the four frames is one load.
KEST_INLINE v4f CombSteady(TCombRing& r, float delay, double feed, v4d v) {
  const double p = static_cast<double>(r.Cnt + r.Max) - static_cast<double>(delay);
  const int32_t i = static_cast<int32_t>(p);
  const double td = static_cast<float>(p - i);
  const float* at = r.Buf + i - 1;
  return CombFinish(r, Load(at), Load(at + 1), Load(at + 2), Load(at + 3), Splat(td), feed, v);
}

// Four frames one at a time, for delays too short or too long to run side by side.
KEST_INLINE v4f CombOneByOne(TCombRing& r, v4f delay, float feed, v4f v) {
  v4f out;
  for (int f = 0; f < kest::kChunk; ++f) {
    r.Delay = delay[f];
    out[f] = CombSample(r, feed, v[f]);
  }
  return out;
}

} // namespace

namespace kest {

void KEST_BLOCK_KERNEL(TBlockJob& job) {
  constexpr int kLines = 6;
  const TBlockValues& values = job.Values;
  const double sr = values.SampleRate;
  const double feed = values.Feed;
  const v4d level = Splat(values.Level);

  TSmoothers glide(job.Port, 3, values.PortK, 1.0 - values.PortK);
  TSmoothers gates(job.Gate, 4, job.KRelease, job.KReleaseM);

  // Each line's delay as it stands, and whether a standing delay runs side by side.
  float steady[kLines];
  bool steadyFits[kLines];
  auto settle = [&](const v4f* delays, int frame) {
    for (int l = 0; l < kLines; ++l) {
      steady[l] = delays[l][frame];
      steadyFits[l] = SideBySide(Splat(steady[l]), job.Lines[l]->Max);
    }
  };
  v4f delays[kLines];
  auto tune = [&](const v4d* hz) {
    for (int c = 0; c < 3; ++c) {
      delays[2 * c] = LineDelay(sr / (hz[c] * values.Detune1), job.Lines[2 * c]->Max);
      delays[2 * c + 1] = LineDelay(sr / (hz[c] * values.Detune2), job.Lines[2 * c + 1]->Max);
    }
  };
  {
    const v4d now[3] = {Splat(glide.Env[0]), Splat(glide.Env[1]), Splat(glide.Env[2])};
    tune(now);
    settle(delays, 0);
  }
  // The gates over the chunk's frames; constant while they stand.
  v4d gate[4] = {Splat(gates.Env[0]), Splat(gates.Env[1]), Splat(gates.Env[2]),
                 Splat(gates.Env[3])};

  v4f peaks{job.Peaks[0], job.Peaks[1], job.Peaks[2], job.Peaks[3]};
  const float ffeed = values.Feed;

  for (int32_t j = 0; j < job.Frames; j += kChunk) {
    v4f inF[2];
    v4d in[2];
    for (int s = 0; s < 2; ++s) {
      inF[s] = job.In[s] != nullptr ? Load(job.In[s] + j) : v4f{};
      in[s] = Wide(inF[s]);
    }

    // Glides and tuning.
    const bool moving = !glide.Settled;
    if (moving) {
      v4d hz[4];
      glide.Step(hz[0], hz[1], hz[2], hz[3]);
      tune(hz);
      if (glide.Settled) settle(delays, kChunk - 1);
    }

    // Gates.
    const bool gatesMoving = !gates.Settled;
    if (gatesMoving) gates.Step(gate[0], gate[1], gate[2], gate[3]);

    // The six lines.
    v4f out[kLines];
    for (int l = 0; l < kLines; ++l) {
      TCombRing& r = *job.Lines[l];
      const int s = l & 1;
      if (!moving) {
        out[l] = steadyFits[l] ? CombSteady(r, steady[l], feed, in[s])
                               : CombOneByOne(r, Splat(steady[l]), ffeed, inF[s]);
      } else if (SideBySide(delays[l], r.Max)) {
        out[l] = CombMoving(r, delays[l], feed, in[s]);
      } else {
        out[l] = CombOneByOne(r, delays[l], ffeed, inF[s]);
      }
    }

    // The mix.
    v4f mixed[2];
    for (int s = 0; s < 2; ++s) {
      const v4d a1 = Wide(out[s]), a2 = Wide(out[s + 2]), a3 = Wide(out[s + 4]);
      mixed[s] =
          Narrow(level * (a1 * gate[0] + a2 * gate[1] + a3 * gate[2] + in[s] * gate[3] * 3.0));
      Store(job.Out[s] + j, mixed[s]);
    }

    if (gatesMoving && gates.Settled) {
      for (int g = 0; g < 4; ++g)
        gate[g] = Splat(gates.Env[g]);
    }

    // The peak meters, frame after frame.
    v4f a[kChunk] = {Abs(inF[0]), Abs(inF[1]), Abs(mixed[0]), Abs(mixed[1])};
    Transpose(a[0], a[1], a[2], a[3]);
    for (int f = 0; f < kChunk; ++f) {
      const v4f decayed = Narrow(Wide(peaks) * 0.999);
      peaks = a[f] > decayed ? a[f] : decayed;
    }
  }

  glide.Save(job.Port, 3);
  gates.Save(job.Gate, 4);
  for (int l = 0; l < kLines; ++l)
    job.Lines[l]->Delay = glide.Settled ? steady[l] : delays[l][kChunk - 1];
  for (int i = 0; i < 4; ++i)
    job.Peaks[i] = peaks[i];
}

} // namespace kest
