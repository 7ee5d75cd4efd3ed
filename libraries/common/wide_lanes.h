// Eight double lanes as two 256-bit registers, for the libraries' sums over
// momentum or sample points on processors with AVX2 (chosen at run time with
// wideLanesAvailable()). The operators are the IEEE operations lane by lane,
// each correctly rounded as the one-lane operation is; the libraries that use
// them are built without contraction into fused multiply-adds, so a formula
// written with them in the one-lane order gives the one-lane bits.
#pragma once

#include "loss_numerics.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KELVARA_WIDE_LANES 1
#include <immintrin.h>
#else
#define KELVARA_WIDE_LANES 0
#endif

#if KELVARA_WIDE_LANES
namespace kelvara::lib::wide {

inline bool wideLanesAvailable() { return wideLanesWanted(); }

#define KELVARA_WIDE_FN __attribute__((target("avx2"))) inline
#define KELVARA_WIDE_INLINE __attribute__((target("avx2"), always_inline)) inline

// Eight lanes as two 256-bit registers: two independent chains of the same
// operations, which the processor overlaps.
constexpr int kLanes = 8;
struct V {
  __m256d lo, hi;
};
struct VC {
  V re, im;
};

KELVARA_WIDE_INLINE V operator+(V a, V b) { return {a.lo + b.lo, a.hi + b.hi}; }
KELVARA_WIDE_INLINE V operator-(V a, V b) { return {a.lo - b.lo, a.hi - b.hi}; }
KELVARA_WIDE_INLINE V operator*(V a, V b) { return {a.lo * b.lo, a.hi * b.hi}; }
KELVARA_WIDE_INLINE V operator/(V a, V b) { return {a.lo / b.lo, a.hi / b.hi}; }
KELVARA_WIDE_INLINE V wideAnd(V a, V b) { return {_mm256_and_pd(a.lo, b.lo), _mm256_and_pd(a.hi, b.hi)}; }
KELVARA_WIDE_INLINE V wideOr(V a, V b) { return {_mm256_or_pd(a.lo, b.lo), _mm256_or_pd(a.hi, b.hi)}; }
// -x (the sign flipped, as the unary minus does).
KELVARA_WIDE_INLINE V wideNeg(V x) {
  const __m256d m = _mm256_set1_pd(-0.0);
  return {_mm256_xor_pd(x.lo, m), _mm256_xor_pd(x.hi, m)};
}
#define KELVARA_WIDE_CMP(name, predicate)                                                  \
  KELVARA_WIDE_INLINE V name(V a, V b) {                                                   \
    return {_mm256_cmp_pd(a.lo, b.lo, predicate), _mm256_cmp_pd(a.hi, b.hi, predicate)}; \
  }
KELVARA_WIDE_CMP(wideLess, _CMP_LT_OQ)
KELVARA_WIDE_CMP(wideGreater, _CMP_GT_OQ)
KELVARA_WIDE_CMP(wideGreaterEq, _CMP_GE_OQ)
KELVARA_WIDE_CMP(wideLessEq, _CMP_LE_OQ)
KELVARA_WIDE_CMP(wideEqual, _CMP_EQ_OQ)
KELVARA_WIDE_CMP(wideBothNumbers, _CMP_ORD_Q)
#undef KELVARA_WIDE_CMP
KELVARA_WIDE_INLINE V wideSplat(double x) { return {_mm256_set1_pd(x), _mm256_set1_pd(x)}; }
KELVARA_WIDE_INLINE V wideZero() { return {_mm256_setzero_pd(), _mm256_setzero_pd()}; }
KELVARA_WIDE_INLINE V wideLoad(const double* p) { return {_mm256_loadu_pd(p), _mm256_loadu_pd(p + 4)}; }
KELVARA_WIDE_INLINE void wideStore(double* p, V x) {
  _mm256_storeu_pd(p, x.lo);
  _mm256_storeu_pd(p + 4, x.hi);
}
KELVARA_WIDE_INLINE int wideMask(V x) { return _mm256_movemask_pd(x.lo) | (_mm256_movemask_pd(x.hi) << 4); }
KELVARA_WIDE_INLINE V wideAbs(V x) {
  const __m256d m = _mm256_set1_pd(-0.0);
  return {_mm256_andnot_pd(m, x.lo), _mm256_andnot_pd(m, x.hi)};
}
// Lanes of `mask` set take a, the others b.
KELVARA_WIDE_INLINE V wideSelect(V mask, V a, V b) {
  return {_mm256_blendv_pd(b.lo, a.lo, mask.lo), _mm256_blendv_pd(b.hi, a.hi, mask.hi)};
}
KELVARA_WIDE_INLINE V wideToFloat(V x) {
  return {_mm256_cvtps_pd(_mm256_cvtpd_ps(x.lo)), _mm256_cvtps_pd(_mm256_cvtpd_ps(x.hi))};
}
KELVARA_WIDE_INLINE V wideOrdinaryNonZero(V x) {
  const V m = wideAbs(x);
  return wideAnd(wideGreaterEq(m, wideSplat(0x1p-300)), wideLessEq(m, wideSplat(0x1p300)));
}
KELVARA_WIDE_INLINE V wideOrdinary(V x) { return wideOr(wideEqual(x, wideZero()), wideOrdinaryNonZero(x)); }
// x*y as the complex type forms it when the product is not NaN.
KELVARA_WIDE_INLINE VC wideMul(VC x, VC y) { return {x.re * y.re - x.im * y.im, x.re * y.im + x.im * y.re}; }
// divide(num, den) lane by lane: written out where divide() writes it out,
// the lanes where it takes the library's division taken by divide() itself.
KELVARA_WIDE_INLINE VC wideDivide(VC num, VC den) {
  const V a = num.re, b = num.im, c = den.re, d = den.im;
  const V imagLarger = wideLess(wideAbs(c), wideAbs(d));
  const V top = wideSelect(imagLarger, c, d);
  const V bottom = wideSelect(imagLarger, d, c);
  const V ratio = top / bottom;
  const V denom = (top * ratio) + bottom;
  const V p = wideSelect(imagLarger, a, b);
  const V r = wideSelect(imagLarger, b, a);
  const V x = (p * ratio) + r;
  const V t = r * ratio;
  const V y = wideSelect(imagLarger, t - p, p - t);
  V good = wideAnd(wideAnd(wideOrdinary(a), wideOrdinary(b)), wideAnd(wideOrdinaryNonZero(c), wideOrdinaryNonZero(d)));
  good = wideAnd(good, wideGreaterEq(wideAbs(ratio), wideSplat(0x1p-200)));
  VC q{x / denom, y / denom};
  const int mask = wideMask(good);
  if (mask != (1 << kLanes) - 1) {
    double nr[kLanes], ni[kLanes], dr[kLanes], di[kLanes], qr[kLanes], qi[kLanes];
    wideStore(nr, a);
    wideStore(ni, b);
    wideStore(dr, c);
    wideStore(di, d);
    wideStore(qr, q.re);
    wideStore(qi, q.im);
    for (int k = 0; k < kLanes; ++k) {
      if ((mask >> k) & 1) continue;
      const std::complex<double> z = divide({nr[k], ni[k]}, {dr[k], di[k]});
      qr[k] = z.real();
      qi[k] = z.imag();
    }
    q = {wideLoad(qr), wideLoad(qi)};
  }
  return q;
}

}  // namespace kelvara::lib::wide
#endif
