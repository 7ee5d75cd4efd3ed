// Effective inelastic cross section of an electron reflected at the depth X0
// with any incidence and exit angle: the parts excited in vacuum and in the
// medium on the incoming and outgoing trajectory, their sum and the inelastic
// mean free paths.
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>

#include "geometric_integration.h"
#include "kelvara_libraries.h"
#include "loss_constants.h"
#include "loss_loop.h"
#include "loss_numerics.h"

namespace kelvara::lib {
namespace {

using C = std::complex<double>;

constexpr int kIntegrandCapacity = 40000;

// One worker's integrand storage: three integrands per block, or six when
// blocks 1 and 2 share their samples.
struct Work {
  GeometricWork<6, kIntegrandCapacity> integrands;
};

// Private working storage (static, fixed size; nothing survives a call that a
// later call relies on).
int16_t gPointCount = 0;
float gLossEnergy[kMaxLossPoints];
Work gWork[kMaxWorkers];

struct Geometry {
  double c1, s1, t1, c2, s2, t2;
  double path;
  double x0;
  double e0;
};

// Quantities of one loss point shared by the three blocks.
struct LossPointTerms {
  float T;
  double wv;
  double P, Pb1, Pb2, Pm1, Pm2;
};

struct Sample {
  C inv;    // 1/eps
  C invp1;  // 1/(eps + 1)
  C A, B;
  C Uip, Uim, Uop, Uom;
  double Qi, Qo;
  double decay;     // exp(-X0*Q)
  C eQi, eMinusQi;  // exp(i*X0*Qi), exp(-i*X0*Qi)
  C eQo, eMinusQo;  // exp(i*X0*Qo), exp(-i*X0*Qo)
};

// The cosine and sine of the last argument: at normal incidence the phases
// X0*Qi and X0*Qo are the same at every sample of a loss point. One per loss
// point and phase, so each belongs to one worker.
struct TrigMemo {
  double x = std::numeric_limits<double>::quiet_NaN();
  double c = 0.0, s = 0.0;
  void at(double arg) {
    if (arg == x) return;
    x = arg;
    c = std::cos(arg);
    s = std::sin(arg);
  }
};

// exp(i*x) and exp(-i*x) from one cosine and one sine (cos is even and sin
// odd, bit for bit).
inline void expPair(TrigMemo& memo, double x, C& plus, C& minus) {
  memo.at(x);
  plus = C(memo.c, memo.s);
  minus = C(memo.c, -memo.s);
}

struct Memos {
  TrigMemo qi, qo, half;
};

Sample prepare(const Geometry& g, const LossPointTerms& p, const DielectricAtLoss& dielectric, Memos& memo,
               double Q, int block) {
  Sample s;
  const double wv = p.wv;
  s.Qi = wv / g.c1 - Q * g.t1;
  s.Qo = wv / g.c2 - Q * g.t2;
  double q = Q;
  if (block == 1) q = std::sqrt(s.Qi * s.Qi + Q * Q);
  if (block == 2) q = std::sqrt(s.Qo * s.Qo + Q * Q);
  const ComplexF epsf = dielectric.eps(float(q));
  const C eps(epsf.real(), epsf.imag());
  s.inv = divide(C(1.0, 0.0), eps);
  s.invp1 = divide(C(1.0, 0.0), eps + 1.0);
  const double x0 = g.x0;
  const C bip(wv - Q * g.s1, Q * g.c1), bim(wv - Q * g.s1, -Q * g.c1);
  const C bop(wv - Q * g.s2, Q * g.c2), bom(wv - Q * g.s2, -Q * g.c2);
  s.decay = std::exp(-x0 * Q);
  const double decay = s.decay;
  expPair(memo.qi, x0 * s.Qi, s.eQi, s.eMinusQi);
  if (s.Qo == s.Qi) {
    s.eQo = s.eQi;
    s.eMinusQo = s.eMinusQi;
  } else {
    expPair(memo.qo, x0 * s.Qo, s.eQo, s.eMinusQo);
  }
  const C I(0.0, 1.0);
  C a1, a2, b1, b2;
  if (bop == bip && bom == bim) {
    // Equal angles: two divisors instead of four.
    divideShared(decay - s.eMinusQi, s.eQo, bip, a1, b2);
    divideShared(s.eQo - decay, s.eMinusQi, bom, a2, b1);
  } else {
    a1 = divide(decay - s.eMinusQi, bip);
    a2 = divide(s.eQo - decay, bom);
    b1 = divide(s.eMinusQi, bim);
    b2 = divide(s.eQo, bop);
  }
  s.A = I * (a1 + a2);
  s.B = I * (b1 - b2);
  s.Uip = C(Q - g.t1 * s.Qi, wv / g.c1);
  s.Uim = C(Q - g.t1 * s.Qi, -wv / g.c1);
  s.Uop = C(Q - g.t2 * s.Qo, wv / g.c2);
  s.Uom = C(Q - g.t2 * s.Qo, -wv / g.c2);
  return s;
}

// (exp(-i*X0*s) - 1)/s and (exp(i*X0*s) - 1)/s at s = Qi + Qo, from one
// cosine and one sine of the half phase.
struct PhaseQuotients {
  C minus, plus;
};
PhaseQuotients phaseQuotients(TrigMemo& memo, double x0, double s) {
  const double half = 0.5 * x0 * s;
  memo.at(half);
  return {phaseQuotient(-x0, -half, memo.c, -memo.s), phaseQuotient(x0, half, memo.c, memo.s)};
}

void block1(const Geometry& g, const LossPointTerms& p, const Sample& s, const C& phase, double Q,
            float* f) {
  const double ri = Q * Q + s.Qi * s.Qi;
  const C f1 = p.P * (2.0 * s.invp1 - 1.0) * (-s.eQi * (s.A + s.B) * s.Uip * Q / ri);
  f[0] = float(f1.real());
  f[1] = float(-s.inv.imag() * p.Pb1 * Q / ri);
  const C f3 = (Q * (g.t1 + g.t2) - p.wv / g.c1) * (s.inv - 1.0) * p.Pm1 * Q * phase;
  f[2] = float(-f3.real() / ri);
}

void block2(const Geometry& g, const LossPointTerms& p, const Sample& s, const C& phase, double Q,
            float* f) {
  const double ro = Q * Q + s.Qo * s.Qo;
  const C f1 = p.P * (2.0 * s.invp1 - 1.0) * (s.eMinusQo * (s.A + s.B) * s.Uom * Q / ro);
  f[0] = float(f1.real());
  const C f2 = (Q * (g.t1 + g.t2) - p.wv / g.c2) * (s.inv - 1.0) * p.Pm2 * Q * phase;
  f[1] = float(f2.real() / ro);
  f[2] = float(-s.inv.imag() * p.Pb2 * Q / ro);
}

void block3(const Geometry& g, const LossPointTerms& p, const Sample& s, double Q, float* f) {
  const double ri = s.Qi * s.Qi + Q * Q;
  const double ro = s.Qo * s.Qo + Q * Q;
  const double decay = s.decay;
  const C I(0.0, 1.0);
  const C c7 = (decay * C(Q, s.Qi) - 2.0 * I * s.Qi * s.eMinusQi) / (g.c1 * ri) +
               (2.0 * I * s.Qo * s.eQo + decay * C(Q, -s.Qo)) / (g.c2 * ro);
  const C c8 = C(Q, s.Qi) / (g.c1 * ri) + C(Q, -s.Qo) / (g.c2 * ro);
  const C c9 = (1.0 - 2.0 * s.inv + 2.0 * s.invp1) * s.A - (1.0 - 2.0 * s.invp1) * s.B;
  const C m1 = s.inv - 1.0;
  const C gi = (s.eQi - decay) * s.Uim * (c9 + m1 * c7) + m1 * c8 * (decay * s.eQi - 1.0) * s.Uip;
  const C go = (s.eMinusQo - decay) * s.Uop * (c9 + m1 * c7) + m1 * c8 * (decay * s.eMinusQo - 1.0) * s.Uom;
  f[0] = 0.0f;
  f[1] = float((p.P * Q * gi).real() / ri);
  f[2] = float(-(p.P * Q * go).real() / ro);
}

// The three blocks of one loss point into the five outputs.
void lossPoint(const Geometry& g, const Oscillators& model, float ep, float egap, const LossPoint& point,
               Work& work, float* keff, float* kvi, float* kvo, float* kmi, float* kmo) {
  LossPointTerms p;
  p.T = point.T;
  const int i = point.i;
  gLossEnergy[i - 1] = p.T;
  if (!(p.T < ep)) {
    // No physical cross section for a loss at or above the primary energy.
    for (float* out : {kvi, kvo, kmi, kmo, keff}) out[i - 1] = 0.0f;
    return;
  }
  const Kinematics kin = kinematicLimits(ep, p.T);
  p.wv = kin.wv;
  const double e0 = g.e0, wv = p.wv, path = g.path;
  p.P = 1.0 / (2.0 * e0 * path * kBohr * kPi * wv);
  p.Pb1 = g.x0 / (path * kPi * kBohr * e0 * g.c1 * g.c1);
  p.Pb2 = g.x0 / (path * kPi * kBohr * e0 * g.c2 * g.c2);
  p.Pm1 = 1.0 / (kBohr * kPi * std::sqrt(e0 * g.c1 * g.c1) * kVelocityFactor * double(p.T)) / path;
  p.Pm2 = 1.0 / (kBohr * kPi * std::sqrt(e0 * g.c2 * g.c2) * kVelocityFactor * double(p.T)) / path;

  const double qm = kin.qMinus, qp = kin.qPlus;
  const double rootLo = std::sqrt(qm * qm - wv * wv);
  const double rootHi = std::sqrt(qp * qp - wv * wv);
  const float qlo1 = float(g.c1 * rootLo + g.s1 * wv), qhi1 = float(g.c1 * rootHi + g.s1 * wv);
  const float qlo2 = float(g.c2 * rootLo + g.s2 * wv), qhi2 = float(g.c2 * rootHi + g.s2 * wv);

  const DielectricAtLoss dielectric(model, p.T, egap, point.gapCorr);
  Memos memo;
  auto& w = work.integrands;
  float s1[3], s2[3], s3[3];
  if (g.c1 == g.c2 && g.s1 == g.s2) {
    // Equal paths: block 2 runs over the same samples as block 1, and at every
    // sample Qo = Qi, so both blocks take the same quantities.
    float both[6];
    integrateGeometric(qlo1, qhi1, w, [&](float Q, float (&f)[6]) {
      const Sample s = prepare(g, p, dielectric, memo, Q, 1);
      const PhaseQuotients ph = phaseQuotients(memo.half, g.x0, s.Qi + s.Qo);
      block1(g, p, s, ph.minus, Q, f);
      block2(g, p, s, ph.plus, Q, f + 3);
    }, both);
    for (int k = 0; k < 3; ++k) {
      s1[k] = both[k];
      s2[k] = both[k + 3];
    }
  } else {
    integrateGeometric(qlo1, qhi1, w, [&](float Q, float (&f)[3]) {
      const Sample s = prepare(g, p, dielectric, memo, Q, 1);
      block1(g, p, s, phaseQuotients(memo.half, g.x0, s.Qi + s.Qo).minus, Q, f);
    }, s1);
    integrateGeometric(qlo2, qhi2, w, [&](float Q, float (&f)[3]) {
      const Sample s = prepare(g, p, dielectric, memo, Q, 2);
      block2(g, p, s, phaseQuotients(memo.half, g.x0, s.Qi + s.Qo).plus, Q, f);
    }, s2);
  }
  integrateGeometric(kin.qMinus, kin.qPlus, w, [&](float Q, float (&f)[3]) {
    block3(g, p, prepare(g, p, dielectric, memo, Q, 3), Q, f);
  }, s3);

  kvi[i - 1] = s1[0];
  kvo[i - 1] = s2[0];
  kmi[i - 1] = float(double(s1[1]) + double(s2[1]) + double(s3[1]));
  kmo[i - 1] = float(double(s1[2]) + double(s2[2]) + double(s3[2]));
  keff[i - 1] = float(double(kmo[i - 1]) + double(kmi[i - 1]) + double(kvo[i - 1]) + double(kvi[i - 1]));
  if (egap > p.T) keff[i - 1] = 0.0f;
}

// The cross sections on the loss grid; returns the number of points.
int keffAngles(float ep, float emax, float estep, float x0, float theta1, float theta2, float egap,
               const Oscillators& model, float* keff, float* kvi, float* kvo, float* kmi, float* kmo) {
  const float th1 = theta1 * kDegree;
  const float th2 = theta2 * kDegree;
  const float cos1 = std::cos(th1), cos2 = std::cos(th2);
  Geometry g;
  g.c1 = std::fabs(double(cos1));
  g.s1 = std::fabs(double(std::sin(th1)));
  g.c2 = std::fabs(double(cos2));
  g.s2 = std::fabs(double(std::sin(th2)));
  g.t1 = g.s1 / g.c1;
  g.t2 = g.s2 / g.c2;
  g.x0 = x0;
  g.e0 = ep;
  g.path = double(float(double(x0) * (1.0 / double(cos1) + 1.0 / double(cos2))));

  const GapRule gap{&model, egap, estep, GapSkip::Exact};
  const int n = forEachLossPoint(emax, estep, gap, gWork, [&](const LossPoint& point, Work& work) {
    lossPoint(g, model, ep, egap, point, work, keff, kvi, kvo, kmi, kmo);
  });
  gPointCount = int16_t(n);
  return n;
}

}  // namespace
}  // namespace kelvara::lib

extern "C" void orvane(float* Ep, float* Estep, float* Emax, float* X0, float* Theta1, float* Theta2,
                       float* Kvi, float* Kvo, float* Kmi, float* Kmo, float* Keff, float* Egap, float* W0,
                       float* Gamma, float* A0, float* Alfa, int16_t* NumOsc, float* Core_ac, float* Core_bc,
                       float* IMFPc, float* IMFPv, float* IMFPeff) {
  using namespace kelvara::lib;
  const Oscillators model{W0, Gamma, A0, Alfa, *NumOsc};
  const int n = keffAngles(*Ep, *Emax, *Estep, *X0, *Theta1, *Theta2, *Egap, model, Keff, Kvi, Kvo, Kmi, Kmo);
  *IMFPv = imfpFromK(n, *Estep, Keff);
  *IMFPc = imfpCore(*Ep, *Core_ac, *Core_bc);
  *IMFPeff = float(1.0 / (1.0 / double(*IMFPv) + 1.0 / double(*IMFPc)));
}
