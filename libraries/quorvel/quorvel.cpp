// Elastic-peak separation: the peak is modelled by mirroring its high-energy
// half about the maximum and tapering the mirrored half linearly to 0; the
// library returns the peak model, the spectrum without it and the peak area.
#include <cmath>
#include <initializer_list>

#include "kelvara_libraries.h"
#include "spectrum_lib.h"

namespace kelvara::lib {
namespace {

// Private working storage: the measured array, elements 1 to N+3 (static,
// fixed size; set afresh in every call).
float gMeas[kSpectrumCapacity];

}  // namespace
}  // namespace kelvara::lib

// quorvel(MeasSpec, ResidSpec, PeakModel, PeakArea, PeakFraction)
//
// j is the element index (values from element 4). The maximum is the last of
// the highest values >= 0 (jmax, ymax); jhi is the first element above jmax
// below PeakFraction*ymax; jlo = 2*jmax - jhi. The model is 0 below jlo, the
// mirror image MeasSpec(2*jmax - j) on jlo..jmax-1 times the ramp
// (j - jlo)/(jmax - jlo) (never above the measured value), and the measured
// values on jmax..jhi. The residual is MeasSpec - model on 4..jhi; from the
// first j in jlo..jmax where it falls below the model (jx) it is replaced by a
// line from trunc(residual at jx) down to 0 at jmax. PeakArea = dE*sum of the
// model over jlo..jhi. Elements 1-3 of both outputs copy those of MeasSpec;
// elements above jhi are not written.
//
// Defined results (nothing read or written beyond element N+3, no division
// by zero):
// - A count that is not finite, below 1 or above 4997: both outputs get
//   elements 1-3 = 0, first energy, step; no value written; PeakArea = 0.
// - No peak separated - ResidSpec = MeasSpec (elements 1 to N+3), PeakModel
//   = elements 1-3 and N zeros, PeakArea = 0 - when: no value is >= 0; the
//   PeakFraction is not finite or above 1; the spectrum never falls below the
//   threshold above its maximum; the peak has no width (jhi = jmax); the
//   mirror point jlo lies below element 4.
// - A line of no length (jx = jmax) leaves the residual at jmax at 0, the
//   value of the line's end.
// - The truncation of the residual at jx is a float truncation toward zero,
//   valid at any magnitude.
extern "C" void quorvel(float* MeasSpec, float* ResidSpec, float* PeakModel, float* PeakArea,
                        float* PeakFraction) {
  using namespace kelvara::lib;
  const float e0 = MeasSpec[1];
  const float de = MeasSpec[2];
  const int n = spectrumCount(MeasSpec, kSpectrumArrayPoints);
  if (n <= 0) {
    for (float* out : {ResidSpec, PeakModel}) {
      out[0] = 0.0f;
      out[1] = e0;
      out[2] = de;
    }
    *PeakArea = 0.0f;
    return;
  }
  const int last = n + 3;
  for (int j = 1; j <= last; ++j) gMeas[j - 1] = MeasSpec[j - 1];
  auto meas = [](int j) { return gMeas[j - 1]; };
  auto resid = [ResidSpec](int j) -> float& { return ResidSpec[j - 1]; };
  auto model = [PeakModel](int j) -> float& { return PeakModel[j - 1]; };

  // Maximum: the last of equal maxima, searched from 0.
  int jmax = 0;
  float ymax = 0.0f;
  for (int j = 4; j <= last; ++j) {
    if (meas(j) >= ymax) {
      ymax = meas(j);
      jmax = j;
    }
  }
  const float fraction = *PeakFraction;
  int jhi = 0;
  if (jmax > 0 && std::isfinite(fraction) && fraction <= 1.0f) {
    const float t = fraction * ymax;
    for (int j = jmax; j <= last; ++j) {
      if (meas(j) < t) {
        jhi = j;
        break;
      }
    }
  }
  const int h = jhi - jmax;
  const int jlo = jmax - h;
  if (jhi == 0 || h <= 0 || jlo < 4) {
    for (int j = 1; j <= last; ++j) {
      resid(j) = meas(j);
      model(j) = j <= 3 ? meas(j) : 0.0f;
    }
    *PeakArea = 0.0f;
    return;
  }

  for (int j = 1; j <= 3; ++j) resid(j) = model(j) = meas(j);
  // Peak model: the mirrored high-energy half below the maximum.
  for (int j = 4; j <= jhi; ++j) {
    if (j < jlo) {
      model(j) = 0.0f;
    } else if (j < jmax) {
      model(j) = meas(2 * jmax - j);
    } else {
      model(j) = meas(j);
    }
  }
  // Taper of the low-energy half, never above the measured value.
  for (int j = jlo; j <= jmax; ++j) {
    const double r = static_cast<double>(j - jlo) / (jmax - jlo);
    const float tapered = static_cast<float>(r * model(j));
    model(j) = tapered > meas(j) ? meas(j) : tapered;
  }
  for (int j = 4; j <= jhi; ++j) resid(j) = meas(j) - model(j);
  // Join the residual to 0 at the maximum.
  int jx = jmax + 1;
  for (int j = jlo; j <= jmax; ++j) {
    if (resid(j) < model(j)) {
      jx = j;
      break;
    }
  }
  if (jx == jmax) {
    resid(jmax) = 0.0f;
  } else if (jx < jmax) {
    const double v = std::trunc(resid(jx));
    for (int j = jx; j <= jmax; ++j) {
      resid(j) = static_cast<float>((1.0 - static_cast<double>(j - jx) / (jmax - jx)) * v);
    }
  }
  double sum = 0.0;
  for (int j = jlo; j <= jhi; ++j) sum += model(j);
  *PeakArea = static_cast<float>(de * sum);
}
