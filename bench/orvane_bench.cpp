// Speed of the any-angle reflection library, loaded by full path as the
// program loads it. Reports calls per second and dielectric-function
// evaluations per second; the evaluations of one call are counted by running
// the same momentum integration scheme with a counting integrand.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "geometric_integration.h"
#include "kelvara_libraries.h"
#include "loss_numerics.h"

namespace {

orvane_fn loadOrvane() {
  static void* handle = dlopen(KELVARA_BIN_DIR "/orvane.so", RTLD_NOW | RTLD_LOCAL);
  return handle ? reinterpret_cast<orvane_fn>(dlsym(handle, "orvane")) : nullptr;
}

// Samples of the three blocks at normal incidence over the whole grid: one
// dielectric-function evaluation each.
long evaluationsPerCall(float ep, float estep, float emax) {
  using namespace kelvara::lib;
  static GeometricWork<3, 40000> work;
  const int n = lossPointCount(emax, estep);
  long total = 0;
  const auto none = [](float, float (&f)[3]) { f[0] = f[1] = f[2] = 0.0f; };
  float sums[3];
  for (int i = 1; i <= n; ++i) {
    const float t = float(i) * estep;
    if (!(t < ep)) continue;
    const Kinematics k = kinematicLimits(ep, t);
    const double wv = k.wv;
    const float lo = float(std::sqrt(double(k.qMinus) * k.qMinus - wv * wv));
    const float hi = float(std::sqrt(double(k.qPlus) * k.qPlus - wv * wv));
    total += 2 * integrateGeometric(lo, hi, work, none, sums);
    total += integrateGeometric(k.qMinus, k.qPlus, work, none, sums);
  }
  return total;
}

void runOrvane(benchmark::State& state, float estep, float emax) {
  orvane_fn orvane = loadOrvane();
  if (orvane == nullptr) {
    state.SkipWithError("orvane.so not loaded");
    return;
  }
  // Two oscillators with a gap of 5 eV.
  float w0[2] = {15.0f, 25.0f}, gamma[2] = {3.0f, 8.0f}, a0[2] = {100.0f, 300.0f}, alfa[2] = {1.0f, 1.0f};
  int16_t num = 2;
  float ep = 1000.0f, x0 = 20.0f, th1 = 0.0f, th2 = 0.0f, egap = 5.0f, ac = 1.0f, bc = 0.0f;
  float imfpc = 0, imfpv = 0, imfpeff = 0;
  std::vector<float> kvi(1000), kvo(1000), kmi(1000), kmo(1000), keff(1000);
  for (auto _ : state) {
    orvane(&ep, &estep, &emax, &x0, &th1, &th2, kvi.data(), kvo.data(), kmi.data(), kmo.data(), keff.data(),
           &egap, w0, gamma, a0, alfa, &num, &ac, &bc, &imfpc, &imfpv, &imfpeff);
    benchmark::DoNotOptimize(imfpeff);
  }
  const double evaluations = double(evaluationsPerCall(ep, estep, emax));
  const double calls = double(state.iterations());
  state.counters["calls/s"] = benchmark::Counter(calls, benchmark::Counter::kIsRate);
  state.counters["eps_evals/s"] = benchmark::Counter(calls * evaluations, benchmark::Counter::kIsRate);
  state.counters["eps_evals/call"] = evaluations;
}

// The Model 96 page defaults: Ep 1000, Estep 0.5, Emax 50, X0 20, angles 0.
void BM_OrvanePageDefaults(benchmark::State& state) { runOrvane(state, 0.5f, 50.0f); }
// A 1000-point grid.
void BM_OrvaneThousandPoints(benchmark::State& state) { runOrvane(state, 0.1f, 100.05f); }

}  // namespace

BENCHMARK(BM_OrvanePageDefaults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrvaneThousandPoints)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
