// Speed of the optical loss-function library, loaded by full path as the
// program loads it, on the loss-function plot defaults (Estep 0.2, Emax 100)
// and on a 1000-point grid, for the example metal and the gapped example
// models. One dielectric-function evaluation per grid point.
#include <string>
#include <vector>

#include "bench_support.h"
#include "kelvara_libraries.h"
#include "loss_numerics.h"

namespace {

void runHollenbar(benchmark::State& state, const std::string& modelName, float estep, float emax) {
  const auto hollenbar = kelvara::bench::benchEntry<hollenbar_fn>(state, "hollenbar", "hollenbar");
  if (hollenbar == nullptr) return;
  kelvara::examples::Model m = kelvara::bench::exampleModel(modelName);
  std::vector<float> out[5];
  for (auto& v : out) v.assign(1000, 0.0f);
  for (auto _ : state) {
    hollenbar(out[0].data(), out[1].data(), out[2].data(), out[3].data(), out[4].data(), &estep, &emax, &m.egap,
              m.w0.data(), m.gamma.data(), m.a0.data(), m.alfa.data(), &m.num);
    benchmark::DoNotOptimize(out[0].data());
  }
  kelvara::bench::reportRates(state, double(kelvara::lib::lossPointCount(emax, estep)));
}

void BM_HollenbarPlotDefaults(benchmark::State& state, const char* model) {
  runHollenbar(state, model, 0.2f, 100.0f);
}
void BM_HollenbarThousandPoints(benchmark::State& state, const char* model) {
  runHollenbar(state, model, 0.1f, 100.05f);
}

}  // namespace

BENCHMARK_CAPTURE(BM_HollenbarPlotDefaults, metal, "metal")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HollenbarPlotDefaults, oxide, "oxide")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HollenbarThousandPoints, metal, "metal")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HollenbarThousandPoints, oxide, "oxide")->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
