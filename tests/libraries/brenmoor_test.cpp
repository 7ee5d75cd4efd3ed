// The cross-section library for spectra without elastic peak, loaded by full
// path and called through the function-pointer type of its declaration.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "kelvara_libraries.h"
#include "spectrum_lib_support.h"

namespace {

using spectest::kSentinel;

std::vector<float> run(std::vector<float> spec, float peakArea, size_t outSize = 5000) {
  std::vector<float> k = spectest::sentinels(outSize);
  static auto f = spectest::load<brenmoor_fn>("brenmoor.so", "brenmoor");
  if (f == nullptr) {
    ADD_FAILURE() << "brenmoor.so not loaded: " << dlerror();
    return k;
  }
  f(spec.data(), k.data(), nullptr, &peakArea);  // the third argument is not read
  return k;
}

}  // namespace

TEST(Brenmoor, RecoversTheCrossSectionOfAMultipleScatteringSpectrum) {
  // The loss spectrum of all scattering orders, highest energy (loss dE)
  // last, and the exact peak area.
  const spectest::SeriesModel m;
  const double step = 0.0625;
  const int n = 1603;
  std::vector<float> y(n);
  for (int i = 1; i <= n; ++i) y[i - 1] = static_cast<float>(m.J((n + 1 - i) * step));
  const std::vector<float> k = run(spectest::spectrum(900.0f, static_cast<float>(step), y), 1.0f);
  ASSERT_EQ(k[0], 1600.0f);
  EXPECT_EQ(k[1], 0.0f);
  EXPECT_EQ(k[2], 0.0625f);
  EXPECT_TRUE(spectest::untouchedFrom(k, 1603));
  // K(0) = J(0) = 0 makes the rectangle convolution a trapezoid rule; its
  // error here stays at the level of 32-bit rounding.
  for (int c = 1; c <= 1600; c += 7) {
    const double t = c * step;
    ASSERT_NEAR(k[c + 2], m.K(t), 1e-4 * m.maxK()) << t;
  }
}

TEST(Brenmoor, CountsAndUnusableInputs) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // (values, peak area) -> count, K(1); count 0 is the empty result.
  struct Case {
    const char* what;
    std::vector<float> spec;
    float area;
    int count;
    float k1;
  };
  auto withCount = [](float c) {
    auto s = spectest::spectrum(10.0f, 0.5f, {1, 2, 3, 4, 5});
    s[0] = c;
    return s;
  };
  const std::vector<Case> cases = {
      {"one loss point", spectest::spectrum(10.0f, 0.5f, {1, 2, 3, 8}), 4.0f, 1, 2.0f},
      {"count N - 3", spectest::spectrum(10.0f, 0.5f, {-1, 7, 0, 5, 6, 2, 3}), 1.5f, 4, 2.0f},
      {"three points", spectest::spectrum(10.0f, 0.5f, {1, 2, 3}), 1.0f, 0, kSentinel},
      {"empty", spectest::spectrum(0, 0, {}), 1.0f, 0, kSentinel},
      {"more than 5000 points", withCount(5001), 1.0f, 0, kSentinel},
      {"count not a number", withCount(nan), 1.0f, 0, kSentinel},
      {"zero peak area", spectest::spectrum(10.0f, 0.5f, {1, 2, 3, 4, 5}), 0.0f, 0, kSentinel},
      {"peak area not a number", spectest::spectrum(10.0f, 0.5f, {1, 2, 3, 4, 5}), nan, 0, kSentinel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<float> k = run(c.spec, c.area, 10);
    EXPECT_EQ(k[0], static_cast<float>(c.count));
    EXPECT_EQ(k[1], 0.0f);
    EXPECT_EQ(k[3], c.k1);
    EXPECT_TRUE(spectest::untouchedFrom(k, 3 + c.count));
  }
}

TEST(Brenmoor, HostileValuesStayInsideTheArrays) {
  for (unsigned seed = 0; seed < 300; ++seed) {
    const int n = static_cast<int>(seed % 40);
    const std::vector<float> k = run(spectest::hostileSpectrum(seed, n), seed % 7 == 0 ? 0.0f : 2.0f,
                                     static_cast<size_t>(n) + 3);
    ASSERT_LE(k[0], static_cast<float>(std::max(n - 3, 0))) << seed;
  }
}
