#include "loss_numerics.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <limits>

namespace kelvara::lib {

Truncated truncateTo(double x, int lo, int hi) {
  if (!std::isfinite(x)) return {0, 0};
  const double t = std::trunc(x);
  if (t > double(hi)) return {hi, 1};
  if (t < double(lo)) return {lo, -1};
  return {int(t), 0};
}

int truncCount(double x, int cap) { return truncateTo(x, 0, cap).value; }

int lossPointCount(float emax, float estep, int cap) {
  return truncCount(double(emax) / double(estep), cap);
}

int intervalPointCount(double dQ, double h, int cap) {
  // A quotient of cap or more cannot be stored.
  const Truncated t = truncateTo(dQ / h, 0, cap - 1);
  if (t.outside > 0) return -1;
  int n = t.value + 1;
  if (n % 2 == 0) ++n;
  if (n < 5) {
    std::puts("less than 5 points");
    n = 5;
  }
  return n > cap ? -1 : n;
}

bool wideLanesWanted() {
  static const bool wanted = [] {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    const char* setting = std::getenv("KELVARA_WIDE");
    if (setting != nullptr && std::strcmp(setting, "0") == 0) return false;
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
#else
    return false;
#endif
  }();
  return wanted;
}

Kinematics kinematicLimits(float E, float T) {
  const double e = E;
  const double t = T;
  const double k = kMomentumFactor * std::sqrt(e);
  const double root = std::sqrt(1.0 - t / e);
  // 1 - root written without cancellation.
  const double lower = (t / e) / (1.0 + root);
  return {float(k * lower), float(k * (1.0 + root)), float(kVelocityFactor * t / std::sqrt(e))};
}

ParallelLimits parallelLimits(const Kinematics& kin) {
  const double qv = kin.wv;
  const double qm = kin.qMinus, qp = kin.qPlus;
  return {float(std::sqrt(std::fmax(qm * qm - qv * qv, 0.0))), float(std::sqrt(std::fmax(qp * qp - qv * qv, 0.0)))};
}

float gapCor(const Oscillators& m, float w, float egap, float dw, GapSkip skip) {
  float corr = 0.0f;
  const int nodes = truncCount(double(egap) / double(dw) + kGapNodeMargin, kMaxCount16);
  for (int k = 1; k <= nodes; ++k) {
    const float wp = float(k) * dw;
    if (skip == GapSkip::Exact) {
      if (wp == w) continue;
    } else if (std::fabs(double(wp) / double(w) - 1.0) <= 1e-5) {
      continue;
    }
    const double wp2 = double(wp) * wp;
    double sum = 0.0;
    for (int i = 0; i < m.NumOsc; ++i) {
      const double w0 = m.W0[i];
      const double g = m.Gamma[i];
      const double d = (wp2 - w0 * w0) * (wp2 - w0 * w0) + (g * wp) * (g * wp);
      sum += double(m.A0[i]) * g * wp / d;
    }
    const float l0 = float(sum);
    corr = float(double(corr) + (double(dw) / (wp2 - double(w) * w)) * double(l0) * wp * kTwoOverPi);
  }
  return corr;
}

ComplexF epsQW(float w, float q, const Oscillators& m, float egap, float dw, GapSkip skip) {
  if (m.NumOsc <= 0) return {1.0f, 0.0f};
  return epsQWCorrected(w, q, m, egap, gapCor(m, w, egap, dw, skip));
}

ComplexF epsQWCorrected(float w, float q, const Oscillators& m, float egap, float corr) {
  if (m.NumOsc <= 0) return {1.0f, 0.0f};
  float loss = 0.0f;
  float realSum = 0.0f;
  const double w2 = double(w) * w;
  const double q2 = double(q) * q;
  const bool absorbs = egap <= w;
  for (int i = 0; i < m.NumOsc; ++i) {
    const double w0 = m.W0[i];
    const double g = m.Gamma[i];
    const double a0 = m.A0[i];
    const float wq = float(w0 + kDispersion * double(m.Alfa[i]) * q2);
    const double dq = w2 - double(wq) * wq;
    const float d = float(dq * dq + (g * w) * (g * w));
    loss = absorbs ? float(double(loss) + a0 * g * w / double(d)) : 0.0f;
    realSum = float(double(realSum) + a0 * (w0 * w0 - w2) / double(d));
  }
  const float r = float(double(realSum) - double(corr) - 1.0);
  const double norm = double(r) * r + double(loss) * loss;
  return {float(-double(r) / norm), float(double(loss) / norm)};
}

DielectricAtLoss::DielectricAtLoss(const Oscillators& m, float w, float egap, float corr)
    : model_(&m), w_(w), egap_(egap), corr_(corr), w2_(double(w) * w), absorbs_(egap <= w),
      count_(m.NumOsc > kTerms ? -1 : m.NumOsc) {
  for (int i = 0; i < count_; ++i) {
    const double w0 = m.W0[i];
    const double g = m.Gamma[i];
    const double a0 = m.A0[i];
    Term& t = terms_[i];
    t.w0 = w0;
    t.disp = kDispersion * double(m.Alfa[i]);
    t.gw2 = (g * w) * (g * w);
    t.absorbNum = a0 * g * w;
    t.realNum = a0 * (w0 * w0 - w2_);
  }
}


float simpson(const float* y, int n, float h) {
  if (n < 1) return 0.0f;
  double sum = double(y[0]) + double(y[n - 1]);
  for (int i = 2; i <= n - 1; ++i) sum += (i % 2 == 0 ? 4.0 : 2.0) * double(y[i - 1]);
  return float(double(h) / 3.0 * sum);
}

float imfpFromK(int n, float estep, const float* K) {
  double sum = 0.0;
  for (int i = 0; i < n; ++i) sum += double(estep) * double(K[i]);
  const float stored = float(sum);
  if (stored == 0.0f) return std::numeric_limits<float>::infinity();
  return float(1.0 / double(stored));
}

float imfpCore(float E, float ac, float bc) {
  return float(double(E) / (double(ac) * (std::log(double(E)) + double(bc))));
}


std::complex<double> phaseQuotient(double a, double half, double cosHalf, double sinHalf) {
  const double sinc = half == 0.0 ? 1.0 : sinHalf / half;
  return std::complex<double>(0.0, a) * std::complex<double>(cosHalf, sinHalf) * sinc;
}

std::complex<double> phaseQuotient(double a, double s) {
  const double half = 0.5 * a * s;
  const double sinc = half == 0.0 ? 1.0 : std::sin(half) / half;
  return std::complex<double>(0.0, a) * std::polar(1.0, half) * sinc;
}

}  // namespace kelvara::lib
