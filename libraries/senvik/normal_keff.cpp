// Effective inelastic cross section of an electron that travels along the
// surface normal into the solid down to the depth X0 and back out: Model A
// with its incoming and outgoing parts, and Model B. The momentum transfer q
// runs from q- to q+ in a rectangle sum whose step grows with q.
//
// One loss point is computed by normalKeffPoint from its arguments only;
// KEFF_AB runs the points on the shared loss-point loop.
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>

#include "kelvara_libraries.h"
#include "loss_numerics.h"
#include "loss_loop.h"
#include "momentum_steps.h"

namespace kelvara::lib {
namespace {

using C = std::complex<double>;

// pi times the Bohr radius (A), as the prefactor uses it.
constexpr double kPiBohr = 1.6625347;
// Largest q+ the sum runs to (1/A; q+ = 4096 needs Ep of about 16 MeV) and
// the most points it takes there: beyond, a point is not computed.
constexpr float kMaxMomentum = 4096.0f;
constexpr int kMaxMomentumPoints = 70000;

// Inputs shared by every loss point of one call.
struct NormalKeffParams {
  float ep;     // primary energy (eV)
  float x0;     // depth reached, the model length a (A)
  float egap;   // band gap (eV)
  float estep;  // node step of the gap correction (the grid step)
  float pref;   // 1/(Ep*pi*a0)
};

// Results of one loss point.
struct NormalKeffPoint {
  float modelA, modelB, modelAIn, modelAOut;
};

// The momentum sum needs no work area beyond its locals.
struct NormalKeffWork {};

// Private working storage (static, fixed size; nothing survives a call that a
// later call relies on).
int16_t gPointCount = 0;
float gLossEnergy[kMaxLossPoints];
float gFirstLoss = 0.0f;
float gStep = 0.0f;
NormalKeffWork gWork[kMaxWorkers];

// Adds the four integrands at the momentum q, weighted with h.
struct Sums {
  std::complex<float> a, b, in, out;
};

// The terms of one loss point that do not depend on q: the dielectric
// function's oscillator terms and the trigonometric factors of the phase
// x0*v, formed once instead of at every momentum.
struct PointTerms {
  explicit PointTerms(const Oscillators& model, const NormalKeffParams& p, float T, float qv, float corr)
      : dielectric(model, T, p.egap, corr), x0(p.x0), v(qv) {
    cosPlus = std::cos(x0 * v);
    sinPlus = std::sin(x0 * v);
    c = float(cosPlus);
    sn = float(sinPlus);
    sin2 = std::sin(2.0 * x0 * v);
    // exp(-x0*Q -/+ i*x0*v) as exp(-x0*Q)*(cos + i*sin) of the imaginary part,
    // the complex exponential's own rule for a finite, non-positive real part.
    cosMinus = std::cos(-x0 * v);
    sinMinus = std::sin(-x0 * v);
    phaseFinite = std::isfinite(x0 * v) && std::isfinite(-x0 * v);
  }
  DielectricAtLoss dielectric;
  double x0, v;
  double c, sn, sin2;
  double cosMinus, sinMinus, cosPlus, sinPlus;
  bool phaseFinite;

  // exp(C(re, im)) for im = -x0*v (minus) or x0*v, given e = exp(re).
  C expAt(double re, double e, bool minus) const {
    if (phaseFinite && std::isfinite(re) && re <= 0.0)
      return minus ? C(e * cosMinus, e * sinMinus) : C(e * cosPlus, e * sinPlus);
    return std::exp(C(re, minus ? -x0 * v : x0 * v));
  }
};

void addMomentum(float q, float h, ComplexF epsf, const PointTerms& t, const NormalKeffParams& p, Sums& s) {
  const C eps(epsf.real(), epsf.imag());
  const std::complex<float> bf(C(1.0) - divide(1.0, eps));
  const std::complex<float> sf(divide(1.0 - eps, eps * (eps + 1.0)));
  const C B(bf), S(sf);
  const double x0 = t.x0;
  const double qd = q;
  const double v = t.v;
  // Q = sqrt(q^2 - qv^2) is real for q >= q- > qv; a q that rounding puts
  // below qv counts as Q = 0 (the limit of the kinematics).
  const float Qf = float(std::sqrt(std::fmax(qd * qd - v * v, 0.0)));
  const double Q = Qf;
  const double decayArg = -x0 * Q;
  const double decay = std::exp(decayArg);
  const double e1 = float(decay);
  const double c = t.c;
  const double sn = t.sn;
  const double g = float(sn * (Q * Q - v * v) + 2.0 * v * Q * c);
  const C cm(std::complex<float>(t.expAt(decayArg, decay, true)));
  const C cp(std::complex<float>(t.expAt(decayArg, decay, false)));
  const C I(0.0, 1.0);
  const double pref = p.pref;
  const double q3 = qd * qd * qd;

  const C zb = divideByReal(I * pref * B, qd);
  const C z1 = divideByReal(2.0 * I * pref * Q * S, x0 * q3);
  const C z3 = divideByReal(-I * pref * e1 * g * S, v * x0 * q3);
  const C m = 8.0 * Q * v * c * e1 * S - t.sin2 * (Q * Q - v * v) * B -
              2.0 * v * Q * e1 * e1 * S + 2.0 * v * Q * B * (1.0 + 2.0 * c * c * S * eps);
  const C zB = divideByReal(-I * pref * m, 2.0 * v * x0 * q3);
  const C zr = divideByReal(pref * B, 2.0 * v * x0 * qd);
  const C nout = qd * qd * e1 * e1 - 2.0 * Q * C(Q, -v) * cm + 2.0 * I * v * C(Q, v) * cp;
  const C nin = qd * qd * e1 * e1 - 2.0 * Q * C(Q, v) * cp - 2.0 * I * v * C(Q, -v) * cm;
  const C zout = divideByReal(pref * S * nout, 2.0 * v * x0 * q3);
  const C zin = divideByReal(pref * S * nin, 2.0 * v * x0 * q3);

  const double w = h;
  s.a = std::complex<float>(C(s.a) + w * (z1 + zb + z3));
  s.b = std::complex<float>(C(s.b) + w * (zB + zb));
  s.in = std::complex<float>(C(s.in) + w * (zb - zr + zin + z1));
  s.out = std::complex<float>(C(s.out) + w * (zb + zr - zout + z1));
}

// Model A, its two parts and Model B at the loss point (T with its gap
// correction). A loss at or above the primary energy gives 0; limits beyond
// kMaxMomentum give NaN.
NormalKeffPoint normalKeffPoint(const LossPoint& point, const Oscillators& model, const NormalKeffParams& p,
                                NormalKeffWork& /*work*/) {
  const float T = point.T;
  if (!(T < p.ep) || !(T > 0.0f)) return {0.0f, 0.0f, 0.0f, 0.0f};
  const Kinematics kin = kinematicLimits(p.ep, T);
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  if (!(kin.qMinus > 0.0f) || !(kin.qPlus <= kMaxMomentum)) return {nan, nan, nan, nan};
  const PointTerms terms(model, p, T, kin.wv, point.gapCorr);
  // The momenta in batches whose dielectric functions are formed side by
  // side; the sums still take the momenta in order.
  constexpr int kBatch = 4;
  Sums s{};
  float q = kin.qMinus;
  float h = momentumStep(q);
  int taken = 0;
  for (;;) {
    float qs[kBatch], hs[kBatch];
    int m = 0;
    bool past = false;
    while (m < kBatch && taken < kMaxMomentumPoints) {
      qs[m] = q;
      hs[m] = h;
      ++m;
      ++taken;
      h = momentumStep(q);
      q = q + h;
      if (q > kin.qPlus) {
        past = true;
        break;
      }
    }
    for (int k = m; k < kBatch; ++k) qs[k] = qs[0];
    ComplexF eps[kBatch];
    terms.dielectric.epsMany(qs, eps);
    for (int k = 0; k < m; ++k) addMomentum(qs[k], hs[k], eps[k], terms, p, s);
    if (past) {
      return {-s.a.real(), -s.b.real(), float(-0.5 * double(s.in.real())), float(-0.5 * double(s.out.real()))};
    }
    if (taken >= kMaxMomentumPoints) break;
  }
  return {nan, nan, nan, nan};
}

// The cross sections on the grid T_i = emin + (i - 1)*step; returns the
// number of points.
int KEFF_AB(float ep, float emax, float emin, float step, float x0, const Oscillators& model, float egap,
            float* kModelA, float* kModelB, float* kModelAIn, float* kModelAOut) {
  const int n = lossPointCount(emax, step);
  gPointCount = int16_t(n);
  const NormalKeffParams params{ep, x0, egap, step, float(1.0 / (double(ep) * kPiBohr))};
  for (int i = 1; i <= n; ++i) gLossEnergy[i - 1] = float(double(i - 1) * double(step) + double(emin));
  // The gap correction skips the node at w when abs(w'/w - 1) <= 1e-5.
  const GapRule gap{&model, egap, step, GapSkip::Relative};
  forEachTabledLossPoint(n, gLossEnergy, gap, gWork, [&](const LossPoint& point, NormalKeffWork& work) {
    const NormalKeffPoint r = normalKeffPoint(point, model, params, work);
    const int i = point.i;
    kModelA[i - 1] = r.modelA;
    kModelB[i - 1] = r.modelB;
    kModelAIn[i - 1] = r.modelAIn;
    kModelAOut[i - 1] = r.modelAOut;
  });
  return n;
}

}  // namespace
}  // namespace kelvara::lib

extern "C" void senvik(float* Ep, float* Estep, float* Emax, float* X0, float* KModelA, float* KModelB,
                       float* Egap, float* W0, float* Gamma, float* A0, float* Alfa, int16_t* NumOsc,
                       float* KModelA_in, float* KModelA_out) {
  using namespace kelvara::lib;
  gFirstLoss = *Estep;
  gStep = *Estep;
  const Oscillators model{W0, Gamma, A0, Alfa, *NumOsc};
  KEFF_AB(*Ep, *Emax, gFirstLoss, gStep, *X0, model, *Egap, KModelA, KModelB, KModelA_in, KModelA_out);
}
