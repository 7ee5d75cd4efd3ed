// Optical loss functions of the oscillator model at a fixed momentum transfer:
// Im(-1/eps), Re(1/eps), eps1, eps2 and the surface loss Im(-1/(eps + 1)).
//
// This model differs from the dielectric function of the momentum
// integrations: the real sum uses the dispersed oscillator energy in its
// numerator, absorption counts only strictly above the gap, at and below the
// gap 1/eps = 1, and the gap correction runs on a fixed 0.1 eV grid with the
// dispersion at Q.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "kelvara_libraries.h"
#include "loss_constants.h"
#include "loss_numerics.h"

namespace {

using kelvara::lib::kDispersion;
constexpr float kGapStep = 0.1f;             // eV
constexpr double kGapWeight = 0.06366198;    // gap step times 2/pi

// Private storage of hollenbar: the momentum it passes and the count it gets.
float gOpticalQ = 0.0f;
int16_t gOpticalPoints = 0;

// The gap-correction nodes w' = j*0.1 eV and the oscillators' loss function
// e(w') there, which depend on the momentum but not on the energy w: formed
// once per call of EPSILON_Q and summed at every grid point.
float gNodeEnergy[kelvara::lib::kMaxCount16];
float gNodeLoss[kelvara::lib::kMaxCount16];

int gapNodes(float egap) { return kelvara::lib::truncCount(double(egap) * 10.0, kelvara::lib::kMaxCount16); }

void formGapNodes(const float* W0, const float* A0, const float* Gamma, const float* Alfa, float Q, int numOsc,
                  int nodes) {
  const float q2 = Q * Q;
  for (int j = 1; j <= nodes; ++j) {
    const float wp = float(j) * kGapStep;
    const double wp2 = double(wp) * wp;
    double sum = 0.0;
    for (int k = 0; k < numOsc; ++k) {
      const float wq = float(double(W0[k]) + kDispersion * double(Alfa[k]) * double(q2));
      const double diff = wp2 - double(wq) * wq;
      const float d = float(diff * diff + (double(Gamma[k]) * wp) * (double(Gamma[k]) * wp));
      sum += double(A0[k]) * double(Gamma[k]) * wp / double(d);
    }
    gNodeEnergy[j - 1] = wp;
    gNodeLoss[j - 1] = float(sum);
  }
}

// The correction at W from the formed nodes.
float sumGapNodes(float W, int nodes) {
  const double w = W;
  double corr = 0.0;
  for (int j = 1; j <= nodes; ++j) {
    const float wp = gNodeEnergy[j - 1];
    if (W == wp) continue;
    const double wp2 = double(wp) * wp;
    corr += double(gNodeLoss[j - 1]) / (wp2 - w * w) * wp * kGapWeight;
  }
  return float(corr);
}

// The count returned in NPts: the computed count, except that a grid running
// downwards (a negative quotient) reports its truncated, negative count, held
// in 16 bits; it computes nothing.
int16_t reportedCount(float emax, float estep, int computed) {
  const auto signedCount = kelvara::lib::truncateTo(double(emax) / double(estep), -32768, 32767);
  return int16_t(signedCount.value < 0 ? signedCount.value : computed);
}

}  // namespace

extern "C" void GAP_CORRECTION(float* W0, float* A0, float* Gamma, float* Alfa, float* Q, int16_t* NumOsc,
                               float* W, float* Egap, float* Corr) {
  const int nodes = gapNodes(*Egap);
  formGapNodes(W0, A0, Gamma, Alfa, *Q, *NumOsc, nodes);
  *Corr = sumGapNodes(*W, nodes);
}

extern "C" void EPSILON_Q(float* Emax, float* Estep, float* Q, float* Egap, float* W0, float* Gamma, float* A0,
                          float* Alfa, int16_t* NumOsc, int16_t* NPts, float* ELFbulk, float* ReInvEps,
                          float* Eps1, float* Eps2, float* ELFsurf) {
  // The caller's arrays hold at most 1000 points.
  const int n = kelvara::lib::lossPointCount(*Emax, *Estep);
  *NPts = reportedCount(*Emax, *Estep, n);
  const float q2 = (*Q) * (*Q);
  const float egap = *Egap;
  const int nodes = gapNodes(egap);
  bool nodesFormed = false;
  for (int i = 1; i <= n; ++i) {
    const float w = float(i) * (*Estep);
    const double w2 = double(w) * w;
    const bool absorbs = egap < w;
    float& im = ELFbulk[i - 1];
    float& re = ReInvEps[i - 1];
    im = 0.0f;
    re = 0.0f;
    for (int k = 0; k < *NumOsc; ++k) {
      const float wq = float(double(W0[k]) + kDispersion * double(Alfa[k]) * double(q2));
      const double diff = w2 - double(wq) * wq;
      const float d = float(diff * diff + (double(Gamma[k]) * w) * (double(Gamma[k]) * w));
      im = absorbs ? float(double(im) + double(A0[k]) / double(d) * double(Gamma[k]) * w) : 0.0f;
      re = float(double(re) + diff / double(d) * double(A0[k]));
    }
    if (absorbs) {
      // The correction only enters above the gap.
      if (!nodesFormed) {
        formGapNodes(W0, A0, Gamma, Alfa, *Q, *NumOsc, nodes);
        nodesFormed = true;
      }
      const float corr = sumGapNodes(w, nodes);
      re = float(double(re) + double(corr) + 1.0);
    } else {
      re = 1.0f;
    }
    const double r = re, l = im;
    const double norm = r * r + l * l;
    Eps1[i - 1] = float(r / norm);
    Eps2[i - 1] = float(l / norm);
    const double e1 = Eps1[i - 1], e2 = Eps2[i - 1];
    ELFsurf[i - 1] = float(e2 / ((e1 + 1.0) * (e1 + 1.0) + e2 * e2));
  }
}

extern "C" void hollenbar(float* ELFbulk, float* ReInvEps, float* Eps1, float* Eps2, float* ELFsurf,
                          float* Estep, float* Emax, float* Egap, float* W0, float* Gamma, float* A0,
                          float* Alfa, int16_t* NumOsc) {
  gOpticalQ = 0.0f;
  EPSILON_Q(Emax, Estep, &gOpticalQ, Egap, W0, Gamma, A0, Alfa, NumOsc, &gOpticalPoints, ELFbulk, ReInvEps,
            Eps1, Eps2, ELFsurf);
}
