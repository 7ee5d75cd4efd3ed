// The libraries' wide lanes against the one-lane arithmetic they stand for:
// every bit of the quotients, products and dielectric functions, on operands
// of every kind the one-lane routines tell apart.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <vector>

#include "loss_numerics.h"
#include "wide_lanes.h"

#if KELVARA_WIDE_LANES
using namespace kelvara::lib;
using namespace kelvara::lib::wide;

namespace {
using Cd = std::complex<double>;

uint64_t bits(double x) { return std::bit_cast<uint64_t>(x); }

// Parts from ordinary to hostile: signed zeros, the edges of the written-out
// division's range, subnormals, huge, infinite and NaN.
std::vector<double> parts() {
  const double inf = std::numeric_limits<double>::infinity();
  return {0.0,     -0.0,    1.0,   -2.5, 3.0e-7, 0x1p-300, 0x1p-301, -0x1p300, 0x1p301, 4.9e-324,
          1.0e300, -1.0e-310, inf, -inf, std::numeric_limits<double>::quiet_NaN(), 7.25, 1.0e-200};
}

struct Lanes {
  double ar[kLanes], ai[kLanes], br[kLanes], bi[kLanes], qr[kLanes], qi[kLanes];
};

__attribute__((target("avx2"))) void wideQuotients(Lanes& l, bool product) {
  const VC a{wideLoad(l.ar), wideLoad(l.ai)}, b{wideLoad(l.br), wideLoad(l.bi)};
  const VC q = product ? wideMul(a, b) : wideDivide(a, b);
  wideStore(l.qr, q.re);
  wideStore(l.qi, q.im);
}

// Every pairing of the parts, kLanes at a time, against the one-lane value.
void compareAll(bool product) {
  const std::vector<double> p = parts();
  std::vector<Cd> values;
  for (double re : p)
    for (double im : p) values.emplace_back(re, im);
  std::vector<std::pair<Cd, Cd>> pairs;
  for (const Cd& a : values)
    for (const Cd& b : values) pairs.emplace_back(a, b);
  for (size_t first = 0; first < pairs.size(); first += kLanes) {
    Lanes l{};
    for (int k = 0; k < kLanes; ++k) {
      const auto& [a, b] = pairs[(first + k) % pairs.size()];
      l.ar[k] = a.real(), l.ai[k] = a.imag(), l.br[k] = b.real(), l.bi[k] = b.imag();
    }
    wideQuotients(l, product);
    for (int k = 0; k < kLanes; ++k) {
      const auto& [a, b] = pairs[(first + k) % pairs.size()];
      const Cd one = product ? a * b : divide(a, b);
      // A product the complex type forms by its recovery rule is NaN in the
      // lanes; the libraries hand such a point back to the one-lane code.
      if (product && std::isnan(l.qr[k]) && std::isnan(l.qi[k])) continue;
      if (product && (std::isnan(one.real()) || std::isnan(one.imag()))) {
        EXPECT_TRUE(std::isnan(l.qr[k]) || std::isnan(l.qi[k]));
        continue;
      }
      ASSERT_EQ(bits(l.qr[k]), bits(one.real())) << a << " , " << b;
      ASSERT_EQ(bits(l.qi[k]), bits(one.imag())) << a << " , " << b;
    }
  }
}
}  // namespace

TEST(WideLanes, QuotientsAndProductsBitForBitOnEveryKindOfOperand) {
  if (!wideLanesAvailable()) GTEST_SKIP() << "no AVX2";
  compareAll(false);
  compareAll(true);
}

TEST(WideLanes, DielectricFunctionOfFourMomentaBitForBitWithTheGeneralRoutine) {
  if (!wideLanesAvailable()) GTEST_SKIP() << "no AVX2";
  const float w0[] = {11.0f, 23.0f, 33.0f}, gamma[] = {2.0f, 9.0f, 30.0f}, a0[] = {7.0f, 148.0f, 104.0f},
              alfa[] = {0.2f, 1.0f, 0.0f};
  const Oscillators model{w0, gamma, a0, alfa, 3};
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  std::vector<float> momenta = {0.0f, 1e-30f, 4096.0f, 1e30f, inf, nan, -1.5f, 0.002f};
  for (int k = 0; k < 400; ++k) momenta.push_back(0.01f * std::pow(1.02f, float(k)));
  // Below and above the gap, at a loss on an oscillator and far above.
  for (float w : {4.0f, 11.0f, 23.5f, 40.0f, 900.0f}) {
    const float corr = gapCor(model, w, 9.0f, 0.2f, GapSkip::Relative);
    const DielectricAtLoss dielectric(model, w, 9.0f, corr);
    for (size_t first = 0; first + 4 <= momenta.size(); first += 4) {
      const float q[4] = {momenta[first], momenta[first + 1], momenta[first + 2], momenta[first + 3]};
      ComplexF out[4];
      dielectric.epsMany(q, out);
      for (int k = 0; k < 4; ++k) {
        const ComplexF one = epsQWCorrected(w, q[k], model, 9.0f, corr);
        EXPECT_EQ(std::bit_cast<uint32_t>(out[k].real()), std::bit_cast<uint32_t>(one.real())) << w << " " << q[k];
        EXPECT_EQ(std::bit_cast<uint32_t>(out[k].imag()), std::bit_cast<uint32_t>(one.imag())) << w << " " << q[k];
      }
    }
  }
}
#endif
