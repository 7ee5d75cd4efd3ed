// The shared loss-point loop and the cheap arithmetic of the momentum
// integrations: the loop visits every point once on any number of workers,
// the per-point dielectric terms, the written-out complex division and the
// one truncation rule give exactly what the plain routines give.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "loss_loop.h"
#include "loss_numerics.h"

namespace {

using namespace kelvara::lib;
using Cd = std::complex<double>;

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct ThreadsEnv {
  explicit ThreadsEnv(const char* v) { setenv("KELVARA_THREADS", v, 1); }
  ~ThreadsEnv() { unsetenv("KELVARA_THREADS"); }
};

struct Visit {
  std::atomic<int> count{0};
  float T = 0, corr = 0;
  int worker = -1;
};

// One worker's area: its index.
struct Area {
  int index;
};
Area gAreas[kMaxWorkers];

TEST(LossLoop, VisitsEveryPointOnceWithItsLossAndGapCorrectionOnAnyWorkerCount) {
  const float w0[] = {11, 23}, gamma[] = {2, 9}, a0[] = {7.26f, 148.12f}, alfa[] = {0.05f, 0.1f};
  const Oscillators model{w0, gamma, a0, alfa, 2};
  auto& areas = gAreas;
  for (int k = 0; k < kMaxWorkers; ++k) areas[k].index = k;
  for (const char* threads : {"1", "3", "16", "999"}) {
    ThreadsEnv env(threads);
    // 100/0.2 from the unrounded quotient: 499 points.
    std::vector<Visit> visits(1000);
    const GapRule gap{&model, 9.0f, 0.2f, GapSkip::Exact};
    const int n = forEachLossPoint(100.0f, 0.2f, gap, areas, [&](const LossPoint& p, Area& a) {
      Visit& v = visits[p.i - 1];
      v.count++;
      v.T = p.T;
      v.corr = p.gapCorr;
      v.worker = a.index;
    });
    ASSERT_EQ(n, 499) << threads;
    std::set<int> workers;
    for (int i = 1; i <= 1000; ++i) {
      const Visit& v = visits[i - 1];
      if (i > n) {
        EXPECT_EQ(v.count, 0);
        continue;
      }
      ASSERT_EQ(v.count, 1) << threads << " " << i;
      EXPECT_TRUE(sameBits(v.T, float(i) * 0.2f)) << i;
      EXPECT_TRUE(sameBits(v.corr, gapCor(model, float(i) * 0.2f, 9.0f, 0.2f, GapSkip::Exact))) << i;
      workers.insert(v.worker);
    }
    EXPECT_LE(int(workers.size()), std::min(std::atoi(threads), kMaxWorkers)) << threads;
  }
  // No model: no correction; an empty grid calls nothing.
  int calls = 0;
  EXPECT_EQ(forEachLossPoint(3.0f, 1.0f, GapRule{}, areas, [&](const LossPoint& p, Area&) {
              EXPECT_EQ(p.gapCorr, 0.0f);
              ++calls;
            }), 3);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(forEachLossPoint(0.4f, 0.5f, GapRule{}, areas, [&](const LossPoint&, Area&) { ++calls; }), 0);
  EXPECT_EQ(calls, 3);
}

TEST(LossLoop, TabledGridVisitsEveryEntryOnceWithItsLossAndGapCorrection) {
  const float w0[] = {5, 16.7f}, gamma[] = {1.5f, 3.6f}, a0[] = {0.5f, 210.144f}, alfa[] = {0.05f, 1.0f};
  const Oscillators model{w0, gamma, a0, alfa, 2};
  auto& areas = gAreas;
  // A running-sum grid from 0.3 in steps of 0.1, as a library may form it.
  std::vector<float> T(700);
  float loss = 0.2f;
  for (float& t : T) t = (loss += 0.1f);
  for (const char* threads : {"1", "5"}) {
    ThreadsEnv env(threads);
    std::vector<Visit> visits(T.size());
    const GapRule gap{&model, 1.1f, 0.1f, GapSkip::Relative};
    forEachTabledLossPoint(int(T.size()), T.data(), gap, areas, [&](const LossPoint& p, Area&) {
      Visit& v = visits[p.i - 1];
      v.count++;
      v.T = p.T;
      v.corr = p.gapCorr;
    });
    for (std::size_t i = 0; i < T.size(); ++i) {
      ASSERT_EQ(visits[i].count, 1) << threads << " " << i;
      EXPECT_TRUE(sameBits(visits[i].T, T[i])) << i;
      EXPECT_TRUE(sameBits(visits[i].corr, gapCor(model, T[i], 1.1f, 0.1f, GapSkip::Relative))) << i;
    }
  }
}

TEST(LossLoop, WorkerCountFromTheEnvironmentCappedAndOneForSmallGrids) {
  {
    ThreadsEnv env("6");
    EXPECT_EQ(lossWorkerCount(1000), 6);
    EXPECT_EQ(lossWorkerCount(kPointsPerWorker * 2), 2);
    EXPECT_EQ(lossWorkerCount(3), 1);
  }
  for (const char* bad : {"0", "-2", "x", ""}) {
    ThreadsEnv env(bad);
    const int n = lossWorkerCount(1000);
    EXPECT_GE(n, 1);
    EXPECT_LE(n, kMaxWorkers);
  }
  ThreadsEnv env("100000");
  EXPECT_EQ(lossWorkerCount(1000), kMaxWorkers);
}

// A point that throws, on a worker or on the calling thread, ends the call
// with that exception once every worker has been joined (a joinable thread
// destroyed would end the process) and the points after it are skipped; the
// loop runs normally afterwards.
TEST(LossLoop, AThrowingPointIsReportedToTheCallerAfterAllWorkersAreJoined) {
  struct Case {
    const char* threads;
    int throwAt;
  };
  for (const Case c : {Case{"1", 1}, Case{"1", 500}, Case{"4", 1}, Case{"4", 250}, Case{"16", 1000}}) {
    ThreadsEnv env(c.threads);
    std::atomic<int> visited{0};
    EXPECT_THROW(forEachIndex(1000, gAreas,
                              [&](int i, Area&) {
                                visited++;
                                if (i == c.throwAt) throw std::runtime_error("point");
                              }),
                 std::runtime_error)
        << c.threads << " " << c.throwAt;
    // On one worker the points run in order: none after the throwing one.
    if (std::string_view(c.threads) == "1") {
      EXPECT_EQ(visited.load(), c.throwAt);
    }
    std::atomic<int> again{0};
    forEachIndex(1000, gAreas, [&](int, Area&) { again++; });
    EXPECT_EQ(again.load(), 1000) << c.threads;
  }
}

TEST(CheapArithmetic, WrittenOutComplexDivisionIsTheLibraryQuotientBitForBit) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> mant(-1.0, 1.0);
  std::uniform_int_distribution<int> expo(-40, 40);
  auto value = [&](int kind) {
    switch (kind) {
      case 0: return 0.0;
      case 1: return std::ldexp(mant(rng), expo(rng));
      case 2: return std::ldexp(mant(rng), expo(rng) * 20);  // far outside the ordinary range
      default: return mant(rng);
    }
  };
  const double special[] = {0.0, -0.0, 1e-310, std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN(), 1e300, -1.0};
  for (int t = 0; t < 400000; ++t) {
    double v[4];
    for (double& x : v) x = t % 97 == 0 ? special[rng() % 7] : value(int(rng() % 8 == 0 ? rng() % 3 : 1));
    const Cd a(v[0], v[1]), b(v[2], v[3]);
    const Cd mine = divide(a, b), lib = a / b;
    ASSERT_TRUE(sameBits(mine.real(), lib.real()) && sameBits(mine.imag(), lib.imag()))
        << "(" << v[0] << "," << v[1] << ")/(" << v[2] << "," << v[3] << ")";
    Cd q1, q2;
    const Cd a2(v[1], -v[0]);
    divideShared(a, a2, b, q1, q2);
    const Cd lib2 = a2 / b;
    ASSERT_TRUE(sameBits(q1.real(), lib.real()) && sameBits(q1.imag(), lib.imag()));
    ASSERT_TRUE(sameBits(q2.real(), lib2.real()) && sameBits(q2.imag(), lib2.imag()));
  }
}

TEST(CheapArithmetic, SineAndCosineOfANegatedArgumentAreMirroredBitForBit) {
  // exp(-ix) is formed as the conjugate of exp(ix).
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> arg(-3000.0, 3000.0);
  for (int t = 0; t < 200000; ++t) {
    const double x = t % 3 ? arg(rng) : arg(rng) * 1e-6;
    ASSERT_TRUE(sameBits(std::cos(-x), std::cos(x))) << x;
    ASSERT_TRUE(sameBits(std::sin(-x), -std::sin(x))) << x;
    const Cd p = std::polar(1.0, -x);
    ASSERT_TRUE(sameBits(p.real(), std::cos(x)) && sameBits(p.imag(), -std::sin(x))) << x;
  }
}

TEST(CheapArithmetic, PerPointDielectricTermsGiveThePlainDielectricFunction) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> u(0.0f, 1.0f);
  for (int numOsc : {0, 1, 4, 20, 70}) {  // 70: beyond the per-point terms
    std::vector<float> w0(70), gamma(70), a0(70), alfa(70);
    for (int k = 0; k < 70; ++k) {
      w0[k] = 1 + 40 * u(rng);
      gamma[k] = 0.2f + 10 * u(rng);
      a0[k] = 300 * u(rng);
      alfa[k] = u(rng);
    }
    const Oscillators m{w0.data(), gamma.data(), a0.data(), alfa.data(), numOsc};
    for (float w : {0.5f, 1.1f, 9.0f, 17.3f, 60.0f}) {
      for (float egap : {0.0f, 9.0f}) {
        const float corr = gapCor(m, w, egap, 0.5f, GapSkip::Exact);
        const DielectricAtLoss d(m, w, egap, corr);
        for (int t = 0; t < 200; ++t) {
          const float q = 6 * u(rng);
          const ComplexF a = d.eps(q), b = epsQW(w, q, m, egap, 0.5f, GapSkip::Exact);
          ASSERT_TRUE(sameBits(a.real(), b.real()) && sameBits(a.imag(), b.imag())) << numOsc << " " << w << " " << q;
        }
        // Several momenta side by side give each one's value.
        const float qs[3] = {6 * u(rng), 0.0f, 6 * u(rng)};
        ComplexF many[3];
        d.epsMany(qs, many);
        for (int k = 0; k < 3; ++k) {
          const ComplexF b = epsQW(w, qs[k], m, egap, 0.5f, GapSkip::Exact);
          ASSERT_TRUE(sameBits(many[k].real(), b.real()) && sameBits(many[k].imag(), b.imag())) << numOsc << " " << k;
        }
      }
    }
  }
}

TEST(CheapArithmetic, OneTruncationRule) {
  struct Case {
    double x;
    int lo, hi, value, outside;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (const Case& c : {Case{499.9999925, 0, 1000, 499, 0}, Case{1000.0, 0, 1000, 1000, 0},
                        Case{1001.5, 0, 1000, 1000, 1}, Case{-0.7, 0, 1000, 0, 0}, Case{-1.0, 0, 1000, 0, -1},
                        Case{-40000.2, -32768, 32767, -32768, -1}, Case{-5.9, -32768, 32767, -5, 0},
                        Case{nan, 0, 10, 0, 0}, Case{inf, 0, 10, 0, 0}, Case{1e300, 0, 10, 10, 1}}) {
    const Truncated t = truncateTo(c.x, c.lo, c.hi);
    EXPECT_EQ(t.value, c.value) << c.x;
    EXPECT_EQ(t.outside, c.outside) << c.x;
  }
  // The counts built on it.
  EXPECT_EQ(lossPointCount(100.0f, 0.2f), 499);
  EXPECT_EQ(lossPointCount(1e9f, 1.0f), kMaxLossPoints);
  EXPECT_EQ(intervalPointCount(64.0, 1.0, 40000), 65);
  EXPECT_EQ(intervalPointCount(40000.0, 1.0, 40000), -1);
}

}  // namespace
