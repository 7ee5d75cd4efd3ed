// Effective inelastic cross section of an electron passing through a film of
// thickness d: the bulk part, the surface part (the excitations of the two
// film surfaces) and their sum, integrated over the momentum parallel to the
// film between the kinematic limits.
//
// One loss point is computed by thinFilmPoint from its arguments and its own
// work area only; KEFF_FILM runs the points on the shared loss-point loop.
#include <cmath>
#include <complex>
#include <cstdint>

#include "geometric_integration.h"
#include "kelvara_libraries.h"
#include "loss_constants.h"
#include "loss_loop.h"
#include "loss_numerics.h"

namespace kelvara::lib {
namespace {

using C = std::complex<double>;

// Samples per sub-interval the integrand tables hold (the sub-interval point
// count is a 32-bit integer here).
constexpr int32_t kIntegrandCapacity = 10000;

// Inputs shared by every loss point of one call.
struct ThinFilmParams {
  float ep;         // primary energy (eV)
  float thickness;  // film thickness d (A)
  float egap;       // band gap (eV)
};

// Results of one loss point.
struct ThinFilmPoint {
  float keff, ksurf, kbulk;
};

using ThinFilmWork = GeometricWork<2, kIntegrandCapacity>;

// Private working storage (static, fixed size; nothing survives a call that a
// later call relies on).
int16_t gPointCount = 0;
float gLossEnergy[kMaxLossPoints];
ThinFilmWork gWork[kMaxWorkers];

// Keff, Ksurf and Kbulk at the loss point (T with its gap correction). A loss
// at or above the primary energy gives 0.
ThinFilmPoint thinFilmPoint(const LossPoint& point, const Oscillators& model, const ThinFilmParams& p,
                            ThinFilmWork& work) {
  const float T = point.T;
  if (!(T < p.ep) || !(T > 0.0f)) return {0.0f, 0.0f, 0.0f};
  const Kinematics kin = kinematicLimits(p.ep, T);
  const double qv = kin.wv;
  const auto [qa, qb] = parallelLimits(kin);
  const float qvf = kin.wv;
  const double d = p.thickness;
  const double bulkFactor = 1.0 / (double(p.ep) * kBohr * kPi);
  const double surfFactor = 2.0 / (kPi * kBohr * double(p.ep) * d);
  const double c = std::cos(d * qv);
  const DielectricAtLoss dielectric(model, T, p.egap, point.gapCorr);
  float sums[2];
  integrateGeometric(qa, qb, work, [&](float x, float (&y)[2]) {
    const float q = float(std::sqrt(double(x) * x + double(qvf) * qvf));
    const ComplexF epsf = dielectric.eps(q);
    const C eps(epsf.real(), epsf.imag());
    const C inv = divide(1.0, eps);
    const double q2 = double(q) * q;
    const double e = std::exp(-d * double(x));
    const C nf = (1.0 - eps * eps) + 2.0 * (eps - 1.0) * e * c + (1.0 - eps) * (1.0 - eps) * (e * e);
    const C df = (1.0 - eps) * (1.0 - eps) * (e * e) - (1.0 + eps) * (1.0 + eps);
    // Re[i*F*(1/eps - 1)*Nf/Df] = -F*Im[(1/eps - 1)*Nf/Df]
    y[0] = float(-surfFactor * double(x) * x / (q2 * q2) * divide((inv - 1.0) * nf, df).imag());
    // Re[i*x/(pi*a0*Ep)*(1/eps - 1)]/q^2 = x*Im(-1/eps)/(pi*a0*Ep*q^2)
    y[1] = float(-inv.imag() * bulkFactor * double(x) / q2);
  }, sums);
  const float ksurf = sums[0];
  const float kbulk = sums[1];
  return {float(double(kbulk) + double(ksurf)), ksurf, kbulk};
}

// The cross sections on the loss grid; returns the number of points.
int KEFF_FILM(float ep, float emax, float estep, float thickness, float egap, const Oscillators& model,
              float* keff, float* ksurf, float* kbulk) {
  const ThinFilmParams params{ep, thickness, egap};
  const GapRule gap{&model, egap, estep, GapSkip::Relative};
  const int n = forEachLossPoint(emax, estep, gap, gWork, [&](const LossPoint& point, ThinFilmWork& work) {
    const int i = point.i;
    gLossEnergy[i - 1] = point.T;
    const ThinFilmPoint r = thinFilmPoint(point, model, params, work);
    keff[i - 1] = r.keff;
    ksurf[i - 1] = r.ksurf;
    kbulk[i - 1] = r.kbulk;
  });
  gPointCount = int16_t(n);
  return n;
}

}  // namespace
}  // namespace kelvara::lib

extern "C" void thinfilm(float* Ep, float* Estep, float* Emax, float* Thickness, float* Egap, float* W0,
                         float* Gamma, float* A0, float* Alfa, int16_t* NumOsc, float* Keff, float* Ksurf,
                         float* Kbulk) {
  using namespace kelvara::lib;
  const Oscillators model{W0, Gamma, A0, Alfa, *NumOsc};
  KEFF_FILM(*Ep, *Emax, *Estep, *Thickness, *Egap, model, Keff, Ksurf, Kbulk);
}
