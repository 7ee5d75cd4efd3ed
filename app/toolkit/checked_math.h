#pragma once
// Checked arithmetic shared by the toolkit's operations: 16-bit counts and
// indices that raise Overflow when they leave -32768..32767, and float results
// that raise Overflow, Division by zero or Invalid procedure call.
#include <cmath>
#include <cstdint>

#include "platform/checked_array.h"
#include "platform/errors.h"
#include "platform/rounding.h"

namespace kelvara::toolkit_detail {

// A 16-bit integer result (a counter step or an index sum).
inline int16_t I16(long long v) {
    if (v < -32768 || v > 32767) raise(ErrorCode::Overflow);
    return static_cast<int16_t>(v);
}

// The point count held in element 1 of a spectrum array.
inline int16_t Count(const CheckedArray<float>& s) { return CInt(s(1)); }

// The platform's quotient (platform/rounding.h), stored as a float.
inline float SingleDiv(double a, double b) { return CSng(::kelvara::Div(a, b)); }

} // namespace kelvara::toolkit_detail
