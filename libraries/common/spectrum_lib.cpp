#include "spectrum_lib.h"

#include <cmath>

namespace kelvara::lib {

int spectrumCount(const float* spec, int cap) {
  const float n = spec[0];
  if (!std::isfinite(n)) return -1;
  if (n < 1.0f) return 0;
  if (n >= static_cast<float>(cap) + 1.0f) return -1;
  return static_cast<int>(n);
}

int truncClamp(double x, int lo, int hi) {
  if (std::isnan(x) || x <= static_cast<double>(lo)) return lo;
  if (x >= static_cast<double>(hi)) return hi;
  return static_cast<int>(std::trunc(x));
}

void deconvolve(const float* J, int M, float de, float a0, SumPrecision precision, float* K) {
  for (int c = 1; c <= M; ++c) {
    double sum = 0.0;
    if (precision == SumPrecision::Extended) {
      for (int m = 1; m < c; ++m) sum += static_cast<double>(K[c - m - 1]) * J[m - 1];
    } else {
      float s = 0.0f;
      for (int m = 1; m < c; ++m) s = static_cast<float>(s + static_cast<double>(K[c - m - 1]) * J[m - 1]);
      sum = s;
    }
    K[c - 1] = static_cast<float>((J[c - 1] - static_cast<double>(de) * sum) / a0);
  }
}

}  // namespace kelvara::lib
