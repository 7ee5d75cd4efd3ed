// Effective inelastic cross section of a photo- or Auger electron excited at
// the depth X0 below the surface and leaving it at the angle Theta from the
// normal, with and without the effect of the core hole it leaves behind.
//
// The work is split so that each loss point is independent of the others:
//   lossGrid   - the grid Emin, Emin + Estep, ... as a running 32-bit sum
//                (serial: every loss depends on the one before);
//   point      - the five parts at one loss from a Simpson integration over
//                the momentum component x; reads only its arguments and
//                writes only its work area, so the workers of the shared
//                loss-point loop, with a work area each, run the points in
//                any order;
//   durmel     - the export: grid, points, then the sums over the grid in
//                grid order (the 32-bit sums depend on the order).
#pragma once

#include <array>
#include <cstdint>

#include "loss_loop.h"
#include "loss_numerics.h"

namespace kelvara::lib::photo {

// Largest n_integr: the x integration samples 2*n_integr + 1 points.
inline constexpr int kMaxHalfIntervals = 5000;
inline constexpr int kMaxXPoints = 2 * kMaxHalfIntervals + 1;

// The inputs shared by every loss point of one call.
struct Params {
  float ep = 0;        // electron energy, eV
  float estep = 0;     // grid step, also the node step of the gap correction
  float x0 = 0;        // depth of the excitation, A
  float thetaRad = 0;  // emission angle from the normal, radians (magnitude)
  int nIntegr = 0;     // half the number of x intervals
  float egap = 0;      // gap of the oscillator model, eV
  // False when n_integr lies outside 1..5000, X0 is not a positive finite
  // depth, the angle is not inside (-90, 90) degrees or Ep is not positive and
  // finite: then every part of every point is 0.
  bool usable = false;
};

// The five parts at one loss (eV^-1 A^-1).
struct Parts {
  float inf = 0;           // infinite medium
  float mediumHole = 0;    // medium, with the hole
  float mediumNoHole = 0;  // medium, without the hole
  float vacuumHole = 0;    // vacuum, with the hole
  float vacuumNoHole = 0;  // vacuum, without the hole
};

// Integrand values of one loss point, one row per part (one per worker).
struct WorkArea {
  std::array<std::array<float, kMaxXPoints>, 5> f;
};

// Params of one call from the export's arguments (angle in degrees).
Params makeParams(float ep, float estep, float x0, float thetaDeg, int nIntegr, float egap);

// Number of loss points N = trunc((Emax - Emin)/Estep + 1), at most
// kMaxLossPoints; 0 for a step that is not positive and finite or a
// non-finite count. Fills T[0..N-1] with Emin + Estep, ... formed by
// successive 32-bit additions starting from Emin - Estep.
int lossGrid(float emin, float estep, float emax, float* T);

// One weighted term of the x integral: values[j]*h*w_j with w_j = 0.333333 at
// both ends (j = 0, 2n), 1.333333 at odd j and 0.666666 at even interior j.
float simpsonWeight(const float* values, int n, float h, int j);

// The five parts at the loss point (its T and the gap correction at T; the
// index is for the caller's bookkeeping only). A loss that is not inside
// (0, Ep), or unusable params, give all parts 0.
Parts point(const LossPoint& loss, const Oscillators& model, const Params& p, WorkArea& work);

}  // namespace kelvara::lib::photo
