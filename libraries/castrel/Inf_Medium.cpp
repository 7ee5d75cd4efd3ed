// Effective inelastic cross section of an electron travelling in an infinite
// medium: the bulk loss function Im(-1/eps) integrated over the momentum
// transfer perpendicular to the trajectory between the kinematic limits.
//
// One loss point is computed by infMediumPoint from its arguments and its own
// work area only; KEFF_INF is the serial loop over the grid.
#include <cmath>
#include <cstdint>

#include "geometric_integration.h"
#include "kelvara_libraries.h"
#include "loss_numerics.h"

namespace kelvara::lib {
namespace {

constexpr double kPi = 3.14159;
constexpr double kBohr = 0.52915;
constexpr int kIntegrandCapacity = 10000;

// Inputs shared by every loss point of one call.
struct InfMediumParams {
  float ep;     // primary energy (eV)
  float egap;   // band gap (eV)
  float estep;  // node step of the gap correction (the grid step)
};

using InfMediumWork = GeometricWork<1, kIntegrandCapacity>;

// Private working storage (static, fixed size; nothing survives a call that a
// later call relies on).
int16_t gPointCount = 0;
float gLossEnergy[kMaxLossPoints];
InfMediumWork gWork;

// K(T) at the loss T (point i of the grid; i is not used by the arithmetic).
// A loss at or above the primary energy has no cross section and gives 0.
float infMediumPoint(int /*i*/, float T, const Oscillators& model, const InfMediumParams& p,
                     InfMediumWork& work) {
  if (!(T < p.ep) || !(T > 0.0f)) return 0.0f;
  const Kinematics kin = kinematicLimits(p.ep, T);
  const double qv = kin.wv;
  const double qm = kin.qMinus, qp = kin.qPlus;
  const float qa = float(std::sqrt(std::fmax(qm * qm - qv * qv, 0.0)));
  const float qb = float(std::sqrt(std::fmax(qp * qp - qv * qv, 0.0)));
  const float qvf = kin.wv;
  const double factor = 1.0 / (double(p.ep) * kBohr * kPi);
  float sum[1];
  integrateGeometric(qa, qb, work, [&](float x, float (&y)[1]) {
    const float q = float(std::sqrt(double(qvf) * qvf + double(x) * x));
    const ComplexF eps = epsQW(T, q, model, p.egap, p.estep, GapSkip::Relative);
    const std::complex<double> inv = 1.0 / std::complex<double>(eps.real(), eps.imag());
    // Re[i*x/(pi*a0*Ep)*(1/eps - 1)]/q^2 = x*Im(-1/eps)/(pi*a0*Ep*q^2)
    y[0] = float(-inv.imag() * factor * double(x) / (double(q) * q));
  }, sum);
  return sum[0];
}

// The cross section on the loss grid; returns the number of points.
int KEFF_INF(float ep, float emax, float estep, float egap, const Oscillators& model, float* kinf) {
  const int n = lossPointCount(emax, estep);
  gPointCount = int16_t(n);
  const InfMediumParams params{ep, egap, estep};
  for (int i = 1; i <= n; ++i) {
    const float T = float(i) * estep;
    gLossEnergy[i - 1] = T;
    kinf[i - 1] = infMediumPoint(i, T, model, params, gWork);
  }
  return n;
}

}  // namespace
}  // namespace kelvara::lib

extern "C" void infmedium(float* Ep, float* Estep, float* Emax, float* Egap, float* W0, float* Gamma, float* A0,
                          float* Alfa, int16_t* NumOsc, float* Kinf) {
  using namespace kelvara::lib;
  const Oscillators model{W0, Gamma, A0, Alfa, *NumOsc};
  KEFF_INF(*Ep, *Emax, *Estep, *Egap, model, Kinf);
}
