// The optical loss-function library, loaded by full path.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <tuple>
#include <vector>

#include "kelvara_libraries.h"

namespace {

void* library() {
  static void* handle = dlopen(KELVARA_BIN_DIR "/hollenbar.so", RTLD_NOW | RTLD_LOCAL);
  return handle;
}

template <class F>
F entry(const char* name) {
  return library() ? reinterpret_cast<F>(dlsym(library(), name)) : nullptr;
}

constexpr float kSentinel = -777.0f;

struct Model {
  std::vector<float> w0, gamma, a0, alfa;
  int16_t num = 0;
  float egap = 0;
};

struct Curves {
  std::vector<float> bulk, reInv, eps1, eps2, surf;
  int16_t points = -1;
  explicit Curves(size_t size) {
    for (auto* v : {&bulk, &reInv, &eps1, &eps2, &surf}) v->assign(size, kSentinel);
  }
};

Curves optical(float estep, float emax, Model m, size_t size = 1000) {
  Curves c(size);
  auto f = entry<hollenbar_fn>("hollenbar");
  if (f == nullptr) {
    ADD_FAILURE() << "hollenbar.so not loaded";
    return c;
  }
  for (auto* v : {&m.w0, &m.gamma, &m.a0, &m.alfa}) v->resize(std::max<size_t>(v->size(), 1));
  f(c.bulk.data(), c.reInv.data(), c.eps1.data(), c.eps2.data(), c.surf.data(), &estep, &emax, &m.egap,
    m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num);
  return c;
}

Curves atMomentum(float estep, float emax, float q, Model m, size_t size = 1000) {
  Curves c(size);
  auto f = entry<EPSILON_Q_fn>("EPSILON_Q");
  if (f == nullptr) {
    ADD_FAILURE() << "EPSILON_Q not found";
    return c;
  }
  for (auto* v : {&m.w0, &m.gamma, &m.a0, &m.alfa}) v->resize(std::max<size_t>(v->size(), 1));
  f(&emax, &estep, &q, &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num, &c.points,
    c.bulk.data(), c.reInv.data(), c.eps1.data(), c.eps2.data(), c.surf.data());
  return c;
}

float gapCorrection(Model m, float q, float w) {
  auto f = entry<GAP_CORRECTION_fn>("GAP_CORRECTION");
  float corr = kSentinel;
  if (f == nullptr) {
    ADD_FAILURE() << "GAP_CORRECTION not found";
    return corr;
  }
  f(m.w0.data(), m.a0.data(), m.gamma.data(), m.alfa.data(), &q, &m.num, &w, &m.egap, &corr);
  return corr;
}

int argmax(const std::vector<float>& v, int n) {
  int best = 0;
  for (int i = 1; i < n; ++i)
    if (v[i] > v[best]) best = i;
  return best;
}

}  // namespace

TEST(Hollenbar, DrudeClosedForm) {
  // One oscillator with A0 = W0^2, no dispersion, no gap: the Drude metal,
  // eps = 1 - W0^2/(w^2 + i*Gamma*w).
  const float w0 = 16.0f, g = 1.0f;
  const Model drude{{w0}, {g}, {w0 * w0}, {0.0f}, 1, 0.0f};
  const Curves c = optical(0.01f, 9.995f, drude);  // 999 points up to 9.99 eV
  const Curves wide = optical(0.05f, 49.95f, drude);
  const int nWide = 998;
  EXPECT_NEAR(0.05 * (argmax(wide.bulk, nWide) + 1), w0, 0.06);
  EXPECT_NEAR(0.05 * (argmax(wide.surf, nWide) + 1), w0 / std::sqrt(2.0), 0.1);
  for (int i : {100, 500, 900}) {
    const double w = 0.01 * (i + 1);
    const std::complex<double> eps = 1.0 - double(w0) * w0 / (w * w + std::complex<double>(0, g * w));
    SCOPED_TRACE(w);
    // Re(1/eps) = 1 + (a sum close to -1) at low w: 32-bit cancellation.
    EXPECT_NEAR(c.eps1[i], eps.real(), 1e-4 * std::abs(eps));
    EXPECT_NEAR(c.eps2[i], eps.imag(), 1e-4 * std::abs(eps));
    EXPECT_NEAR(c.bulk[i], (-1.0 / eps).imag(), 1e-4 * std::abs(1.0 / eps));
    EXPECT_NEAR(c.reInv[i], (1.0 / eps).real(), 1e-4 * std::abs(1.0 / eps));
    EXPECT_NEAR(c.surf[i], (-1.0 / (eps + 1.0)).imag(), 1e-4 * std::abs(1.0 / (eps + 1.0)));
  }
  EXPECT_EQ(c.bulk[999], kSentinel);
}

TEST(Hollenbar, SumRuleOnAWideGrid) {
  // integral of ELF(w)/w over w = (pi/2) * sum A0/W0^2 for every oscillator.
  const Model m{{10.0f, 25.0f}, {5.0f, 10.0f}, {60.0f, 250.0f}, {0.0f, 0.0f}, 2, 0.0f};
  const float step = 0.1f;
  const Curves c = optical(step, 100.0f, m);
  double sum = 0;
  for (int i = 0; i < 999; ++i) sum += c.bulk[i] / (step * (i + 1));
  EXPECT_NEAR(step * sum, 1.5707963 * (60.0 / 100.0 + 250.0 / 625.0), 0.01 * 1.5707963);
}

TEST(Hollenbar, DispersionShiftsThePeakWithMomentum) {
  const Model m{{10.0f}, {1.0f}, {100.0f}, {1.0f}, 1, 0.0f};
  const Curves c = atMomentum(0.02f, 19.99f, 1.0f, m);
  EXPECT_EQ(c.points, 999);
  EXPECT_NEAR(0.02 * (argmax(c.bulk, 999) + 1), 10.0 + 3.8, 0.05);
  // Q = 0 through EPSILON_Q is the optical limit of hollenbar.
  const Curves a = atMomentum(0.5f, 30.0f, 0.0f, m), b = optical(0.5f, 30.0f, m);
  for (int i = 0; i < 60; ++i) {
    EXPECT_EQ(a.bulk[i], b.bulk[i]);
    EXPECT_EQ(a.surf[i], b.surf[i]);
  }
}

TEST(Hollenbar, GapCorrectionGridAndPointsAtTheGap) {
  Model m{{8.0f}, {4.0f}, {64.0f}, {0.0f}, 1, 0.7f};
  // Egap 0.7 gives 6 nodes of 0.1 eV (6.99999988 truncated).
  double six = 0;
  for (int j = 1; j <= 6; ++j) {
    const double wp = float(j) * 0.1f;
    const double e = 64.0 * 4.0 * wp / (std::pow(wp * wp - 64.0, 2) + 16.0 * wp * wp);
    six += e / (wp * wp - 4.0) * wp * 0.06366198;
  }
  EXPECT_NEAR(gapCorrection(m, 0.0f, 2.0f), six, 1e-6 * std::fabs(six));
  // A node equal to W is skipped.
  const double wp3 = float(3) * 0.1f;
  const double e3 = 64.0 * 4.0 * wp3 / (std::pow(wp3 * wp3 - 64.0, 2) + 16.0 * wp3 * wp3);
  double skipped = 0;
  for (int j = 1; j <= 6; ++j) {
    if (j == 3) continue;
    const double wp = float(j) * 0.1f;
    const double e = 64.0 * 4.0 * wp / (std::pow(wp * wp - 64.0, 2) + 16.0 * wp * wp);
    skipped += e / (wp * wp - wp3 * wp3) * wp * 0.06366198;
  }
  EXPECT_NEAR(gapCorrection(m, 0.0f, float(3) * 0.1f), skipped, 1e-6 * std::fabs(skipped));
  EXPECT_TRUE(std::isfinite(e3));
  m.egap = 0.0f;
  EXPECT_EQ(gapCorrection(m, 0.0f, 2.0f), 0.0f);

  // Points at or below the gap: ELF 0, Re(1/eps) 1, eps1 1, eps2 0, surface 0.
  m.egap = 2.0f;
  const Curves c = optical(0.5f, 3.0f, m);
  for (int i = 0; i < 4; ++i) {  // w = 0.5 .. 2.0
    EXPECT_EQ(c.bulk[i], 0.0f);
    EXPECT_EQ(c.reInv[i], 1.0f);
    EXPECT_EQ(c.eps1[i], 1.0f);
    EXPECT_EQ(c.eps2[i], 0.0f);
    EXPECT_EQ(c.surf[i], 0.0f);
  }
  EXPECT_GT(c.bulk[4], 0.0f);  // 2.5 eV absorbs
}

TEST(Hollenbar, GridCountsAndEmptyModel) {
  const Model none{{}, {}, {}, {}, 0, 0.0f};
  const Curves c = atMomentum(0.2f, 100.0f, 0.0f, none);
  EXPECT_EQ(c.points, 499);
  EXPECT_NE(c.bulk[498], kSentinel);
  EXPECT_EQ(c.bulk[499], kSentinel);
  for (int i : {0, 498}) {
    EXPECT_EQ(c.bulk[i], 0.0f);
    EXPECT_EQ(c.reInv[i], 1.0f);
    EXPECT_EQ(c.eps1[i], 1.0f);
    EXPECT_EQ(c.eps2[i], 0.0f);
    EXPECT_EQ(c.surf[i], 0.0f);
  }
  const Curves empty = atMomentum(0.5f, 0.4f, 0.0f, none, 1);
  EXPECT_EQ(empty.points, 0);
  EXPECT_EQ(empty.bulk[0], kSentinel);
  // A downward grid reports its count truncated toward zero (-2.5 -> -2)
  // and computes nothing.
  for (auto [emax, step, count] : {std::tuple{-3.0f, 1.0f, -3}, {2.5f, -1.0f, -2}, {-0.5f, 1.0f, 0}}) {
    const Curves down = atMomentum(step, emax, 0.0f, none, 1);
    EXPECT_EQ(down.points, count) << emax << "/" << step;
    EXPECT_EQ(down.bulk[0], kSentinel);
    EXPECT_EQ(down.surf[0], kSentinel);
  }
}

TEST(Hollenbar, HostileArgumentsNeitherCrashNorWritePastTheArrays) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const Model m{{10.0f, 20.0f}, {2.0f, 0.0f}, {50.0f, 200.0f}, {1.0f, 0.0f}, 2, 1.0f};
  // 10000 points into arrays of exactly 1000.
  const Curves big = atMomentum(0.1f, 1000.0f, 0.5f, m);
  EXPECT_EQ(big.points, 1000);
  // Zero, non-finite and negative steps compute nothing; only a finite
  // negative quotient has a (negative) count.
  for (float step : {0.0f, nan, inf, -1.0f}) {
    const Curves c = atMomentum(step, 10.0f, 0.0f, m, 1);
    EXPECT_EQ(c.points, step == -1.0f ? -10 : 0);
    EXPECT_EQ(c.bulk[0], kSentinel);
  }
  EXPECT_EQ(atMomentum(1e-30f, -1e30f, 0.0f, m, 1).points, -32768);
  optical(1.0f, 3e38f, m);
  optical(0.5f, 20.0f, Model{{20.0f}, {0.0f}, {400.0f}, {0.0f}, 1, 0.0f});  // zero width at w = W0
  optical(0.5f, 20.0f, Model{{0.0f}, {0.0f}, {0.0f}, {0.0f}, 1, 0.0f});
  optical(0.5f, 5.0f, Model{{10.0f}, {2.0f}, {50.0f}, {0.0f}, -4, 0.0f});
  atMomentum(0.5f, 5.0f, nan, m);
  // A huge gap above part of the grid: the correction's node count is capped.
  optical(1e6f, 3e9f, Model{{10.0f}, {2.0f}, {50.0f}, {0.0f}, 1, 5e6f});
  Model gap = m;
  gap.egap = 3e38f;
  gapCorrection(gap, 0.0f, 5.0f);
  gap.egap = nan;
  EXPECT_EQ(gapCorrection(gap, 0.0f, 5.0f), 0.0f);
}
