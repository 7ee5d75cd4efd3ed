// The number formats of screen texts and result lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "platform/errors.h"
#include "platform/numbers.h"

using namespace kelvara;

namespace {
struct Case {
    double value;
    const char* text;
};
void expectTable(const char* pattern, std::initializer_list<Case> cases) {
    for (const auto& c : cases) EXPECT_EQ(Format(c.value, pattern), c.text) << pattern << " of " << c.value;
}
} // namespace

TEST(Format, TwoAndThreeFixedDecimals) {
    expectTable("0.00", {{0.0, "0.00"},       {1.0, "1.00"},          {0.5, "0.50"},      {12.345678, "12.35"},
                         {-3.14159, "-3.14"}, {0.004, "0.00"},        {-0.004, "0.00"},   {0.005, "0.01"},
                         {2.675, "2.68"},     {9.999, "10.00"},       {123456.0, "123456.00"},
                         {1e20, "100000000000000000000.00"},          {static_cast<double>(18.345f), "18.34"}});
    expectTable("0.000", {{0.0, "0.000"}, {1.23456, "1.235"}, {-0.0005, "-0.001"}, {0.1, "0.100"}});
    // Leading '#' add nothing: no padding, a zero before the point stays.
    expectTable("###0.000", {{0.0, "0.000"},        {0.25, "0.250"},   {12.3456, "12.346"},
                             {12345.6789, "12345.679"}, {-1.5, "-1.500"}, {999.9996, "1000.000"}});
}

TEST(Format, FloatsAreFormattedFromTheDigitsTheyAreKnownBy) {
    // 18.345f lies just below 18.345; as a float it is known as "18.345".
    EXPECT_EQ(Format(18.345f, "0.00"), "18.35");
    EXPECT_EQ(Format(2.675f, "0.00"), "2.68");
    EXPECT_EQ(Format(0.0125f, "Scientific"), "1.25E-02");
    EXPECT_EQ(Format(0.3f, "##.###"), ".3");
    EXPECT_EQ(Format(-0.5f, "#.#0"), "-.50");
    EXPECT_EQ(Format(std::numeric_limits<float>::max(), "Scientific"), "3.40E+38");
    EXPECT_EQ(Format(1234.5678f, "###0.000"), "1234.568");
    EXPECT_EQ(Format(25, "#.#0"), "25.00"); // whole numbers take the double path
    for (float v : {0.1f, 1.0f / 3.0f, 123.456f, 1e-3f, 7.77e-7f})
        EXPECT_EQ(Format(v, "Scientific"), Format(ToDouble(GeneralText(v)), "Scientific")) << v;
}

TEST(Format, OptionalDigitPlaceholders) {
    // '#' shows a digit only when it is significant; '0' always shows one.
    expectTable("#.#0", {{0.5, ".50"},  {0.0, ".00"},   {25.0, "25.00"}, {2.456, "2.46"},
                         {-0.5, "-.50"}, {0.05, ".05"}, {99.999, "100.00"}});
    expectTable("##.###", {{2.5, "2.5"},     {0.0, "."},     {0.1, ".1"},         {1000.0, "1000."},
                           {12.3456, "12.346"}, {-0.25, "-.25"}, {0.0004, "."},   {0.0005, ".001"},
                           {123456.7, "123456.7"}, {static_cast<double>(0.3f), ".3"}});
}

TEST(Format, ScientificHasTwoDecimalsAndASignedTwoDigitExponent) {
    for (const char* name : {"Scientific", "scientific"}) {
        expectTable(name, {{0.0123, "1.23E-02"},  {0.0, "0.00E+00"},   {1.0, "1.00E+00"},
                           {-0.0123, "-1.23E-02"}, {123456.0, "1.23E+05"}, {9.999, "1.00E+01"},
                           {0.00995, "9.95E-03"},  {0.009995, "1.00E-02"}, {1e100, "1.00E+100"},
                           {1.5e-300, "1.50E-300"}, {static_cast<double>(0.1f), "1.00E-01"},
                           {-1e-20, "-1.00E-20"},   {2.345, "2.35E+00"}});
    }
}

TEST(Format, LabelsReadBackAsTheRoundedValue) {
    // Tick labels are read back as numbers: the text must convert exactly to the rounded value.
    for (double v = -5.0; v <= 5.0; v += 0.37) {
        EXPECT_NEAR(ToDouble(Format(v, "Scientific")), v, 0.005 * std::max(1.0, std::fabs(v)));
        EXPECT_NEAR(ToDouble(Format(v, "0.00")), v, 0.005 + 1e-12);
    }
}

TEST(Format, UnknownPatternIsAnInvalidCall) {
    try {
        Format(1.0, "#,##0.00 kg");
        FAIL() << "no error raised";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.code(), ErrorCode::InvalidCall);
    }
}
