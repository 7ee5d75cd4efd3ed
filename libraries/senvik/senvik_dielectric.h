// The normal-geometry library's dielectric function: the oscillator model's
// eps(q, w) with the gap correction of Re(1/eps) formed once per loss energy
// and handed in (it depends on w, not on q). The node at w is skipped when
// abs(w'/w - 1) <= 1e-5. Same arithmetic as epsQW of the shared numerics.
#pragma once

#include "loss_numerics.h"

namespace kelvara::lib {

// Gap correction at w on the node step dw (the grid step).
inline float senvikGapCorrection(const Oscillators& m, float w, float egap, float dw) {
  return gapCor(m, w, egap, dw, GapSkip::Relative);
}

// eps(q, w) with the gap correction corr of senvikGapCorrection(m, w, ...).
inline ComplexF senvikEps(float w, float q, const Oscillators& m, float egap, float corr) {
  if (m.NumOsc <= 0) return {1.0f, 0.0f};
  constexpr double kDispersion = 3.8;  // eV A^2
  float loss = 0.0f;
  float realSum = 0.0f;
  const double w2 = double(w) * w;
  const double q2 = double(q) * q;
  const bool absorbs = egap <= w;
  for (int i = 0; i < m.NumOsc; ++i) {
    const double w0 = m.W0[i];
    const double g = m.Gamma[i];
    const double a0 = m.A0[i];
    const float wq = float(w0 + kDispersion * double(m.Alfa[i]) * q2);
    const double dq = w2 - double(wq) * wq;
    const float d = float(dq * dq + (g * w) * (g * w));
    loss = absorbs ? float(double(loss) + a0 * g * w / double(d)) : 0.0f;
    realSum = float(double(realSum) + a0 * (w0 * w0 - w2) / double(d));
  }
  const float r = float(double(realSum) - double(corr) - 1.0);
  const double norm = double(r) * r + double(loss) * loss;
  return {float(-double(r) / norm), float(double(loss) / norm)};
}

}  // namespace kelvara::lib
