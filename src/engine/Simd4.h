#pragma once
// Four-lane vectors of doubles, singles and 32-bit integers for the block
// kernel: one AVX register, or two SSE2 halves on baseline x86-64, chosen by
// the flags the including translation unit is compiled with. Every operation
// is the IEEE operation of its scalar counterpart, lane by lane.
//
// Where the translation unit may use FMA (the AVX2 kernel), a fused
// multiply-add stands only for an exact product plus a number, which rounds
// once either way (ProductPlus).
//
// Only the block kernel includes this, and everything here has internal
// linkage: each instruction set's kernel keeps its own copy.
#include <immintrin.h>

#include <cstdint>

namespace {
namespace simd {

#define KEST_SIMD inline __attribute__((always_inline))

struct F4 {
  __m128 v;
};
struct I4 {
  __m128i v;
};

KEST_SIMD F4 Load(const float* p) {
  return {_mm_loadu_ps(p)};
}
KEST_SIMD void Store(float* p, F4 x) {
  _mm_storeu_ps(p, x.v);
}
KEST_SIMD F4 MakeF(float a, float b, float c, float d) {
  return {_mm_setr_ps(a, b, c, d)};
}
KEST_SIMD F4 SplatF(float x) {
  return {_mm_set1_ps(x)};
}
KEST_SIMD float Lane(F4 x, int i) {
  alignas(16) float a[4];
  _mm_store_ps(a, x.v);
  return a[i];
}
// a > b ? a : b, and a < b ? a : b, lane by lane (a NaN in a gives b).
KEST_SIMD F4 Max(F4 a, F4 b) {
  return {_mm_max_ps(a.v, b.v)};
}
KEST_SIMD F4 Min(F4 a, F4 b) {
  return {_mm_min_ps(a.v, b.v)};
}
KEST_SIMD F4 Abs(F4 x) {
  return {_mm_and_ps(x.v, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)))};
}
KEST_SIMD F4 AllSet() {
  return {_mm_castsi128_ps(_mm_set1_epi32(-1))};
}
// a0 b0 a1 b1, and a2 b2 a3 b3.
KEST_SIMD F4 InterleaveLow(F4 a, F4 b) {
  return {_mm_unpacklo_ps(a.v, b.v)};
}
KEST_SIMD F4 InterleaveHigh(F4 a, F4 b) {
  return {_mm_unpackhi_ps(a.v, b.v)};
}
// Lanes 2 and 3 moved to 0 and 1.
KEST_SIMD F4 HighHalf(F4 x) {
  return {_mm_movehl_ps(x.v, x.v)};
}
// The low two lanes times k, in double, rounded to single; the others 0.
KEST_SIMD F4 DecayLowPair(F4 x, double k) {
  return {_mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(x.v), _mm_set1_pd(k)))};
}
// The lanes of a above lo and at most hi (a NaN is neither), as a mask.
KEST_SIMD F4 Within(F4 a, float lo, float hi) {
  return {_mm_and_ps(_mm_cmpgt_ps(a.v, _mm_set1_ps(lo)), _mm_cmple_ps(a.v, _mm_set1_ps(hi)))};
}
KEST_SIMD F4 operator&(F4 a, F4 b) {
  return {_mm_and_ps(a.v, b.v)};
}
KEST_SIMD bool All(F4 mask) {
  return _mm_movemask_ps(mask.v) == 0xF;
}
KEST_SIMD F4 operator-(F4 a, F4 b) {
  return {_mm_sub_ps(a.v, b.v)};
}
KEST_SIMD I4 operator+(I4 a, I4 b) {
  return {_mm_add_epi32(a.v, b.v)};
}
KEST_SIMD I4 operator-(I4 a, I4 b) {
  return {_mm_sub_epi32(a.v, b.v)};
}
KEST_SIMD I4 SplatI(int32_t x) {
  return {_mm_set1_epi32(x)};
}
KEST_SIMD I4 MakeI(int32_t a, int32_t b, int32_t c, int32_t d) {
  return {_mm_setr_epi32(a, b, c, d)};
}
KEST_SIMD int32_t Lane(I4 x, int i) {
  alignas(16) int32_t a[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(a), x.v);
  return a[i];
}
// The integer part of lanes that are not negative.
KEST_SIMD I4 Truncate(F4 x) {
  return {_mm_cvttps_epi32(x.v)};
}
// The lanes rounded up to whole numbers (in range of int32 when not negative).
KEST_SIMD F4 Ceil(F4 x) {
#if defined(__SSE4_1__)
  return {_mm_ceil_ps(x.v)};
#else
  const __m128 whole = _mm_cvtepi32_ps(_mm_cvttps_epi32(x.v));
  return {_mm_add_ps(whole, _mm_and_ps(_mm_cmplt_ps(whole, x.v), _mm_set1_ps(1.0f)))};
#endif
}
// Whether all four lanes hold the same number.
KEST_SIMD bool Uniform(F4 x) {
  const __m128 first = _mm_shuffle_ps(x.v, x.v, 0);
  return _mm_movemask_ps(_mm_cmpeq_ps(x.v, first)) == 0xF;
}
KEST_SIMD float First(F4 x) {
  return _mm_cvtss_f32(x.v);
}

// Two F4 side by side: one AVX register, or two SSE halves.
#if defined(__AVX__)

struct F8 {
  __m256 v;
};
KEST_SIMD F8 Pair(F4 low, F4 high) {
  return {_mm256_set_m128(high.v, low.v)};
}
KEST_SIMD F4 Low(F8 x) {
  return {_mm256_castps256_ps128(x.v)};
}
KEST_SIMD F4 High(F8 x) {
  return {_mm256_extractf128_ps(x.v, 1)};
}
KEST_SIMD F8 operator-(F8 a, F8 b) {
  return {_mm256_sub_ps(a.v, b.v)};
}
KEST_SIMD F8 operator&(F8 a, F8 b) {
  return {_mm256_and_ps(a.v, b.v)};
}
KEST_SIMD F8 Ceil(F8 x) {
  return {_mm256_ceil_ps(x.v)};
}
KEST_SIMD F8 Within(F8 a, float lo, float hi) {
  return {_mm256_and_ps(_mm256_cmp_ps(a.v, _mm256_set1_ps(lo), _CMP_GT_OQ),
                        _mm256_cmp_ps(a.v, _mm256_set1_ps(hi), _CMP_LE_OQ))};
}
KEST_SIMD bool All(F8 mask) {
  return _mm256_movemask_ps(mask.v) == 0xFF;
}
// Whether each half holds one number in all its lanes.
KEST_SIMD bool UniformHalves(F8 x) {
  const __m256 first = _mm256_permute_ps(x.v, 0);
  return _mm256_movemask_ps(_mm256_cmp_ps(x.v, first, _CMP_EQ_OQ)) == 0xFF;
}

#else

struct F8 {
  F4 low, high;
};
KEST_SIMD F8 Pair(F4 low, F4 high) {
  return {low, high};
}
KEST_SIMD F4 Low(F8 x) {
  return x.low;
}
KEST_SIMD F4 High(F8 x) {
  return x.high;
}
KEST_SIMD F8 operator-(F8 a, F8 b) {
  return {a.low - b.low, a.high - b.high};
}
KEST_SIMD F8 operator&(F8 a, F8 b) {
  return {a.low & b.low, a.high & b.high};
}
KEST_SIMD F8 Ceil(F8 x) {
  return {Ceil(x.low), Ceil(x.high)};
}
KEST_SIMD F8 Within(F8 a, float lo, float hi) {
  return {Within(a.low, lo, hi), Within(a.high, lo, hi)};
}
KEST_SIMD bool All(F8 mask) {
  return All(mask.low) && All(mask.high);
}
KEST_SIMD bool UniformHalves(F8 x) {
  return Uniform(x.low) && Uniform(x.high);
}

#endif

#if defined(__AVX__)

struct D4 {
  __m256d v;
};

KEST_SIMD D4 operator+(D4 a, D4 b) {
  return {_mm256_add_pd(a.v, b.v)};
}
KEST_SIMD D4 operator-(D4 a, D4 b) {
  return {_mm256_sub_pd(a.v, b.v)};
}
KEST_SIMD D4 operator*(D4 a, D4 b) {
  return {_mm256_mul_pd(a.v, b.v)};
}
KEST_SIMD D4 operator/(D4 a, D4 b) {
  return {_mm256_div_pd(a.v, b.v)};
}
KEST_SIMD D4 Splat(double x) {
  return {_mm256_set1_pd(x)};
}
KEST_SIMD D4 Make(double a, double b, double c, double d) {
  return {_mm256_setr_pd(a, b, c, d)};
}
KEST_SIMD D4 Wide(F4 x) {
  return {_mm256_cvtps_pd(x.v)};
}
KEST_SIMD F4 Narrow(D4 x) {
  return {_mm256_cvtpd_ps(x.v)};
}
KEST_SIMD bool AllEqual(D4 a, D4 b) {
  return _mm256_movemask_pd(_mm256_cmp_pd(a.v, b.v, _CMP_EQ_OQ)) == 0xF;
}
KEST_SIMD void Store(double* p, D4 x) {
  _mm256_storeu_pd(p, x.v);
}
KEST_SIMD D4 Load(const double* p) {
  return {_mm256_loadu_pd(p)};
}
KEST_SIMD void Transpose(D4& a, D4& b, D4& c, D4& d) {
  const __m256d t0 = _mm256_unpacklo_pd(a.v, b.v); // a0 b0 a2 b2
  const __m256d t1 = _mm256_unpackhi_pd(a.v, b.v); // a1 b1 a3 b3
  const __m256d t2 = _mm256_unpacklo_pd(c.v, d.v); // c0 d0 c2 d2
  const __m256d t3 = _mm256_unpackhi_pd(c.v, d.v); // c1 d1 c3 d3
  a.v = _mm256_permute2f128_pd(t0, t2, 0x20);
  b.v = _mm256_permute2f128_pd(t1, t3, 0x20);
  c.v = _mm256_permute2f128_pd(t0, t2, 0x31);
  d.v = _mm256_permute2f128_pd(t1, t3, 0x31);
}

#else

struct D4 {
  __m128d lo, hi;
};

KEST_SIMD D4 operator+(D4 a, D4 b) {
  return {_mm_add_pd(a.lo, b.lo), _mm_add_pd(a.hi, b.hi)};
}
KEST_SIMD D4 operator-(D4 a, D4 b) {
  return {_mm_sub_pd(a.lo, b.lo), _mm_sub_pd(a.hi, b.hi)};
}
KEST_SIMD D4 operator*(D4 a, D4 b) {
  return {_mm_mul_pd(a.lo, b.lo), _mm_mul_pd(a.hi, b.hi)};
}
KEST_SIMD D4 operator/(D4 a, D4 b) {
  return {_mm_div_pd(a.lo, b.lo), _mm_div_pd(a.hi, b.hi)};
}
KEST_SIMD D4 Splat(double x) {
  return {_mm_set1_pd(x), _mm_set1_pd(x)};
}
KEST_SIMD D4 Make(double a, double b, double c, double d) {
  return {_mm_setr_pd(a, b), _mm_setr_pd(c, d)};
}
KEST_SIMD D4 Wide(F4 x) {
  return {_mm_cvtps_pd(x.v), _mm_cvtps_pd(_mm_movehl_ps(x.v, x.v))};
}
KEST_SIMD F4 Narrow(D4 x) {
  return {_mm_movelh_ps(_mm_cvtpd_ps(x.lo), _mm_cvtpd_ps(x.hi))};
}
KEST_SIMD bool AllEqual(D4 a, D4 b) {
  return (_mm_movemask_pd(_mm_cmpeq_pd(a.lo, b.lo)) & _mm_movemask_pd(_mm_cmpeq_pd(a.hi, b.hi))) ==
         0x3;
}
KEST_SIMD void Store(double* p, D4 x) {
  _mm_storeu_pd(p, x.lo);
  _mm_storeu_pd(p + 2, x.hi);
}
KEST_SIMD D4 Load(const double* p) {
  return {_mm_loadu_pd(p), _mm_loadu_pd(p + 2)};
}
KEST_SIMD void Transpose(D4& a, D4& b, D4& c, D4& d) {
  const D4 ra = a, rb = b, rc = c, rd = d;
  a = {_mm_unpacklo_pd(ra.lo, rb.lo), _mm_unpacklo_pd(rc.lo, rd.lo)};
  b = {_mm_unpackhi_pd(ra.lo, rb.lo), _mm_unpackhi_pd(rc.lo, rd.lo)};
  c = {_mm_unpacklo_pd(ra.hi, rb.hi), _mm_unpacklo_pd(rc.hi, rd.hi)};
  d = {_mm_unpackhi_pd(ra.hi, rb.hi), _mm_unpackhi_pd(rc.hi, rd.hi)};
}

#endif

KEST_SIMD D4 operator*(double a, D4 b) {
  return Splat(a) * b;
}
KEST_SIMD D4 operator*(D4 a, double b) {
  return a * Splat(b);
}
// a x b + c, for factors whose product a double holds exactly (two singles,
// or a single and a constant of few bits): one rounding, fused or not.
KEST_SIMD D4 ProductPlus(D4 a, D4 b, D4 c) {
#if defined(__FMA__) && defined(__AVX__)
  return {_mm256_fmadd_pd(a.v, b.v, c.v)};
#else
  return a * b + c;
#endif
}
// Rounded to single precision, kept as double for the steps that follow.
KEST_SIMD D4 Single(D4 x) {
  return Wide(Narrow(x));
}
KEST_SIMD double Lane(D4 x, int i) {
  alignas(32) double a[4];
  Store(a, x);
  return a[i];
}

#undef KEST_SIMD

} // namespace simd
} // namespace
