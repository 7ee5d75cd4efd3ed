#include "photo_keff.h"

#include <cmath>
#include <complex>
#include <cstdint>

#include "kelvara_libraries.h"
#include "loss_loop.h"
#include "loss_numerics.h"
#include "wide_lanes.h"

namespace kelvara::lib::photo {
namespace {

using C = std::complex<double>;

// Kinematic constants of this library (they differ slightly from those of the
// reflection and transmission libraries).
constexpr float kDegree = 0.01745328f;  // radians per degree
constexpr double kAlong = 0.25618;      // qa = kAlong*T/(cos*sqrt(Ep)), 1/A
constexpr double kMomentum = 0.513;     // q+- = kMomentum*(sqrt(Ep) +- sqrt(Ep - T))
constexpr double kShift = 0.065627;     // F = -kShift*T^2/Ep
constexpr double kPrefactor = 0.851778; // C = 1/(sqrt(Ep)*X0*T*kPrefactor)
constexpr double kBulk = 1.662;         // B = cos*Ep*kBulk
// Simpson weights of the x integration as this library stores them.
constexpr float kWeightEnd = 0.333333f;
constexpr float kWeightOdd = 1.333333f;
constexpr float kWeightEven = 0.666666f;

// The five integrands at one sample point.
struct Integrands {
  double f1, f2, f3, f4, f5;
};

Integrands integrands(double x, double y, double Q2, ComplexF epsf, double x0, double t, double qa, double cc,
                      double b0) {
  const C eps(epsf.real(), epsf.imag());
  const double a = x0 * x;
  const double b = x0 * y;
  const double ea = std::exp(-a);
  const C eib = std::polar(1.0, b);  // exp(i*b)
  const C emib = std::conj(eib);     // exp(-i*b)
  const C L = divide(1.0, eps) - 1.0;
  const C R1 = divide((eps - 1.0) * (eps + 2.0), eps * (eps + 1.0));
  const C R2 = divide(1.0 - eps, 1.0 + eps);
  const C up(y, x);
  const C um(y, -x);
  const C ix(0.0, x);
  const C U = (ea - emib) * C(t, -1.0) * ix * um / Q2;
  const C M = emib * up * (x * R2) * C(1.0, -t) / Q2;

  Integrands r;
  r.f1 = (L * ix).real() / Q2 / b0;
  // Medium, no hole.
  const C W = L * ix / (Q2 * Q2);
  const C S = Q2 * (emib - ea) * (eib - ea) * C(-t, 1.0) + um * um * (ea * eib - 1.0) * C(t, -1.0) +
              up * up * (ea * emib - 1.0) * C(t, 1.0);
  const double termA = -cc * (S * W).real();
  const C V = R1 * (eib - ea) * up / Q2 - eib * R2 * um / Q2;
  const double termB = -cc * (V * U).real();
  r.f3 = r.f1 + termA + termB;
  // Vacuum, no hole.
  const C Nv = (2.0 * ix * eib - ea * up) / Q2;
  r.f5 = cc * (M * Nv).real();
  // Medium, hole.
  const C K = L * (ix / qa) / Q2;
  const C J = (1.0 - ea * emib) * up * C(t, 1.0) + (ea * ea - ea * emib) * um * C(t, -1.0);
  const double termC = -cc * (K * J).real();
  const double termD = -cc * (R1 * (ea / qa) * U).real();
  r.f2 = termC + termD;
  // Vacuum, hole.
  r.f4 = cc * (ea / qa) * M.real();
  return r;
}

#if KELVARA_WIDE_LANES
// integrands() at kLanes samples side by side: the same operations in the same
// order lane by lane (see wide_lanes.h), exp and the phase factor still taken
// one sample at a time from the library. Quotients that divide() leaves to
// the library's complex division are formed by divide(); a sample with a NaN
// integrand (where a complex product may have taken the library's recovery of
// infinities) is marked for integrands().
using namespace wide;

struct WideIntegrands {
  double f1[kLanes], f2[kLanes], f3[kLanes], f4[kLanes], f5[kLanes];
  bool ok[kLanes];
};

KELVARA_WIDE_FN void wideIntegrands(const float (&xs)[kLanes], const float (&ys)[kLanes],
                                    const double (&Q2s)[kLanes], const ComplexF (&epsf)[kLanes], double x0,
                                    double t, double qa, double cc, double b0, WideIntegrands& r) {
  double xd[kLanes], yd[kLanes], er[kLanes], ei[kLanes], eas[kLanes], cb[kLanes], sb[kLanes];
  for (int k = 0; k < kLanes; ++k) {
    xd[k] = xs[k];
    yd[k] = ys[k];
    er[k] = epsf[k].real();
    ei[k] = epsf[k].imag();
    const double a = x0 * xd[k];
    const double b = x0 * yd[k];
    eas[k] = std::exp(-a);
    const C eib = std::polar(1.0, b);
    cb[k] = eib.real();
    sb[k] = eib.imag();
  }
  const V x = wideLoad(xd), y = wideLoad(yd), Q2 = wideLoad(Q2s), ea = wideLoad(eas);
  const VC eps{wideLoad(er), wideLoad(ei)};
  const VC eib{wideLoad(cb), wideLoad(sb)};
  const VC emib{eib.re, wideNeg(eib.im)};
  const V one = wideSplat(1.0), zero = wideZero();
  const V T = wideSplat(t), mT = wideSplat(-t), mOne = wideSplat(-1.0);

  const VC inv = wideDivide({one, zero}, eps);
  const VC L{inv.re - one, inv.im};
  const VC R1 = wideDivide(wideMul({eps.re - one, eps.im}, {eps.re + wideSplat(2.0), eps.im}),
                           wideMul(eps, {eps.re + one, eps.im}));
  const VC R2 = wideDivide({wideNeg(eps.re) + one, wideNeg(eps.im)}, {eps.re + one, eps.im});
  const VC up{y, x};
  const VC um{y, wideNeg(x)};
  const VC ix{zero, x};
  const VC Unum = wideMul(wideMul(wideMul({wideNeg(emib.re) + ea, wideNeg(emib.im)}, {T, mOne}), ix), um);
  const VC U{Unum.re / Q2, Unum.im / Q2};
  const VC Mnum = wideMul(wideMul(wideMul(emib, up), {R2.re * x, R2.im * x}), {one, mT});
  const VC M{Mnum.re / Q2, Mnum.im / Q2};

  const VC Lix = wideMul(L, ix);
  const V f1 = (Lix.re / Q2) / wideSplat(b0);
  const V Q4 = Q2 * Q2;
  const VC W{Lix.re / Q4, Lix.im / Q4};
  const VC sA = wideMul(wideMul({(emib.re - ea) * Q2, emib.im * Q2}, {eib.re - ea, eib.im}), {mT, one});
  const VC sB = wideMul(wideMul(wideMul(um, um), {eib.re * ea - one, eib.im * ea}), {T, mOne});
  const VC sC = wideMul(wideMul(wideMul(up, up), {emib.re * ea - one, emib.im * ea}), {T, one});
  const VC S{(sA.re + sB.re) + sC.re, (sA.im + sB.im) + sC.im};
  const V mcc = wideSplat(-cc), CC = wideSplat(cc);
  const V termA = mcc * wideMul(S, W).re;
  const VC V1 = wideMul(wideMul(R1, {eib.re - ea, eib.im}), up);
  const VC V2 = wideMul(wideMul(eib, R2), um);
  const VC Vv{V1.re / Q2 - V2.re / Q2, V1.im / Q2 - V2.im / Q2};
  const V termB = mcc * wideMul(Vv, U).re;
  const V f3 = (f1 + termA) + termB;
  const V two = wideSplat(2.0);
  const VC Nnum = wideMul({ix.re * two, ix.im * two}, eib);
  const VC Nv{(Nnum.re - y * ea) / Q2, (Nnum.im - x * ea) / Q2};
  const V f5 = CC * wideMul(M, Nv).re;
  const V QA = wideSplat(qa);
  const VC Knum = wideMul(L, {ix.re / QA, ix.im / QA});
  const VC K{Knum.re / Q2, Knum.im / Q2};
  const VC eaEmib{emib.re * ea, emib.im * ea};
  const VC J1 = wideMul(wideMul({wideNeg(eaEmib.re) + one, wideNeg(eaEmib.im)}, up), {T, one});
  const VC J2 = wideMul(wideMul({wideNeg(eaEmib.re) + ea * ea, wideNeg(eaEmib.im)}, um), {T, mOne});
  const VC J{J1.re + J2.re, J1.im + J2.im};
  const V termC = mcc * wideMul(K, J).re;
  const V eaqa = ea / QA;
  const V termD = mcc * wideMul({R1.re * eaqa, R1.im * eaqa}, U).re;
  const V f2 = termC + termD;
  const V f4 = (CC * eaqa) * M.re;

  wideStore(r.f1, f1);
  wideStore(r.f2, f2);
  wideStore(r.f3, f3);
  wideStore(r.f4, f4);
  wideStore(r.f5, f5);
  const V ok = wideAnd(wideAnd(wideBothNumbers(f1, f2), wideBothNumbers(f3, f4)), wideBothNumbers(f5, f5));
  const int mask = wideMask(ok);
  for (int k = 0; k < kLanes; ++k) r.ok[k] = ((mask >> k) & 1) != 0;
}
#endif

inline float addTerm(float sum, float term) { return float(double(sum) + double(term)); }

// Private storage (static, fixed size): the grid, the parts of its points and
// one work area per worker of the loss-point loop.
float gLoss[kMaxLossPoints];
Parts gParts[kMaxLossPoints];
WorkArea gWork[kMaxWorkers];

}  // namespace

Params makeParams(float ep, float estep, float x0, float thetaDeg, int nIntegr, float egap) {
  Params p;
  p.ep = ep;
  p.estep = estep;
  p.x0 = x0;
  // Emission at -Theta is the same as at Theta (the geometry is symmetric
  // about the normal); the formulas hold for the angle's magnitude.
  p.thetaRad = std::fabs(thetaDeg * kDegree);
  p.nIntegr = nIntegr;
  p.egap = egap;
  const double c = std::cos(double(p.thetaRad));
  p.usable = nIntegr >= 1 && nIntegr <= kMaxHalfIntervals && std::isfinite(x0) && x0 > 0.0f &&
             std::fabs(thetaDeg) < 90.0f && c > 0.0 && std::isfinite(ep) && ep > 0.0f;
  return p;
}

int lossGrid(float emin, float estep, float emax, float* T) {
  if (!(std::isfinite(estep) && estep > 0.0f)) return 0;
  const int n = truncCount((double(emax) - double(emin)) / double(estep) + 1.0, kMaxLossPoints);
  float loss = emin - estep;
  for (int j = 0; j < n; ++j) {
    loss += estep;
    T[j] = loss;
  }
  return n;
}

float simpsonWeight(const float* values, int n, float h, int j) {
  const float w = (j == 0 || j == 2 * n) ? kWeightEnd : (j % 2 == 1 ? kWeightOdd : kWeightEven);
  return float(double(values[j]) * double(h) * double(w));
}

Parts point(const LossPoint& loss, const Oscillators& model, const Params& p, WorkArea& work) {
  const float T = loss.T;
  Parts parts;
  if (!p.usable || !(T > 0.0f && T < p.ep)) return parts;

  // Kinematics of this loss.
  const double ep = p.ep;
  const float k = float(std::sqrt(ep));
  const float c = float(std::cos(double(p.thetaRad)));
  const float s = float(std::sin(double(p.thetaRad)));
  const float t = float(std::tan(double(p.thetaRad)));
  const double root = std::sqrt(ep - double(T));
  const float qa = float(kAlong * double(T) / (double(c) * double(k)));
  const float qp = float(kMomentum * (double(k) + root));
  // sqrt(Ep) - sqrt(Ep - T) written without cancellation.
  const float qm = float(kMomentum * double(T) / (std::sqrt(ep) + root));
  const float F = float(-kShift * double(T) * double(T) / ep);
  const float G = float(kAlong * double(T) * double(s) / double(k));
  const float xmax = float(double(c) * std::sqrt(double(qp) * qp + double(F)) + double(G));
  const double lowRoot = double(qm) * qm + double(F);
  const float xmin = float(double(G) + double(c) * std::sqrt(lowRoot > 0.0 ? lowRoot : 0.0));
  const int n = p.nIntegr;
  const float h = float((double(xmax) - double(xmin)) / double(2 * n));

  const double cc = 1.0 / (double(k) * double(p.x0) * double(T) * kPrefactor);
  const double b0 = double(c) * ep * kBulk;

  const DielectricAtLoss dielectric(model, T, p.egap, loss.gapCorr);
  float P1 = 0, P2 = 0, P3 = 0, P4 = 0, P5 = 0;
  auto& f = work.f;
  // The samples in batches whose dielectric functions are formed side by
  // side; the sums still take the samples in order.
#if KELVARA_WIDE_LANES
  constexpr int kBatch = kLanes;
  const bool wideLanes = wideLanesAvailable();
#else
  constexpr int kBatch = 4;
#endif
  const int last = 2 * n;
  for (int first = 0; first <= last; first += kBatch) {
    const int m = last - first + 1 < kBatch ? last - first + 1 : kBatch;
    float xs[kBatch], ys[kBatch], qs[kBatch];
    double Q2s[kBatch];
    for (int k = 0; k < kBatch; ++k) {
      const int j = first + (k < m ? k : 0);
      xs[k] = float(double(xmin) + double(j) * double(h));
      ys[k] = float(double(qa) - double(t) * double(xs[k]));
      Q2s[k] = double(ys[k]) * ys[k] + double(xs[k]) * xs[k];
      qs[k] = float(std::sqrt(Q2s[k]));
    }
    ComplexF eps[kBatch];
    for (int part = 0; part < kBatch; part += 4) {
      float partQ[4];
      ComplexF partEps[4];
      for (int k = 0; k < 4; ++k) partQ[k] = qs[part + k];
      if (part < m) dielectric.epsMany(partQ, partEps);
      for (int k = 0; k < 4; ++k) eps[part + k] = part < m ? partEps[k] : eps[0];
    }
#if KELVARA_WIDE_LANES
    WideIntegrands wide;
    if (wideLanes) wideIntegrands(xs, ys, Q2s, eps, p.x0, t, qa, cc, b0, wide);
#endif
    for (int k = 0; k < m; ++k) {
      const int j = first + k;
#if KELVARA_WIDE_LANES
      const Integrands v = wideLanes && wide.ok[k]
                               ? Integrands{wide.f1[k], wide.f2[k], wide.f3[k], wide.f4[k], wide.f5[k]}
                               : integrands(xs[k], ys[k], Q2s[k], eps[k], p.x0, t, qa, cc, b0);
#else
      const Integrands v = integrands(xs[k], ys[k], Q2s[k], eps[k], p.x0, t, qa, cc, b0);
#endif
      f[0][j] = float(v.f1);
      f[1][j] = float(v.f2);
      f[2][j] = float(v.f3);
      f[3][j] = float(v.f4);
      f[4][j] = float(v.f5);
      P1 = addTerm(P1, simpsonWeight(f[0].data(), n, h, j));
      P2 = addTerm(P2, simpsonWeight(f[1].data(), n, h, j));
      P3 = addTerm(P3, simpsonWeight(f[2].data(), n, h, j));
      P4 = addTerm(P4, simpsonWeight(f[3].data(), n, h, j));
      P5 = addTerm(P5, simpsonWeight(f[4].data(), n, h, j));
    }
  }
  parts.inf = P1;
  parts.mediumHole = P2;
  parts.mediumNoHole = P3;
  parts.vacuumHole = P4;
  parts.vacuumNoHole = P5;
  return parts;
}

}  // namespace kelvara::lib::photo

extern "C" void durmel(float* Ep, float* Estep, float* Emin, float* Emax, float* X0, float* Theta,
                       int16_t* n_integr, float* Keff, float* keff_inf, float* keff_medium_h, float* keff_medium_nh,
                       float* keff_vacuum_h, float* keff_vacuum_nh, float* qHole, float* W0, float* A0,
                       float* Gamma, float* Egap, float* Alfa, int16_t* NumOsc, float* Core_ac, float* Core_bc,
                       float* IMFPkeff, float* AreaHole, float* AreaNoHole) {
  using namespace kelvara::lib;
  using namespace kelvara::lib::photo;
  const Oscillators model{W0, Gamma, A0, Alfa, *NumOsc};
  const Params p = makeParams(*Ep, *Estep, *X0, *Theta, *n_integr, *Egap);
  const float lambda = imfpCore(*Ep, *Core_ac, *Core_bc);

  const int n = lossGrid(*Emin, *Estep, *Emax, gLoss);
  // The points in any order on the loop's workers; the gap correction (its
  // node at w skipped when abs(w'/w - 1) <= 1e-5) is formed only when the
  // points are computed at all.
  const GapRule gap{p.usable ? &model : nullptr, p.egap, p.estep, GapSkip::Relative};
  forEachTabledLossPoint(n, gLoss, gap, gWork,
                         [&](const LossPoint& loss, WorkArea& work) { gParts[loss.i - 1] = point(loss, model, p, work); });

  const float estep = *Estep;
  const double hole = *qHole;
  float sum = 0, areaHole = 0, areaNoHole = 0;
  for (int j = 0; j < n; ++j) {
    const Parts& r = gParts[j];
    keff_inf[j] = r.inf;
    keff_medium_h[j] = r.mediumHole;
    keff_medium_nh[j] = r.mediumNoHole;
    keff_vacuum_h[j] = r.vacuumHole;
    keff_vacuum_nh[j] = r.vacuumNoHole;
    const double withHole = double(r.vacuumHole) + double(r.mediumHole);
    const double withoutHole = double(r.vacuumNoHole) + double(r.mediumNoHole);
    Keff[j] = float(withHole * hole + withoutHole);
    sum = float(double(sum) + double(Keff[j]) * estep);
    areaHole = float(double(areaHole) + withHole * estep);
    areaNoHole = float(double(areaNoHole) + withoutHole * estep);
  }
  // 1/(1/lv + 1/lambda) with lv = 1/sum; an empty or zero sum leaves lambda.
  *IMFPkeff = float(1.0 / (double(sum) + 1.0 / double(lambda)));
  *AreaHole = areaHole;
  *AreaNoHole = areaNoHole;
}
