// Speed of the any-angle reflection library, loaded by full path as the
// program loads it, on the Model 96 page defaults and on 1000-point grids, for
// the example metal and the gapped example models. Reports calls per second
// and dielectric-function evaluations per second; the evaluations of one call
// are counted by running the same momentum integration scheme with a counting
// integrand. The worker count comes from KELVARA_THREADS (default: all cores).
#include <string>
#include <vector>

#include "bench_support.h"
#include "kelvara_libraries.h"
#include "loss_numerics.h"

namespace {

using kelvara::examples::Model;

void runOrvane(benchmark::State& state, const std::string& modelName, float estep, float emax, float ep = 1000.0f,
               float th1 = 0.0f, float th2 = 0.0f) {
  const auto orvane = kelvara::bench::benchEntry<orvane_fn>(state, "orvane", "orvane");
  if (orvane == nullptr) return;
  Model m = kelvara::bench::exampleModel(modelName);
  float x0 = 20.0f;
  float imfpc = 0, imfpv = 0, imfpeff = 0;
  std::vector<float> kvi(1000), kvo(1000), kmi(1000), kmo(1000), keff(1000);
  for (auto _ : state) {
    orvane(&ep, &estep, &emax, &x0, &th1, &th2, kvi.data(), kvo.data(), kmi.data(), kmo.data(), keff.data(),
           &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num, &m.ac, &m.bc, &imfpc,
           &imfpv, &imfpeff);
    benchmark::DoNotOptimize(imfpeff);
  }
  // At normal incidence one evaluation per sample of block 1 (whose samples
  // block 2 shares on equal angles) and of block 3.
  kelvara::bench::reportRates(state, double(kelvara::bench::geometricEvaluations(ep, estep, emax, true)));
}

// The Model 96 page defaults: Ep 1000, Estep 0.5, Emax 50, X0 20, angles 0.
void BM_OrvanePageDefaults(benchmark::State& state, const char* model) { runOrvane(state, model, 0.5f, 50.0f); }
// A 1000-point grid: Estep 0.1, Emax 100.
void BM_OrvaneThousandPoints(benchmark::State& state, const char* model) {
  runOrvane(state, model, 0.1f, 100.05f);
}
// The finest grid the page accepts on the widest gap: Estep 0.01, Emax 10.
void BM_OrvaneFineGrid(benchmark::State& state, const char* model) { runOrvane(state, model, 0.01f, 10.0f); }

// A costly grid: 1000 points at oblique, unequal angles (blocks 1 and 2 share
// nothing) and a high primary energy (wide momentum ranges). The evaluation
// count is that of normal incidence.
void BM_OrvaneObliqueThousandPoints(benchmark::State& state, const char* model) {
  runOrvane(state, model, 0.1f, 100.05f, 3000.0f, 70.0f, 20.0f);
}

}  // namespace

BENCHMARK_CAPTURE(BM_OrvanePageDefaults, metal, "metal")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OrvanePageDefaults, semiconductor, "semiconductor")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OrvanePageDefaults, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OrvaneThousandPoints, metal, "metal")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OrvaneThousandPoints, semiconductor, "semiconductor")
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OrvaneThousandPoints, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OrvaneFineGrid, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OrvaneObliqueThousandPoints, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
