// Text to number and the general text of floats.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "platform/errors.h"
#include "platform/numbers.h"
#include "error_of.h"

using namespace kelvara;
using kelvara::testing::errorOf;


TEST(TextToNumber, AcceptedFormsGiveTheNearestFloat) {
    struct Case {
        const char* text;
        float expected;
    };
    const Case cases[] = {
        {"0.2", 0.2f},    {".5", 0.5f},     {"-3", -3.0f},     {"1e-3", 0.001f},   {"1E+05", 100000.0f},
        {" 12 ", 12.0f},  {"\t7\t", 7.0f},  {"+4.25", 4.25f},  {"5.", 5.0f},       {"-.75", -0.75f},
        {"999", 999.0f},  {"0", 0.0f},      {"-0", 0.0f},      {"1d2", 100.0f},    {"2.5E-1", 0.25f},
        {"3.402823E+38", 3.402823e38f},     {"1E-50", 0.0f},   {"0001.500", 1.5f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToSingle(c.text), c.expected) << c.text;
        const std::string t = c.text;
        if (t.find('d') == std::string::npos) {
            EXPECT_EQ(ToDouble(t), std::strtod(t.c_str(), nullptr)) << t;
        }
    }
}

TEST(TextToNumber, TextThatIsNotWhollyANumberIsATypeMismatch) {
    const char* bad[] = {"",     " ",    ".",   "-",     "+",   "1,5",  "1.2.3", "12abc", "abc",  "1e",
                         "1e+",  "e5",   "--1", "1 2",   "inf", "nan",  "0x10",  "&H10",  "1_000", "½"};
    for (const char* text : bad) {
        EXPECT_EQ(errorOf([&] { ToSingle(text); }), ErrorCode::TypeMismatch) << '"' << text << '"';
        EXPECT_EQ(errorOf([&] { ToDouble(text); }), ErrorCode::TypeMismatch) << '"' << text << '"';
        EXPECT_EQ(errorOf([&] { ToInteger(text); }), ErrorCode::TypeMismatch) << '"' << text << '"';
    }
}

TEST(TextToNumber, OutOfRangeIsAnOverflow) {
    EXPECT_EQ(errorOf([] { ToSingle("1e39"); }), ErrorCode::Overflow);
    EXPECT_EQ(errorOf([] { ToSingle("-3.5e38"); }), ErrorCode::Overflow);
    EXPECT_EQ(errorOf([] { ToDouble("1e309"); }), ErrorCode::Overflow);
    EXPECT_EQ(errorOf([] { ToDouble("1000000000000000000000e300"); }), ErrorCode::Overflow);
    EXPECT_EQ(errorOf([] { ToDouble("1e99999999999999999999"); }), ErrorCode::Overflow);
    EXPECT_EQ(ToDouble("0.000001e-400"), 0.0);
    EXPECT_EQ(ToDouble("1e308"), 1e308);
    // The largest float itself, written with more digits than 7, is still a float.
    EXPECT_EQ(ToSingle("3.4028235e38"), std::numeric_limits<float>::max());
}

TEST(TextToNumber, IntegersRoundHalvesToEvenAndOverflowOutside16Bits) {
    EXPECT_EQ(ToInteger("3"), 3);
    EXPECT_EQ(ToInteger(" 2.5 "), 2);
    EXPECT_EQ(ToInteger("3.5"), 4);
    EXPECT_EQ(ToInteger("-2.5"), -2);
    EXPECT_EQ(ToInteger("32767"), 32767);
    EXPECT_EQ(ToInteger("-32768"), -32768);
    EXPECT_EQ(ToInteger("1E+03"), 1000);
    EXPECT_EQ(errorOf([] { ToInteger("32767.5"); }), ErrorCode::Overflow);
    EXPECT_EQ(errorOf([] { ToInteger("40000"); }), ErrorCode::Overflow);
    EXPECT_EQ(errorOf([] { ToInteger("-32768.6"); }), ErrorCode::Overflow);
}

TEST(TextToNumber, DecimalPointIsAPointWhateverTheProcessLocale) {
    // A locale with a decimal comma, when the system has one.
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    const bool switched = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(ToSingle("0.2"), 0.2f);
    EXPECT_EQ(GeneralText(0.2f), "0.2");
    EXPECT_EQ(Format(1.5, "0.00"), "1.50");
    EXPECT_EQ(errorOf([] { ToSingle("0,2"); }), ErrorCode::TypeMismatch);
    std::setlocale(LC_ALL, saved.c_str());
    if (!switched) GTEST_SKIP() << "no decimal-comma locale installed; checked in the C locale only";
}

TEST(GeneralTextOfFloat, Table) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {0.0f, "0"},
        {-0.0f, "0"},
        {0.2f, "0.2"},
        {-0.2f, "-0.2"},
        {0.5f, "0.5"},
        {1.0f, "1"},
        {-3.0f, "-3"},
        {999.0f, "999"},
        {0.001f, "0.001"},
        {100000.0f, "100000"},
        {1.0f / 3.0f, "0.3333333"},
        {2.0f / 3.0f, "0.6666667"},
        {123.456f, "123.456"},
        {0.1f + 0.2f, "0.3"},
        {1234567.0f, "1234567"},
        {9999999.0f, "9999999"},
        {12345678.0f, "1.234568E+07"},
        {10000000.0f, "1E+07"},
        {1.5e8f, "1.5E+08"},
        {1e-5f, "0.00001"},
        {1.25e-5f, "0.0000125"},
        {9.9e-6f, "9.9E-06"},
        {1e-7f, "1E-07"},
        {-2.5e-10f, "-2.5E-10"},
        {std::numeric_limits<float>::max(), "3.402823E+38"},
        {std::numeric_limits<float>::denorm_min(), "1E-45"},
        {1e-38f, "1E-38"},
        {9999999.5f, "1E+07"}, // rounds up into the exponent range at 7 digits
    };
    for (const auto& c : cases) EXPECT_EQ(GeneralText(c.value), c.text) << c.value;
}

TEST(GeneralTextOfFloat, ReadsBackWithinSevenDigitsAndExactlyWhenSevenSuffice) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> mant(1.0, 10.0);
    std::uniform_int_distribution<int> expo(-40, 37);
    for (int k = 0; k < 20000; ++k) {
        const float v = static_cast<float>(mant(rng) * std::pow(10.0, expo(rng)) * (k % 2 ? -1 : 1));
        if (!std::isfinite(v) || v == 0.0f) continue;
        const std::string text = GeneralText(v);
        const float back = ToSingle(text);
        EXPECT_LE(std::fabs(static_cast<double>(back) - v), 5.7e-7 * std::fabs(static_cast<double>(v)) +
                                                               static_cast<double>(std::numeric_limits<float>::denorm_min()))
            << text;
    }
    // A float read from a decimal of at most 6 digits is written with no more
    // digits than that decimal and reads back as the same float.
    std::uniform_int_distribution<int> six(1, 999999);
    for (int k = 0; k < 20000; ++k) {
        const std::string decimal = std::to_string(six(rng)) + "E" + std::to_string(expo(rng) - 5);
        const float f = ToSingle(decimal);
        if (f == 0.0f || f < std::numeric_limits<float>::min()) continue;
        const std::string text = GeneralText(f);
        EXPECT_EQ(ToSingle(text), f) << decimal << " -> " << text;
        const auto significantDigits = [](std::string t) {
            t = t.substr(0, t.find('E'));
            std::string digits;
            for (char ch : t)
                if (ch >= '0' && ch <= '9') digits += ch;
            digits.erase(0, digits.find_first_not_of('0'));
            while (!digits.empty() && digits.back() == '0') digits.pop_back();
            return static_cast<int>(digits.size());
        };
        EXPECT_LE(significantDigits(text), significantDigits(decimal)) << decimal << " -> " << text;
    }
}

// Where 7 digits do not give the float back, the text a model value is shown
// and written in takes the 8 or 9 it needs; otherwise it is the general text.
TEST(RoundTripTextOfFloat, ShortestTextThatReadsBackAsTheSameFloat) {
    const struct {
        float value;
        const char* text;
    } cases[] = {{15.8123456f, "15.8123455"},
                 {50.0f / 3.5f, "14.285714"},
                 {12345678.0f, "1.2345678E+07"},
                 {std::numeric_limits<float>::max(), "3.4028235E+38"},
                 {15.8f, "15.8"},
                 {-0.0f, "0"}};
    for (const auto& c : cases) EXPECT_EQ(RoundTripText(c.value), c.text) << c.value;
    std::mt19937 rng(54321);
    std::uniform_real_distribution<double> mant(1.0, 10.0);
    std::uniform_int_distribution<int> expo(-45, 38);
    for (int k = 0; k < 20000; ++k) {
        const float v = static_cast<float>(mant(rng) * std::pow(10.0, expo(rng)) * (k % 2 ? -1 : 1));
        if (!std::isfinite(v) || v == 0.0f) continue;
        const std::string text = RoundTripText(v);
        EXPECT_EQ(ToSingle(text), v) << text;
        if (ToSingle(GeneralText(v)) == v) {
            EXPECT_EQ(text, GeneralText(v));
        }
    }
}

TEST(GeneralTextOfDouble, FifteenDigits) {
    EXPECT_EQ(GeneralText(0.1), "0.1");
    EXPECT_EQ(GeneralText(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(GeneralText(static_cast<double>(0.2f)), "0.200000002980232");
    EXPECT_EQ(GeneralText(123456789012345.0), "123456789012345");
    EXPECT_EQ(GeneralText(1234567890123456.0), "1.23456789012346E+15");
    EXPECT_EQ(GeneralText(-1e-7), "-1E-07");
    EXPECT_EQ(GeneralText(1e100), "1E+100");
    EXPECT_EQ(GeneralText(0.0), "0");
}

// The largest double (1.7976931348623157E+308) rounds up to a 15-digit text
// beyond the range; its text is cut toward zero so that it reads back.
TEST(GeneralTextOfDouble, LargestReadsBack) {
    for (double v : {std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                     std::nextafter(std::numeric_limits<double>::max(), 0.0)}) {
        const std::string text = GeneralText(v);
        EXPECT_EQ(text, v > 0 ? "1.79769313486231E+308" : "-1.79769313486231E+308");
        EXPECT_NEAR(ToDouble(text) / v, 1.0, 1e-14) << text;
    }
}
