#pragma once
// Text <-> number conversions with the program's rules. One program-wide
// locale: '.' is the decimal point everywhere. A text that is not wholly a
// number (the empty text among them) raises TypeMismatch; a value out of range
// raises Overflow; a non-finite result is refused.
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

float ToSingle(std::string_view text);    // 32-bit float from a box's whole text
double ToDouble(std::string_view text);   // double from a box's whole text
int16_t ToInteger(std::string_view text); // 16-bit integer (halves to even)

// The general text of a 32-bit float: up to 7 significant digits, no trailing
// zeros, "0.2" for 0.2f, ".5" is never produced (leading zero kept), exponent
// form ("1E-07", "1.5E+08") for very small or very large magnitudes.
std::string GeneralText(float value);
// The general text of a double (up to 15 significant digits).
std::string GeneralText(double value);

// Format(value, pattern) for the patterns the program uses:
// "0.00", "0.000", "###0.000", "Scientific" (1.23E-02), "#.#0", "##.###".
std::string Format(double value, std::string_view pattern);

} // namespace kelvara
