#pragma once
// Text <-> number conversions with the program's rules. One program-wide
// locale: '.' is the decimal point everywhere. A text that is not wholly a
// number (the empty text among them) raises TypeMismatch; a value out of range
// raises Overflow; a non-finite result is refused.
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

float ToSingle(std::string_view text);    // 32-bit float from a box's whole text
double ToDouble(std::string_view text);   // double from a box's whole text
int16_t ToInteger(std::string_view text); // 16-bit integer (halves to even)

// Blanks and tabs around the number are allowed; the forms are an optional
// sign, digits with at most one '.', and an optional exponent (E or D, optional
// sign). A magnitude below the smallest value reads as 0.

// The general text of a 32-bit float: the shortest text of up to 7 significant
// digits that reads back as the same float (7 digits when none does), no
// trailing zeros, "0.2" for 0.2f, leading zero kept ("0.5", never ".5"), "0"
// for both zeros. Plain notation for magnitudes from 1E-05 up to 9999999
// (after rounding to the chosen digits), otherwise exponent form: one digit,
// the other digits after a point, "E", sign and at least two exponent digits
// ("1E-07", "1.5E+08", "1.234568E+07"). Non-finite values give "NaN", "Inf",
// "-Inf" (they cannot come from a conversion above).
std::string GeneralText(float value);
// The text a box or a file shows for a 32-bit float that is read back: the
// shortest text that ToSingle reads as the very same float, in the notation of
// the general text (which it equals whenever up to 7 digits read back; 8 or 9
// digits otherwise, e.g. "15.8123455", "1.2345678E+07"). "0" for both zeros.
std::string RoundTripText(float value);
// The general text of a double: as above with up to 15 significant digits and
// plain notation from 1E-05 up to 15 integer digits.
std::string GeneralText(double value);

// Format(value, pattern) for the patterns the program uses:
// "0.00", "0.000", "###0.000", "Scientific" (1.23E-02), "#.#0", "##.###".
// Digit placeholders: '0' always shows a digit, '#' only a significant one;
// the value is rounded to as many decimals as the pattern has after the '.',
// halves away from zero on its decimal digits (15 significant digits of a
// double); '#' never pads. Format(0.5,"#.#0") = ".50", Format(2.5,"##.###") =
// "2.5", Format(0,"##.###") = ".", Format(1000,"##.###") = "1000.". A result
// that rounds to zero carries no minus sign. "Scientific" (any letter case):
// three significant digits, "E", sign, at least two exponent digits; 0 gives
// "0.00E+00". "Fixed" is "0.00" and "General Number" the general text. Any
// other pattern raises InvalidCall.
std::string Format(double value, std::string_view pattern);
// A 32-bit float is formatted from the digits it is known by (its general
// text), so Format(18.345f, "0.00") is "18.35" although the float lies just
// below 18.345.
std::string Format(float value, std::string_view pattern);
template <std::integral T>
std::string Format(T value, std::string_view pattern) {
    return Format(static_cast<double>(value), pattern);
}

} // namespace kelvara
