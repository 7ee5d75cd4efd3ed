#pragma once
// Small helpers shared by the toolkit tests.
#include <initializer_list>

#include "platform/checked_array.h"

namespace kelvara::test {

// A spectrum array (elements 0..upper) holding the given values from E0 in
// steps of dE; elements after the last value hold `fill`.
inline CheckedArray<float> makeSpectrum(float e0, float de, std::initializer_list<float> values, int upper = 40,
                                        float fill = 0.0f) {
    CheckedArray<float> s(0, upper);
    for (int i = 1; i <= upper; ++i) s(i) = fill;
    s(1) = static_cast<float>(values.size());
    s(2) = e0;
    s(3) = de;
    int i = 4;
    for (float v : values) s(i++) = v;
    return s;
}

} // namespace kelvara::test
