// Momentum integration on geometric sub-intervals, shared by the libraries
// that integrate over the momentum transfer.
//
// The interval [qlo, qhi] is split by M = trunc(log2(0.5*(1 + qhi/qlo)) + 1)
// nodes Q(j) = qlo + (qhi - qlo)*(2^(j-1) - 1)/(2^(M-1) - 1) that crowd to the
// lower limit. Sub-interval j is sampled with the step H(j) = 2^j*qlo/64 on
// n points (intervalPointCount) and summed by Simpson's rule; the next
// sub-interval starts where the samples ended, Q(j+1) = Q(j) + (n - 1)*H(j),
// so the integral ends near, not exactly at, qhi. M <= 1 contributes 0.
//
// Storage is fixed: at most kMaxNodes nodes and Capacity samples per
// sub-interval. An interval that would need more (only for limits many orders
// of magnitude apart, far outside any physical range) yields NaN for every
// integral instead of being cut short or running for hours.
#pragma once

#include <array>
#include <cmath>
#include <limits>

#include "loss_numerics.h"

namespace kelvara::lib {

inline constexpr int kMaxNodes = 50;

// Node count M of the interval [qlo, qhi]: 0 when the count is formed from a
// NaN or infinite quotient (nothing is integrated), -1 when it exceeds the
// node storage kMaxNodes.
inline int geometricNodeCount(float qlo, float qhi) {
  const double m = std::log(0.5 * (1.0 + double(qhi) / double(qlo))) / std::log(2.0) + 1.0;
  const Truncated t = truncateTo(m, 0, kMaxNodes);
  return t.outside > 0 ? -1 : t.value;
}

// Fixed working storage for K integrands with Capacity samples each.
template <int K, int Capacity>
struct GeometricWork {
  std::array<float, kMaxNodes + 1> node{};  // node[j] = Q(j), j = 1..M
  std::array<float, kMaxNodes> step{};      // step[j] = H(j), j = 0..M-1
  std::array<std::array<float, Capacity>, K> y{};
};

// Integrates K integrands over [qlo, qhi] into sums[0..K-1] (set, not added),
// in a work area for KW >= K integrands. sample(Q, values) writes the K
// integrand values at the sample point Q. Returns the number of samples
// evaluated.
template <int K, int KW, int Capacity, class Sample>
long integrateGeometric(float qlo, float qhi, GeometricWork<KW, Capacity>& work, Sample&& sample,
                        float (&sums)[K]) {
  static_assert(K <= KW, "the work area holds fewer integrands");
  for (int k = 0; k < K; ++k) sums[k] = 0.0f;
  const int m = geometricNodeCount(qlo, qhi);
  if (m < 0) {
    for (int k = 0; k < K; ++k) sums[k] = std::numeric_limits<float>::quiet_NaN();
    return 0;
  }
  if (m <= 1) return 0;
  const double span = double(qhi) - double(qlo);
  const double denom = std::ldexp(1.0, m - 1) - 1.0;
  for (int j = 1; j <= m; ++j)
    work.node[j] = float(double(qlo) + span * (std::ldexp(1.0, j - 1) - 1.0) / denom);
  work.step[0] = float(double(qlo) / 64.0);
  long evaluated = 0;
  for (int j = 1; j <= m - 1; ++j) {
    work.step[j] = 2.0f * work.step[j - 1];
    const float h = work.step[j];
    const float start = work.node[j];
    const int n = intervalPointCount(double(work.node[j + 1]) - double(start), double(h), Capacity);
    if (n < 0) {
      for (int k = 0; k < K; ++k) sums[k] = std::numeric_limits<float>::quiet_NaN();
      return evaluated;
    }
    float values[K];
    for (int p = 0; p < n; ++p) {
      const float q = float(double(start) + double(p) * double(h));
      sample(q, values);
      for (int k = 0; k < K; ++k) work.y[k][p] = values[k];
    }
    evaluated += n;
    for (int k = 0; k < K; ++k) sums[k] += simpson(work.y[k].data(), n, h);
    work.node[j + 1] = float(double(start) + double(n - 1) * double(h));
  }
  return evaluated;
}

}  // namespace kelvara::lib
