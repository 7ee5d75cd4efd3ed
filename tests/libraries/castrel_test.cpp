// The infinite-medium library, loaded by full path and called through the
// function-pointer type the program binds it with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "loss_library_support.h"

namespace {

using namespace losstest;

constexpr double kPiBohr = 3.14159 * 0.52915;

std::vector<float> runInf(float ep, float estep, float emax, Model m) {
  std::vector<float> kinf = sentinelArray();
  auto f = loadEntry<infmedium_fn>("castrel.so", "infmedium");
  if (f == nullptr) {
    ADD_FAILURE() << "castrel.so not loaded: " << dlerror();
    return kinf;
  }
  m.pad();
  f(&ep, &estep, &emax, &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num, kinf.data());
  return kinf;
}

TEST(Castrel, UndispersedOscillatorGivesTheClosedForm) {
  // eps does not depend on q: K = Im(-1/eps)*ln(q+/q-)/(pi*a0*Ep).
  const Model m = undispersed();
  const float ep = 1000.0f;
  const std::vector<float> k = runInf(ep, 2.0f, 60.0f, m);
  for (int i = 1; i <= 30; ++i) {
    const double t = 2.0 * i;
    const Limits l = limits(ep, t);
    const double expected = (-1.0 / dielectric(m, t, 0.0, 2.0)).imag() * std::log(l.qPlus / l.qMinus) / (kPiBohr * ep);
    EXPECT_NEAR(k[i - 1], expected, 0.005 * expected) << t;
  }
  EXPECT_EQ(k[30], kSentinel);
}

// The library's scheme read independently: geometric nodes from qa to qb,
// Simpson on each sub-interval with a doubling step, the next sub-interval
// starting where the samples ended; nodes and steps as 32-bit values, the
// integrand and the sums in double.
double geometricSimpson(const std::function<double(double)>& f, float qa, float qb) {
  const int nodes = int(std::log2(0.5 * (1.0 + double(qb) / qa)) + 1);
  std::vector<float> node(nodes + 1);
  for (int j = 1; j <= nodes; ++j)
    node[j] = float(qa + (double(qb) - qa) * (std::pow(2.0, j - 1) - 1) / (std::pow(2.0, nodes - 1) - 1));
  double sum = 0;
  float h = float(qa / 64.0);
  for (int j = 1; j < nodes; ++j) {
    h *= 2.0f;
    int n = int((double(node[j + 1]) - node[j]) / h) + 1;
    if (n % 2 == 0) ++n;
    n = std::max(n, 5);
    double s = 0;
    for (int p = 1; p <= n; ++p) {
      const double w = (p == 1 || p == n) ? 1 : (p % 2 == 0 ? 4 : 2);
      s += w * f(float(double(node[j]) + (p - 1) * double(h)));
    }
    sum += s * h / 3;
    node[j + 1] = float(double(node[j]) + (n - 1) * double(h));
  }
  return sum;
}

TEST(Castrel, ExampleModelsAgreeWithAnAdaptiveIntegral) {
  // K(T) = (1/(pi*a0*Ep)) * integral of Im(-1/eps(q, T))/q from q- to q+,
  // integrated in ln q with the dispersion and the gap correction. The
  // metal's narrow dispersing plasmon is a sharp peak in q that the Simpson
  // steps resolve only below about 30 eV (above, they leave up to 10 %); over
  // the whole range the library must follow its own scheme.
  const float ep = 1000.0f, estep = 0.5f;
  for (const char* file : {"free_electron_metal.elf", "semiconductor_si_like.elf", "oxide_sio2_like.elf"}) {
    const Model m = readExample(file);
    const std::vector<float> k = runInf(ep, estep, 40.0f, m);
    const bool narrow = m.gamma[0] < 1.0f;
    for (int i = 1; i <= 80; ++i) {
      const double t = estep * i;
      SCOPED_TRACE(testing::Message() << file << " T = " << t);
      if (t < m.egap) {
        EXPECT_EQ(k[i - 1], 0.0f);
        continue;
      }
      const Limits l = limits(ep, t);
      auto elf = [&](double q) { return (-1.0 / dielectric(m, t, q, estep)).imag(); };
      const double exact =
          adaptive([&](double u) { return elf(std::exp(u)); }, std::log(l.qMinus), std::log(l.qPlus), 1e-9) /
          (kPiBohr * ep);
      if (!narrow || t < 30) {
        EXPECT_NEAR(k[i - 1], exact, 0.02 * exact);
      }
      const double a2 = l.wv * l.wv;
      const double scheme = geometricSimpson([&](double x) { return x * elf(std::sqrt(x * x + a2)) / (x * x + a2); },
                                             float(std::sqrt(l.qMinus * l.qMinus - a2)),
                                             float(std::sqrt(l.qPlus * l.qPlus - a2))) /
                            (kPiBohr * ep);
      EXPECT_NEAR(k[i - 1], scheme, 1e-3 * scheme);
    }
  }
}

TEST(Castrel, PageDefaultGridAndHighEnergies) {
  // 70/0.2 as 32-bit floats: 349 points.
  const Model si = readExample("semiconductor_si_like.elf");
  const std::vector<float> k = runInf(1000.0f, 0.2f, 70.0f, si);
  EXPECT_NE(k[348], kSentinel);
  EXPECT_EQ(k[349], kSentinel);
  // 10 and 100 keV: every valid loss finite and positive above the gap.
  for (float ep : {1e4f, 1e5f}) {
    const std::vector<float> h = runInf(ep, 0.2f, 30.0f, si);
    for (int i = 6; i <= 149; ++i) ASSERT_TRUE(std::isfinite(h[i - 1]) && h[i - 1] > 0) << ep << " " << i;
  }
}

TEST(Castrel, HostileArgumentsNeitherHangNorWritePastTheArrays) {
  auto f = loadEntry<infmedium_fn>("castrel.so", "infmedium");
  ASSERT_NE(f, nullptr);
  for (const HostileCase& c : hostileCases()) {
    Model m = hostileModel(c.num);
    m.egap = c.egap;
    m.pad();
    std::vector<float> kinf = sentinelArray();
    float ep = c.ep, estep = c.estep, emax = c.emax;
    f(&ep, &estep, &emax, &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num, kinf.data());
    checkHostile(c, kinf, "Kinf");
  }
}

}  // namespace
