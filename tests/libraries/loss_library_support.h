// Shared pieces of the tests of the libraries that integrate over the
// momentum transfer: loading an entry by full path and the oscillator models
// of the example files (both from support/example_models.h), an independent
// double-precision dielectric function, an adaptive quadrature and the
// hostile-argument cases.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "kelvara_libraries.h"
#include "support/example_models.h"

namespace losstest {

using kelvara::examples::loadEntry;
using kelvara::examples::Model;

constexpr float kSentinel = -4242.0f;
constexpr size_t kArraySize = 1000;  // the program's result arrays
constexpr size_t kBeyond = 4;        // sentinels behind them

inline std::vector<float> sentinelArray() { return std::vector<float>(kArraySize + kBeyond, kSentinel); }

// One undispersed oscillator: eps does not depend on q.
inline Model undispersed() { return {{20.0f}, {6.0f}, {400.0f}, {0.0f}, 1, 0.0f}; }

// An example model file (examples/<name>), read by the shared reader.
inline Model readExample(const std::string& name) {
  Model m = kelvara::examples::readModel(std::string(KELVARA_SOURCE_DIR) + "/examples/" + name);
  EXPECT_GT(m.num, 0) << name;
  return m;
}

// The oscillator model's dielectric function in double precision, with the
// Kramers-Kronig gap correction of Re(1/eps) on the node step dw.
inline std::complex<double> dielectric(const Model& m, double w, double q, double dw) {
  double loss = 0, re = 1;
  for (int i = 0; i < m.num; ++i) {
    const double wq = m.w0[i] + 3.8 * m.alfa[i] * q * q;
    const double d = std::pow(w * w - wq * wq, 2) + std::pow(m.gamma[i] * w, 2);
    if (w >= m.egap) loss += m.a0[i] * m.gamma[i] * w / d;
    re += m.a0[i] * (w * w - double(m.w0[i]) * m.w0[i]) / d;
  }
  const int nodes = int(m.egap / dw + 0.1);
  for (int k = 1; k <= nodes; ++k) {
    const double wp = k * dw;
    if (std::fabs(wp / w - 1) <= 1e-5) continue;
    double l0 = 0;
    for (int i = 0; i < m.num; ++i)
      l0 += m.a0[i] * m.gamma[i] * wp /
            (std::pow(wp * wp - double(m.w0[i]) * m.w0[i], 2) + std::pow(m.gamma[i] * wp, 2));
    re += dw / (wp * wp - w * w) * l0 * wp * 2 / M_PI;
  }
  return 1.0 / std::complex<double>(re, -loss);
}

// Kinematic limits at primary energy E and loss T.
struct Limits {
  double qMinus, qPlus, wv;
};
inline Limits limits(double E, double T) {
  const double root = std::sqrt(1 - T / E);
  return {0.51231 * std::sqrt(E) * (1 - root), 0.51231 * std::sqrt(E) * (1 + root), 0.256 * T / std::sqrt(E)};
}

// Adaptive Simpson quadrature of f over [a, b] to the absolute tolerance tol.
inline double adaptive(const std::function<double(double)>& f, double a, double b, double tol) {
  std::function<double(double, double, double, double, double, double, int)> step =
      [&](double lo, double hi, double flo, double fmid, double fhi, double whole, int depth) {
        const double mid = 0.5 * (lo + hi);
        const double l = 0.5 * (lo + mid), r = 0.5 * (mid + hi);
        const double fl = f(l), fr = f(r);
        const double left = (mid - lo) / 6 * (flo + 4 * fl + fmid);
        const double right = (hi - mid) / 6 * (fmid + 4 * fr + fhi);
        if (depth <= 0 || std::fabs(left + right - whole) <= 15 * tol) return left + right + (left + right - whole) / 15;
        return step(lo, mid, flo, fl, fmid, left, depth - 1) + step(mid, hi, fmid, fr, fhi, right, depth - 1);
      };
  const double fa = f(a), fm = f(0.5 * (a + b)), fb = f(b);
  return step(a, b, fa, fm, fb, (b - a) / 6 * (fa + 4 * fm + fb), 40);
}

// Hostile arguments: the call must return, write at most `written` elements
// (the rest keeps the sentinel) and, from element `zeroFrom` on, write 0.
struct HostileCase {
  const char* name;
  float ep, estep, emax, length, egap;
  int16_t num;
  size_t written;
  size_t zeroFrom;  // 1-based; 0: no zero expected
};

inline const std::vector<HostileCase>& hostileCases() {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  static const std::vector<HostileCase> cases = {
      {"grid of 10000 points, losses up to 100 Ep", 10.0f, 0.1f, 1000.0f, 10.0f, 1.0f, 2, 1000, 100},
      {"losses at and above Ep", 5.0f, 1.0f, 8.0f, 10.0f, 0.0f, 2, 8, 5},
      {"zero step", 1000.0f, 0.0f, 10.0f, 10.0f, 0.0f, 2, 0, 0},
      {"negative step", 1000.0f, -0.5f, 10.0f, 10.0f, 0.0f, 2, 0, 0},
      {"NaN step", 1000.0f, nan, 10.0f, 10.0f, 0.0f, 2, 0, 0},
      {"infinite step", 1000.0f, inf, 10.0f, 10.0f, 0.0f, 2, 0, 0},
      {"NaN top", 1000.0f, 1.0f, nan, 10.0f, 0.0f, 2, 0, 0},
      {"infinite top", 1000.0f, 1.0f, inf, 10.0f, 0.0f, 2, 0, 0},
      {"top below the step", 1000.0f, 0.5f, 0.4f, 10.0f, 0.0f, 2, 0, 0},
      {"NaN primary energy", nan, 1.0f, 3.0f, 10.0f, 0.0f, 2, 3, 1},
      {"negative primary energy", -5.0f, 1.0f, 3.0f, 10.0f, 0.0f, 2, 3, 1},
      {"infinite primary energy", inf, 1.0f, 3.0f, 10.0f, 0.0f, 2, 3, 0},
      {"huge primary energy", 3e38f, 1.0f, 3.0f, 10.0f, 0.0f, 2, 3, 0},
      {"primary energy 100 MeV", 1e8f, 1.0f, 2.0f, 10.0f, 0.0f, 2, 2, 0},
      {"tiny steps", 1000.0f, 1e-12f, 2e-12f, 10.0f, 0.0f, 2, 2, 0},
      {"zero length", 1000.0f, 1.0f, 3.0f, 0.0f, 0.0f, 2, 3, 0},
      {"negative length", 1000.0f, 1.0f, 3.0f, -10.0f, 0.0f, 2, 3, 0},
      {"NaN length", 1000.0f, 1.0f, 3.0f, nan, 0.0f, 2, 3, 0},
      {"huge length", 1000.0f, 1.0f, 3.0f, 1e30f, 0.0f, 2, 3, 0},
      {"huge gap", 1000.0f, 500.0f, 500.0f, 10.0f, 3e38f, 2, 1, 0},
      {"negative oscillator count", 1000.0f, 1.0f, 3.0f, 10.0f, 0.0f, -3, 3, 0},
  };
  return cases;
}

// Two oscillators for the hostile cases.
inline Model hostileModel(int16_t num) {
  Model m{{15.0f, 25.0f}, {3.0f, 8.0f}, {100.0f, 300.0f}, {0.5f, 0.0f}, num, 0.0f};
  return m;
}

// Checks one output array of a hostile case.
inline void checkHostile(const HostileCase& c, const std::vector<float>& out, const char* what) {
  SCOPED_TRACE(testing::Message() << c.name << ": " << what);
  for (size_t k = 0; k < out.size(); ++k) {
    if (k >= c.written) {
      ASSERT_EQ(out[k], kSentinel) << "element " << k + 1 << " written";
    } else {
      ASSERT_NE(out[k], kSentinel) << "element " << k + 1 << " not written";
      if (c.zeroFrom != 0 && k + 1 >= c.zeroFrom) {
        ASSERT_EQ(out[k], 0.0f) << "element " << k + 1;
      }
    }
  }
}

}  // namespace losstest
