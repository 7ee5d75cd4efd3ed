// The thin-film library, loaded by full path and called through the
// function-pointer type the program binds it with.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "loss_library_support.h"

namespace {

using namespace losstest;

constexpr double kPiBohr = 3.14159 * 0.52915;

struct Film {
  std::vector<float> keff = sentinelArray(), ksurf = sentinelArray(), kbulk = sentinelArray();
};

Film runFilm(float ep, float estep, float emax, float d, Model m) {
  Film r;
  auto f = loadEntry<thinfilm_fn>("welbane.so", "thinfilm");
  if (f == nullptr) {
    ADD_FAILURE() << "welbane.so not loaded: " << dlerror();
    return r;
  }
  m.pad();
  f(&ep, &estep, &emax, &d, &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num,
    r.keff.data(), r.ksurf.data(), r.kbulk.data());
  return r;
}

TEST(Welbane, BulkIsTheInfiniteMediumAndKeffTheSumOfItsParts) {
  const Model si = readExample("semiconductor_si_like.elf");
  std::vector<float> kinf = sentinelArray();
  {
    Model m = si;
    float ep = 1000.0f, estep = 0.5f, emax = 40.0f;
    auto f = loadEntry<infmedium_fn>("castrel.so", "infmedium");
    ASSERT_NE(f, nullptr);
    f(&ep, &estep, &emax, &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num, kinf.data());
  }
  for (float d : {5.0f, 50.0f, 500.0f}) {
    const Film r = runFilm(1000.0f, 0.5f, 40.0f, d, si);
    for (int i = 0; i < 80; ++i) {
      SCOPED_TRACE(testing::Message() << "d = " << d << " point " << i + 1);
      EXPECT_EQ(r.kbulk[i], kinf[i]);
      EXPECT_EQ(r.keff[i], r.kbulk[i] + r.ksurf[i]);
      if (i >= 4) {
        EXPECT_NE(r.ksurf[i], 0.0f);
      }
    }
    EXPECT_EQ(r.keff[80], kSentinel);
    EXPECT_EQ(r.ksurf[80], kSentinel);
    EXPECT_EQ(r.kbulk[80], kSentinel);
  }
}

TEST(Welbane, ThickFilmSurfacePartFallsOffAsOneOverThickness) {
  // Far from both surfaces' overlap (exp(-d*x) negligible) and without
  // dispersion, d*Ksurf = 2/(pi*a0*Ep) * Im[(eps - 1)^2/(eps*(eps + 1))] *
  // integral of x^2/(x^2 + wv^2)^2 from qa to qb, in closed form.
  const Model m = undispersed();
  const float ep = 1000.0f;
  for (float d : {1e4f, 1e5f}) {
    const Film r = runFilm(ep, 2.0f, 40.0f, d, m);
    for (int i = 1; i <= 20; ++i) {
      const double t = 2.0 * i;
      const Limits l = limits(ep, t);
      const double a = l.wv;
      const double qa = std::sqrt(l.qMinus * l.qMinus - a * a), qb = std::sqrt(l.qPlus * l.qPlus - a * a);
      auto primitive = [a](double x) { return std::atan(x / a) / (2 * a) - x / (2 * (x * x + a * a)); };
      const std::complex<double> eps = dielectric(m, t, 0.0, 2.0);
      const double expected =
          2.0 / (kPiBohr * ep) * ((eps - 1.0) * (eps - 1.0) / (eps * (eps + 1.0))).imag() * (primitive(qb) - primitive(qa));
      EXPECT_NEAR(d * r.ksurf[i - 1], expected, 0.01 * std::fabs(expected)) << "d = " << d << " T = " << t;
    }
  }
}

TEST(Welbane, GridCountAndHighEnergies) {
  const Model si = readExample("semiconductor_si_like.elf");
  const Film r = runFilm(1000.0f, 0.2f, 50.0f, 20.0f, si);  // 50/0.2: 249 points
  EXPECT_NE(r.keff[248], kSentinel);
  EXPECT_EQ(r.keff[249], kSentinel);
  for (float ep : {1e4f, 1e5f}) {
    const Film h = runFilm(ep, 0.2f, 30.0f, 20.0f, si);
    for (int i = 6; i <= 149; ++i)
      ASSERT_TRUE(std::isfinite(h.keff[i - 1]) && std::isfinite(h.ksurf[i - 1]) && h.kbulk[i - 1] > 0) << ep << " " << i;
  }
}

TEST(Welbane, HostileArgumentsNeitherHangNorWritePastTheArrays) {
  for (const HostileCase& c : hostileCases()) {
    Model m = hostileModel(c.num);
    m.egap = c.egap;
    const Film r = runFilm(c.ep, c.estep, c.emax, c.length, m);
    checkHostile(c, r.keff, "Keff");
    checkHostile(c, r.ksurf, "Ksurf");
    checkHostile(c, r.kbulk, "Kbulk");
  }
}

}  // namespace
