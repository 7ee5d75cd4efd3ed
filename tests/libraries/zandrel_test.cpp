// The area-normalised joining library, loaded by full path and called
// through the function-pointer type the program binds it with.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "kelvara_libraries.h"
#include "spectrum_lib_support.h"

namespace {

using spectest::kSentinel;

std::vector<float> join(std::vector<float> a, std::vector<float> b, float dJoin = 3, float dWinHi = 10,
                        float dWinLo = 25, size_t outSize = 5000) {
  std::vector<float> out = spectest::sentinels(outSize);
  static auto f = spectest::load<NormArea_fn>("zandrel.so", "NormArea");
  if (f == nullptr) {
    ADD_FAILURE() << "zandrel.so not loaded: " << dlerror();
    return out;
  }
  f(a.data(), b.data(), out.data(), &dJoin, &dWinHi, &dWinLo);
  return out;
}

// A peak at 280 eV on a sloping background.
double shape(double e) { return 100.0 * std::exp(-(e - 280) * (e - 280) / 8.0) + 10.0 + 0.05 * (300.0 - e); }

std::vector<float> sampled(double e0, int n, const std::function<double(double)>& f) {
  std::vector<float> v(n);
  for (int i = 0; i < n; ++i) v[i] = static_cast<float>(f(e0 + 0.5 * i));
  return spectest::spectrum(static_cast<float>(e0), 0.5f, v);
}

const std::vector<float> kA = sampled(100.0, 400, shape);  // 100 .. 299.5 eV
// B = 3*A from 50 eV on, doubled above 271 eV (outside the window 255..270
// and its first point above, 270.5): the doubling shows where B is used.
const std::vector<float> kB = sampled(50.0, 500, [](double e) { return (e > 271 ? 6.0 : 3.0) * shape(e); });

}  // namespace

TEST(Zandrel, ScalesTheSecondSpectrumBackOntoTheFirst) {
  const std::vector<float> out = join(kA, kB);
  ASSERT_EQ(out[0], 500.0f);  // from B's first energy to A's last on A's step
  EXPECT_EQ(out[1], 50.0f);
  EXPECT_EQ(out[2], 0.5f);
  EXPECT_TRUE(spectest::untouchedFrom(out, 503));
  for (int k = 1; k <= 500; ++k) {
    const double e = 50.0 + 0.5 * (k - 1);
    SCOPED_TRACE(e);
    if (e > 277) {
      EXPECT_EQ(out[k + 2], static_cast<float>(shape(e)));  // A, at its own energies
    } else {
      EXPECT_NEAR(out[k + 2], (e > 271 ? 2 : 1) * shape(e), 1e-5 * shape(e));  // B/3
    }
  }
}

TEST(Zandrel, StartUpCallOnEmptySpectraWritesNoPoint) {
  // The program's spectra at start-up: 5000 zero elements each.
  const std::vector<float> out = join(std::vector<float>(5000, 0.0f), std::vector<float>(5000, 0.0f));
  EXPECT_EQ(out[0], 0.0f);
  EXPECT_EQ(out[1], 0.0f);
  EXPECT_EQ(out[2], 0.0f);
  EXPECT_TRUE(spectest::untouchedFrom(out, 3));
}

TEST(Zandrel, ReferenceJoinAndLength) {
  // Two equal highest points: the lower-energy one (279.5) is the reference,
  // so 277 eV lies above the join energy 276.5 and comes from A.
  std::vector<float> twin = kA;
  twin[3 + 359] = twin[3 + 360];
  EXPECT_EQ(join(twin, kB)[3 + 454], twin[3 + 354]);
  // A second spectrum that starts above the join energy (here 260 eV)
  // contributes no point; the output starts at its first energy.
  const std::vector<float> late = join(kA, sampled(265.0, 70, shape), 20);
  EXPECT_EQ(late[0], 70.0f);
  EXPECT_EQ(late[1], 265.0f);
  EXPECT_EQ(late[3], kA[3 + 330]);
  // More steps than a spectrum array holds: 4997 points, none beyond.
  std::vector<float> fine(2000);
  for (int i = 0; i < 2000; ++i) fine[i] = static_cast<float>(1.0 + std::exp(-std::pow((900 + 0.1 * i - 1050), 2)));
  const std::vector<float> longOut =
      join(spectest::spectrum(900.0f, 0.1f, fine), spectest::spectrum(0.0f, 50.0f, std::vector<float>(40, 1.0f)));
  EXPECT_EQ(longOut[0], 4997.0f);
  EXPECT_NE(longOut[4999], kSentinel);  // element 5000, the last the array has
}

TEST(Zandrel, UnusableInputsGiveTheEmptyResult) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    const char* what;
    std::vector<float> a, b;
    float dJoin = 3, dWinHi = 10;
  };
  std::vector<float> huge = kA;
  huge[0] = 6000;
  std::vector<float> flatStep = kB;
  flatStep[2] = 0;
  const std::vector<Case> cases = {
      {"one point", kA, spectest::spectrum(50.0f, 0.5f, {1})},
      {"more than 5000 points", huge, kB},
      {"zero step", kA, flatStep},
      {"join energy not a number", kA, kB, nan},
      {"window above A's first point", kA, kB, 3, 200},
      {"zero window area of B", kA, sampled(50.0, 500, [](double) { return 0.0; })},
      {"B starting above the window", kA, sampled(290.0, 10, shape)},
      {"B ending below the window", kA, sampled(50.0, 300, shape)},
  };
  ASSERT_EQ(join(kA, kB)[0], 500.0f);  // a good join first
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<float> out = join(c.a, c.b, c.dJoin, c.dWinHi, 25, 600);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_TRUE(spectest::untouchedFrom(out, 3));
  }
}

TEST(Zandrel, HostileValuesStayInsideTheArrays) {
  // Inputs of exactly N + 3 elements; the output is a program array of 5000.
  for (unsigned seed = 0; seed < 300; ++seed) {
    const std::vector<float> a = spectest::hostileSpectrum(seed, static_cast<int>(seed % 40));
    const std::vector<float> b = spectest::hostileSpectrum(seed + 7777, static_cast<int>((seed / 3) % 40));
    const std::vector<float> out = join(a, b, 3, 10, 25, 5000);
    ASSERT_LE(out[0], 4997.0f) << seed;
  }
}
