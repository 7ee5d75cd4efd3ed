// Constants shared by the loss-model libraries (each library compiles its own
// copy). The values are the libraries' own rounded constants, not
// full-precision ones: results depend on them bit for bit.
#pragma once

namespace kelvara::lib {

inline constexpr double kPi = 3.14159;              // pi to five decimals
inline constexpr double kBohr = 0.52915;            // Bohr radius a0, A
inline constexpr float kDegree = 0.01745328f;       // radians per degree
inline constexpr double kDispersion = 3.8;          // oscillator dispersion factor, eV A^2
inline constexpr double kTwoOverPi = 0.6366197;     // weight of the gap correction
inline constexpr double kGapNodeMargin = 0.1;       // rounding margin of the gap-correction node count
inline constexpr double kMomentumFactor = 0.51231;  // electron momentum per sqrt(energy), 1/(A eV^0.5)
inline constexpr double kVelocityFactor = 0.256;    // factor of w/v = 0.256*T/sqrt(E)

}  // namespace kelvara::lib
