// The measured-spectrum cross-section library, loaded by full path and called
// through the function-pointer type the program binds it with.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "kelvara_libraries.h"
#include "spectrum_lib_support.h"

namespace {

using spectest::kSentinel;

struct Result {
  std::vector<float> k;
  float area = kSentinel;
};

Result lcross(std::vector<float> spec, float low = 2.0f, float high = 2.0f, float range = 8.0f,
              size_t outSize = 5000) {
  Result r{spectest::sentinels(outSize)};
  static auto f = spectest::load<LCROSS_fn>("rivmer.so", "LCROSS");
  if (f == nullptr) {
    ADD_FAILURE() << "rivmer.so not loaded: " << dlerror();
    return r;
  }
  f(spec.data(), r.k.data(), &low, &high, &range, &r.area);
  return r;
}

// Step 1/16 eV (exact in binary), elastic peak of area A0 at 1000 eV on
// point 1601, the loss spectrum of all scattering orders below it.
std::vector<float> measuredSpectrum(const spectest::SeriesModel& m, int imax = 1601, int n = 1700) {
  const double step = 0.0625, sigma = 0.2;
  std::vector<float> v(n);
  for (int i = 1; i <= n; ++i) {
    const double t = (imax - i) * step;  // energy loss
    double y = m.a0 / (std::sqrt(2 * M_PI) * sigma) * std::exp(-t * t / (2 * sigma * sigma));
    if (t > 0) y += m.J(t);
    v[i - 1] = static_cast<float>(y);
  }
  return spectest::spectrum(static_cast<float>(1000.0 - (imax - 1) * step), static_cast<float>(step), v);
}

}  // namespace

TEST(Rivmer, RecoversTheCrossSectionOfAMultipleScatteringSpectrum) {
  const spectest::SeriesModel m;
  const Result r = lcross(measuredSpectrum(m));
  ASSERT_EQ(r.k[0], 1597.0f);  // imax - 4 loss points
  EXPECT_EQ(r.k[1], 0.0f);
  EXPECT_EQ(r.k[2], 0.0625f);
  EXPECT_TRUE(spectest::untouchedFrom(r.k, 1597 + 3));
  // The peak window takes in the losses of its 2 eV below the peak (0.2 %),
  // the flank line and the rectangle convolution err by less again.
  const double tol = 0.01 * m.maxK();
  for (int c = 16; c <= 960; c += 8) {
    const double t = c * 0.0625;
    ASSERT_NEAR(r.k[c + 2], m.K(t), tol) << t;
  }
  // Without the deconvolution, J/A0 differs from K by several tolerances.
  EXPECT_GT(m.J(40.0) / m.a0 - m.K(40.0), 5 * tol);
  EXPECT_NEAR(r.area, m.areaK(1597 * 0.0625), 0.01 * m.areaK(1597 * 0.0625));
}

// Small spectra on a 1 eV step worked by hand: (spectrum, PeakLow, PeakHigh,
// MinRange) -> count and the first K values.
TEST(Rivmer, HandWorkedSmallSpectra) {
  struct Case {
    const char* what;
    std::vector<float> y;
    float low, high, range;
    int count;
    std::vector<double> k;
  };
  const std::vector<float> nextToPeak = {9, 9, 9, 9, 9, 9, 9, 9, 9, 1, 10, 4};
  const std::vector<Case> cases = {
      // Minimum next to the peak: no line; the window ends at N-1 = 11, so
      // A0 = 9 + 1 + 10 = 20 without the last point.
      {"window past the end", nextToPeak, 2, 2, 8, 7, {1.0 / 20, (9 - 1.0 / 20) / 20}},
      // PeakHigh = 1 ends the window at N itself: A0 = 24.
      {"window at the end", nextToPeak, 2, 1, 8, 7, {1.0 / 24}},
      // Minimum 3 at point 8: the line 3, 1.5, 0 ends next to the peak, so
      // J(1) = 0; A0 = 5 + 7 + 10 = 22.
      {"flank line", {9, 9, 9, 9, 9, 9, 9, 3, 5, 7, 10, 4}, 2, 2, 8, 7, {0, 1.5 / 22, 3.0 / 22}},
      // Two equal highest points: the later one is the peak (count 8 - 4).
      {"equal maxima", {9, 9, 9, 9, 9, 1, 10, 10, 2}, 0, 0, 1, 4, {1.0, -0.9}},
      // Windows reaching below the first point are cut there: A0 = sum of
      // points 1..7 = 23; minimum 1 next to the peak.
      {"windows below the data", {3, 2, 4, 1, 10, 2, 1, 0}, 10, 2, 8, 1, {1.0 / 23}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (double scale : {1.0, 1e9}) {  // K does not change with the scale (minimum above 1e8)
      std::vector<float> y = c.y;
      for (float& v : y) v = static_cast<float>(v * scale);
      const Result r = lcross(spectest::spectrum(50.0f, 1.0f, y), c.low, c.high, c.range);
      ASSERT_EQ(r.k[0], static_cast<float>(c.count)) << scale;
      for (size_t i = 0; i < c.k.size(); ++i) EXPECT_NEAR(r.k[3 + i], c.k[i], 1e-6) << scale << " K" << i + 1;
      EXPECT_TRUE(spectest::untouchedFrom(r.k, 3 + c.count));
    }
  }
}

TEST(Rivmer, UnusableSpectraGiveTheEmptyResult) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<float> good = {9, 9, 9, 9, 9, 9, 9, 3, 5, 7, 10, 4};
  struct Case {
    const char* what;
    std::vector<float> spec;
    float low = 2, high = 2, range = 8;
  };
  auto withCount = [&](float n) {
    auto s = spectest::spectrum(50.0f, 1.0f, good);
    s[0] = n;
    return s;
  };
  const std::vector<Case> cases = {
      {"empty", spectest::spectrum(0, 0, {})},
      {"more than 5000 points", withCount(6000)},
      {"count not a number", withCount(nan)},
      {"fewer than 5 points", spectest::spectrum(50.0f, 1.0f, {1, 2, 3, 4})},
      {"no value at or above 0", spectest::spectrum(50.0f, 1.0f, {-1, -2, -3, -4, -5, -6})},
      {"peak before point 5", spectest::spectrum(50.0f, 1.0f, {1, 2, 9, 1, 0, 0})},
      {"zero step", spectest::spectrum(50.0f, 0.0f, good)},
      {"zero peak area", spectest::spectrum(50.0f, 1.0f, std::vector<float>(12, 0.0f))},
      {"empty minimum range", spectest::spectrum(50.0f, 1.0f, good), 2, 2, -5},
      {"window not a number", spectest::spectrum(50.0f, 1.0f, good), nan, 2, 8},
  };
  // A good call first: nothing of it may survive into the empty results.
  ASSERT_EQ(lcross(spectest::spectrum(50.0f, 1.0f, good)).k[0], 7.0f);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Result r = lcross(c.spec, c.low, c.high, c.range, 6);
    EXPECT_EQ(r.k[0], 0.0f);
    EXPECT_EQ(r.k[1], 0.0f);
    EXPECT_EQ(r.area, 0.0f);
    EXPECT_TRUE(spectest::untouchedFrom(r.k, 3));
  }
}

TEST(Rivmer, HostileValuesStayInsideTheArrays) {
  // Inputs of exactly N + 3 elements, outputs as long: ASan reports any
  // access beyond them.
  for (unsigned seed = 0; seed < 300; ++seed) {
    const int n = static_cast<int>(seed % 40);
    const Result r = lcross(spectest::hostileSpectrum(seed, n), 2, 2, 8, static_cast<size_t>(n) + 3);
    ASSERT_LE(r.k[0], static_cast<float>(std::max(n - 4, 0))) << seed;
  }
}
