// Speed of the photoelectron library, loaded by full path as the program
// loads it, on the window's defaults (Ep 1000, Estep 0.5, Emin 0.5, Emax 50,
// X0 10, Theta 0, qHole 1, n_integr 250) and on 1000-point grids, for the
// example metal and a gapped example model. One dielectric-function
// evaluation per x sample, 2*n_integr + 1 per loss point. The worker count
// comes from KELVARA_THREADS (default: all cores).
#include <string>
#include <vector>

#include "bench_support.h"
#include "kelvara_libraries.h"

namespace {

void runDurmel(benchmark::State& state, const std::string& modelName, float estep, float emin, float emax,
               int16_t halves = 250, float theta = 0.0f) {
  const auto durmel = kelvara::bench::benchEntry<durmel_fn>(state, "durmel", "durmel");
  if (durmel == nullptr) return;
  kelvara::examples::Model m = kelvara::bench::exampleModel(modelName);
  float ep = 1000.0f, x0 = 10.0f, hole = 1.0f;
  float imfp = 0, areaHole = 0, areaNoHole = 0;
  std::vector<float> out[6];
  for (auto& v : out) v.assign(1000, 0.0f);
  for (auto _ : state) {
    durmel(&ep, &estep, &emin, &emax, &x0, &theta, &halves, out[0].data(), out[1].data(), out[2].data(),
           out[3].data(), out[4].data(), out[5].data(), &hole, m.w0.data(), m.a0.data(), m.gamma.data(), &m.egap,
           m.alfa.data(), &m.num, &m.ac, &m.bc, &imfp, &areaHole, &areaNoHole);
    benchmark::DoNotOptimize(imfp);
  }
  const int points = kelvara::lib::truncCount((double(emax) - double(emin)) / double(estep) + 1.0, 1000);
  kelvara::bench::reportRates(state, double(points) * double(2 * halves + 1));
}

void BM_DurmelDefaults(benchmark::State& state, const char* model) { runDurmel(state, model, 0.5f, 0.5f, 50.0f); }
void BM_DurmelThousandPoints(benchmark::State& state, const char* model) {
  runDurmel(state, model, 0.1f, 0.1f, 100.05f);
}
// A costly case: 1000 points at 60 degrees with the finest x integration the
// library takes (n_integr 5000).
void BM_DurmelThousandPointsFinest(benchmark::State& state, const char* model) {
  runDurmel(state, model, 0.1f, 0.1f, 100.05f, 5000, 60.0f);
}

}  // namespace

BENCHMARK_CAPTURE(BM_DurmelDefaults, metal, "metal")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_DurmelDefaults, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_DurmelThousandPoints, metal, "metal")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_DurmelThousandPoints, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_DurmelThousandPointsFinest, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
