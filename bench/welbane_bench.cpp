// Speed of the thin-film library, loaded by full path as the program loads
// it, on the page defaults (Ep 1000, t 50, Estep 0.2, Emax 50) and on
// 1000-point grids, for the example metal and a gapped example model. The
// worker count comes from KELVARA_THREADS (default: all cores).
#include <string>
#include <vector>

#include "bench_support.h"
#include "kelvara_libraries.h"

namespace {

void runThinFilm(benchmark::State& state, const std::string& modelName, float ep, float estep, float emax,
                 float thickness = 50.0f) {
  const auto thinfilm = kelvara::bench::benchEntry<thinfilm_fn>(state, "welbane", "thinfilm");
  if (thinfilm == nullptr) return;
  kelvara::examples::Model m = kelvara::bench::exampleModel(modelName);
  std::vector<float> keff(1000), ksurf(1000), kbulk(1000);
  for (auto _ : state) {
    thinfilm(&ep, &estep, &emax, &thickness, &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(),
             &m.num, keff.data(), ksurf.data(), kbulk.data());
    benchmark::DoNotOptimize(keff.data());
  }
  kelvara::bench::reportRates(state, double(kelvara::bench::geometricEvaluations(ep, estep, emax)));
}

void BM_WelbanePageDefaults(benchmark::State& state, const char* model) {
  runThinFilm(state, model, 1000.0f, 0.2f, 50.0f);
}
void BM_WelbaneThousandPoints(benchmark::State& state, const char* model) {
  runThinFilm(state, model, 1000.0f, 0.1f, 100.05f);
}
// A costly grid: 1000 points at a high primary energy (wide momentum range).
void BM_WelbaneThousandPointsHighEnergy(benchmark::State& state, const char* model) {
  runThinFilm(state, model, 3000.0f, 0.1f, 100.05f);
}

}  // namespace

BENCHMARK_CAPTURE(BM_WelbanePageDefaults, metal, "metal")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_WelbanePageDefaults, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_WelbaneThousandPoints, metal, "metal")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_WelbaneThousandPoints, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_WelbaneThousandPointsHighEnergy, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
