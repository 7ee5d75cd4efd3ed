// Helpers shared by the measured-spectrum libraries (the cross sections from
// a measured spectrum with and without elastic peak, the elastic-peak
// separation and the area-normalised joining): reading the point count of a
// spectrum array, float-to-index conversion that cannot overflow, and the
// recursive deconvolution of multiple scattering.
//
// Spectrum arrays are passed as the address of element 1: element 1 holds the
// point count N, element 2 the first energy, element 3 the step, elements 4
// to N+3 the values (element k is p[k - 1]).
#pragma once

namespace kelvara::lib {

// Values the private arrays of the spectrum libraries hold.
inline constexpr int kSpectrumCapacity = 5000;
// Values a program spectrum array (elements 1 to 5000) holds.
inline constexpr int kSpectrumArrayPoints = 4997;

// Point count INT(element 1) (truncated toward zero). A count of 0 or below
// gives 0 (an empty spectrum); a count that is not finite or above cap gives
// -1 (the spectrum does not fit and must not be read).
int spectrumCount(const float* spec, int cap);

// trunc(x) toward zero, limited to [lo, hi]; NaN gives lo.
int truncClamp(double x, int lo, int hi);

// How the running sum of the deconvolution is kept.
enum class SumPrecision {
  Extended,  // accumulated in double, stored once
  Single,    // rounded to a 32-bit float after every term
};

// Removes multiple scattering from the loss spectrum J(1..M) (J[0..M-1]) with
// the elastic-peak area a0 and step de:
// K(1) = J(1)/a0, K(c) = (J(c) - de*sum_{m=1}^{c-1} K(c-m)*J(m))/a0.
// The caller guarantees a0 != 0 and M <= the size of K.
void deconvolve(const float* J, int M, float de, float a0, SumPrecision precision, float* K);

}  // namespace kelvara::lib
