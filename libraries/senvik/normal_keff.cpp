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

#include "wide_lanes.h"

#define KELVARA_SENVIK_WIDE KELVARA_WIDE_LANES

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

#if KELVARA_SENVIK_WIDE
// The same sums taken four momenta at a time in 256-bit registers where the
// processor has them. Only the real parts of the sums are results, so only
// the real parts of the summands are formed; every operation is the one of
// addMomentum in its order (+, -, *, / and sqrt are correctly rounded at any
// width and the build contracts nothing), so each real part is bit for bit
// the one-momentum value. Quotients that divide() leaves to the library's
// complex division are formed by divide() lane by lane. A momentum whose
// phase factor needs the library's complex exponential, or whose summand is
// NaN (where a complex product may have taken the library's recovery of
// infinities), is left to addMomentum.
using namespace wide;

// The real parts of the four summands w*(...) of addMomentum at kLanes momenta.
struct WideSummands {
  double a[kLanes], b[kLanes], in[kLanes], out[kLanes];
  bool ok[kLanes];
};

KELVARA_WIDE_FN void wideSummands(const float (&qs)[kLanes], const float (&hs)[kLanes], const ComplexF (&epsf)[kLanes],
                                  const PointTerms& t, const NormalKeffParams& p, WideSummands& r) {
  const C I(0.0, 1.0);
  const double pref = p.pref;
  const double x0 = t.x0;
  const double v = t.v;
  const double c = t.c;
  const double sn = t.sn;
  // The factors of the products that do not depend on q, formed as there.
  const C ip = I * pref;
  const C i2p = 2.0 * I * pref;
  const C mip = -I * pref;
  const C i2v = 2.0 * I * v;
  const double kc = 2.0 * c * c;

  double qd[kLanes], er[kLanes], ei[kLanes], w[kLanes];
  for (int k = 0; k < kLanes; ++k) {
    qd[k] = qs[k];
    er[k] = epsf[k].real();
    ei[k] = epsf[k].imag();
    w[k] = hs[k];
  }
  const V q = wideLoad(qd);
  const VC eps{wideLoad(er), wideLoad(ei)};
  const V one = wideSplat(1.0);
  const V zero = wideZero();
  V ok = wideEqual(zero, zero);

  // B = 1 - 1/eps and S = (1 - eps)/(eps*(eps + 1)), each held as 32-bit parts.
  const VC inv = wideDivide({one, zero}, eps);
  const VC B{wideToFloat(one - inv.re), wideToFloat(zero - inv.im)};
  const VC oneMinus{wideNeg(eps.re) + one, wideNeg(eps.im)};
  const VC den = wideMul(eps, {eps.re + one, eps.im});
  const VC sq = wideDivide(oneMinus, den);
  const VC S{wideToFloat(sq.re), wideToFloat(sq.im)};

  const V vv = wideSplat(v);
  const V v2 = vv * vv;
  const V arg = q * q - v2;
  double root[kLanes];
  wideStore(root, wideSelect(wideGreater(arg, zero), arg, zero));
  for (double& x : root) x = std::sqrt(x);
  const V Q = wideToFloat(wideLoad(root));
  double decayArg[kLanes], decay[kLanes];
  wideStore(decayArg, wideSplat(-x0) * Q);
  bool phaseOk[kLanes];
  for (int k = 0; k < kLanes; ++k) {
    decay[k] = std::exp(decayArg[k]);
    phaseOk[k] = t.phaseFinite && std::isfinite(decayArg[k]) && decayArg[k] <= 0.0;
  }
  const V e = wideLoad(decay);
  const V e1 = wideToFloat(e);
  const V twoV = wideSplat(2.0 * v);
  const V QQv = Q * Q - v2;
  const V g = wideToFloat(wideSplat(sn) * QQv + ((twoV * Q) * wideSplat(c)));
  const VC cm{wideToFloat(e * wideSplat(t.cosMinus)), wideToFloat(e * wideSplat(t.sinMinus))};
  const VC cp{wideToFloat(e * wideSplat(t.cosPlus)), wideToFloat(e * wideSplat(t.sinPlus))};
  const V q3 = (q * q) * q;
  const V X0 = wideSplat(x0);

  const V zb = (wideSplat(ip.real()) * B.re - wideSplat(ip.imag()) * B.im) / q;
  const V a1re = wideSplat(i2p.real()) * Q, a1im = wideSplat(i2p.imag()) * Q;
  const V z1 = (a1re * S.re - a1im * S.im) / (X0 * q3);
  const V u1re = (wideSplat(mip.real()) * e1) * g, u1im = (wideSplat(mip.imag()) * e1) * g;
  const V z3 = (u1re * S.re - u1im * S.im) / (wideSplat(v * x0) * q3);

  const V k1 = (((wideSplat(8.0) * Q) * vv) * wideSplat(c)) * e1;
  const V k2 = wideSplat(t.sin2) * QQv;
  const V k4 = twoV * Q;
  const V k3 = (k4 * e1) * e1;
  const VC P{S.re * wideSplat(kc), S.im * wideSplat(kc)};
  const VC PE = wideMul(P, eps);
  const VC term4 = wideMul({B.re * k4, B.im * k4}, {PE.re + one, PE.im});
  const V mre = ((S.re * k1 - B.re * k2) - S.re * k3) + term4.re;
  const V mim = ((S.im * k1 - B.im * k2) - S.im * k3) + term4.im;
  const V div2 = (wideSplat(2.0 * v) * X0) * q3;
  const V zB = (wideSplat(mip.real()) * mre - wideSplat(mip.imag()) * mim) / div2;
  const V zr = (B.re * wideSplat(pref)) / ((wideSplat(2.0 * v) * X0) * q);

  const V k5 = ((q * q) * e1) * e1;
  const V k6 = wideSplat(2.0) * Q;
  const V Qk6 = Q * k6;
  const V vk6 = vv * k6;
  const V mvk6 = wideSplat(-v) * k6;
  const VC i2vs{wideSplat(i2v.real()), wideSplat(i2v.imag())};
  const VC outT2 = wideMul({Qk6, mvk6}, cm);
  const VC outT3 = wideMul(wideMul(i2vs, {Q, vv}), cp);
  const VC nout{(k5 - outT2.re) + outT3.re, wideNeg(outT2.im) + outT3.im};
  const VC inT2 = wideMul({Qk6, vk6}, cp);
  const VC inT3 = wideMul(wideMul(i2vs, {Q, wideSplat(-v)}), cm);
  const VC nin{(k5 - inT2.re) - inT3.re, wideNeg(inT2.im) - inT3.im};
  const VC ps{S.re * wideSplat(pref), S.im * wideSplat(pref)};
  const V zout = (ps.re * nout.re - ps.im * nout.im) / div2;
  const V zin = (ps.re * nin.re - ps.im * nin.im) / div2;

  const V W = wideLoad(w);
  const V sa = W * ((z1 + zb) + z3);
  const V sb = W * (zB + zb);
  const V sin = W * (((zb - zr) + zin) + z1);
  const V sout = W * (((zb + zr) - zout) + z1);
  wideStore(r.a, sa);
  wideStore(r.b, sb);
  wideStore(r.in, sin);
  wideStore(r.out, sout);
  ok = wideAnd(ok, wideAnd(wideBothNumbers(sa, sb), wideBothNumbers(sin, sout)));
  const int mask = wideMask(ok);
  for (int k = 0; k < kLanes; ++k) r.ok[k] = phaseOk[k] && ((mask >> k) & 1) != 0;
}

#endif

inline void addTo(std::complex<float>& s, double term) { s = {float(double(s.real()) + term), s.imag()}; }

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
#if KELVARA_SENVIK_WIDE
  constexpr int kBatch = kLanes;
#else
  constexpr int kBatch = 4;
#endif
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
    for (int first = 0; first < kBatch; first += 4) {
      float part[4];
      ComplexF partEps[4];
      for (int k = 0; k < 4; ++k) part[k] = qs[first + k];
      if (first < m) terms.dielectric.epsMany(part, partEps);
      for (int k = 0; k < 4; ++k) eps[first + k] = first < m ? partEps[k] : eps[0];
    }
#if KELVARA_SENVIK_WIDE
    if (wideLanesAvailable()) {
      for (int k = m; k < kBatch; ++k) hs[k] = hs[0];
      WideSummands wide;
      wideSummands(qs, hs, eps, terms, p, wide);
      for (int k = 0; k < m; ++k) {
        if (!wide.ok[k]) {
          addMomentum(qs[k], hs[k], eps[k], terms, p, s);
          continue;
        }
        addTo(s.a, wide.a[k]);
        addTo(s.b, wide.b[k]);
        addTo(s.in, wide.in[k]);
        addTo(s.out, wide.out[k]);
      }
    } else {
      for (int k = 0; k < m; ++k) addMomentum(qs[k], hs[k], eps[k], terms, p, s);
    }
#else
    for (int k = 0; k < m; ++k) addMomentum(qs[k], hs[k], eps[k], terms, p, s);
#endif
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
