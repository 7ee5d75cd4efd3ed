// Speed of the infinite-medium library, loaded by full path as the program
// loads it, on the page defaults (Ep 1000, Estep 0.2, Emax 70) and on
// 1000-point grids, for the example metal and a gapped example model. The
// worker count comes from KELVARA_THREADS (default: all cores).
#include <string>
#include <vector>

#include "bench_support.h"
#include "kelvara_libraries.h"

namespace {

void runInfMedium(benchmark::State& state, const std::string& modelName, float ep, float estep, float emax) {
  const auto infmedium = kelvara::bench::benchEntry<infmedium_fn>(state, "castrel", "infmedium");
  if (infmedium == nullptr) return;
  kelvara::examples::Model m = kelvara::bench::exampleModel(modelName);
  std::vector<float> kinf(1000);
  for (auto _ : state) {
    infmedium(&ep, &estep, &emax, &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num,
              kinf.data());
    benchmark::DoNotOptimize(kinf.data());
  }
  kelvara::bench::reportRates(state, double(kelvara::bench::geometricEvaluations(ep, estep, emax)));
}

void BM_CastrelPageDefaults(benchmark::State& state, const char* model) {
  runInfMedium(state, model, 1000.0f, 0.2f, 70.0f);
}
void BM_CastrelThousandPoints(benchmark::State& state, const char* model) {
  runInfMedium(state, model, 1000.0f, 0.1f, 100.05f);
}
// A costly grid: 1000 points at a high primary energy (wide momentum range).
void BM_CastrelThousandPointsHighEnergy(benchmark::State& state, const char* model) {
  runInfMedium(state, model, 3000.0f, 0.1f, 100.05f);
}

}  // namespace

BENCHMARK_CAPTURE(BM_CastrelPageDefaults, metal, "metal")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CastrelPageDefaults, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CastrelThousandPoints, metal, "metal")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CastrelThousandPoints, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CastrelThousandPointsHighEnergy, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
