// The normal-geometry reflection library, loaded by full path and called
// through the function-pointer type the program binds it with.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../../libraries/senvik/momentum_steps.h"
#include "loss_library_support.h"

namespace {

using namespace losstest;

struct Reflection {
  std::vector<float> a = sentinelArray(), b = sentinelArray(), in = sentinelArray(), out = sentinelArray();
};

Reflection runAB(float ep, float estep, float emax, float x0, Model m) {
  Reflection r;
  auto f = loadEntry<senvik_fn>("senvik.so", "senvik");
  if (f == nullptr) {
    ADD_FAILURE() << "senvik.so not loaded: " << dlerror();
    return r;
  }
  m.pad();
  f(&ep, &estep, &emax, &x0, r.a.data(), r.b.data(), &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(),
    m.alfa.data(), &m.num, r.in.data(), r.out.data());
  return r;
}

TEST(Senvik, StepTableBounds) {
  using kelvara::lib::momentumStep;
  struct Row {
    float bound, below, above;
  };
  for (const Row& r : {Row{1, 0.002f, 0.004f}, Row{2, 0.004f, 0.008f}, Row{4, 0.008f, 0.016f},
                       Row{8, 0.016f, 0.064f}, Row{16, 0.064f, 0.032f}, Row{32, 0.032f, 0.064f}}) {
    EXPECT_EQ(momentumStep(r.bound), r.below) << r.bound;  // the bound belongs to the lower row
    EXPECT_EQ(momentumStep(std::nextafter(r.bound, 100.0f)), r.above) << r.bound;
  }
  EXPECT_EQ(momentumStep(0.0f), 0.002f);
  EXPECT_EQ(momentumStep(1000.0f), 0.064f);
}

TEST(Senvik, TrajectoryPartsAddUpToModelA) {
  const Model si = readExample("semiconductor_si_like.elf");
  for (float x0 : {3.0f, 20.0f, 100.0f}) {
    const Reflection r = runAB(1000.0f, 1.0f, 40.0f, x0, si);
    for (int i = 0; i < 40; ++i) {
      SCOPED_TRACE(testing::Message() << "X0 = " << x0 << " T = " << i + 1);
      const double scale = std::fabs(r.in[i]) + std::fabs(r.out[i]);
      EXPECT_NEAR(r.in[i] + r.out[i], r.a[i], 1e-4 * scale);
      EXPECT_TRUE(std::isfinite(r.b[i]));
    }
  }
}

TEST(Senvik, DeepReflectionApproachesTheInfiniteMedium) {
  // Far below the surface both models tend to the bulk term
  // Im(-1/eps)*ln(q+/q-)/(pi*a0*Ep) (undispersed: eps does not depend on q).
  const Model m = undispersed();
  const float ep = 1000.0f;
  const Reflection r = runAB(ep, 4.0f, 40.0f, 1e5f, m);
  for (int i = 1; i <= 10; ++i) {
    const double t = 4.0 * i;
    const Limits l = limits(ep, t);
    const double expected = (-1.0 / dielectric(m, t, 0.0, 4.0)).imag() * std::log(l.qPlus / l.qMinus) / (1.6625347 * ep);
    SCOPED_TRACE(t);
    EXPECT_NEAR(r.a[i - 1], expected, 0.01 * expected);
    EXPECT_NEAR(r.b[i - 1], expected, 0.01 * expected);
  }
}

TEST(Senvik, NoOscillatorGivesZeros) {
  Model vacuum;
  const Reflection r = runAB(1000.0f, 1.0f, 5.0f, 10.0f, vacuum);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(r.a[i], 0.0f);
    EXPECT_EQ(r.b[i], 0.0f);
    EXPECT_EQ(r.in[i], 0.0f);
    EXPECT_EQ(r.out[i], 0.0f);
  }
  EXPECT_EQ(r.a[5], kSentinel);
}

TEST(Senvik, TruncatingGridCounts) {
  // 44/1.1 and 50/0.2 as 32-bit floats: 39 and 249 points.
  const Model si = readExample("semiconductor_si_like.elf");
  for (auto [estep, emax, n] : {std::tuple{1.1f, 44.0f, 39}, std::tuple{0.2f, 50.0f, 249}}) {
    const Reflection r = runAB(1000.0f, estep, emax, 10.0f, si);
    EXPECT_NE(r.b[n - 1], kSentinel) << emax;
    EXPECT_EQ(r.b[n], kSentinel) << emax;
    EXPECT_EQ(r.out[n], kSentinel) << emax;
  }
}

TEST(Senvik, SmallLossesAndHighEnergiesStayFinite) {
  // T/Ep down to 1e-5 and Ep up to 100 keV: every valid loss gives numbers.
  const Model si = readExample("semiconductor_si_like.elf");
  for (float ep : {1e4f, 2e4f, 1e5f}) {
    const Reflection r = runAB(ep, 0.2f, 2.0f, 10.0f, si);
    for (int i = 0; i < 10; ++i) {
      SCOPED_TRACE(testing::Message() << ep << " " << i + 1);
      ASSERT_TRUE(std::isfinite(r.a[i]) && std::isfinite(r.b[i]));
      ASSERT_TRUE(std::isfinite(r.in[i]) && std::isfinite(r.out[i]));
    }
  }
}

TEST(Senvik, HostileArgumentsNeitherHangNorWritePastTheArrays) {
  for (const HostileCase& c : hostileCases()) {
    Model m = hostileModel(c.num);
    m.egap = c.egap;
    const Reflection r = runAB(c.ep, c.estep, c.emax, c.length, m);
    checkHostile(c, r.a, "KModelA");
    checkHostile(c, r.b, "KModelB");
    checkHostile(c, r.in, "KModelA_in");
    checkHostile(c, r.out, "KModelA_out");
  }
}

}  // namespace
