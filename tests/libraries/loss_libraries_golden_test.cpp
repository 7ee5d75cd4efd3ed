// Every output of the normal-geometry, thin-film, infinite-medium and
// photoelectron libraries, bit for bit, over a sweep of parameter sets against
// the recorded golden hashes (golden/<library>.golden; KELVARA_GOLDEN_RECORD=1
// records them). Each sweep runs on one worker thread and on several: the
// results must not depend on the number of threads. Every array is hashed
// over its 1000 elements, so elements a call must not write are checked too.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kelvara_libraries.h"
#include "support/example_models.h"
#include "support/golden.h"

namespace {

using kelvara::examples::Model;
using kelvara::golden::Entry;
using kelvara::golden::keyOf;

constexpr std::size_t kSize = 1000;
constexpr float kUnwritten = -7.0f;

using kelvara::examples::Labeled;

// Metal, two gapped example models, a two-oscillator model with a gap that is
// not on the grid and an empty model.
const std::vector<Labeled>& models() {
  static const std::vector<Labeled> all = [] {
    std::vector<Labeled> list = kelvara::examples::exampleModels();
    list.push_back({"two-oscillators", kelvara::examples::twoOscillators(5.1f)});
    list.push_back({"vacuum", kelvara::examples::noOscillator()});
    return list;
  }();
  return all;
}

struct Set {
  std::size_t model;
  float ep, estep, emin, emax, length, angle;
  int16_t nIntegr;
  float qHole;
};

// A deterministic pseudo-random spread over Ep 300-3000 eV, steps 0.05-2 eV,
// lengths 1-1000 A, angles 0-80 degrees, qHole 0, 1, 2 and a few n_integr,
// after the page defaults of every model and a grid that ends above Ep.
std::vector<Set> sweep(unsigned seed) {
  std::vector<Set> s;
  for (std::size_t m = 0; m < models().size(); ++m) s.push_back({m, 1000, 0.5f, 0.5f, 50, 20, 0, 250, 1});
  s.push_back({1, 300, 2.0f, 2.0f, 320, 10, 10, 50, 1});
  const float eps[] = {300, 500, 800, 1000, 1500, 2000, 3000};
  const float steps[] = {0.05f, 0.1f, 0.2f, 0.25f, 0.5f, 1.0f, 2.0f};
  const float lengths[] = {1, 2.5f, 5, 10, 20, 50, 100, 300, 1000};
  const float angles[] = {0, 5, 10, 20, 30, 45, 55, 60, 70, 80};
  const int16_t halves[] = {1, 10, 50, 250};
  unsigned state = seed;
  auto next = [&](unsigned n) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % n;
  };
  while (s.size() < 220) {
    Set p;
    p.model = next(unsigned(models().size()));
    p.ep = eps[next(7)];
    p.estep = steps[next(7)];
    p.emin = next(2) ? p.estep : p.estep * float(1 + next(20)) + 0.3f;
    const unsigned points = 2 + next(30);
    p.emax = p.emin + p.estep * float(points) + (next(2) ? 0.37f * p.estep : 0.0f);
    p.length = lengths[next(9)];
    p.angle = angles[next(10)];
    p.nIntegr = halves[next(4)];
    p.qHole = float(next(3));
    s.push_back(p);
  }
  return s;
}

std::vector<float> unwritten() { return std::vector<float>(kSize, kUnwritten); }

template <class F>
F entry(const char* file, const char* name) {
  F f = kelvara::examples::loadEntry<F>(file, name);
  EXPECT_NE(f, nullptr) << file << ": " << dlerror();
  return f;
}

std::string goldenPath(const char* library) {
  return std::string(KELVARA_SOURCE_DIR "/tests/libraries/golden/") + library + ".golden";
}

// The entries of a sweep: call(set, model copy, entry) runs the library and
// adds its outputs; the key starts with the model's label.
template <class Call>
std::vector<Entry> sweepEntries(unsigned seed, Call&& call) {
  std::vector<Entry> entries;
  for (const Set& s : sweep(seed)) {
    Model m = models()[s.model].model;
    Entry e;
    call(s, m, e);
    e.key = models()[s.model].label + e.key;
    entries.push_back(std::move(e));
  }
  return entries;
}

std::vector<Entry> senvikEntries(senvik_fn f) {
  return sweepEntries(101u, [&](const Set& s, Model& m, Entry& e) {
    auto a = unwritten(), b = unwritten(), in = unwritten(), out = unwritten();
    float ep = s.ep, estep = s.estep, emax = s.emax, x0 = s.length;
    f(&ep, &estep, &emax, &x0, a.data(), b.data(), &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(),
      &m.num, in.data(), out.data());
    e.key = keyOf("", {{"Ep", s.ep}, {"Estep", s.estep}, {"Emax", s.emax}, {"X0", s.length}});
    e.add("KModelA", a.data(), kSize).add("KModelB", b.data(), kSize);
    e.add("KModelA_in", in.data(), kSize).add("KModelA_out", out.data(), kSize);
  });
}

std::vector<Entry> thinFilmEntries(thinfilm_fn f) {
  return sweepEntries(202u, [&](const Set& s, Model& m, Entry& e) {
    auto keff = unwritten(), ksurf = unwritten(), kbulk = unwritten();
    float ep = s.ep, estep = s.estep, emax = s.emax, d = s.length;
    f(&ep, &estep, &emax, &d, &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num, keff.data(),
      ksurf.data(), kbulk.data());
    e.key = keyOf("", {{"Ep", s.ep}, {"Estep", s.estep}, {"Emax", s.emax}, {"Thickness", s.length}});
    e.add("Keff", keff.data(), kSize).add("Ksurf", ksurf.data(), kSize).add("Kbulk", kbulk.data(), kSize);
  });
}

std::vector<Entry> infMediumEntries(infmedium_fn f) {
  return sweepEntries(303u, [&](const Set& s, Model& m, Entry& e) {
    auto kinf = unwritten();
    float ep = s.ep, estep = s.estep, emax = s.emax;
    f(&ep, &estep, &emax, &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num, kinf.data());
    e.key = keyOf("", {{"Ep", s.ep}, {"Estep", s.estep}, {"Emax", s.emax}});
    e.add("Kinf", kinf.data(), kSize);
  });
}

std::vector<Entry> photoEntries(durmel_fn f) {
  return sweepEntries(404u, [&](const Set& s, Model& m, Entry& e) {
    std::vector<float> out[6];
    for (auto& v : out) v = unwritten();
    float ep = s.ep, estep = s.estep, emin = s.emin, emax = s.emax, x0 = s.length, theta = s.angle, hole = s.qHole;
    int16_t halves = s.nIntegr;
    float imfp = kUnwritten, areaHole = kUnwritten, areaNoHole = kUnwritten;
    f(&ep, &estep, &emin, &emax, &x0, &theta, &halves, out[0].data(), out[1].data(), out[2].data(), out[3].data(),
      out[4].data(), out[5].data(), &hole, m.w0.data(), m.a0.data(), m.gamma.data(), &m.egap, m.alfa.data(), &m.num,
      &m.ac, &m.bc, &imfp, &areaHole, &areaNoHole);
    e.key = keyOf("", {{"Ep", s.ep},
                       {"Estep", s.estep},
                       {"Emin", s.emin},
                       {"Emax", s.emax},
                       {"X0", s.length},
                       {"Theta", s.angle},
                       {"n_integr", s.nIntegr},
                       {"qHole", s.qHole}});
    const char* names[] = {"Keff", "keff_inf", "keff_medium_h", "keff_medium_nh", "keff_vacuum_h", "keff_vacuum_nh"};
    for (int k = 0; k < 6; ++k) e.add(names[k], out[k].data(), kSize);
    e.add("IMFPkeff", imfp).add("AreaHole", areaHole).add("AreaNoHole", areaNoHole);
  });
}

template <class F, class Compute>
void expectGolden(const char* library, F f, Compute compute) {
  ASSERT_NE(f, nullptr);
  const auto problems =
      kelvara::golden::compareOnThreads(goldenPath(library), {"1", "4"}, [&] { return compute(f); });
  EXPECT_TRUE(problems.empty()) << kelvara::golden::joined(problems);
}

TEST(LossLibrariesGolden, NormalGeometryBitIdenticalOnOneAndSeveralThreads) {
  expectGolden("senvik", entry<senvik_fn>("senvik.so", "senvik"), senvikEntries);
}

TEST(LossLibrariesGolden, ThinFilmBitIdenticalOnOneAndSeveralThreads) {
  expectGolden("welbane", entry<thinfilm_fn>("welbane.so", "thinfilm"), thinFilmEntries);
}

TEST(LossLibrariesGolden, InfiniteMediumBitIdenticalOnOneAndSeveralThreads) {
  expectGolden("castrel", entry<infmedium_fn>("castrel.so", "infmedium"), infMediumEntries);
}

TEST(LossLibrariesGolden, PhotoelectronBitIdenticalOnOneAndSeveralThreads) {
  expectGolden("durmel", entry<durmel_fn>("durmel.so", "durmel"), photoEntries);
}

}  // namespace
