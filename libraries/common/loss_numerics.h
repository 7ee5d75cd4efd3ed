// Numerics shared by the loss-model libraries: the oscillator dielectric
// function with its gap correction, Simpson's rule, the mean free paths, the
// loss grid count, the point-count rule and the kinematic limits.
//
// Compiled into every library that uses it (hidden: only a library's own
// entries are exported). Arrays are passed as the address of element 1, so
// element k of the caller's array is p[k - 1]. Stored values are 32-bit
// floats; intermediates inside one formula are formed in double.
#pragma once

#include <cmath>
#include <complex>
#include <cstdint>

#include "loss_constants.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KELVARA_WIDE_DIELECTRIC 1
#include <immintrin.h>
#else
#define KELVARA_WIDE_DIELECTRIC 0
#endif

namespace kelvara::lib {

// Whether the wide (AVX2) lanes are used: the processor has them and the
// environment variable KELVARA_WIDE is not "0" (which keeps every sum on the
// one-lane path, so that both paths can be checked to give the same bits).
// Decided once a process.
bool wideLanesWanted();

using ComplexF = std::complex<float>;

// Private storage size of the libraries that keep a loss grid.
inline constexpr int kMaxLossPoints = 1000;
// Largest 16-bit count (loop counts such as gap-correction nodes stop there).
inline constexpr int kMaxCount16 = 32767;

// How the gap correction skips the node that coincides with the energy w.
enum class GapSkip {
  Exact,     // skip w' == w (32-bit comparison)
  Relative,  // skip abs(w'/w - 1) <= 1e-5
};

// The oscillator model as a library sees it (element-1 addresses, count).
struct Oscillators {
  const float* W0;
  const float* Gamma;
  const float* A0;
  const float* Alfa;
  int NumOsc;  // <= 0 means no oscillator
};

// The one truncation rule of every count: trunc(x) held in [lo, hi].
// `outside` is +1 when trunc(x) > hi (value = hi), -1 when trunc(x) < lo
// (value = lo), 0 otherwise; NaN and infinite x give value 0, outside 0.
struct Truncated {
  int value;
  int outside;
};
Truncated truncateTo(double x, int lo, int hi);

// trunc(x) as a count in [0, cap]: NaN, infinite and negative x give 0,
// anything above cap gives cap.
int truncCount(double x, int cap);

// Number of loss points N = trunc(Emax/Estep), the quotient of the two 32-bit
// values formed in double (100/0.2 -> 499), limited to [0, cap].
int lossPointCount(float emax, float estep, int cap = kMaxLossPoints);

// Point count of one integration interval of width dQ sampled with step h:
// n = trunc(dQ/h) + 1, made odd; below 5 it writes "less than 5 points" to
// standard output and becomes 5. A NaN or infinite quotient counts as 0 (so
// n = 5). Returns -1 when n would exceed cap (the storage cannot hold it).
int intervalPointCount(double dQ, double h, int cap);

// Kinematic limits at primary energy E and loss T (T < E):
// qMinus/qPlus = 0.51231*sqrt(E)*(1 -/+ sqrt(1 - T/E)), wv = 0.256*T/sqrt(E).
// Formed in double (avoiding the cancellation in 1 - sqrt(1 - T/E)) and
// stored as 32-bit values.
struct Kinematics {
  float qMinus;
  float qPlus;
  float wv;
};
Kinematics kinematicLimits(float E, float T);

// Limits of the momentum component parallel to the surface, the variable of
// the bulk and thin-film integrals: qa = sqrt(qMinus^2 - wv^2) and
// qb = sqrt(qPlus^2 - wv^2) (0 where rounding makes the square negative),
// formed in double from the 32-bit limits and stored as 32-bit values.
struct ParallelLimits {
  float qa;
  float qb;
};
ParallelLimits parallelLimits(const Kinematics& kin);

// Gap correction of Re(1/eps) at w: sum over the nodes w' = k*dw,
// k = 1..trunc(Egap/dw + 0.1) (at most 32767), of
// dw/(w'^2 - w^2) * L0(w') * w' * 2/pi, with L0 the undispersed loss function
// of all oscillators at w'; the node at w is skipped as `skip` says.
float gapCor(const Oscillators& m, float w, float egap, float dw, GapSkip skip);

// Complex dielectric function eps(q, w) of the oscillator model with the gap
// correction `corr` at w already formed (gapCor(m, w, egap, dw, skip)); it
// does not depend on q, so a momentum integration forms it once per loss
// point.
ComplexF epsQWCorrected(float w, float q, const Oscillators& m, float egap, float corr);

// The same dielectric function at one fixed energy w with every term that does
// not depend on q formed once (the loss point's oscillator terms): eps(q)
// returns bit for bit what epsQWCorrected(w, q, m, egap, corr) returns.
class DielectricAtLoss {
 public:
  DielectricAtLoss(const Oscillators& m, float w, float egap, float corr);
  ComplexF eps(float q) const;
  // eps at K momenta at once (out[k] = eps(q[k]), bit for bit): the K
  // independent sums run side by side.
  template <int K>
  void epsMany(const float (&q)[K], ComplexF (&out)[K]) const;

 private:
#if KELVARA_WIDE_DIELECTRIC
  // epsMany<4> in 256-bit registers (one momentum a lane, the same operations
  // in the same order; nothing is contracted): for processors with AVX2.
  __attribute__((target("avx2"))) void epsFourWide(const float (&q)[4], ComplexF (&out)[4]) const;
#endif

  static constexpr int kTerms = 64;  // larger models take the general routine
  struct Term {
    double w0, disp, gw2, absorbNum, realNum;
  };
  const Oscillators* model_;
  float w_, egap_, corr_;
  double w2_;
  bool absorbs_;
  int count_;  // -1: general routine
  Term terms_[kTerms];
};

// Complex dielectric function eps(q, w) of the oscillator model with the gap
// correction on step dw: Re(1/eps) = 1 + corr + sum A0*(w^2 - W0^2)/D,
// Im(1/eps) = -L with L = sum A0*Gamma*w/D where Egap <= w (else 0),
// D = (w^2 - Wq^2)^2 + (Gamma*w)^2, Wq = W0 + 3.8*Alfa*q^2. NumOsc <= 0 gives 1.
ComplexF epsQW(float w, float q, const Oscillators& m, float egap, float dw, GapSkip skip);

// Composite Simpson integral of y[0..n-1] spaced h apart (n odd, >= 5):
// (h/3)*(y1 + 4*(y2 + y4 + ...) + 2*(y3 + y5 + ...) + yn). n < 1 gives 0.
float simpson(const float* y, int n, float h);

// Mean free path from a cross section: 1/(Estep*(K(1) + ... + K(n))).
// A zero sum gives +infinity.
float imfpFromK(int n, float estep, const float* K);

// Core mean free path E/(ac*(ln E + bc)).
float imfpCore(float E, float ac, float bc);

// a/b for complex doubles: the quotient of the standard library's complex
// division (scaled Smith's rule) written out for operands of ordinary
// magnitude, bit for bit the same there; zero, huge, tiny, infinite or NaN
// parts go to the library routine.
std::complex<double> divide(const std::complex<double>& a, const std::complex<double>& b);

// a1/b and a2/b, each bit for bit as divide(a, b), with the divisor's part of
// the work done once.
void divideShared(const std::complex<double>& a1, const std::complex<double>& a2, const std::complex<double>& b,
                  std::complex<double>& q1, std::complex<double>& q2);

// (exp(i*a*s) - 1)/s, continued by its limit i*a at s = 0 and formed as
// i*a*exp(i*a*s/2)*sin(a*s/2)/(a*s/2), free of cancellation for small a*s.
std::complex<double> phaseQuotient(double a, double s);
// The same with half = 0.5*a*s and its cosine and sine already formed.
std::complex<double> phaseQuotient(double a, double half, double cosHalf, double sinHalf);

// x1/d and x2/d as one paired division where the processor has one. Each
// quotient is correctly rounded either way, so both are bit for bit the two
// plain divisions.
inline void dividePair(double x1, double x2, double d, double& q1, double& q2) {
#if defined(__SSE2__)
  const __m128d q = _mm_div_pd(_mm_set_pd(x2, x1), _mm_set1_pd(d));
  q1 = _mm_cvtsd_f64(q);
  q2 = _mm_cvtsd_f64(_mm_unpackhi_pd(q, q));
#else
  q1 = x1 / d;
  q2 = x2 / d;
#endif
}

// z/d for a real d: both parts divided by d, as the complex type does it.
inline std::complex<double> divideByReal(const std::complex<double>& z, double d) {
  double re, im;
  dividePair(z.real(), z.imag(), d, re, im);
  return {re, im};
}

// Inline definitions (called at every momentum sample).

template <int K>
inline void DielectricAtLoss::epsMany(const float (&q)[K], ComplexF (&out)[K]) const {
  if (count_ < 0) {
    for (int k = 0; k < K; ++k) out[k] = epsQWCorrected(w_, q[k], *model_, egap_, corr_);
    return;
  }
  if (count_ <= 0) {
    for (int k = 0; k < K; ++k) out[k] = {1.0f, 0.0f};
    return;
  }
#if KELVARA_WIDE_DIELECTRIC
  if constexpr (K == 4) {
    if (wideLanesWanted()) {
      epsFourWide(q, out);
      return;
    }
  }
#endif
  float loss[K], realSum[K];
  double q2[K];
  for (int k = 0; k < K; ++k) {
    loss[k] = 0.0f;
    realSum[k] = 0.0f;
    q2[k] = double(q[k]) * q[k];
  }
  for (int i = 0; i < count_; ++i) {
    const Term& t = terms_[i];
    for (int k = 0; k < K; ++k) {
      const float wq = float(t.w0 + t.disp * q2[k]);
      const double dq = w2_ - double(wq) * wq;
      const float d = float(dq * dq + t.gw2);
      double absorbed, real;
      dividePair(t.absorbNum, t.realNum, double(d), absorbed, real);
      loss[k] = absorbs_ ? float(double(loss[k]) + absorbed) : 0.0f;
      realSum[k] = float(double(realSum[k]) + real);
    }
  }
  for (int k = 0; k < K; ++k) {
    const float r = float(double(realSum[k]) - double(corr_) - 1.0);
    const double norm = double(r) * r + double(loss[k]) * loss[k];
    double re, im;
    dividePair(-double(r), double(loss[k]), norm, re, im);
    out[k] = {float(re), float(im)};
  }
}

#if KELVARA_WIDE_DIELECTRIC
namespace detail {
// Four doubles rounded to 32-bit values and back.
__attribute__((target("avx2"), always_inline)) inline __m256d toFloatWide(__m256d x) {
  return _mm256_cvtps_pd(_mm256_cvtpd_ps(x));
}
}  // namespace detail

__attribute__((target("avx2"))) inline void DielectricAtLoss::epsFourWide(const float (&q)[4],
                                                                           ComplexF (&out)[4]) const {
  using detail::toFloatWide;
  const __m256d qd = _mm256_cvtps_pd(_mm_loadu_ps(q));
  const __m256d q2 = qd * qd;
  const __m256d w2 = _mm256_set1_pd(w2_);
  __m256d loss = _mm256_setzero_pd();
  __m256d realSum = _mm256_setzero_pd();
  for (int i = 0; i < count_; ++i) {
    const Term& t = terms_[i];
    const __m256d wq = toFloatWide(_mm256_set1_pd(t.w0) + _mm256_set1_pd(t.disp) * q2);
    const __m256d dq = w2 - wq * wq;
    const __m256d d = toFloatWide(dq * dq + _mm256_set1_pd(t.gw2));
    const __m256d absorbed = _mm256_set1_pd(t.absorbNum) / d;
    const __m256d real = _mm256_set1_pd(t.realNum) / d;
    loss = absorbs_ ? toFloatWide(loss + absorbed) : _mm256_setzero_pd();
    realSum = toFloatWide(realSum + real);
  }
  const __m256d r = toFloatWide((realSum - _mm256_set1_pd(double(corr_))) - _mm256_set1_pd(1.0));
  const __m256d norm = r * r + loss * loss;
  const __m256d re = _mm256_xor_pd(r, _mm256_set1_pd(-0.0)) / norm;
  const __m256d im = loss / norm;
  alignas(16) float reF[4], imF[4];
  _mm_store_ps(reF, _mm256_cvtpd_ps(re));
  _mm_store_ps(imF, _mm256_cvtpd_ps(im));
  for (int k = 0; k < 4; ++k) out[k] = {reF[k], imF[k]};
}
#endif

inline ComplexF DielectricAtLoss::eps(float q) const {
  const float qs[1] = {q};
  ComplexF out[1];
  epsMany(qs, out);
  return out[0];
}

namespace detail {
// Parts of ordinary magnitude: zero or between 2^-300 and 2^300. For them the
// library's scaling steps are exact powers of two and leave every bit of the
// quotient unchanged.
inline bool ordinary(double x) {
  const double m = std::fabs(x);
  return m == 0.0 || (m >= 0x1p-300 && m <= 0x1p300);
}
inline bool ordinaryNonZero(double x) {
  const double m = std::fabs(x);
  return m >= 0x1p-300 && m <= 0x1p300;
}
}  // namespace detail

// The divisor's part of the written-out division: ok when it applies.
struct DivisorTerms {
  bool ok;
  bool imagLarger;  // |c| < |d|
  double ratio, denom;
};
inline DivisorTerms divisorTerms(double c, double d) {
  DivisorTerms t{false, false, 0.0, 0.0};
  if (!detail::ordinaryNonZero(c) || !detail::ordinaryNonZero(d)) return t;
  t.imagLarger = std::fabs(c) < std::fabs(d);
  t.ratio = t.imagLarger ? c / d : d / c;
  if (!(std::fabs(t.ratio) >= 0x1p-200)) return t;
  t.denom = t.imagLarger ? (c * t.ratio) + d : (d * t.ratio) + c;
  t.ok = true;
  return t;
}
inline std::complex<double> divideWith(const DivisorTerms& t, const std::complex<double>& num,
                                       const std::complex<double>& den) {
  const double a = num.real(), b = num.imag();
  if (!t.ok || !detail::ordinary(a) || !detail::ordinary(b)) return num / den;
  if (t.imagLarger) return divideByReal({(a * t.ratio) + b, (b * t.ratio) - a}, t.denom);
  return divideByReal({(b * t.ratio) + a, b - (a * t.ratio)}, t.denom);
}

inline void divideShared(const std::complex<double>& a1, const std::complex<double>& a2,
                         const std::complex<double>& b, std::complex<double>& q1, std::complex<double>& q2) {
  const DivisorTerms t = divisorTerms(b.real(), b.imag());
  q1 = divideWith(t, a1, b);
  q2 = divideWith(t, a2, b);
}

inline std::complex<double> divide(const std::complex<double>& num, const std::complex<double>& den) {
  const double a = num.real(), b = num.imag(), c = den.real(), d = den.imag();
  if (detail::ordinary(a) && detail::ordinary(b) && detail::ordinaryNonZero(c) && detail::ordinaryNonZero(d)) {
    if (std::fabs(c) < std::fabs(d)) {
      const double ratio = c / d;
      if (std::fabs(ratio) >= 0x1p-200) {
        const double denom = (c * ratio) + d;
        return divideByReal({(a * ratio) + b, (b * ratio) - a}, denom);
      }
    } else {
      const double ratio = d / c;
      if (std::fabs(ratio) >= 0x1p-200) {
        const double denom = (d * ratio) + c;
        return divideByReal({(b * ratio) + a, b - (a * ratio)}, denom);
      }
    }
  }
  return num / den;
}

}  // namespace kelvara::lib
