#include "platform/rounding.h"

#include <cmath>
#include <limits>

#include "platform/errors.h"

namespace kelvara {

double RoundHalfEven(double value) {
    double r = std::nearbyint(value); // default rounding mode: to nearest, ties to even
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        double lo = std::floor(value);
        r = (std::fmod(lo, 2.0) == 0.0) ? lo : lo + 1.0;
    }
    return r;
}

int16_t CInt(double value) {
    if (!std::isfinite(value)) raise(ErrorCode::Overflow);
    double r = RoundHalfEven(value);
    if (r < -32768.0 || r > 32767.0) raise(ErrorCode::Overflow);
    return static_cast<int16_t>(r);
}

int32_t CLng(double value) {
    if (!std::isfinite(value)) raise(ErrorCode::Overflow);
    double r = RoundHalfEven(value);
    if (r < -2147483648.0 || r > 2147483647.0) raise(ErrorCode::Overflow);
    return static_cast<int32_t>(r);
}

float CSng(double value) {
    if (!std::isfinite(value)) raise(ErrorCode::Overflow);
    // Overflow only when the value does not round to a finite float: values a
    // hair above the largest float (less than half a unit in its last place)
    // round down to it.
    const double roundingEdge = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
    if (std::fabs(value) >= roundingEdge) raise(ErrorCode::Overflow);
    return static_cast<float>(value);
}

double Div(double a, double b) {
    if (b == 0.0) raise(a == 0.0 || std::isnan(a) ? ErrorCode::Overflow : ErrorCode::DivisionByZero);
    const double q = a / b;
    if (!std::isfinite(q)) raise(ErrorCode::Overflow);
    return q;
}

} // namespace kelvara
