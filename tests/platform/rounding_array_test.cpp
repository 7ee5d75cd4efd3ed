// Half-to-even rounding with overflow, and bounds-checked arrays.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "error_of.h"
#include "platform/checked_array.h"
#include "platform/errors.h"
#include "platform/rounding.h"

using namespace kelvara;
using kelvara::testing::errorOf;


TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double value;
        int16_t expected;
    };
    const Case cases[] = {{100.5, 100}, {101.5, 102}, {-0.5, 0},    {0.5, 0},     {1.5, 2},      {2.5, 2},
                          {-1.5, -2},   {-2.5, -2},   {0.49999999, 0}, {0.50000001, 1}, {-100.5, -100},
                          {499.99999, 500}, {32766.5, 32766}, {-32768.5, -32768}, {32767.4, 32767}};
    for (const auto& c : cases) EXPECT_EQ(CInt(c.value), c.expected) << c.value;
    EXPECT_FALSE(std::signbit(RoundHalfEven(-0.5)));
    EXPECT_EQ(RoundHalfEven(4503599627370497.0), 4503599627370497.0); // beyond 2^52: already whole
    EXPECT_EQ(CLng(2147483647.4), 2147483647);
    EXPECT_EQ(CLng(-2147483648.5), std::numeric_limits<int32_t>::min());
}

TEST(Rounding, DivisionRaisesForZeroDivisorsAndNonFiniteQuotients) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Div(6.0, 3.0), 2.0);
    EXPECT_EQ(Div(-1.0, 4.0), -0.25);
    EXPECT_EQ(errorOf([] { Div(1.0, 0.0); }), ErrorCode::DivisionByZero);
    EXPECT_EQ(errorOf([] { Div(-1.0, 0.0); }), ErrorCode::DivisionByZero);
    EXPECT_EQ(errorOf([] { Div(0.0, 0.0); }), ErrorCode::Overflow);
    EXPECT_EQ(errorOf([&] { Div(nan, 0.0); }), ErrorCode::Overflow);
    EXPECT_EQ(errorOf([&] { Div(nan, 2.0); }), ErrorCode::Overflow);
    EXPECT_EQ(errorOf([] { Div(1e308, 1e-10); }), ErrorCode::Overflow);
}

TEST(Rounding, OutOfRangeAndNonFiniteOverflow) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {32767.5, 32768.0, -32768.6, -40000.0, nan, inf, -inf})
        EXPECT_EQ(errorOf([&] { CInt(v); }), ErrorCode::Overflow) << v;
    for (double v : {2147483647.5, -2147483649.0, nan, inf})
        EXPECT_EQ(errorOf([&] { CLng(v); }), ErrorCode::Overflow) << v;
    for (double v : {1e39, -1e39, nan, inf, -inf})
        EXPECT_EQ(errorOf([&] { CSng(v); }), ErrorCode::Overflow) << v;
    EXPECT_EQ(CSng(0.2), 0.2f);
    EXPECT_EQ(CSng(1e-50), 0.0f);
    EXPECT_EQ(CSng(static_cast<double>(std::numeric_limits<float>::max())), std::numeric_limits<float>::max());
    // A value a hair above the largest float still rounds to it (the usual
    // 8-digit text of the largest float lies there); half a unit above
    // rounds away to infinity and overflows.
    EXPECT_EQ(CSng(3.4028235e38), std::numeric_limits<float>::max());
    EXPECT_EQ(CSng(-3.4028235e38), -std::numeric_limits<float>::max());
    EXPECT_EQ(errorOf([&] { CSng(std::ldexp(1.0, 128) - std::ldexp(1.0, 103)); }), ErrorCode::Overflow);
}

TEST(RuntimeErrors, CarryTheClassicNumberAndMessage) {
    const RuntimeError e(ErrorCode::SubscriptOutOfRange);
    EXPECT_EQ(e.number(), 9);
    EXPECT_STREQ(e.what(), "Subscript out of range");
    EXPECT_EQ(RuntimeError(ErrorCode::InputPastEnd).number(), 62);
    EXPECT_STREQ(RuntimeError(ErrorCode::Overflow, "custom").what(), "custom");
}

TEST(CheckedArray, BoundsAreInclusiveAndEveryOtherIndexRaises) {
    SingleArray spectrum(0, 5000);
    EXPECT_EQ(spectrum.size(), 5001);
    spectrum(0) = 1.0f;
    spectrum[5000] = 2.0f;
    EXPECT_EQ(spectrum(0), 1.0f);
    EXPECT_EQ(spectrum(5000), 2.0f);
    EXPECT_EQ(errorOf([&] { spectrum(5001); }), ErrorCode::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { spectrum(-1); }), ErrorCode::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { spectrum[1LL << 40]; }), ErrorCode::SubscriptOutOfRange);

    IntegerArray rows(1, 20);
    EXPECT_EQ(rows(1), 0);
    EXPECT_EQ(errorOf([&] { rows(0); }), ErrorCode::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { rows(21); }), ErrorCode::SubscriptOutOfRange);
    const IntegerArray& constRows = rows;
    EXPECT_EQ(errorOf([&] { constRows(21); }), ErrorCode::SubscriptOutOfRange);

    CheckedArray<float> empty(1, 0);
    EXPECT_EQ(empty.size(), 0);
    EXPECT_EQ(errorOf([&] { empty(1); }), ErrorCode::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([] { CheckedArray<float>(5, 1); }), ErrorCode::SubscriptOutOfRange);
}

TEST(CheckedArray, ElementOneIsWhatALibraryIndexesFrom) {
    SingleArray a(0, 20);
    for (int i = 0; i <= 20; ++i) a(i) = static_cast<float>(i * 10);
    float* p = a.element1();
    // A library sees element 1 at p[0] and element i at p[i-1].
    EXPECT_EQ(p[0], 10.0f);
    EXPECT_EQ(p[19], 200.0f);
    p[4] = -1.0f;
    EXPECT_EQ(a(5), -1.0f);

    SingleArray b(1, 3);
    EXPECT_EQ(b.element1(), b.data());
    SingleArray c(2, 3);
    EXPECT_EQ(errorOf([&] { c.element1(); }), ErrorCode::SubscriptOutOfRange);

    a.clear();
    for (int i = 0; i <= 20; ++i) EXPECT_EQ(a(i), 0.0f);
}
