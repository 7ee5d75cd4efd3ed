// Effective inelastic cross section of an electron travelling in an infinite
// medium: the bulk loss function Im(-1/eps) integrated over the momentum
// transfer perpendicular to the trajectory between the kinematic limits.
//
// One loss point is computed by infMediumPoint from its arguments and its own
// work area only; KEFF_INF runs the points on the shared loss-point loop.
#include <cmath>
#include <cstdint>

#include "geometric_integration.h"
#include "kelvara_libraries.h"
#include "loss_constants.h"
#include "loss_loop.h"
#include "loss_numerics.h"

namespace kelvara::lib {
namespace {

constexpr int kIntegrandCapacity = 10000;

// Inputs shared by every loss point of one call.
struct InfMediumParams {
  float ep;     // primary energy (eV)
  float egap;   // band gap (eV)
};

using InfMediumWork = GeometricWork<1, kIntegrandCapacity>;

// Private working storage (static, fixed size; nothing survives a call that a
// later call relies on).
int16_t gPointCount = 0;
float gLossEnergy[kMaxLossPoints];
InfMediumWork gWork[kMaxWorkers];

// K(T) at the loss point (T with its gap correction). A loss at or above the
// primary energy has no cross section and gives 0.
float infMediumPoint(const LossPoint& point, const Oscillators& model, const InfMediumParams& p,
                     InfMediumWork& work) {
  const float T = point.T;
  if (!(T < p.ep) || !(T > 0.0f)) return 0.0f;
  const Kinematics kin = kinematicLimits(p.ep, T);
  const auto [qa, qb] = parallelLimits(kin);
  const float qvf = kin.wv;
  const double factor = 1.0 / (double(p.ep) * kBohr * kPi);
  const DielectricAtLoss dielectric(model, T, p.egap, point.gapCorr);
  float sum[1];
  integrateGeometric(qa, qb, work, [&](float x, float (&y)[1]) {
    const float q = float(std::sqrt(double(qvf) * qvf + double(x) * x));
    const ComplexF eps = dielectric.eps(q);
    const std::complex<double> inv = divide(1.0, std::complex<double>(eps.real(), eps.imag()));
    // Re[i*x/(pi*a0*Ep)*(1/eps - 1)]/q^2 = x*Im(-1/eps)/(pi*a0*Ep*q^2)
    y[0] = float(-inv.imag() * factor * double(x) / (double(q) * q));
  }, sum);
  return sum[0];
}

// The cross section on the loss grid; returns the number of points.
int KEFF_INF(float ep, float emax, float estep, float egap, const Oscillators& model, float* kinf) {
  const InfMediumParams params{ep, egap};
  const GapRule gap{&model, egap, estep, GapSkip::Relative};
  const int n = forEachLossPoint(emax, estep, gap, gWork, [&](const LossPoint& point, InfMediumWork& work) {
    gLossEnergy[point.i - 1] = point.T;
    kinf[point.i - 1] = infMediumPoint(point, model, params, work);
  });
  gPointCount = int16_t(n);
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
