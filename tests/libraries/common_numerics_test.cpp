// Shared numerics of the loss-model libraries.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "geometric_integration.h"
#include "loss_numerics.h"

using namespace kelvara::lib;

namespace {
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();
}  // namespace

TEST(Simpson, ExactOnConstantsAndParabolas) {
  const float ones[5] = {1, 1, 1, 1, 1};
  EXPECT_FLOAT_EQ(simpson(ones, 5, 1.0f), 4.0f);
  const float squares[5] = {1, 4, 9, 16, 25};
  EXPECT_FLOAT_EQ(simpson(squares, 5, 1.0f), 124.0f / 3.0f);
  // A cubic on 7 points, step 0.5 over [0, 3]: integral 3^4/4.
  float cubes[7];
  for (int k = 0; k < 7; ++k) cubes[k] = std::pow(0.5f * k, 3.0f);
  EXPECT_NEAR(simpson(cubes, 7, 0.5f), 81.0 / 4.0, 1e-5);
}

TEST(Counts, LossGridTruncatesTheUnroundedQuotient) {
  EXPECT_EQ(lossPointCount(100.0f, 0.2f), 499);
  EXPECT_EQ(lossPointCount(50.0f, 0.2f), 249);
  EXPECT_EQ(lossPointCount(50.0f, 0.5f), 100);
  EXPECT_EQ(lossPointCount(0.4f, 0.5f), 0);
  EXPECT_EQ(lossPointCount(-10.0f, 0.5f), 0);
  // Hostile grids: capped at the storage, non-finite quotients count 0.
  EXPECT_EQ(lossPointCount(5000.0f, 0.5f), kMaxLossPoints);
  EXPECT_EQ(lossPointCount(50.0f, 0.0f), 0);
  EXPECT_EQ(lossPointCount(0.0f, 0.0f), 0);
  EXPECT_EQ(lossPointCount(kNaN, 0.5f), 0);
  EXPECT_EQ(lossPointCount(kInf, 0.5f), 0);
  EXPECT_EQ(lossPointCount(3e38f, 1e-30f), kMaxLossPoints);
}

TEST(Counts, IntervalPointRuleMakesOddAndWarnsBelowFive) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(intervalPointCount(64.0, 1.0, 40000), 65);
  EXPECT_EQ(intervalPointCount(65.5, 1.0, 40000), 67);  // 66 made odd
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  testing::internal::CaptureStdout();
  EXPECT_EQ(intervalPointCount(1.5, 1.0, 40000), 5);  // 2 -> 3 -> 5
  EXPECT_EQ(intervalPointCount(1.0, 0.0, 40000), 5);  // infinite quotient counts 0
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "less than 5 points\nless than 5 points\n");

  EXPECT_EQ(intervalPointCount(1e9, 1.0, 40000), -1);
  EXPECT_EQ(intervalPointCount(39999.0, 1.0, 40000), -1);  // 40000 -> 40001 > storage
}

TEST(Kinematics, LimitsAndTheirProductAtHighEnergy) {
  for (float e : {100.0f, 1000.0f, 1e5f}) {
    const float t = 0.5f;
    const Kinematics k = kinematicLimits(e, t);
    // q- * q+ = 0.51231^2 * T and q- + q+ = 2*0.51231*sqrt(E).
    EXPECT_NEAR(double(k.qMinus) * k.qPlus, 0.51231 * 0.51231 * t, 1e-6 * t);
    EXPECT_NEAR(double(k.qMinus) + k.qPlus, 2 * 0.51231 * std::sqrt(double(e)), 1e-6 * std::sqrt(double(e)));
    EXPECT_FLOAT_EQ(k.wv, float(0.256 * t / std::sqrt(double(e))));
    EXPECT_GT(k.qMinus, k.wv);  // the lower limit stays above w/v
  }
}

TEST(MeanFreePaths, CoreAndFromCrossSection) {
  EXPECT_NEAR(imfpCore(1000.0f, 1.0f, 0.0f), 144.76f, 0.01f);
  const float k[4] = {0.001f, 0.002f, 0.003f, 0.004f};
  EXPECT_FLOAT_EQ(imfpFromK(4, 0.5f, k), 1.0f / (0.5f * 0.01f));
  const float zeros[3] = {0, 0, 0};
  EXPECT_TRUE(std::isinf(imfpFromK(3, 0.5f, zeros)));
}

namespace {
// Gap correction by hand on explicit nodes.
double gapSum(const float* nodes, int count, float w, float w0, float a0, float g, float dw) {
  double corr = 0;
  for (int k = 0; k < count; ++k) {
    const double wp = nodes[k];
    const double l0 = a0 * g * wp / (std::pow(wp * wp - double(w0) * w0, 2) + std::pow(g * wp, 2));
    corr += dw / (wp * wp - double(w) * w) * l0 * wp * 0.6366197;
  }
  return corr;
}
}  // namespace

TEST(GapCorrection, NodeCountAndSkippedNode) {
  float w0 = 8, a0 = 40, g = 3, alfa = 0;
  const Oscillators m{&w0, &g, &a0, &alfa, 1};
  // Egap 1.95, dw 0.5: nodes 0.5, 1.0, 1.5, 2.0; at w = 1.0 the node 1.0 is skipped.
  const float skipped[3] = {0.5f, 1.5f, 2.0f};
  EXPECT_NEAR(gapCor(m, 1.0f, 1.95f, 0.5f, GapSkip::Exact), gapSum(skipped, 3, 1.0f, w0, a0, g, 0.5f), 1e-7);
  EXPECT_NEAR(gapCor(m, 1.0f, 1.95f, 0.5f, GapSkip::Relative), gapSum(skipped, 3, 1.0f, w0, a0, g, 0.5f), 1e-7);
  const float all[4] = {0.5f, 1.0f, 1.5f, 2.0f};
  EXPECT_NEAR(gapCor(m, 3.0f, 1.95f, 0.5f, GapSkip::Exact), gapSum(all, 4, 3.0f, w0, a0, g, 0.5f), 1e-7);
  // A w a hair off the node: only the relative variant skips it.
  const float nearNode = std::nextafter(1.0f, 2.0f);
  EXPECT_NEAR(gapCor(m, nearNode, 1.95f, 0.5f, GapSkip::Relative), gapSum(skipped, 3, nearNode, w0, a0, g, 0.5f),
              1e-6);
  EXPECT_GT(std::fabs(gapCor(m, nearNode, 1.95f, 0.5f, GapSkip::Exact)), 1e3);
  // No gap or no oscillator: no correction.
  EXPECT_EQ(gapCor(m, 1.0f, 0.0f, 0.5f, GapSkip::Exact), 0.0f);
  const Oscillators none{&w0, &g, &a0, &alfa, 0};
  EXPECT_EQ(gapCor(none, 1.0f, 1.95f, 0.5f, GapSkip::Exact), 0.0f);
}

TEST(DielectricFunction, DrudeClosedFormAndGapThreshold) {
  float w0 = 15, a0 = 225, g = 2, alfa = 0;
  const Oscillators drude{&w0, &g, &a0, &alfa, 1};
  for (float w : {1.0f, 7.5f, 15.0f, 40.0f}) {
    const ComplexF eps = epsQW(w, 0.7f, drude, 0.0f, 0.5f, GapSkip::Exact);
    const std::complex<double> expected =
        1.0 - 225.0 / (double(w) * w + std::complex<double>(0, 1) * 2.0 * double(w));
    EXPECT_NEAR(eps.real(), expected.real(), 1e-5 * std::abs(expected));
    EXPECT_NEAR(eps.imag(), expected.imag(), 1e-5 * std::abs(expected));
  }
  // No oscillator: eps = 1.
  const Oscillators none{&w0, &g, &a0, &alfa, 0};
  const ComplexF one = epsQW(5.0f, 1.0f, none, 3.0f, 0.5f, GapSkip::Relative);
  EXPECT_EQ(one.real(), 1.0f);
  EXPECT_EQ(one.imag(), 0.0f);
  // w equal to the gap absorbs; just below it eps is real.
  EXPECT_GT(epsQW(4.0f, 0.0f, drude, 4.0f, 0.5f, GapSkip::Exact).imag(), 0.0f);
  EXPECT_EQ(epsQW(std::nextafter(4.0f, 0.0f), 0.0f, drude, 4.0f, 0.5f, GapSkip::Exact).imag(), 0.0f);
  // Dispersion moves the loss peak to W0 + 3.8*alfa*q^2.
  float alfa1 = 1.0f;
  const Oscillators dispersed{&w0, &g, &a0, &alfa1, 1};
  const float q = 1.0f;
  const auto loss = [&](float w) { return -(1.0f / epsQW(w, q, dispersed, 0.0f, 0.5f, GapSkip::Exact)).imag(); };
  EXPECT_GT(loss(18.8f), loss(15.0f));
  EXPECT_GT(loss(18.8f), loss(22.0f));
}

TEST(PhaseQuotient, LimitAndAgreementWithTheDirectForm) {
  const std::complex<double> limit = phaseQuotient(1e4, 0.0);
  EXPECT_EQ(limit, std::complex<double>(0.0, 1e4));
  for (double s : {1e-3, 0.37, -2.5}) {
    const std::complex<double> direct = (std::polar(1.0, 20.0 * s) - 1.0) / s;
    EXPECT_NEAR(std::abs(phaseQuotient(20.0, s) - direct), 0.0, 1e-12 * std::abs(direct));
  }
  // Tiny s: the direct form loses digits, the quotient tends to i*a.
  EXPECT_NEAR(std::abs(phaseQuotient(3.0, 1e-12) - std::complex<double>(0, 3)), 0.0, 1e-9);
}

TEST(GeometricIntegration, PolynomialsAndLogarithmUpToTheLastSample) {
  static GeometricWork<3, 40000> work;
  float sums[3];
  testing::internal::CaptureStdout();
  const long evaluated = integrateGeometric(
      0.01f, 30.0f, work,
      [](float q, float (&f)[3]) {
        f[0] = 1.0f;
        f[1] = q * q;
        f[2] = 1.0f / q;
      },
      sums);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  const double end = 0.01 + double(sums[0]);  // where the samples ended
  EXPECT_NEAR(end, 30.0, 0.05 * 30.0);         // near, not at, the upper limit
  EXPECT_NEAR(sums[1], (end * end * end - 1e-6) / 3.0, 1e-5 * end * end * end);
  EXPECT_NEAR(sums[2], std::log(end / 0.01), 1e-4);
  // log2(0.5*3001) + 1 = 11.55 -> 11 nodes, 10 sub-intervals of 65 to ~190 samples.
  EXPECT_EQ(geometricNodeCount(0.01f, 30.0f), 11);
  EXPECT_GE(evaluated, 10 * 65);
  EXPECT_LE(evaluated, 10 * 193);
}

TEST(GeometricIntegration, DegenerateAndHostileLimits) {
  static GeometricWork<1, 200> small;
  float sums[1];
  const auto one = [](float, float (&f)[1]) { f[0] = 1.0f; };
  // Upper limit below three times the lower: one node, nothing integrated.
  EXPECT_EQ(integrateGeometric(1.0f, 2.9f, small, one, sums), 0);
  EXPECT_EQ(sums[0], 0.0f);
  // NaN limits or a zero lower limit: the count is 0.
  EXPECT_EQ(integrateGeometric(kNaN, 2.0f, small, one, sums), 0);
  EXPECT_EQ(sums[0], 0.0f);
  EXPECT_EQ(integrateGeometric(0.0f, 2.0f, small, one, sums), 0);
  EXPECT_EQ(integrateGeometric(-1.0f, 2.0f, small, one, sums), 0);
  // More nodes than the storage holds: NaN, quickly, nothing written past it.
  integrateGeometric(1e-30f, 1e30f, small, one, sums);
  EXPECT_TRUE(std::isnan(sums[0]));
  // Sub-intervals needing more samples than the storage holds (M = 2 has up
  // to ~190 samples): NaN.
  static GeometricWork<1, 100> tiny;
  integrateGeometric(1.0f, 6.9f, tiny, one, sums);
  EXPECT_TRUE(std::isnan(sums[0]));
}
