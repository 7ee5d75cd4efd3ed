// Effective inelastic cross section K(T) from a spectrum without elastic
// peak, the elastic-peak area given: the whole spectrum, read from its
// high-energy end downwards, is the loss spectrum, and the recursive
// deconvolution removes multiple scattering.
#include <cmath>

#include "kelvara_libraries.h"
#include "spectrum_lib.h"

namespace kelvara::lib {
namespace {

// Private working storage (static, fixed size; set afresh in every call).
float gJ[kSpectrumCapacity];  // loss spectrum
float gK[kSpectrumCapacity];  // cross section

}  // namespace
}  // namespace kelvara::lib

// brenmoor(MeasSpec, KSpec, Unused, PeakArea)
//
// N = INT(element 1), dE = element 3. The loss spectrum is
// J(m) = Y(N + 1 - m), m = 1..M = N - 3 (the last point is the loss dE, the
// lowest three points are not used); K(1) = J(1)/A0 and
// K(c) = (J(c) - dE*sum_{m<c} K(c-m)*J(m))/A0 with A0 = PeakArea, the running
// sum rounded to 32 bits after every term. KSpec gets M, 0, dE, K(1..M). The
// third argument is not read (it may be null).
//
// Defined results (nothing read or written outside the arrays, no division
// by zero): the empty result (KSpec elements 1-3 = 0, 0, dE, no value
// written) for a count that is not finite, below 4 (no loss point) or above
// 5000, and for a PeakArea that is 0 or not finite. N = 4 gives the one loss
// point K(1) = Y(4)/A0.
extern "C" void brenmoor(float* MeasSpec, float* KSpec, float* /*Unused*/, float* PeakArea) {
  using namespace kelvara::lib;
  const float de = MeasSpec[2];
  const float a0 = *PeakArea;
  const int n = spectrumCount(MeasSpec, kSpectrumCapacity);
  if (n < 4 || a0 == 0.0f || !std::isfinite(a0)) {
    KSpec[0] = 0.0f;
    KSpec[1] = 0.0f;
    KSpec[2] = de;
    return;
  }
  const int m = n - 3;
  for (int k = 1; k <= m; ++k) gJ[k - 1] = MeasSpec[(n + 1 - k) + 2];
  deconvolve(gJ, m, de, a0, SumPrecision::Single, gK);
  KSpec[0] = static_cast<float>(m);
  KSpec[1] = 0.0f;
  KSpec[2] = de;
  for (int c = 1; c <= m; ++c) KSpec[c + 2] = gK[c - 1];
}
