// Effective inelastic cross section K(T) from a measured spectrum with its
// elastic peak at the high-energy end: the elastic-peak area, a straight line
// in place of the peak's low-energy flank, the spectrum below the peak read
// as a loss spectrum, and the recursive deconvolution of multiple scattering.
#include <cmath>
#include <limits>

#include "kelvara_libraries.h"
#include "spectrum_lib.h"

namespace kelvara::lib {
namespace {

// Private working storage (static, fixed size; everything is set afresh in
// every call).
float gY[kSpectrumCapacity];  // values, then with the ramp
float gJ[kSpectrumCapacity];  // loss spectrum
float gK[kSpectrumCapacity];  // cross section

// The empty result: no loss point, zero area.
void writeEmpty(float* kspec, float de, float* areaK) {
  kspec[0] = 0.0f;
  kspec[1] = 0.0f;
  kspec[2] = de;
  *areaK = 0.0f;
}

}  // namespace
}  // namespace kelvara::lib

// LCROSS(MeasSpec, KSpec, PeakLow, PeakHigh, MinRange, AreaK)
//
// N = INT(element 1), DE = X(3) - X(2). The peak is the last of the highest
// values >= 0 (index imax). Peak area A0 = DE*sum Y(i_lo..i_hi) with
// i_lo = INT(imax - PeakLow/DE), i_hi = INT(imax + PeakHigh/DE) (N - 1 when
// above N). The last of the smallest values in Y(INT(imax - MinRange/DE)..imax)
// (index kmin) starts a straight line down to 0 at imax - 1. The loss spectrum
// J(m) = Y(imax - m), m = 1..M = imax - 4, is deconvolved with A0; KSpec gets
// M, 0, the input's step and K(1..M); AreaK = DE*sum K.
//
// Defined results outside the measured range (nothing is read or written
// outside the arrays, no division by zero):
// - The empty result (KSpec elements 1-3 = 0, 0, input step; no value
//   written; AreaK = 0) for: a count that is not finite, below 5 or above
//   5000 (fewer than 5 points leave no loss point); a step DE that is not
//   positive and finite; a PeakLow, PeakHigh or MinRange that is not finite;
//   no value >= 0 (no maximum); a peak with imax < 5; a minimum range that
//   holds no point (MinRange < 0) or no comparable value; a peak area that is
//   0 or not finite.
// - A peak window or minimum range reaching below the first point is cut at
//   the first point.
// - The minimum is the smallest value of the range whatever its size (values
//   above 1e8 included).
// - With kmin = imax - 1 or imax there is no line and no slope is formed.
extern "C" void LCROSS(float* MeasSpec, float* KSpec, float* PeakLow, float* PeakHigh,
                                      float* MinRange, float* AreaK) {
  using namespace kelvara::lib;
  const float dEin = MeasSpec[2];
  const int n = spectrumCount(MeasSpec, kSpectrumCapacity);
  if (n < 5) {
    writeEmpty(KSpec, dEin, AreaK);
    return;
  }
  const float e0 = MeasSpec[1];
  for (int i = 1; i <= n; ++i) gY[i - 1] = MeasSpec[i + 2];
  const float x2 = static_cast<float>(e0 + 1.0 * dEin);
  const float x3 = static_cast<float>(e0 + 2.0 * dEin);
  const float de = x3 - x2;
  const float low = *PeakLow, high = *PeakHigh, range = *MinRange;
  if (!(std::isfinite(de) && de > 0.0f) || !std::isfinite(low) || !std::isfinite(high) || !std::isfinite(range)) {
    writeEmpty(KSpec, dEin, AreaK);
    return;
  }

  // Peak: the last of equal maxima, searched from 0.
  int imax = 0;
  float ymax = 0.0f;
  for (int i = 1; i <= n; ++i) {
    if (gY[i - 1] >= ymax) {
      ymax = gY[i - 1];
      imax = i;
    }
  }
  if (imax < 5) {
    writeEmpty(KSpec, dEin, AreaK);
    return;
  }

  // Peak window and its area (before the ramp changes Y).
  int ihi = truncClamp(imax + static_cast<double>(high) / de, 0, n + 1);
  if (ihi > n) ihi = n - 1;
  const int ilo = truncClamp(imax - static_cast<double>(low) / de, 1, n + 1);
  double peakSum = 0.0;
  for (int i = ilo; i <= ihi; ++i) peakSum += gY[i - 1];
  const float a0 = static_cast<float>(de * peakSum);
  if (a0 == 0.0f || !std::isfinite(a0)) {
    writeEmpty(KSpec, dEin, AreaK);
    return;
  }

  // Minimum below the peak: the last of equal minima.
  const int istart = truncClamp(imax - static_cast<double>(range) / de, 1, n + 1);
  int kmin = 0;
  float ymin = std::numeric_limits<float>::infinity();
  for (int i = istart; i <= imax; ++i) {
    if (gY[i - 1] <= ymin) {
      ymin = gY[i - 1];
      kmin = i;
    }
  }
  if (kmin == 0) {
    writeEmpty(KSpec, dEin, AreaK);
    return;
  }

  // Straight line from Y(kmin) to 0 at imax - 1.
  const int span = imax - kmin - 1;
  if (span > 0) {
    const double ykmin = gY[kmin - 1];
    for (int j = kmin + 1; j <= imax - 1; ++j) gY[j - 1] = static_cast<float>(ykmin * (imax - 1 - j) / span);
  }

  // Loss spectrum and deconvolution.
  const int m = imax - 4;
  for (int k = 1; k <= m; ++k) gJ[k - 1] = gY[imax - k - 1];
  deconvolve(gJ, m, de, a0, SumPrecision::Extended, gK);
  double area = 0.0;
  for (int c = 1; c <= m; ++c) area += gK[c - 1];
  *AreaK = static_cast<float>(de * area);
  KSpec[0] = static_cast<float>(m);
  KSpec[1] = 0.0f;
  KSpec[2] = dEin;
  for (int c = 1; c <= m; ++c) KSpec[c + 2] = gK[c - 1];
}
