#pragma once
// Shared pieces of the library benchmarks: loading a library as the program
// does (by full path), the example oscillator models, and the two counters
// every benchmark reports.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cmath>
#include <string>

#include "geometric_integration.h"
#include "loss_numerics.h"
#include "support/example_models.h"

namespace kelvara::bench {

// The metal and the gapped example models by label ("metal",
// "semiconductor", "oxide").
inline const examples::Model& exampleModel(const std::string& label) {
  for (const examples::Labeled& m : examples::exampleModels())
    if (m.label == label) return m.model;
  return examples::exampleModels().back().model;
}

// calls/s and dielectric-function evaluations/s of a finished loop.
inline void reportRates(benchmark::State& state, double evaluationsPerCall) {
  const double calls = double(state.iterations());
  state.counters["calls/s"] = benchmark::Counter(calls, benchmark::Counter::kIsRate);
  state.counters["eps_evals/s"] = benchmark::Counter(calls * evaluationsPerCall, benchmark::Counter::kIsRate);
  state.counters["eps_evals/call"] = evaluationsPerCall;
}

// The entry `name` of <library>.so, or null with the benchmark skipped.
template <class F>
F benchEntry(benchmark::State& state, const char* library, const char* name) {
  const std::string file = std::string(library) + ".so";
  F f = examples::loadEntry<F>(file.c_str(), name);
  if (f == nullptr) state.SkipWithError((file + " not loaded").c_str());
  return f;
}

// Dielectric-function evaluations of the geometric momentum integrations at
// every loss i*Estep below Ep, counted by running the same scheme with an
// empty integrand: over the perpendicular momentum, from sqrt(q-^2 - wv^2) to
// sqrt(q+^2 - wv^2) (the thin-film and infinite-medium scheme), and, when
// `alsoFull`, once more from q- to q+.
inline long geometricEvaluations(float ep, float estep, float emax, bool alsoFull = false) {
  using namespace kelvara::lib;
  static GeometricWork<1, 40000> work;
  long total = 0;
  float sums[1];
  const auto none = [](float, float (&f)[1]) { f[0] = 0.0f; };
  for (int i = 1; i <= lossPointCount(emax, estep); ++i) {
    const float t = float(i) * estep;
    if (!(t < ep)) continue;
    const Kinematics k = kinematicLimits(ep, t);
    const double wv = k.wv;
    const float lo = float(std::sqrt(double(k.qMinus) * k.qMinus - wv * wv));
    const float hi = float(std::sqrt(double(k.qPlus) * k.qPlus - wv * wv));
    total += integrateGeometric(lo, hi, work, none, sums);
    if (alsoFull) total += integrateGeometric(k.qMinus, k.qPlus, work, none, sums);
  }
  return total;
}

}  // namespace kelvara::bench
