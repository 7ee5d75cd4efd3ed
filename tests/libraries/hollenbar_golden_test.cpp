// Every output of the optical loss-function library, bit for bit, over a
// sweep of models, grids and momenta, against the recorded golden hashes
// (golden/hollenbar.golden; KELVARA_GOLDEN_RECORD=1 records them).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/example_models.h"
#include "support/golden.h"
#include "kelvara_libraries.h"

namespace {

using kelvara::examples::Model;

void* library() {
  static void* handle = dlopen(KELVARA_BIN_DIR "/hollenbar.so", RTLD_NOW | RTLD_LOCAL);
  return handle;
}

std::vector<kelvara::examples::Labeled> models() {
  const Model twoOsc = kelvara::examples::twoOscillators(5.1f);
  Model thin{{2.0f}, {0.5f}, {4.0f}, {1.0f}, 1, 0.7f, 1.0f, 0.0f};
  std::vector<kelvara::examples::Labeled> all = kelvara::examples::exampleModels();
  all.push_back({"two-oscillators", twoOsc});
  all.push_back({"narrow", thin});
  return all;
}

}  // namespace

TEST(HollenbarGolden, EveryOutputBitIdentical) {
  ASSERT_NE(library(), nullptr) << dlerror();
  auto hollenbar = reinterpret_cast<hollenbar_fn>(dlsym(library(), "hollenbar"));
  auto epsilonQ = reinterpret_cast<EPSILON_Q_fn>(dlsym(library(), "EPSILON_Q"));
  auto gapCorrection = reinterpret_cast<GAP_CORRECTION_fn>(dlsym(library(), "GAP_CORRECTION"));
  ASSERT_TRUE(hollenbar && epsilonQ && gapCorrection);
  const float steps[] = {0.05f, 0.1f, 0.2f, 0.25f, 0.5f, 1.0f, 2.0f};
  const float emaxes[] = {10.0f, 50.0f, 100.0f, 0.3f};
  const float momenta[] = {0.0f, 0.3f, 1.0f, 2.5f};
  constexpr std::size_t kSize = 1000;
  std::vector<kelvara::golden::Entry> entries;
  for (auto& [label, m] : models()) {
    for (float estep : steps) {
      for (float emax : emaxes) {
        std::vector<float> out[5];
        for (auto& v : out) v.assign(kSize, -7.0f);
        hollenbar(out[0].data(), out[1].data(), out[2].data(), out[3].data(), out[4].data(), &estep, &emax,
                  &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num);
        kelvara::golden::Entry e;
        e.key = kelvara::golden::keyOf(label + " hollenbar", {{"Estep", estep}, {"Emax", emax}});
        const char* names[] = {"ELFbulk", "ReInvEps", "Eps1", "Eps2", "ELFsurf"};
        for (int k = 0; k < 5; ++k) e.add(names[k], out[k].data(), kSize);
        entries.push_back(std::move(e));
      }
      float emax = 40.0f;
      for (float q : momenta) {
        std::vector<float> out[5];
        for (auto& v : out) v.assign(kSize, -7.0f);
        int16_t npts = -1;
        epsilonQ(&emax, &estep, &q, &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num,
                 &npts, out[0].data(), out[1].data(), out[2].data(), out[3].data(), out[4].data());
        kelvara::golden::Entry e;
        e.key = kelvara::golden::keyOf(label + " EPSILON_Q", {{"Estep", estep}, {"Emax", emax}, {"Q", q}});
        const char* names[] = {"ELFbulk", "ReInvEps", "Eps1", "Eps2", "ELFsurf"};
        for (int k = 0; k < 5; ++k) e.add(names[k], out[k].data(), kSize);
        e.add("NPts", npts);
        entries.push_back(std::move(e));
      }
    }
    // The correction on its own, at energies on, between and above its nodes.
    for (float w : {0.1f, 0.35f, 0.7f, 1.0f, 3.3f, 9.0f, 12.5f}) {
      for (float q : momenta) {
        float corr = -7.0f;
        gapCorrection(m.w0.data(), m.a0.data(), m.gamma.data(), m.alfa.data(), &q, &m.num, &w, &m.egap, &corr);
        kelvara::golden::Entry e;
        e.key = kelvara::golden::keyOf(label + " GAP_CORRECTION", {{"W", w}, {"Q", q}});
        e.add("Corr", corr);
        entries.push_back(std::move(e));
      }
    }
  }
  const auto problems =
      kelvara::golden::compare(KELVARA_SOURCE_DIR "/tests/libraries/golden/hollenbar.golden", entries);
  EXPECT_TRUE(problems.empty()) << kelvara::golden::joined(problems);
}
