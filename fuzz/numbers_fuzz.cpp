// Fuzz target: text-to-number conversion (ToDouble, ToSingle, ToInteger) on
// any text, with the general text and the formats of what was read. Checks
// that the three conversions agree on what is a number and that the general
// text of a value reads back as (nearly) the same value.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/errors.h"
#include "platform/numbers.h"

using namespace kelvara;

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void formats(double value) {
    for (const char* pattern : {"0.00", "0.000", "###0.000", "Scientific", "#.#0", "##.###", "Fixed", "General Number"}) {
        (void)Format(value, pattern);
        (void)Format(static_cast<float>(value), pattern);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    bool isNumber = false;
    double d = 0.0;
    try {
        d = ToDouble(text);
        isNumber = true;
        check(std::isfinite(d));
    } catch (const RuntimeError& e) {
        check(e.code() == ErrorCode::TypeMismatch || e.code() == ErrorCode::Overflow);
    }

    try {
        const float f = ToSingle(text);
        check(isNumber && std::isfinite(f));
        // Read back from its general text.
        const float back = ToSingle(GeneralText(f));
        if (std::fabs(f) >= FLT_MIN) check(std::fabs(back - f) <= 1e-6f * std::fabs(f));
    } catch (const RuntimeError& e) {
        // Only a text that is not a number, or one beyond the float range.
        check(!isNumber || std::fabs(d) > static_cast<double>(FLT_MAX));
        check(e.code() == ErrorCode::TypeMismatch || e.code() == ErrorCode::Overflow);
    }

    try {
        const int16_t i = ToInteger(text);
        check(isNumber && std::fabs(d - i) <= 0.5);
    } catch (const RuntimeError& e) {
        check(!isNumber || std::fabs(d) >= 32767.5);
    }

    if (isNumber) {
        const double back = ToDouble(GeneralText(d));
        check(std::fabs(back - d) <= 1e-14 * std::fabs(d) || std::fabs(d) < DBL_MIN);
        formats(d);
    }
    return 0;
}
