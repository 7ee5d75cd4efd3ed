// Speed of the normal-geometry library (Model A and B), loaded by full path
// as the program loads it, on the page defaults (Ep 1000, Estep 0.2, Emax 50,
// a 20) and on 1000-point grids, for the example metal and a gapped example
// model. One dielectric-function evaluation per momentum of the rectangle
// sum. The worker count comes from KELVARA_THREADS (default: all cores).
#include <string>
#include <vector>

#include "../libraries/senvik/momentum_steps.h"
#include "bench_support.h"
#include "kelvara_libraries.h"

namespace {

// Momenta of the rectangle sums of one call: from q- in the library's steps
// until q passes q+.
long evaluationsPerCall(float ep, float estep, float emax) {
  using namespace kelvara::lib;
  long total = 0;
  for (int i = 1; i <= lossPointCount(emax, estep); ++i) {
    const float t = float(i) * estep;
    if (!(t < ep)) continue;
    const Kinematics k = kinematicLimits(ep, t);
    float q = k.qMinus;
    float h = momentumStep(q);
    for (;;) {
      ++total;
      h = momentumStep(q);
      q = q + h;
      if (q > k.qPlus) break;
    }
  }
  return total;
}

void runSenvik(benchmark::State& state, const std::string& modelName, float ep, float estep, float emax) {
  const auto senvik = kelvara::bench::benchEntry<senvik_fn>(state, "senvik", "senvik");
  if (senvik == nullptr) return;
  kelvara::examples::Model m = kelvara::bench::exampleModel(modelName);
  float x0 = 20.0f;
  std::vector<float> a(1000), b(1000), in(1000), out(1000);
  for (auto _ : state) {
    senvik(&ep, &estep, &emax, &x0, a.data(), b.data(), &m.egap, m.w0.data(), m.gamma.data(), m.a0.data(),
           m.alfa.data(), &m.num, in.data(), out.data());
    benchmark::DoNotOptimize(a.data());
  }
  kelvara::bench::reportRates(state, double(evaluationsPerCall(ep, estep, emax)));
}

void BM_SenvikPageDefaults(benchmark::State& state, const char* model) { runSenvik(state, model, 1000.0f, 0.2f, 50.0f); }
void BM_SenvikThousandPoints(benchmark::State& state, const char* model) {
  runSenvik(state, model, 1000.0f, 0.1f, 100.05f);
}
// A costly grid: 1000 points at a high primary energy (long momentum sums).
void BM_SenvikThousandPointsHighEnergy(benchmark::State& state, const char* model) {
  runSenvik(state, model, 3000.0f, 0.1f, 100.05f);
}

}  // namespace

BENCHMARK_CAPTURE(BM_SenvikPageDefaults, metal, "metal")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SenvikPageDefaults, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SenvikThousandPoints, metal, "metal")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SenvikThousandPoints, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SenvikThousandPointsHighEnergy, oxide, "oxide")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
