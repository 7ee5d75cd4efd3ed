// The any-angle reflection library, loaded by full path and called through
// the function-pointer type the program binds it with.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "kelvara_libraries.h"

namespace {

orvane_fn loadOrvane() {
  static void* handle = dlopen(KELVARA_BIN_DIR "/orvane.so", RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  return reinterpret_cast<orvane_fn>(dlsym(handle, "orvane"));
}

struct Model {
  std::vector<float> w0, gamma, a0, alfa;
  int16_t num = 0;
  float egap = 0, ac = 1, bc = 0;
};

Model twoOscillators(float egap = 5.0f) {
  return {{15.0f, 25.0f}, {3.0f, 8.0f}, {100.0f, 300.0f}, {0.0f, 0.0f}, 2, egap, 1.0f, 0.0f};
}

struct Result {
  std::vector<float> kvi, kvo, kmi, kmo, keff;
  float imfpc = 0, imfpv = 0, imfpeff = 0;
};

constexpr float kSentinel = -12345.0f;

// Arrays of exactly `size` elements (the program's 1000), pre-filled.
Result run(float ep, float estep, float emax, float x0, float th1, float th2, Model m, size_t size = 1000) {
  Result r;
  for (auto* v : {&r.kvi, &r.kvo, &r.kmi, &r.kmo, &r.keff}) v->assign(size, kSentinel);
  orvane_fn f = loadOrvane();
  if (f == nullptr) {
    ADD_FAILURE() << "orvane.so not loaded: " << dlerror();
    return r;
  }
  // Model arrays of at least one element, so that element 1 has an address.
  for (auto* v : {&m.w0, &m.gamma, &m.a0, &m.alfa}) v->resize(std::max<size_t>(v->size(), 1));
  f(&ep, &estep, &emax, &x0, &th1, &th2, r.kvi.data(), r.kvo.data(), r.kmi.data(), r.kmo.data(), r.keff.data(),
    &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num, &m.ac, &m.bc, &r.imfpc, &r.imfpv,
    &r.imfpeff);
  return r;
}

}  // namespace

TEST(Orvane, LoadsByFullPathAndExportsTheEntry) {
  ASSERT_NE(loadOrvane(), nullptr) << dlerror();
}

TEST(Orvane, GapThresholdAndMeanFreePaths) {
  const Result r = run(1000.0f, 1.0f, 10.0f, 20.0f, 0.0f, 0.0f, twoOscillators(5.0f));
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i + 1);
    const float sum = r.kvi[i] + r.kvo[i] + r.kmi[i] + r.kmo[i];
    EXPECT_TRUE(std::isfinite(sum));
    if (i + 1 < 5) {
      // Below the gap Keff is 0 while the four parts keep their values.
      EXPECT_EQ(r.keff[i], 0.0f);
      EXPECT_NE(r.kmi[i], 0.0f);
      EXPECT_NE(r.kvi[i], 0.0f);
    } else {
      EXPECT_NEAR(r.keff[i], sum, 1e-6 * std::fabs(sum));  // T = 5 = Egap keeps Keff
      EXPECT_GT(r.keff[i], 0.0f);
    }
  }
  EXPECT_EQ(r.keff[10], kSentinel);  // nothing beyond N
  double sum = 0;
  for (int i = 0; i < 10; ++i) sum += r.keff[i];
  EXPECT_NEAR(r.imfpv, 1.0 / (1.0 * sum), 1e-5 / sum);
  EXPECT_NEAR(r.imfpc, 1000.0 / std::log(1000.0), 0.01);
  EXPECT_LT(r.imfpeff, r.imfpv);
  EXPECT_LT(r.imfpeff, r.imfpc);
  EXPECT_NEAR(1.0 / r.imfpeff, 1.0 / r.imfpv + 1.0 / r.imfpc, 1e-5 / r.imfpeff);
}

TEST(Orvane, NoAbsorptionNoLossOnASymmetricPath) {
  // Below the gap eps is real: the material absorbs nothing. With equal
  // incidence and exit angles the incoming and outgoing parts then cancel
  // pairwise, each part being non-zero.
  for (float th : {0.0f, 30.0f}) {
    const Result r = run(1000.0f, 1.0f, 3.0f, 20.0f, th, th, twoOscillators(6.0f));
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(testing::Message() << th << " " << i + 1);
      EXPECT_NE(r.kvi[i], 0.0f);
      EXPECT_NE(r.kmi[i], 0.0f);
      EXPECT_NEAR(r.kvi[i], -r.kvo[i], 1e-4 * std::fabs(r.kvi[i]));
      EXPECT_NEAR(r.kmi[i], -r.kmo[i], 1e-4 * std::fabs(r.kmi[i]));
    }
  }
  // In vacuum (no oscillator, eps = 1) every part vanishes.
  Model vacuum{{}, {}, {}, {}, 0, 0.0f, 1.0f, 0.0f};
  const Result v = run(1000.0f, 1.0f, 3.0f, 20.0f, 20.0f, 40.0f, vacuum);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(v.kvi[i], 0.0f);
    EXPECT_EQ(v.kvo[i], 0.0f);
    EXPECT_EQ(v.kmi[i], 0.0f);
    EXPECT_EQ(v.kmo[i], 0.0f);
  }
}

TEST(Orvane, DeepReflectionApproachesTheInfiniteMedium) {
  // One undispersed oscillator: eps does not depend on q, and far below the
  // surface the cross section is Im(-1/eps)*ln(q+/q-)/(pi*a0*Ep).
  Model m{{20.0f}, {6.0f}, {400.0f}, {0.0f}, 1, 0.0f, 1.0f, 0.0f};
  const float ep = 1000.0f;
  const Result r = run(ep, 5.0f, 40.0f, 1e4f, 0.0f, 0.0f, m);
  for (int i = 0; i < 8; ++i) {
    const double t = 5.0 * (i + 1);
    const double loss = 400.0 * 6.0 * t / (std::pow(t * t - 400.0, 2) + 36.0 * t * t);
    const double root = std::sqrt(1.0 - t / ep);
    const double infinite = loss * std::log((1 + root) / (1 - root)) / (3.14159 * 0.52915 * ep);
    SCOPED_TRACE(t);
    EXPECT_NEAR(r.keff[i], infinite, 0.01 * infinite);
  }
}

TEST(Orvane, ObliqueAnglesGiveFiniteCrossSections) {
  // Over many losses and angles the block-1/block-2 divisor Qi + Qo crosses 0
  // inside the blocks; the results stay finite.
  for (float th : {30.0f, 60.0f, 75.0f}) {
    const Result r = run(500.0f, 0.5f, 30.0f, 15.0f, th, 0.5f * th, twoOscillators(0.0f));
    for (int i = 0; i < 60; ++i) {
      ASSERT_TRUE(std::isfinite(r.keff[i])) << th << " " << i;
      ASSERT_TRUE(std::isfinite(r.kmi[i]) && std::isfinite(r.kmo[i])) << th << " " << i;
    }
    EXPECT_TRUE(std::isfinite(r.imfpv) && r.imfpv > 0);
  }
}

TEST(Orvane, GridCountsAndEmptyGrid) {
  // 100/0.2 writes 499 points; element 500 keeps what it held.
  Model m{{15.0f}, {3.0f}, {225.0f}, {0.0f}, 1, 0.0f, 1.0f, 0.0f};
  const Result r = run(2000.0f, 0.2f, 100.0f, 10.0f, 0.0f, 0.0f, m);
  EXPECT_NE(r.keff[498], kSentinel);
  EXPECT_EQ(r.keff[499], kSentinel);
  // Emax < Estep: nothing written, no sum, an infinite valence path.
  const Result empty = run(1000.0f, 0.5f, 0.4f, 10.0f, 0.0f, 0.0f, m, 1);
  EXPECT_EQ(empty.keff[0], kSentinel);
  EXPECT_EQ(empty.kvi[0], kSentinel);
  EXPECT_TRUE(std::isinf(empty.imfpv));
}

TEST(Orvane, HostileArgumentsNeitherCrashNorWritePastTheArrays) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  Model m = twoOscillators(1.0f);
  // A grid of 10000 points into arrays of exactly 1000: at most 1000 written;
  // losses at or above Ep have no cross section and give 0.
  Result big = run(10.0f, 0.1f, 1000.0f, 10.0f, 0.0f, 0.0f, m);
  EXPECT_EQ(big.keff[999], 0.0f);
  EXPECT_EQ(big.kvi[150], 0.0f);
  EXPECT_NE(big.kvi[50], 0.0f);
  // Non-finite or zero steps write nothing.
  for (float step : {0.0f, nan, inf, -0.5f}) {
    Result r = run(1000.0f, step, 10.0f, 10.0f, 0.0f, 0.0f, m, 1);
    EXPECT_EQ(r.keff[0], kSentinel);
  }
  // Undefined inputs may give NaN but must return.
  run(1000.0f, 1.0f, 3.0f, 10.0f, 90.0f, 90.0f, m, 3);
  run(1000.0f, 1.0f, 3.0f, 10.0f, 135.0f, -400.0f, m, 3);
  run(1000.0f, 1.0f, 3.0f, 10.0f, nan, inf, m, 3);
  run(1000.0f, 1.0f, 3.0f, 0.0f, 0.0f, 0.0f, m, 3);
  run(1000.0f, 1.0f, 3.0f, nan, 0.0f, 0.0f, m, 3);
  run(1000.0f, 1.0f, 3.0f, 1e30f, 45.0f, 10.0f, m, 3);
  Result negative = run(-5.0f, 1.0f, 3.0f, 10.0f, 0.0f, 0.0f, m, 3);
  EXPECT_EQ(negative.keff[2], 0.0f);
  run(nan, 1.0f, 3.0f, 10.0f, 0.0f, 0.0f, m, 3);
  run(3e38f, 1.0f, 3.0f, 10.0f, 0.0f, 0.0f, m, 3);
  run(1000.0f, 1e-12f, 2e-12f, 10.0f, 0.0f, 0.0f, m, 3);
  // A huge gap: the gap-correction node count is capped, the call returns.
  Model gap = twoOscillators(3e38f);
  Result capped = run(1000.0f, 500.0f, 500.0f, 10.0f, 0.0f, 0.0f, gap, 1);
  EXPECT_EQ(capped.keff[0], 0.0f);
  // Odd models: no oscillator, a negative count, zero widths.
  Model none = m;
  none.num = 0;
  Result r0 = run(1000.0f, 1.0f, 3.0f, 10.0f, 0.0f, 0.0f, none, 3);
  EXPECT_EQ(r0.keff[0], 0.0f);
  none.num = -3;
  run(1000.0f, 1.0f, 3.0f, 10.0f, 0.0f, 0.0f, none, 3);
  Model sharp{{2.0f}, {0.0f}, {4.0f}, {0.0f}, 1, 0.0f, 0.0f, 0.0f};
  run(1000.0f, 1.0f, 3.0f, 10.0f, 0.0f, 0.0f, sharp, 3);
}
