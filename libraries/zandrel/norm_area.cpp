// Joins two spectra of one measurement: the first is kept above a join
// energy, the second is scaled so that its area in a window below the first
// one's peak equals the first one's area there, and is used at and below the
// join energy. Join energy and window edges are offsets below the energy of
// the first spectrum's maximum.
#include <cmath>
#include <limits>

#include "kelvara_libraries.h"
#include "spectrum_lib.h"

namespace kelvara::lib {
namespace {

struct Spectrum {
  int n = 0;
  float x[kSpectrumCapacity];  // energies X(i) = first energy + (i-1)*step
  float y[kSpectrumCapacity];  // values
};

// Private working storage (static, fixed size; set afresh in every call).
Spectrum gA, gB;

// Reads a spectrum array of 2 to 5000 points with a positive finite step and
// finite energies; false when it cannot be used.
bool load(const float* spec, Spectrum& s) {
  s.n = spectrumCount(spec, kSpectrumCapacity);
  const float e0 = spec[1], step = spec[2];
  if (s.n < 2 || !std::isfinite(e0) || !(std::isfinite(step) && step > 0.0f)) return false;
  for (int i = 1; i <= s.n; ++i) {
    s.x[i - 1] = static_cast<float>(e0 + (i - 1) * static_cast<double>(step));
    s.y[i - 1] = spec[i + 2];
  }
  return std::isfinite(s.x[s.n - 1]) && s.x[s.n - 1] > s.x[s.n - 2];
}

// Energy of the first of equal maxima above 0; 0 when no value is above 0.
float peakPos(const Spectrum& s) {
  float ymax = 0.0f, xref = 0.0f;
  for (int k = 1; k <= s.n; ++k) {
    if (s.y[k - 1] > ymax) {
      ymax = s.y[k - 1];
      xref = s.x[k - 1];
    }
  }
  return xref;
}

// step * (Y(i_a) + ... + Y(i_b)), i_a the first point above the lower edge,
// i_b the first point above the upper edge (the last point when there is
// none), step = X(i_b) - X(i_b - 1). NaN when the upper edge lies below the
// first point (no step); 0 for an empty range.
double areaWindow(const Spectrum& s, float lower, float upper) {
  int ia = s.n + 1, ib = s.n;
  for (int i = 1; i <= s.n; ++i) {
    if (s.x[i - 1] > lower) {
      ia = i;
      break;
    }
  }
  for (int i = 1; i <= s.n; ++i) {
    if (s.x[i - 1] > upper) {
      ib = i;
      break;
    }
  }
  if (ib < 2) return std::numeric_limits<double>::quiet_NaN();
  const double step = static_cast<double>(s.x[ib - 1]) - s.x[ib - 2];
  double sum = 0.0;
  for (int i = ia; i <= ib; ++i) sum += s.y[i - 1];
  return step * sum;
}

// Linear interpolation at x; the first or last segment extrapolates.
float interpLin(const Spectrum& s, float x) {
  int i = s.n;
  for (int k = 1; k <= s.n; ++k) {
    if (s.x[k - 1] >= x) {
      i = k;
      break;
    }
  }
  if (i < 2) i = 2;
  const double x0 = s.x[i - 2], x1 = s.x[i - 1], y0 = s.y[i - 2], y1 = s.y[i - 1];
  if (x1 == x0) return s.y[i - 1];  // energies that coincide in 32 bits
  return static_cast<float>(y0 + (x - x0) * (y1 - y0) / (x1 - x0));
}

}  // namespace
}  // namespace kelvara::lib

// NormArea(SpecA, SpecB, SpecJoined, dJoin, dWinHi, dWinLo)
//
// xref = energy of the first of the highest values of A above 0 (0 when
// there is none). The window runs from xref - dWinLo to xref - dWinHi;
// ratio = area of A / area of B in it. The output starts at B's first energy
// and steps with A's mean step DE up to A's last energy: above the join energy
// xref - dJoin it interpolates A, at and below it ratio times B.
// SpecJoined gets the count, B's first energy, DE and the values.
//
// Defined results (nothing read beyond element N+3 of an input or written
// beyond the points reported, no division by zero):
// - The empty result (SpecJoined elements 1-3 = 0, 0, 0; no value written)
//   for: either spectrum with a count that is not finite, below 2 (the empty
//   spectra of the program's start-up call) or above 5000, or with a step that
//   is not positive and finite; a dJoin, dWinHi or dWinLo that is not finite;
//   a window whose upper edge lies below the first point of either spectrum;
//   a window area of B that is 0 or not finite (B's data starting at or
//   beyond the window, for one); a ratio that is not finite.
// - A window reaching above the last point of a spectrum ends at that point.
// - The output stops at 4997 points, what a program spectrum array holds.
extern "C" void NormArea(float* SpecA, float* SpecB, float* SpecJoined, float* dJoin, float* dWinHi,
                         float* dWinLo) {
  using namespace kelvara::lib;
  auto empty = [SpecJoined] {
    SpecJoined[0] = 0.0f;
    SpecJoined[1] = 0.0f;
    SpecJoined[2] = 0.0f;
  };
  const float join = *dJoin, winHi = *dWinHi, winLo = *dWinLo;
  if (!load(SpecA, gA) || !load(SpecB, gB) || !std::isfinite(join) || !std::isfinite(winHi) ||
      !std::isfinite(winLo)) {
    empty();
    return;
  }
  const float xref = peakPos(gA);
  const float a = xref - winLo, b = xref - winHi, xj = xref - join;
  const double area1 = areaWindow(gA, a, b);
  const double area2 = areaWindow(gB, a, b);
  if (!std::isfinite(area2) || area2 == 0.0 || !std::isfinite(area1 / area2)) {
    empty();
    return;
  }
  const double ratio = area1 / area2;
  const float xlast = gA.x[gA.n - 1];
  const float de = static_cast<float>((static_cast<double>(xlast) - gA.x[0]) / (gA.n - 1));
  float x = gB.x[0] - de;
  int count = 0;
  for (int k = 1; k <= kSpectrumArrayPoints; ++k) {
    x = x + de;
    if (x > xlast) break;
    SpecJoined[k + 2] = x > xj ? interpLin(gA, x) : static_cast<float>(ratio * interpLin(gB, x));
    count = k;
  }
  SpecJoined[0] = static_cast<float>(count);
  SpecJoined[1] = gB.x[0];
  SpecJoined[2] = de;
}
