// The elastic-peak separation library, loaded by full path and called
// through the function-pointer type of its declaration.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "kelvara_libraries.h"
#include "spectrum_lib_support.h"

namespace {

using spectest::kSentinel;

struct Result {
  std::vector<float> resid, model;
  float area = kSentinel;
};

Result run(std::vector<float> spec, float fraction) {
  Result r{spectest::sentinels(spec.size()), spectest::sentinels(spec.size())};
  static auto f = spectest::load<quorvel_fn>("quorvel.so", "quorvel");
  if (f == nullptr) {
    ADD_FAILURE() << "quorvel.so not loaded: " << dlerror();
    return r;
  }
  f(spec.data(), r.resid.data(), r.model.data(), &r.area, &fraction);
  return r;
}

// Elements 4..14; the peak ends at element 13, so element 14 must stay unwritten.
const std::vector<float> kSymmetric = {0, 1, 2, 4, 7, 8, 7, 4, 2, 1, 0};

}  // namespace

TEST(Quorvel, SymmetricPeakWorkedByHand) {
  // Maximum 8 at element 9; the threshold 0.25*8 = 2 is first undercut at
  // element 13 (value 1), so the mirror point is element 5. Mirrored model
  // 1, 2, 4, 7 on elements 5..8 tapered by 0, 1/4, 1/2, 3/4; the residual
  // first falls below the model at element 8 (1.75 < 5.25) and runs from
  // trunc(1.75) = 1 down to 0 at the maximum.
  for (float scale : {1.0f, 1e6f}) {  // a residual far beyond the 16-bit range
    SCOPED_TRACE(scale);
    std::vector<float> y = kSymmetric;
    for (float& v : y) v *= scale;
    const Result r = run(spectest::spectrum(100.0f, 0.5f, y, 15), 0.25f);
    const std::vector<float> model = {0, 0, 0.5f, 2, 5.25f, 8, 7, 4, 2, 1};
    const std::vector<float> resid = {0, 1, 1.5f, 2, scale == 1.0f ? 1.0f : 1.75f, 0, 0, 0, 0, 0};
    for (int j = 1; j <= 3; ++j) {
      EXPECT_EQ(r.model[j - 1], j == 1 ? 11.0f : j == 2 ? 100.0f : 0.5f);
      EXPECT_EQ(r.resid[j - 1], r.model[j - 1]);
    }
    for (size_t i = 0; i < model.size(); ++i) {
      EXPECT_FLOAT_EQ(r.model[3 + i], model[i] * scale) << "element " << i + 4;
      EXPECT_FLOAT_EQ(r.resid[3 + i], resid[i] * scale) << "element " << i + 4;
    }
    EXPECT_FLOAT_EQ(r.area, 0.5f * 29.75f * scale);
    EXPECT_TRUE(spectest::untouchedFrom(r.model, 13));  // nothing above element 13
    EXPECT_TRUE(spectest::untouchedFrom(r.resid, 13));
  }
}

TEST(Quorvel, NarrowPeakWhoseResidualLineHasNoLength) {
  // Maximum 8 at element 8, half of it first undercut at element 10: the
  // residual first falls below the model at the maximum itself and stays 0.
  const Result r = run(spectest::spectrum(0.0f, 1.0f, {0, 1, 2, 4, 8, 4, 2, 1, 0}), 0.5f);
  const std::vector<float> model = {0, 0, 0, 2, 8, 4, 2};
  const std::vector<float> resid = {0, 1, 2, 2, 0, 0, 0};
  for (size_t i = 0; i < model.size(); ++i) {
    EXPECT_EQ(r.model[3 + i], model[i]) << i + 4;
    EXPECT_EQ(r.resid[3 + i], resid[i]) << i + 4;
  }
  EXPECT_EQ(r.area, 16.0f);
  EXPECT_TRUE(spectest::untouchedFrom(r.model, 10));
}

TEST(Quorvel, NoPeakSeparatedLeavesTheSpectrumUnchanged) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    const char* what;
    std::vector<float> y;
    float fraction;
  };
  const std::vector<Case> cases = {
      {"fraction above 1", kSymmetric, 1.5f},
      {"fraction not a number", kSymmetric, nan},
      {"no value at or above 0", {-3, -2, -1, -2}, 0.5f},
      {"never below the threshold above the maximum", {1, 2, 3, 4, 5, 5}, 0.5f},
      {"mirror point below the data", {5, 8, 6, 5, 4, 1}, 0.25f},
  };
  ASSERT_GT(run(spectest::spectrum(0.0f, 1.0f, kSymmetric), 0.25f).area, 0.0f);  // a peak first
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<float> spec = spectest::spectrum(10.0f, 0.5f, c.y);
    const Result r = run(spec, c.fraction);
    EXPECT_EQ(r.resid, spec);
    for (size_t j = 0; j < spec.size(); ++j) EXPECT_EQ(r.model[j], j < 3 ? spec[j] : 0.0f) << j + 1;
    EXPECT_EQ(r.area, 0.0f);
  }
  // Counts that cannot be read: empty outputs, nothing beyond element 3.
  for (float count : {0.0f, 4998.0f, nan}) {
    std::vector<float> spec = spectest::spectrum(10.0f, 0.5f, kSymmetric);
    spec[0] = count;
    const Result r = run(spec, 0.25f);
    EXPECT_EQ(r.model[0], 0.0f);
    EXPECT_EQ(r.resid[0], 0.0f);
    EXPECT_EQ(r.area, 0.0f);
    EXPECT_TRUE(spectest::untouchedFrom(r.model, 3));
    EXPECT_TRUE(spectest::untouchedFrom(r.resid, 3));
  }
}

TEST(Quorvel, HostileValuesStayInsideTheArrays) {
  for (unsigned seed = 0; seed < 300; ++seed) {
    const float fraction = seed % 5 == 0 ? 2.0f : 0.1f * static_cast<float>(seed % 10);
    const std::vector<float> spec = spectest::hostileSpectrum(seed, static_cast<int>(seed % 40));
    const Result r = run(spec, fraction);  // outputs exactly as long as the input
    ASSERT_TRUE(r.model[0] == spec[0] || r.model[0] == 0.0f) << seed;
  }
}
