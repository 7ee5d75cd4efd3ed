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
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) raise(ErrorCode::Overflow);
    return static_cast<float>(value);
}

} // namespace kelvara
