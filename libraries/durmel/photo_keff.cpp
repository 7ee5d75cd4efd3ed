#include "photo_keff.h"

#include <cmath>
#include <complex>
#include <cstdint>

#include "kelvara_libraries.h"
#include "loss_loop.h"
#include "loss_numerics.h"

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
  constexpr int kBatch = 4;
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
    dielectric.epsMany(qs, eps);
    for (int k = 0; k < m; ++k) {
      const int j = first + k;
      const Integrands v = integrands(xs[k], ys[k], Q2s[k], eps[k], p.x0, t, qa, cc, b0);
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
