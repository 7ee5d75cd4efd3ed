// Every output of the any-angle reflection library, bit for bit, over a
// sweep of parameter sets, against the recorded golden hashes
// (golden/orvane.golden; KELVARA_GOLDEN_RECORD=1 records them). The sweep
// runs on one worker thread and on several: the results must not depend on
// the number of threads.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/example_models.h"
#include "support/golden.h"
#include "kelvara_libraries.h"

namespace {

using kelvara::examples::Model;

orvane_fn loadOrvane() { return kelvara::examples::loadEntry<orvane_fn>("orvane.so", "orvane"); }

using kelvara::examples::Labeled;

std::vector<Labeled> models() {
  std::vector<Labeled> all = kelvara::examples::exampleModels();
  all.push_back({"two-oscillators", kelvara::examples::twoOscillators(5.0f)});
  all.push_back({"vacuum", kelvara::examples::noOscillator()});
  return all;
}

struct Params {
  std::size_t model;
  float ep, estep, emax, x0, th1, th2;
};

// The sweep: fixed cases first, then a deterministic pseudo-random spread over
// Ep 300-3000 eV, steps 0.05-2 eV, depths 1-1000 A and angles 0-80 degrees,
// about half of them with equal angles.
std::vector<Params> sweep(std::size_t modelCount) {
  std::vector<Params> p = {
      {0, 1000, 0.5f, 50, 20, 0, 0}, {1, 1000, 0.5f, 50, 20, 0, 0}, {2, 1000, 0.5f, 50, 20, 0, 0},
      {3, 1000, 1.0f, 10, 20, 0, 0}, {1, 2000, 0.2f, 5, 10, 30, 30}, {2, 1000, 0.5f, 0.4f, 10, 0, 0},
      {3, 500, 0.5f, 30, 15, 60, 30}, {3, 500, 0.5f, 30, 15, 75, 37.5f}, {4, 1000, 1.0f, 3, 20, 20, 40},
      {2, 300, 2.0f, 60, 1000, 80, 80}};
  const float eps[] = {300, 500, 800, 1000, 1500, 2000, 3000};
  const float steps[] = {0.05f, 0.1f, 0.2f, 0.25f, 0.5f, 1.0f, 2.0f};
  const float depths[] = {1, 2.5f, 5, 10, 20, 50, 100, 300, 1000};
  const float angles[] = {0, 5, 10, 20, 30, 45, 55, 60, 70, 80};
  unsigned state = 12345u;
  auto next = [&](unsigned n) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % n;
  };
  while (p.size() < 240) {
    Params s;
    s.model = next(unsigned(modelCount));
    s.ep = eps[next(7)];
    s.estep = steps[next(7)];
    const unsigned points = 2 + next(30);
    s.emax = s.estep * float(points) + (next(2) ? 0.37f * s.estep : 0.0f);
    s.x0 = depths[next(9)];
    s.th1 = angles[next(10)];
    s.th2 = next(2) ? s.th1 : angles[next(10)];
    p.push_back(s);
  }
  return p;
}

std::vector<kelvara::golden::Entry> computeAll(orvane_fn f) {
  const std::vector<Labeled> ms = models();
  std::vector<kelvara::golden::Entry> entries;
  constexpr std::size_t kSize = 1000;
  for (const Params& s : sweep(ms.size())) {
    Model m = ms[s.model].model;
    std::vector<float> kvi(kSize, -7.0f), kvo(kSize, -7.0f), kmi(kSize, -7.0f), kmo(kSize, -7.0f),
        keff(kSize, -7.0f);
    float ep = s.ep, estep = s.estep, emax = s.emax, x0 = s.x0, th1 = s.th1, th2 = s.th2;
    float imfpc = -1, imfpv = -1, imfpeff = -1;
    f(&ep, &estep, &emax, &x0, &th1, &th2, kvi.data(), kvo.data(), kmi.data(), kmo.data(), keff.data(), &m.egap,
      m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num, &m.ac, &m.bc, &imfpc, &imfpv, &imfpeff);
    kelvara::golden::Entry e;
    e.key = kelvara::golden::keyOf(ms[s.model].label, {{"Ep", s.ep},
                                                        {"Estep", s.estep},
                                                        {"Emax", s.emax},
                                                        {"X0", s.x0},
                                                        {"Theta1", s.th1},
                                                        {"Theta2", s.th2}});
    e.add("Kvi", kvi.data(), kSize).add("Kvo", kvo.data(), kSize).add("Kmi", kmi.data(), kSize);
    e.add("Kmo", kmo.data(), kSize).add("Keff", keff.data(), kSize);
    e.add("IMFPc", imfpc).add("IMFPv", imfpv).add("IMFPeff", imfpeff);
    entries.push_back(std::move(e));
  }
  return entries;
}

}  // namespace

TEST(OrvaneGolden, EveryOutputBitIdenticalOnOneAndSeveralThreads) {
  orvane_fn f = loadOrvane();
  ASSERT_NE(f, nullptr) << dlerror();
  const std::string path = KELVARA_SOURCE_DIR "/tests/libraries/golden/orvane.golden";
  const auto problems = kelvara::golden::compareOnThreads(path, {"1", "4"}, [&] { return computeAll(f); });
  EXPECT_TRUE(problems.empty()) << kelvara::golden::joined(problems);
}
