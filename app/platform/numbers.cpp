#include "platform/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/errors.h"
#include "platform/rounding.h"

// All conversions here are independent of the C locale: parsing uses
// std::from_chars and printing std::to_chars, so '.' is the decimal point
// whatever locale the process runs in.

namespace kelvara {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Parses the whole text as a decimal number: optional blanks, optional sign,
// digits with at most one '.', at least one digit, optional exponent
// (E/e/D/d, optional sign, at least one digit), optional blanks. Raises
// TypeMismatch for any other text and Overflow when the magnitude exceeds the
// double range. A magnitude below the double range reads as 0.
double parseDecimal(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isBlank(text[i])) ++i;
    std::size_t end = n;
    while (end > i && isBlank(text[end - 1])) --end;

    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string buf; // normalised text for from_chars
    buf.reserve(end - i + 2);
    int mantissaDigits = 0;
    int intDigitsFromFirstNonZero = 0; // digits before the point, from the first non-zero one
    int leadingFracZeros = 0;          // zeros after the point before the first non-zero digit
    bool seenNonZero = false;
    bool seenPoint = false;
    for (; i < end; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            ++mantissaDigits;
            if (c != '0') seenNonZero = true;
            if (!seenPoint) {
                if (seenNonZero) ++intDigitsFromFirstNonZero;
            } else if (!seenNonZero) {
                ++leadingFracZeros;
            }
            buf.push_back(c);
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            buf.push_back('.');
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) raise(ErrorCode::TypeMismatch);
    long long exponent = 0;
    if (i < end && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        bool expNegative = false;
        if (i < end && (text[i] == '+' || text[i] == '-')) {
            expNegative = text[i] == '-';
            ++i;
        }
        int expDigits = 0;
        for (; i < end && isDigit(text[i]); ++i) {
            ++expDigits;
            if (exponent < 100000000) exponent = exponent * 10 + (text[i] - '0');
        }
        if (expDigits == 0) raise(ErrorCode::TypeMismatch);
        if (expNegative) exponent = -exponent;
    }
    if (i != end) raise(ErrorCode::TypeMismatch);
    if (!seenNonZero) return negative ? -0.0 : 0.0;

    buf.push_back('e');
    buf += std::to_string(exponent);
    double value = 0.0;
    const auto res = std::from_chars(buf.data(), buf.data() + buf.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Decimal order of magnitude of the first significant digit.
        const long long order = (intDigitsFromFirstNonZero > 0 ? intDigitsFromFirstNonZero - 1
                                                               : -(leadingFracZeros + 1)) +
                                exponent;
        if (order > 0) raise(ErrorCode::Overflow);
        value = 0.0; // below the smallest double: zero
    } else if (res.ec != std::errc() || res.ptr != buf.data() + buf.size()) {
        raise(ErrorCode::TypeMismatch);
    }
    if (!std::isfinite(value)) raise(ErrorCode::Overflow);
    return negative ? -value : value;
}

// A decimal digit string: value = 0.d1d2d3... * 10^point, i.e. `point` digits
// stand before the decimal point (point may be <= 0 or beyond the digits).
struct Decimal {
    std::string digits; // no sign, first digit non-zero unless the value is 0
    int point = 1;
};

// 15 significant digits of |value| (the precision a double carries).
Decimal decimalOf(double value, int significant = 15) {
    Decimal d;
    value = std::fabs(value);
    if (value == 0.0) {
        d.digits.assign(1, '0');
        d.point = 1;
        return d;
    }
    std::array<char, 64> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value,
                                   std::chars_format::scientific, significant - 1);
    const std::string s(buf.data(), res.ptr);
    const auto ePos = s.find('e');
    for (std::size_t k = 0; k < ePos; ++k)
        if (isDigit(s[k])) d.digits.push_back(s[k]);
    d.point = std::stoi(s.substr(ePos + 1)) + 1;
    return d;
}

// Rounds to `keep` leading digits, halves away from zero (on the decimal
// digits). keep may be 0 or negative (everything is rounded off).
void roundDigits(Decimal& d, int keep) {
    if (keep >= static_cast<int>(d.digits.size())) return;
    if (keep < 0) {
        d.digits.assign(1, '0');
        d.point = 1;
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int k = keep - 1;
        while (k >= 0 && d.digits[static_cast<std::size_t>(k)] == '9') {
            d.digits[static_cast<std::size_t>(k)] = '0';
            --k;
        }
        if (k >= 0) {
            ++d.digits[static_cast<std::size_t>(k)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        }
    }
    if (d.digits.empty()) {
        d.digits.assign(1, '0');
        d.point = 1;
    }
}

bool isZero(const Decimal& d) { return d.digits.find_first_not_of('0') == std::string::npos; }

std::string exponentText(int exponent, int minDigits) {
    std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
    while (static_cast<int>(e.size()) < minDigits) e.insert(e.begin(), '0');
    std::string out(1, exponent < 0 ? '-' : '+');
    out += e;
    return out;
}

// The general text of a decimal with trailing zeros trimmed: plain notation
// when the decimal exponent lies in [minExp, maxExp], otherwise d.dddE+XX.
std::string generalFromDecimal(bool negative, Decimal d, int minExp, int maxExp) {
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    if (isZero(d)) return "0";
    const int exponent = d.point - 1;
    std::string out;
    if (negative) out.push_back('-');
    if (exponent >= minExp && exponent <= maxExp) {
        const int nd = static_cast<int>(d.digits.size());
        if (d.point <= 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-d.point), '0');
            out += d.digits;
        } else if (d.point >= nd) {
            out += d.digits;
            out.append(static_cast<std::size_t>(d.point - nd), '0');
        } else {
            out += d.digits.substr(0, static_cast<std::size_t>(d.point));
            out += '.';
            out += d.digits.substr(static_cast<std::size_t>(d.point));
        }
    } else {
        out += d.digits[0];
        if (d.digits.size() > 1) {
            out += '.';
            out += d.digits.substr(1);
        }
        out += 'E';
        out += exponentText(exponent, 2);
    }
    return out;
}

std::string nonFiniteText(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Inf" : "Inf";
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// "1.23E-02": three significant digits, signed exponent of at least two digits.
std::string scientificText(bool negative, Decimal d) {
    roundDigits(d, 3);
    while (d.digits.size() < 3) d.digits.push_back('0');
    const bool zero = isZero(d);
    const int exponent = zero ? 0 : d.point - 1;
    std::string out;
    if (negative && !zero) out.push_back('-');
    out += d.digits[0];
    out += '.';
    out += d.digits.substr(1, 2);
    out += 'E';
    out += exponentText(exponent, 2);
    return out;
}

// Digit-placeholder patterns: an integer part of '#' and '0', optionally a
// '.' and a fraction part of '#' and '0'. '0' forces a digit, '#' shows a digit
// only when it is significant. The value is rounded (halves away from zero) to
// as many decimals as the fraction part has placeholders; trailing fraction
// zeros are dropped back to the last '0' placeholder. The integer part shows
// every digit of the value and at least as many as it has '0' placeholders
// counted from the first '0'. Returns false when the pattern has any other
// character.
bool placeholderText(bool negative, Decimal d, std::string_view pattern, std::string& out) {
    const auto dot = pattern.find('.');
    const std::string_view intPart = pattern.substr(0, dot);
    const std::string_view fracPart =
        dot == std::string_view::npos ? std::string_view{} : pattern.substr(dot + 1);
    for (char c : intPart)
        if (c != '#' && c != '0') return false;
    for (char c : fracPart)
        if (c != '#' && c != '0') return false;
    if (intPart.empty() && fracPart.empty() && dot == std::string_view::npos) return false;

    int minInt = 0;
    const auto firstZero = intPart.find('0');
    if (firstZero != std::string_view::npos) minInt = static_cast<int>(intPart.size() - firstZero);
    const int decimals = static_cast<int>(fracPart.size());
    const auto lastZero = fracPart.rfind('0');
    const int minDecimals = lastZero == std::string_view::npos ? 0 : static_cast<int>(lastZero) + 1;

    roundDigits(d, d.point + decimals);
    const bool zero = isZero(d);

    std::string intDigits;
    std::string fracDigits;
    const int nd = static_cast<int>(d.digits.size());
    for (int k = 0; k < d.point; ++k) intDigits += k < nd ? d.digits[static_cast<std::size_t>(k)] : '0';
    for (int k = d.point; k < d.point + decimals; ++k)
        fracDigits += (k >= 0 && k < nd) ? d.digits[static_cast<std::size_t>(k)] : '0';
    const auto firstNonZero = intDigits.find_first_not_of('0');
    intDigits = firstNonZero == std::string::npos ? "" : intDigits.substr(firstNonZero);
    while (static_cast<int>(intDigits.size()) < minInt) intDigits.insert(intDigits.begin(), '0');
    while (static_cast<int>(fracDigits.size()) > minDecimals && fracDigits.back() == '0')
        fracDigits.pop_back();

    out.clear();
    if (negative && !zero) out.push_back('-');
    out += intDigits;
    if (dot != std::string_view::npos) {
        out += '.';
        out += fracDigits;
    }
    return true;
}

} // namespace

float ToSingle(std::string_view text) {
    const double value = parseDecimal(text);
    const double limit = static_cast<double>(std::numeric_limits<float>::max());
    if (std::fabs(value) > limit) {
        // Values that still round to the largest float are accepted as it.
        const double roundingEdge = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
        if (std::fabs(value) >= roundingEdge) raise(ErrorCode::Overflow);
        return value < 0 ? -std::numeric_limits<float>::max() : std::numeric_limits<float>::max();
    }
    return static_cast<float>(value);
}

double ToDouble(std::string_view text) { return parseDecimal(text); }

int16_t ToInteger(std::string_view text) { return CInt(parseDecimal(text)); }

namespace {

// The digits a 32-bit float is known by: the shortest decimal of at most 7
// significant digits that reads back as the same float, or 7 digits when none
// does. Near the top of the float range the 7-digit decimal is rounded toward
// zero so that it still reads back as a float.
Decimal floatDecimal(float value) {
    Decimal best;
    if (value == 0.0f) return decimalOf(0.0);
    for (int p = 1; p <= 7; ++p) {
        std::array<char, 64> buf{};
        const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value,
                                       std::chars_format::scientific, p - 1);
        float back = 0.0f;
        const auto parsed = std::from_chars(buf.data(), res.ptr, back);
        best = decimalOf(static_cast<double>(value), p);
        if (parsed.ec == std::errc() && back == value) return best;
    }
    if (best.point == 39 && best.digits > "3402823") {
        best.digits = "3402823";
    }
    return best;
}

std::string placeholderOrRaise(bool negative, const Decimal& d, std::string_view pattern) {
    std::string out;
    if (placeholderText(negative, d, pattern, out)) return out;
    raise(ErrorCode::InvalidCall, "Unsupported number format \"" + std::string(pattern) + "\"");
}

} // namespace

std::string GeneralText(float value) {
    if (!std::isfinite(value)) return nonFiniteText(static_cast<double>(value));
    if (value == 0.0f) return "0";
    // Plain notation from 1E-05 up to 9999999, exponent form outside.
    return generalFromDecimal(value < 0, floatDecimal(value), -5, 6);
}

std::string RoundTripText(float value) {
    if (!std::isfinite(value) || value == 0.0f) return GeneralText(value);
    // The digits of the float rounded to ever more places until the program's
    // own reading gives the float back; 17 digits always do (the float read
    // through the nearest double).
    for (int p = 1; p <= 17; ++p) {
        std::string text = generalFromDecimal(value < 0, decimalOf(static_cast<double>(value), p), -5, 6);
        try {
            if (ToSingle(text) == value) return text;
        } catch (const RuntimeError&) {
            // Rounded up beyond the float range: more digits.
        }
    }
    return GeneralText(value);
}

std::string GeneralText(double value) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (value == 0.0) return "0";
    // Near the top of the double range the 15-digit decimal is rounded toward
    // zero so that it still reads back as a double.
    Decimal d = decimalOf(value, 15);
    if (d.point == 309 && d.digits > "179769313486231") d.digits = "179769313486231";
    // Plain notation from 1E-05 up to 15 integer digits, exponent form outside.
    return generalFromDecimal(value < 0, d, -5, 14);
}

std::string Format(double value, std::string_view pattern) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (equalsIgnoreCase(pattern, "Scientific")) return scientificText(value < 0, decimalOf(value));
    if (equalsIgnoreCase(pattern, "Fixed")) return Format(value, "0.00");
    if (equalsIgnoreCase(pattern, "General Number") || pattern.empty()) return GeneralText(value);
    return placeholderOrRaise(value < 0, decimalOf(value), pattern);
}

std::string Format(float value, std::string_view pattern) {
    if (!std::isfinite(value)) return nonFiniteText(static_cast<double>(value));
    if (equalsIgnoreCase(pattern, "Scientific")) return scientificText(value < 0, floatDecimal(value));
    if (equalsIgnoreCase(pattern, "Fixed")) return Format(value, "0.00");
    if (equalsIgnoreCase(pattern, "General Number") || pattern.empty()) return GeneralText(value);
    return placeholderOrRaise(value < 0, floatDecimal(value), pattern);
}

} // namespace kelvara
