// The photoelectron library, loaded by full path and called through the
// function-pointer type the program binds it with.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <fstream>
#include <limits>
#include <algorithm>
#include <string>
#include <vector>

#include "kelvara_libraries.h"
#include "loss_library_support.h"
#include "loss_numerics.h"

namespace {

durmel_fn loadDurmel() { return losstest::loadEntry<durmel_fn>("durmel.so", "durmel"); }

using losstest::Model;
using losstest::readExample;

struct Grid {
  float ep = 1000, estep = 0.5f, emin = 0.5f, emax = 50, x0 = 10, theta = 0;
  int16_t nIntegr = 250;
  float qHole = 1;
};

constexpr float kSentinel = -4321.0f;

struct Result {
  std::vector<float> keff, inf, mh, mnh, vh, vnh;
  float imfp = kSentinel, areaHole = kSentinel, areaNoHole = kSentinel;
  std::vector<std::vector<float>*> all() { return {&keff, &inf, &mh, &mnh, &vh, &vnh}; }
};

// Output arrays of exactly `size` elements, pre-filled with the sentinel.
Result run(Grid g, Model m, size_t size = 1000) {
  Result r;
  for (auto* v : r.all()) v->assign(size, kSentinel);
  durmel_fn f = loadDurmel();
  if (f == nullptr) {
    ADD_FAILURE() << "durmel.so not loaded: " << dlerror();
    return r;
  }
  for (auto* v : {&m.w0, &m.a0, &m.gamma, &m.alfa}) v->resize(std::max<size_t>(v->size(), 1));
  f(&g.ep, &g.estep, &g.emin, &g.emax, &g.x0, &g.theta, &g.nIntegr, r.keff.data(), r.inf.data(), r.mh.data(),
    r.mnh.data(), r.vh.data(), r.vnh.data(), &g.qHole, m.w0.data(), m.a0.data(), m.gamma.data(), &m.egap,
    m.alfa.data(), &m.num, &m.ac, &m.bc, &r.imfp, &r.areaHole, &r.areaNoHole);
  return r;
}

}  // namespace

// Independent reading of the infinite-medium part at normal emission: with
// q^2 = qa^2 + x^2 the x integral of x*Im(-1/eps)/(q^2*B) becomes the integral
// of Im(-1/eps(q)) over ln q between the kinematic limits, summed here in
// double by Simpson's rule on ln q (library constants: 0.25618, 0.513,
// 0.065627 and B = 1.662*Ep).
double infiniteMedium(double ep, double T, const Model& m, float estep) {
  const double k = std::sqrt(ep), r = std::sqrt(ep - T);
  const double qa = 0.25618 * T / k, qm = 0.513 * (k - r), qp = 0.513 * (k + r);
  const double F = -0.065627 * T * T / ep;
  const double lo = 0.5 * std::log(qa * qa + qm * qm + F), hi = 0.5 * std::log(qa * qa + qp * qp + F);
  const kelvara::lib::Oscillators osc{m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), m.num};
  const int n = 40000;
  const double h = (hi - lo) / n;
  double sum = 0;
  for (int i = 0; i <= n; ++i) {
    const float q = float(std::exp(lo + i * h));
    const auto eps = kelvara::lib::epsQW(float(T), q, osc, m.egap, estep, kelvara::lib::GapSkip::Relative);
    const double loss = -(1.0 / std::complex<double>(eps.real(), eps.imag())).imag();
    sum += loss * (i == 0 || i == n ? 1 : (i % 2 ? 4 : 2));
  }
  return sum * h / 3 / (1.662 * ep);
}

TEST(Durmel, InfiniteMediumPartIsTheBulkIntegralAtAnyDepth) {
  const Model si = readExample("semiconductor_si_like.elf");
  Grid g;
  g.emin = 10;
  g.estep = 10;
  g.emax = 40;
  g.nIntegr = 1250;  // finer grids gain nothing: the sums are 32-bit
  const Result r = run(g, si);
  for (int j = 0; j < 4; ++j) {
    const double T = 10.0 * (j + 1);
    const double expected = infiniteMedium(g.ep, T, si, g.estep);
    EXPECT_NEAR(r.inf[j], expected, 1e-5 * expected) << T;
  }
  // No depth enters the infinite-medium part, at any angle.
  g.theta = 25;
  g.nIntegr = 100;
  const Result ref = run(g, si);
  for (float x0 : {0.5f, 40.0f, 5000.0f}) {
    g.x0 = x0;
    const Result other = run(g, si);
    for (int j = 0; j < 4; ++j) EXPECT_EQ(other.inf[j], ref.inf[j]) << x0;
    EXPECT_NE(other.mnh[0], ref.mnh[0]) << x0;
  }
  // Emission at -Theta is emission at Theta.
  g.theta = -25;
  g.x0 = 10;
  const Result mirrored = run(g, si);
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(mirrored.inf[j], ref.inf[j]);
    EXPECT_EQ(mirrored.keff[j], ref.keff[j]);
  }
}

TEST(Durmel, DeepOriginApproachesTheInfiniteMediumAsOneOverDepth) {
  const Model si = readExample("semiconductor_si_like.elf");
  Grid g;
  g.ep = 100;
  g.emin = 10;
  g.estep = 5;
  g.emax = 15;
  g.nIntegr = 5000;
  g.x0 = 400;
  const Result deep = run(g, si);
  for (float x0 : {50.0f, 100.0f, 200.0f}) {
    g.x0 = x0;
    const Result r = run(g, si);
    for (int j = 0; j < 2; ++j) {
      const double limit = 400.0 * (deep.keff[j] - deep.inf[j]);
      EXPECT_GT(std::fabs(limit), 0.01 * deep.inf[j]);
      EXPECT_NEAR(x0 * (r.keff[j] - r.inf[j]), limit, 1e-3 * std::fabs(limit)) << x0 << " " << j;
      EXPECT_EQ(r.inf[j], deep.inf[j]);
    }
  }
}

TEST(Durmel, AreasAndMeanFreePathFollowTheHoleCharge) {
  const Model si = readExample("semiconductor_si_like.elf");
  Grid g;  // the window's defaults: 0.5, 1.0, ..., 50 eV
  const double lambda = g.ep / (si.ac * (std::log(double(g.ep)) + si.bc));
  float hole0 = 0;
  for (float q : {0.0f, 1.0f, 2.0f}) {
    g.qHole = q;
    const Result r = run(g, si, 101);
    EXPECT_EQ(r.keff[100], kSentinel);
    double area = 0, areaHole = 0;
    for (int j = 0; j < 100; ++j) {
      const double withHole = double(r.vh[j]) + r.mh[j], without = double(r.vnh[j]) + r.mnh[j];
      EXPECT_NEAR(r.keff[j], q * withHole + without, 1e-6 * (std::fabs(withHole) + std::fabs(without)));
      area += g.estep * double(r.keff[j]);
      areaHole += g.estep * withHole;
    }
    EXPECT_GT(area, 0);
    EXPECT_NEAR(q * r.areaHole + r.areaNoHole, area, 1e-5 * area) << q;
    EXPECT_NEAR(r.areaHole, areaHole, 1e-5 * std::fabs(areaHole));
    EXPECT_NEAR(r.imfp, 1.0 / (area + 1.0 / lambda), 1e-5 / area) << q;
    if (q == 0.0f) hole0 = r.areaHole;
    EXPECT_EQ(r.areaHole, hole0);  // never weighted by the charge
  }
}

TEST(Durmel, BelowTheGapTheHoleAndNoHolePartsCancel) {
  const Model oxide = readExample("oxide_sio2_like.elf");  // gap 9 eV
  Grid g;
  g.emin = 1;
  g.estep = 2;
  g.emax = 7;
  const Result r = run(g, oxide);
  g.qHole = 2;
  const Result auger = run(g, oxide);
  for (int j = 0; j < 4; ++j) {
    SCOPED_TRACE(j);
    EXPECT_EQ(r.inf[j], 0.0f);
    const double scale = std::fabs(r.mh[j]) + std::fabs(r.mnh[j]) + std::fabs(r.vh[j]) + std::fabs(r.vnh[j]);
    EXPECT_NE(r.mh[j], 0.0f);
    EXPECT_NE(r.vnh[j], 0.0f);
    EXPECT_NEAR(r.keff[j], 0.0, 1e-5 * scale);
    EXPECT_NEAR(auger.keff[j], double(r.vh[j]) + r.mh[j], 1e-5 * scale);
  }
}

TEST(Durmel, HostileArgumentsWriteExactlyTheGridAndNothingBeyond) {
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  constexpr float inf = std::numeric_limits<float>::infinity();
  const Model metal = readExample("free_electron_metal.elf");  // no gap: cheap points
  struct Case {
    const char* name;
    Grid g;
    int written;    // points the library writes
    int zeroLead;   // leading points with no cross section (all five parts 0)
    int zeroTail;   // trailing points with no cross section
    int16_t numOsc = -99;  // -99: the model's own count
  };
  auto grid = [](auto&& change) {
    Grid g;
    g.nIntegr = 5;
    change(g);
    return g;
  };
  const std::vector<Case> cases = {
      {"defaults", grid([](Grid&) {}), 100, 0, 0},
      {"zero first loss", grid([](Grid& g) { g.emin = 0; }), 101, 1, 0},
      {"negative first loss", grid([](Grid& g) { g.emin = -2; }), 105, 5, 0},
      {"one point", grid([](Grid& g) { g.emin = g.emax = 7; }), 1, 0, 0},
      {"Emax below Emin", grid([](Grid& g) { g.emin = 5, g.emax = 4; }), 0, 0, 0},
      {"zero step", grid([](Grid& g) { g.estep = 0; }), 0, 0, 0},
      {"negative step", grid([](Grid& g) { g.estep = -0.5f; }), 0, 0, 0},
      {"NaN step", grid([](Grid& g) { g.estep = nan; }), 0, 0, 0},
      {"infinite step", grid([](Grid& g) { g.estep = inf; }), 0, 0, 0},
      {"NaN Emin", grid([](Grid& g) { g.emin = nan; }), 0, 0, 0},
      {"infinite Emax", grid([](Grid& g) { g.emax = inf; }), 0, 0, 0},
      {"2000 points capped", grid([](Grid& g) { g.emin = g.estep = 0.01f, g.emax = 20; }), 1000, 0, 0},
      {"step below rounding", grid([](Grid& g) { g.estep = 1e-9f, g.emax = 1; }), 1000, 0, 0},
      {"losses at and above Ep", grid([](Grid& g) { g.ep = 20, g.emin = 10, g.estep = 5, g.emax = 30; }), 5, 0, 3},
      {"n_integr 1", grid([](Grid& g) { g.nIntegr = 1; }), 100, 0, 0},
      {"n_integr 5000", grid([](Grid& g) { g.nIntegr = 5000, g.emax = 2; }), 4, 0, 0},
      {"n_integr 0", grid([](Grid& g) { g.nIntegr = 0; }), 100, 100, 0},
      {"n_integr -1", grid([](Grid& g) { g.nIntegr = -1; }), 100, 100, 0},
      {"n_integr 5001", grid([](Grid& g) { g.nIntegr = 5001; }), 100, 100, 0},
      {"n_integr 32767", grid([](Grid& g) { g.nIntegr = 32767; }), 100, 100, 0},
      {"X0 0", grid([](Grid& g) { g.x0 = 0; }), 100, 100, 0},
      {"X0 negative", grid([](Grid& g) { g.x0 = -5; }), 100, 100, 0},
      {"X0 NaN", grid([](Grid& g) { g.x0 = nan; }), 100, 100, 0},
      {"X0 huge", grid([](Grid& g) { g.x0 = 1e30f; }), 100, 0, 0},
      {"Theta 80", grid([](Grid& g) { g.theta = 80; }), 100, 0, 0},
      {"Theta -80", grid([](Grid& g) { g.theta = -80; }), 100, 0, 0},
      {"Theta 90", grid([](Grid& g) { g.theta = 90; }), 100, 100, 0},
      {"Theta 135", grid([](Grid& g) { g.theta = 135; }), 100, 100, 0},
      {"Theta NaN", grid([](Grid& g) { g.theta = nan; }), 100, 100, 0},
      {"Ep 0", grid([](Grid& g) { g.ep = 0; }), 100, 100, 0},
      {"Ep NaN", grid([](Grid& g) { g.ep = nan; }), 100, 100, 0},
      {"Ep infinite", grid([](Grid& g) { g.ep = inf; }), 100, 100, 0},
      {"no oscillator", grid([](Grid&) {}), 100, 100, 0, 0},
      {"negative oscillator count", grid([](Grid&) {}), 100, 100, 0, -3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Model m = metal;
    if (c.numOsc != -99) m.num = c.numOsc;
    // Exactly one element beyond the grid (the address sanitizer guards the rest).
    Result r = run(c.g, m, size_t(c.written) + 1);
    int zeros = 0;
    for (int j = 0; j < c.written; ++j) {
      const bool none = j < c.zeroLead || j >= c.written - c.zeroTail;
      for (auto* v : r.all()) {
        ASSERT_TRUE(std::isfinite((*v)[j])) << j;
        if (none) {
          EXPECT_EQ((*v)[j], 0.0f) << j;
        }
      }
      if (!none) {
        EXPECT_GT(r.inf[j], 0.0f) << j;
      }
      zeros += r.keff[j] == 0.0f;
    }
    for (auto* v : r.all()) EXPECT_EQ((*v)[c.written], kSentinel);
    EXPECT_GE(zeros, c.zeroLead + c.zeroTail);
    if (c.zeroLead == c.written) {
      // Nothing to add up: zero areas, the core mean free path alone.
      EXPECT_EQ(r.areaHole, 0.0f);
      EXPECT_EQ(r.areaNoHole, 0.0f);
      const double lambda = c.g.ep / (m.ac * (std::log(double(c.g.ep)) + m.bc));
      if (std::isfinite(lambda) && lambda > 0) {
        EXPECT_NEAR(r.imfp, lambda, 1e-5 * lambda);
      }
    } else {
      EXPECT_TRUE(std::isfinite(r.areaHole) && std::isfinite(r.areaNoHole) && std::isfinite(r.imfp));
    }
  }
}
