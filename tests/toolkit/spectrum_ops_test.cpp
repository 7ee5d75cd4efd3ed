// Spectrum operations of the toolkit: arithmetic, regridding, truncation,
// maxima, transmission corrections, areas and interpolation.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "platform/errors.h"
#include "toolkit/tools.h"
#include "toolkit_test_support.h"
#include "error_of.h"

using kelvara::CheckedArray;
using kelvara::ErrorCode;
using kelvara::RuntimeError;
using kelvara::Tools_cls;
using kelvara::test::makeSpectrum;
using kelvara::testing::errorOf;


TEST(SpectrumOps, PointWiseArithmeticKeepsFirstHeader) {
    Tools_cls t;
    auto a = makeSpectrum(10.0f, 0.5f, {1, 2, 3});
    auto b = makeSpectrum(-4.0f, 2.0f, {10, 20, 30, 40, 50});
    CheckedArray<float> out(0, 40);
    out(7) = -99;

    t.AddSpectra(a, b, out);
    EXPECT_EQ(out(1), 3.0f);
    EXPECT_EQ(out(2), 10.0f);
    EXPECT_EQ(out(4), 11.0f);
    EXPECT_EQ(out(6), 33.0f);
    EXPECT_EQ(out(7), -99.0f) << "only N points are written";

    t.SubtractSpectra(a, b, out);
    EXPECT_EQ(out(5), -18.0f);

    // In place: the output may be the first input.
    t.Multiply(a, a, 4.0f);
    EXPECT_EQ(a(6), 12.0f);

    // The count is rounded half to even: 2.5 -> 2 points, 3.5 -> 4 points.
    auto c = makeSpectrum(0, 1, {1, 1, 1, 1, 1});
    CheckedArray<float> o2(0, 40);
    c(1) = 2.5f;
    t.Multiply(c, o2, 3.0f);
    EXPECT_EQ(o2(1), 2.5f) << "the count keeps its float value";
    EXPECT_EQ(o2(5), 3.0f);
    EXPECT_EQ(o2(6), 0.0f);
    c(1) = 3.5f;
    t.Multiply(c, o2, 3.0f);
    EXPECT_EQ(o2(7), 3.0f);

    // A second operand shorter than the count, a float overflow and a count
    // beyond 16 bits are raised; what was written before stays.
    CheckedArray<float> shortB(0, 5);
    shortB(4) = 1;
    shortB(5) = 1;
    out.clear();
    EXPECT_EQ(errorOf([&] { t.AddSpectra(a, shortB, out); }), ErrorCode::SubscriptOutOfRange);
    EXPECT_EQ(out(5), 9.0f);
    auto big = makeSpectrum(0, 1, {3e38f, 1});
    EXPECT_EQ(errorOf([&] { t.Multiply(big, out, 10.0f); }), ErrorCode::Overflow);
    big(1) = 40000;
    EXPECT_EQ(errorOf([&] { t.Multiply(big, out, 1.0f); }), ErrorCode::Overflow);

    // Energy shift sets the first energy only.
    t.EnergyShiftSpectrum(b, 1.5f, 100.25);
    EXPECT_EQ(b(2), 101.75f);
}

TEST(SpectrumOps, TruncateAboveBelowAndInside) {
    Tools_cls t;
    auto s = makeSpectrum(0.0f, 1.0f, {5, 6, 7, 8, 9});
    CheckedArray<float> out(0, 40);

    t.Truncate(s, out, 100.0f);
    EXPECT_EQ(out(1), 5.0f);
    EXPECT_EQ(out(8), 9.0f);

    out.clear();
    t.Truncate(s, out, -3.0f);
    EXPECT_EQ(out(1), 1.0f) << "the first point is always copied";
    EXPECT_EQ(out(4), 5.0f);
    EXPECT_EQ(out(5), 0.0f);

    out.clear();
    t.Truncate(s, out, 2.5f); // points at 0, 1, 2; the next one (3) lies above
    EXPECT_EQ(out(1), 3.0f);
    EXPECT_EQ(out(6), 7.0f);
    EXPECT_EQ(out(7), 0.0f);
}

TEST(SpectrumOps, MaximaOfZeroNegativeAndOrdinarySpectra) {
    Tools_cls t;
    float e = -7;
    auto peak = makeSpectrum(10.0f, 1.0f, {1, 5, 5, 2});
    EXPECT_TRUE(t.FindMax(peak, e));
    EXPECT_EQ(e, 11.0f) << "first of equal maxima, at E0 + (i-1)*dE";

    auto zeros = makeSpectrum(10.0f, 1.0f, {0, 0, 0});
    auto minus = makeSpectrum(20.0f, 1.0f, {-1, -1, -1});
    EXPECT_TRUE(t.FindMax(zeros, e));
    EXPECT_EQ(e, 10.0f);
    EXPECT_TRUE(t.FindMax(minus, e));
    EXPECT_EQ(e, 20.0f) << "no maximum found: E0";

    // A count larger than the array ends FindMax quietly; MaxEnergy keeps its value.
    CheckedArray<float> shortSpec(0, 5);
    shortSpec(1) = 10;
    e = 123;
    EXPECT_FALSE(t.FindMax(shortSpec, e));
    EXPECT_EQ(e, 123.0f);

    // NormalizeSpectra: all-zero first spectrum has its maximum 0 at element 4.
    CheckedArray<float> out(0, 40);
    float f = 0;
    int16_t i1 = 99, i2 = 99;
    t.NormalizeSpectra(zeros, peak, out, f, i1, i2);
    EXPECT_EQ(i1, 4);
    EXPECT_EQ(i2, 5);
    EXPECT_EQ(f, 0.0f);
    EXPECT_EQ(out(2), 10.0f);
    EXPECT_EQ(out(5), 0.0f);

    t.NormalizeSpectra(peak, peak, out, f, i1, i2);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(out(7), 2.0f);

    // All -1: no maximum, indices untouched, division by the start value.
    i1 = 99;
    i2 = 77;
    t.NormalizeSpectra(peak, minus, out, f, i1, i2);
    EXPECT_EQ(i1, 5);
    EXPECT_EQ(i2, 77);
    EXPECT_FLOAT_EQ(f, 5.0f / -2.2E-29f);
    EXPECT_FLOAT_EQ(out(4), -f);
    EXPECT_EQ(out(2), 20.0f);

    // A zero maximum of the second spectrum is a division by zero.
    EXPECT_EQ(errorOf([&] { t.NormalizeSpectra(peak, zeros, out, f, i1, i2); }), ErrorCode::DivisionByZero);
    EXPECT_NE(errorOf([&] { t.NormalizeSpectra(zeros, zeros, out, f, i1, i2); }), ErrorCode::ApplicationDefined);
}

TEST(SpectrumOps, InterpolationEquidistantAndTabulatedAgree) {
    Tools_cls t;
    // E0 = 2, dE = 0.5, values 1, 4, 2, 3, 7.
    auto s = makeSpectrum(2.0f, 0.5f, {1, 4, 2, 3, 7});
    float y = 0;
    t.Interpolate(1.5f, y, s);
    EXPECT_EQ(y, 2 * 1.0f - 4.0f) << "E0 - dE: 2*S(4) - S(5)";
    t.Interpolate(4.5f, y, s);
    EXPECT_EQ(y, 2 * 7.0f - 3.0f) << "Elast + dE: 2*S(N+3) - S(N+2)";
    t.Interpolate(4.0f, y, s);
    EXPECT_EQ(y, 7.0f);

    // The same curve as a table: both routines must agree everywhere.
    CheckedArray<float> eh(0, 10), sh(0, 10);
    for (int i = 1; i <= 5; ++i) {
        eh(i) = 2.0f + 0.5f * static_cast<float>(i - 1);
        sh(i) = s(i + 3);
    }
    for (float e = 0.0f; e <= 6.0f; e += 0.125f) {
        float ya = 0, yb = 0;
        t.Interpolate(e, ya, s);
        t.Interp_non_equid(e, yb, eh, sh, 5, 0.5f);
        EXPECT_NEAR(ya, yb, 1e-5f) << "E = " << e;
    }

    // A non-equidistant table: tabulated abscissae give their values.
    CheckedArray<float> ex(0, 4), sx(0, 4);
    ex(1) = 0; ex(2) = 1; ex(3) = 4; ex(4) = 5;
    sx(1) = 0; sx(2) = 2; sx(3) = 5; sx(4) = 3;
    t.Interp_non_equid(4.0f, y, ex, sx, 4, 0);
    EXPECT_EQ(y, 5.0f);
    t.Interp_non_equid(2.5f, y, ex, sx, 4, 0);
    EXPECT_EQ(y, 3.5f);
    t.Interp_non_equid(6.0f, y, ex, sx, 4, 0);
    EXPECT_EQ(y, 1.0f);

    // One point is not enough: the second point is read past the array.
    auto one = makeSpectrum(2.0f, 0.0f, {1}, 4);
    EXPECT_EQ(errorOf([&] { t.Interpolate(1.0f, y, one); }), ErrorCode::SubscriptOutOfRange);
}

TEST(SpectrumOps, ChangeEnergyGridResamplesAndExtrapolates) {
    Tools_cls t;
    // A straight line y = 2E + 1 on E = 0, 0.5, .., 2; interpolation is exact.
    auto s = makeSpectrum(0.0f, 0.5f, {1, 2, 3, 4, 5});
    CheckedArray<float> out(0, 60);
    out.clear();
    t.ChangeEnergyGrid(s, out, 0.5f);
    EXPECT_EQ(out(1), 6.0f) << "same step: N points plus one at E0 + N*dE";
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(out(i + 3), static_cast<float>(i)) << i;
    EXPECT_EQ(out(10), 7.0f) << "the first energy above the top is written, not counted";
    EXPECT_EQ(out(11), 0.0f);

    t.ChangeEnergyGrid(s, out, 0.25f);
    EXPECT_EQ(out(1), 11.0f);
    for (int i = 1; i <= 11; ++i) EXPECT_FLOAT_EQ(out(i + 3), 1.0f + 0.5f * static_cast<float>(i - 1));

    // A step that never advances runs into the end of the output array.
    CheckedArray<float> small(0, 30);
    EXPECT_EQ(errorOf([&] { t.ChangeEnergyGrid(s, small, 0.0f); }), ErrorCode::SubscriptOutOfRange);
}

TEST(SpectrumOps, TransmissionCorrections) {
    Tools_cls t;
    auto s = makeSpectrum(1.0f, 1.0f, {2, 2, 2, 2});
    CheckedArray<float> a(0, 40), b(0, 40);

    // Multiplying by E^m with m = -1 equals dividing by a transmission T(E) = E.
    EXPECT_TRUE(t.AnalyzerTransmission_by_exponent_m(s, a, -1.0f));
    auto trans = makeSpectrum(0.0f, 2.0f, {0, 2}); // T(E) = E, extrapolated linearly
    t.AnalyzerTransmission_by_File(s, b, trans);
    for (int j = 1; j <= 7; ++j) EXPECT_FLOAT_EQ(a(j), b(j)) << j;
    EXPECT_FLOAT_EQ(a(7), 0.5f);

    EXPECT_TRUE(t.AnalyzerTransmission_by_exponent_m(s, a, 2.0f));
    EXPECT_FLOAT_EQ(a(6), 2.0f * 9.0f);

    // A loss spectrum starting at 0 stops at its first point: only the header.
    auto loss = makeSpectrum(0.0f, 1.0f, {1, 1, 1});
    for (int j = 0; j <= 40; ++j) a(j) = -5;
    EXPECT_FALSE(t.AnalyzerTransmission_by_exponent_m(loss, a, 1.0f));
    EXPECT_EQ(a(1), 3.0f);
    EXPECT_EQ(a(2), 0.0f);
    EXPECT_EQ(a(3), 1.0f);
    EXPECT_EQ(a(4), -5.0f);

    // A count whose last element index leaves 16 bits overflows before any
    // point is written (the header is already written).
    auto huge = makeSpectrum(1.0f, 1.0f, {2, 2});
    huge(1) = 32766;
    for (int j = 0; j <= 40; ++j) a(j) = b(j) = -5;
    EXPECT_EQ(errorOf([&] { t.AnalyzerTransmission_by_File(huge, b, trans); }), ErrorCode::Overflow);
    EXPECT_FALSE(t.AnalyzerTransmission_by_exponent_m(huge, a, 1.0f));
    EXPECT_EQ(b(1), 32766.0f);
    EXPECT_EQ(b(4), -5.0f);
    EXPECT_EQ(a(4), -5.0f);

    // A transmission of 0 is a division by zero raised to the caller.
    auto zeroT = makeSpectrum(0.0f, 1.0f, {0, 0});
    EXPECT_EQ(errorOf([&] { t.AnalyzerTransmission_by_File(s, b, zeroT); }), ErrorCode::DivisionByZero);
}

TEST(SpectrumOps, CopyAndArea) {
    Tools_cls t;
    auto s = makeSpectrum(7.0f, 0.5f, {1, 2, 3});
    CheckedArray<float> c(0, 40);
    c(7) = 42;
    t.CopyArray(s, c);
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(c(i), s(i));
    EXPECT_EQ(c(7), 42.0f);

    float area = -1;
    t.AREA(s, area);
    EXPECT_EQ(area, 3.0f) << "rectangle rule: dE * (1 + 2 + 3)";
    auto empty = makeSpectrum(7.0f, 0.5f, {});
    t.AREA(empty, area);
    EXPECT_EQ(area, 0.0f);
}
