#include "shared/plot.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <tuple>
#include <vector>

#include "shared/plot_readout.h"
#include "test_app.h"
#include "widgets/picturebox.h"
#include "widgets/twips.h"

using namespace kelvara;

namespace {

QApplication& app() { return kelvara::testing::TestApp(); }

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kZeroLine = qRgb(25, 0, 255);

SingleArray Spectrum(float e0, float de, const std::vector<float>& values) {
    SingleArray a(0, 5000);
    a(1) = static_cast<float>(values.size());
    a(2) = e0;
    a(3) = de;
    for (std::size_t k = 0; k < values.size(); ++k) a(static_cast<long long>(k) + 4) = values[k];
    return a;
}

// n values running evenly from lo to hi.
std::vector<float> Ramp(int n, float lo, float hi) {
    std::vector<float> v(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) v[static_cast<std::size_t>(k)] = lo + (hi - lo) * k / (n - 1);
    return v;
}

struct AppFirst {
    AppFirst() { app(); }
};

struct Fixture : AppFirst {
    Fixture(int w = 660, int h = 440) {
        box.resize(w, h);
        box.cls();
        for (int j = 0; j <= 6; ++j) steps(j) = kSteps[j];
    }
    void draw(const SingleArray& s, int32_t colour) { plot.draw(box, s, colour, shared); }
    // Pixel holding a user point.
    QPoint at(double x, double y) const {
        return {static_cast<int>(std::floor(box.toPixelX(x))), static_cast<int>(std::floor(box.toPixelY(y)))};
    }
    QRgb pixel(double x, double y) const {
        const QPoint p = at(x, y);
        return box.image().pixel(p);
    }
    // Pixels of the image within a user rectangle that satisfy pred.
    int count(double x0, double y0, double x1, double y1, const std::function<bool(QRgb)>& pred) const {
        const QPoint a = at(x0, y1), b = at(x1, y0);
        int n = 0;
        for (int y = std::max(0, a.y()); y <= std::min(box.image().height() - 1, b.y()); ++y)
            for (int x = std::max(0, a.x()); x <= std::min(box.image().width() - 1, b.x()); ++x)
                if (pred(box.image().pixel(x, y))) ++n;
        return n;
    }
    double rx() const { return ScreenWidthTwips() / WidthTwips(&box); }
    double ry() const { return ScreenHeightTwips() / HeightTwips(&box); }

    static constexpr int16_t kSteps[7] = {200, 100, 50, 20, 10, 5, 1};
    PictureBox box;
    Plot plot;
    int16_t autoScale = -1;
    IntegerArray steps{0, 6};
    PlotShared shared{autoScale, steps};
};

bool Ink(QRgb c) { return c != kWhite; }

} // namespace

TEST(PlotTicks, StepIsTheTableEntryNearestToAEleventhOfTheWidth) {
    Fixture f;
    struct Case {
        float width;
        float step;
    };
    // 50/11 = 4.55 -> 5; 82.5/11 = 7.5 lies halfway between 10 and 5 and
    // 165/11 = 15 halfway between 20 and 10: the larger one wins.
    const Case cases[] = {{11, 1},   {50, 5},   {55, 5},   {82.5f, 10}, {100, 10},  {110, 10},
                          {165, 20}, {220, 20}, {550, 50}, {1100, 100}, {2200, 200}};
    for (const Case& c : cases) {
        Plot p;
        p.PlotXRange = c.width;
        p.chooseTickStep(f.steps);
        EXPECT_EQ(p.TickStep, c.step) << c.width;
    }
    // No entry nearer than the first one: the step of the previous drawing
    // stays (none chosen yet: 0).
    Plot p;
    p.PlotXRange = 4400;
    p.chooseTickStep(f.steps);
    EXPECT_EQ(p.TickStep, 0.0f);
    p.TickStep = 20;
    p.chooseTickStep(f.steps);
    EXPECT_EQ(p.TickStep, 20.0f);
}

TEST(PlotTicks, FirstTickFollowsTheDecimalRules) {
    struct Case {
        float e0, width, step, first;
    };
    const Case cases[] = {
        {0, 11, 1, 1},
        {0, 50, 5, 0},
        {0, 100, 10, 0},
        {0, 220, 20, 0},
        {23, 55, 5, 20},
        {4, 55, 5, 5},
        {0.5f, 110, 10, 0},
        {30, 110, 10, 30},
        {29, 110, 10, 30},
        {130, 550, 50, 150},
        {180, 550, 50, 200},
        {1100, 1100, 100, 1100},
        {120, 1100, 100, 150},
        {180, 1100, 100, 200},
        // Wide axes from 0: the rule's text head has a negative length; the
        // first multiple of the step at or above the start is taken.
        {0, 550, 50, 0},
        {0, 1100, 100, 0},
        {0, 2200, 200, 0},
        // An empty text read as a number (5 with step 10) and a rule whose
        // tick lies far right of the axis (1180.5 with step 50 gives 11900).
        {5, 110, 10, 10},
        {1180.5f, 550, 50, 1200},
        // Curves that start at their first loss: ticks on the multiples of
        // the step (the rules would give 1, 25 and 50).
        {0.2f, 100, 10, 0},
        {0.2f, 550, 50, 0},
        {0.5f, 1100, 100, 0},
        {12.3f, 110, 10, 20},
    };
    for (const Case& c : cases) {
        Plot p;
        p.PlotE0 = c.e0;
        p.PlotXRange = c.width;
        p.TickStep = c.step;
        p.chooseFirstTick();
        EXPECT_EQ(p.FirstTick, c.first) << c.e0 << " step " << c.step;
    }
    EXPECT_EQ(SignedTickText(0.5f), " .5");
    EXPECT_EQ(SignedTickText(123.0f), " 123");
    EXPECT_EQ(SignedTickText(-0.25f), "-.25");
    EXPECT_EQ(TickText(0.5f), "0.5");
}

TEST(PlotDrawing, CalculatedCurveHasAxesZeroLineCurveTicksAndLabels) {
    Fixture f;
    f.box.setDrawWidth(1);
    // First energy 0, step 0.5, 100 points running from -1 to 1.
    const SingleArray s = Spectrum(0, 0.5f, Ramp(100, -1, 1));
    f.draw(s, 12);

    EXPECT_EQ(f.plot.PlotN, 100);
    EXPECT_EQ(f.plot.PlotXRange, 50.0f);
    EXPECT_EQ(f.plot.TickStep, 5.0f);
    EXPECT_EQ(f.plot.FirstTick, 0.0f);
    EXPECT_DOUBLE_EQ(f.plot.PlotYMin, -1);
    EXPECT_DOUBLE_EQ(f.plot.PlotYMax, 1);
    EXPECT_DOUBLE_EQ(f.plot.PlotYRange, 2);

    // The user scale: 0..100 both ways inside margins that scale with the
    // screen-to-box ratio.
    EXPECT_NEAR(f.box.scaleLeft(), -7 * f.rx(), 1e-9);
    EXPECT_NEAR(f.box.scaleTop(), 100 + 3 * f.ry(), 1e-9);
    EXPECT_NEAR(f.box.scaleWidth(), 100 + 11 * f.rx(), 1e-9);
    EXPECT_NEAR(f.box.scaleHeight(), -(100 + 7 * f.ry()), 1e-9);

    // Axes in black.
    EXPECT_EQ(f.pixel(0, 75), kBlack);
    EXPECT_EQ(f.pixel(0, 30), kBlack);
    EXPECT_EQ(f.pixel(45, 0), kBlack);
    // Zero line at half height for data from -1 to 1, away from the curve.
    EXPECT_EQ(f.pixel(15, 50), kZeroLine);
    EXPECT_EQ(f.pixel(90, 50), kZeroLine);
    EXPECT_EQ(f.pixel(15, 51.5), kWhite);
    // The curve in palette colour 12: point k at x = k, y = (v + 1) / 2 * 100.
    for (int k : {20, 70, 95}) {
        const double y = (s(k + 4) + 1.0) / 2.0 * 100.0;
        EXPECT_EQ(f.pixel(k, y), QBColor(12)) << k;
    }
    // Tick marks for 0, 5, ..., 50 at x = 0, 10, ..., 100, none between.
    const double markY = f.ry() / 2;
    for (int x = 10; x <= 100; x += 10) EXPECT_EQ(f.pixel(x, markY), kBlack) << x;
    for (int x = 15; x <= 95; x += 10) EXPECT_EQ(f.pixel(x, markY), kWhite) << x;
    // A label below every tick, nothing below the axis between them.
    for (int x = 10; x <= 100; x += 10) EXPECT_GT(f.count(x - 1, -3 * f.ry(), x + 1, -0.3 * f.ry(), Ink), 0) << x;
    EXPECT_EQ(f.count(3, -3 * f.ry(), 5.5, -0.3 * f.ry(), Ink), 0);
    // Eleven y labels left of the axis, marks at their values.
    for (int j = 0; j <= 100; j += 10) {
        EXPECT_GT(f.count(-6.5 * f.rx(), j - 1, -0.6 * f.rx(), j + 1, Ink), 0) << j;
        EXPECT_EQ(f.pixel(f.rx() / 2, j), kBlack) << j;
    }

    if (const char* png = std::getenv("KELVARA_PLOT_PNG")) f.box.image().save(png);

    // Cls leaves the picture all white.
    f.box.cls();
    EXPECT_EQ(f.count(-20, -20, 120, 120, Ink), 0);
}

TEST(PlotDrawing, ConstantOrEmptySpectrumDrawsTheAxesOnly) {
    for (const std::vector<float>& values : {std::vector<float>(40, 3.0f), std::vector<float>{}}) {
        Fixture f;
        f.box.setDrawWidth(1);
        f.draw(Spectrum(0, 1, values), 9);
        const QPoint origin = f.at(0, 0);
        const QPoint top = f.at(0, 100);
        const QPoint right = f.at(100, 0);
        int black = 0, other = 0;
        const QImage& img = f.box.image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y);
                if (c == kWhite) continue;
                const bool onAxis = (x == origin.x() && y >= top.y() && y <= origin.y()) ||
                                    (y == origin.y() && x >= origin.x() && x <= right.x());
                if (c == kBlack && onAxis)
                    ++black;
                else
                    ++other;
            }
        EXPECT_EQ(other, 0) << values.size();
        EXPECT_EQ(black, (origin.y() - top.y() + 1) + (right.x() - origin.x())) << values.size();
    }
}

TEST(PlotDrawing, PenWidthThreeAfterIncrease) {
    Fixture f;
    f.box.setDrawWidth(2);
    IncreaseDrawWidth(f.box);
    ASSERT_EQ(f.box.drawWidth(), 3);
    f.draw(Spectrum(0, 1, std::vector<float>(10, 1.0f)), 0);
    // The x axis is three pixels thick; the y axis three pixels wide.
    const QPoint mid = f.at(50, 0);
    int rows = 0;
    for (int y = mid.y() - 4; y <= mid.y() + 4; ++y) rows += f.box.image().pixel(mid.x(), y) == kBlack;
    EXPECT_EQ(rows, 3);
    const QPoint side = f.at(0, 50);
    int cols = 0;
    for (int x = side.x() - 4; x <= side.x() + 4; ++x) cols += f.box.image().pixel(x, side.y()) == kBlack;
    EXPECT_EQ(cols, 3);
}

TEST(PlotDrawing, SecondCurveWithAutoScaleOffKeepsTheFirstScale) {
    Fixture f;
    f.box.setDrawWidth(1);
    f.draw(Spectrum(0, 1, Ramp(10, 0, 1)), 9);
    f.autoScale = 0;
    f.draw(Spectrum(0, 1, Ramp(10, 0, 0.5f)), 12);
    EXPECT_DOUBLE_EQ(f.plot.PlotYMax, 1);
    EXPECT_DOUBLE_EQ(f.plot.PlotYMin, 0);
    // Last points (x = 90): the first curve at the top, the second at half height.
    EXPECT_EQ(f.pixel(90, 100), QBColor(9));
    EXPECT_EQ(f.pixel(90, 50), QBColor(12));
    EXPECT_EQ(f.pixel(50, 100.0 * 5 / 9), QBColor(9));
    EXPECT_EQ(f.pixel(50, 50.0 * 5 / 9), QBColor(12));
}

TEST(PlotDrawing, YmaxModeDrawsAboveThePlotAreaIntoTheTopMargin) {
    Fixture f;
    f.box.setDrawWidth(1);
    f.plot.YmaxMode = true;
    f.plot.YmaxValue = 0.5f;
    f.draw(Spectrum(0, 1, Ramp(11, 0, 1)), 4);
    EXPECT_DOUBLE_EQ(f.plot.PlotYMax, 0.5);
    EXPECT_DOUBLE_EQ(f.plot.PlotYRange, 0.5);
    // Value 0.5 at the top of the area; the rise towards 0.6 (y = 120) runs
    // through the margin above it.
    const double x5 = 5 * 100.0 / 11;
    EXPECT_EQ(f.pixel(x5, 100), QBColor(4));
    const int marginPixels = f.count(0, 100.5, 100, 100 + 3 * f.ry(), [](QRgb c) { return c == QBColor(4); });
    EXPECT_GT(marginPixels, 0);
}

TEST(PlotDrawing, WideAxisFromZeroIsLabelled) {
    Fixture f;
    f.box.setDrawWidth(1);
    // 550 points of 1 eV from 0: step 50; ticks at 0, 50, ..., 550.
    f.draw(Spectrum(0, 1, Ramp(550, 0, 1)), 1);
    EXPECT_EQ(f.plot.TickStep, 50.0f);
    EXPECT_EQ(f.plot.FirstTick, 0.0f);
    for (int t = 50; t <= 550; t += 100) {
        const double x = t / 5.5;
        EXPECT_EQ(f.pixel(x, f.ry() / 2), kBlack) << t;
        EXPECT_GT(f.count(x - 1, -3 * f.ry(), x + 1, -0.3 * f.ry(), Ink), 0) << t;
    }
}

// Curves that start at their first loss (Estep) end one step past Emax: the
// tick loop, which runs one axis width from the first tick, must not put a
// tick or a label past the axis end (23 on 2..22, 21 on 0.2..20.2, 11 on
// 0.01..10.01), while the last tick inside keeps its mark.
TEST(PlotDrawing, NoXTickOrLabelBeyondTheAxisEnd) {
    struct Grid {
        float e0, de;
        int n;
        int lastInside;
    };
    for (const Grid& g : {Grid{2, 2, 10, 22}, Grid{0.2f, 0.2f, 100, 20}, Grid{0.01f, 0.01f, 1000, 10}}) {
        // A box with a strip along its right edge (the windows' text column),
        // where a label past the axis end would show.
        Fixture f(1000, 440);
        f.box.setRightReserve(250);
        f.box.setDrawWidth(1);
        f.draw(Spectrum(g.e0, g.de, Ramp(g.n, 0, 1)), 0);
        const double xEnd = f.box.toPixelX(100);
        const double xLast = (g.lastInside - g.e0) / f.plot.PlotXRange * 100.0;
        EXPECT_EQ(f.pixel(xLast, f.ry() / 2), kBlack) << g.de;
        int beyond = 0;
        for (int py = f.at(0, -0.1 * f.ry()).y(); py < f.box.height(); ++py)
            for (int px = static_cast<int>(xEnd) + 12; px < f.box.width(); ++px)
                if (Ink(f.box.image().pixel(px, py))) ++beyond;
        EXPECT_EQ(beyond, 0) << g.de;
    }
}

TEST(PlotDrawing, NoTickStepYetDrawsNoXTicksButTheYLabels) {
    Fixture f;
    f.box.setDrawWidth(1);
    // An axis of 5000 eV: no table entry is chosen and none was before.
    f.draw(Spectrum(0, 10, Ramp(500, 0, 1)), 1);
    EXPECT_EQ(f.plot.TickStep, 0.0f);
    EXPECT_EQ(f.count(5, -3 * f.ry(), 110, -0.3 * f.ry(), Ink), 0);
    for (int j = 0; j <= 100; j += 20) EXPECT_GT(f.count(-6.5 * f.rx(), j - 1, -0.6 * f.rx(), j + 1, Ink), 0);
}

TEST(PlotDrawing, RangeModeTakesTheAxisFromTheMarkersAndHidesThem) {
    Fixture f;
    PictureLine* l1 = f.box.addLine();
    PictureLine* l2 = f.box.addLine();
    f.plot.LinEnergy1 = l1;
    f.plot.LinEnergy2 = l2;
    f.plot.RangeMode = true;
    f.plot.RangeStart = 10;
    f.plot.RangeWidth = 20;
    f.draw(Spectrum(0, 0.5f, Ramp(100, 0, 1)), 2);
    EXPECT_EQ(f.plot.PlotE0, 10.0f);
    EXPECT_EQ(f.plot.PlotXRange, 20.0f);
    EXPECT_EQ(f.plot.PlotN, 40);
    EXPECT_FALSE(l1->isVisible());
    EXPECT_FALSE(l2->isVisible());
    // Only the first 40 values were scanned for the y range.
    EXPECT_NEAR(f.plot.PlotYMax, 39.0 / 99.0, 1e-6);
}

TEST(PlotDrawing, RunTimeErrorsEndTheDrawingQuietly) {
    Fixture f;
    f.box.setDrawWidth(1);
    // Colour outside the palette: axes and zero line, no curve, no labels.
    f.draw(Spectrum(0, 1, Ramp(20, -1, 1)), 16);
    EXPECT_EQ(f.pixel(0, 75), kBlack);
    EXPECT_EQ(f.pixel(50, 50), kZeroLine);
    EXPECT_EQ(f.count(-6.5 * f.rx(), -3 * f.ry(), -0.6 * f.rx(), 100, Ink), 0);
    EXPECT_DOUBLE_EQ(f.plot.PlotYMin, -1);

    // A point count beyond the array: the scan fails after the header.
    Fixture g;
    SingleArray shortArray(0, 10);
    shortArray(1) = 20;
    shortArray(2) = 3;
    shortArray(3) = 0.5f;
    g.draw(shortArray, 0);
    EXPECT_EQ(g.plot.PlotN, 20);
    EXPECT_EQ(g.plot.PlotE0, 3.0f);
    EXPECT_EQ(g.count(-20, -20, 120, 120, Ink), 0);
}

// The digits of every x label are centred under their tick, on a wide box
// and a narrow one; a box with a strip reserved along its bottom (for a
// status bar) keeps the whole plot above the strip.
TEST(PlotDrawing, XLabelsSitUnderTheirTicksAndAReservedStripStaysBlank) {
    for (const auto& [w, h, reserve] : {std::tuple{1900, 500, 0}, std::tuple{660, 440, 0}, std::tuple{660, 440, 20}}) {
        Fixture f(w, h);
        f.box.setBottomReserve(reserve);
        f.box.setDrawWidth(1);
        f.draw(Spectrum(0, 0.5f, Ramp(100, 0, 1)), 0);
        const QImage& img = f.box.image();
        const int top = f.at(0, -0.3 * f.ry()).y();
        const int bottom = std::min(img.height() - 1, f.at(0, -4 * f.ry()).y());
        // Ticks at x = 10, 20, ..., 90 (labels 5 .. 45): the ink of each label
        // within half a tick spacing of the tick.
        for (int x = 10; x <= 90; x += 10) {
            const double tick = f.box.toPixelX(x);
            const double half = (f.box.toPixelX(10) - f.box.toPixelX(0)) / 2.0;
            double sum = 0;
            int n = 0;
            for (int py = top; py <= bottom; ++py)
                for (int px = static_cast<int>(tick - half) + 1; px < static_cast<int>(tick + half); ++px)
                    if (img.pixel(px, py) != kWhite) {
                        sum += px;
                        ++n;
                    }
            ASSERT_GT(n, 0) << w << " " << x;
            EXPECT_NEAR(sum / n, tick, 2.5) << w << " label at " << x;
        }
        int inStrip = 0;
        for (int py = h - reserve; py < h; ++py)
            for (int px = 0; px < w; ++px)
                if (img.pixel(px, py) != kWhite) ++inStrip;
        EXPECT_EQ(inStrip, 0) << reserve;
        if (reserve > 0) {
            EXPECT_DOUBLE_EQ(f.box.toUserY(h - reserve), f.box.scaleTop() + f.box.scaleHeight());
        }
    }
}
