// The calculation driver with stand-in libraries: the forms of the pages that
// have no areas or start their grid at Emin, the count rules and the failure
// path for results that are not numbers.
#include "shared/calc_driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include "state/module1.h"
#include "widgets/services.h"

using namespace kelvara;

namespace {

RecordingServices* Recorder() {
    static RecordingServices* rec = [] {
        auto r = std::make_unique<RecordingServices>();
        RecordingServices* raw = r.get();
        setServices(std::move(r));
        return raw;
    }();
    rec->messages.clear();
    return rec;
}

// A page with one or two curves and a stand-in library that writes `values`
// values: value(i) at element i.
struct FakePage {
    float Ep = 1000.0f;
    float estep = 0.5f;
    float emax = 2.0f;
    int written = 4; // how many values the stand-in library writes
    float value = 1.0f;
    int plots = 0, failures = 0, results = 0, areaCalls = 0;
    QString title;

    CalcRecipe Recipe() {
        CalcRecipe r;
        r.readBoxes = [this] {
            Module1::Estep = estep;
            Module1::Emax = emax;
        };
        r.primaryEnergy = [this] { return Ep; };
        r.libraryCount = [this] { return written; };
        r.callLibrary = [this] {
            for (int i = 1; i <= written; ++i) {
                Module1::Kbulk(i) = value * static_cast<float>(i);
                Module1::Ksurf(i) = 2.0f * value;
            }
        };
        r.curves = {&Module1::Kbulk};
        r.plotCurve = [this](const SpectrumArray&) { ++plots; };
        r.showTitle = [this](const QString& text) { title = text; };
        r.showResults = [this] { ++results; };
        r.onFailure = [this] { ++failures; };
        return r;
    }
};

} // namespace

TEST(CalcDriver, CountsRoundHalvesToEvenAndTruncateLikeTheLibraries) {
    EXPECT_EQ(RoundedPointCount(50.25f, 0.5f), 100);
    EXPECT_EQ(RoundedPointCount(50.75f, 0.5f), 102);
    EXPECT_EQ(RoundedPointCount(500.0f, 0.5f), 1000);
    EXPECT_EQ(RoundedPointCount(0.2f, 0.5f), 0);
    EXPECT_THROW(RoundedPointCount(50.0f, 0.0f), RuntimeError);
    EXPECT_THROW(RoundedPointCount(50.0f, 0.001f), RuntimeError); // beyond 16 bits
    EXPECT_EQ(TruncatedPointCount(50.75f, 0.5f), 101);
    EXPECT_EQ(TruncatedPointCount(100.0f, 0.2f), 499); // 0.2 as a float lies above 0.2
    EXPECT_EQ(TruncatedPointCount(0.4f, 0.5f), 0);
    EXPECT_EQ(TruncatedPointCount(std::numeric_limits<float>::quiet_NaN(), 0.5f), 0);
}

TEST(CalcDriver, RunningSumsTakeThePrecisionOfTheirWindow) {
    // 2^24 + 1 is not a 32-bit float: each added 1 is lost in single
    // precision, kept in double precision.
    for (const auto& [precision, expected] : {std::pair{SumPrecision::Double, 16777220.0},
                                              std::pair{SumPrecision::Single, 16777216.0}}) {
        SpectrumArray curve(0, 10);
        const float values[5] = {16777216.0f, 1.0f, 1.0f, 1.0f, 1.0f};
        for (int i = 1; i <= 5; ++i) curve(i) = values[i - 1];
        EXPECT_EQ(RewriteAsSpectrum(curve, 5, 0.5f, 0.5f, precision), expected);
        EXPECT_EQ(curve(1), 5.0f);
        EXPECT_EQ(curve(2), 0.5f);
        EXPECT_EQ(curve(8), 1.0f);
    }
}

TEST(CalcDriver, APageWithoutAreasGetsThreeLinesFromClosedForms) {
    RecordingServices* rec = Recorder();
    FakePage page;
    Module1::Core_ac = 2.0f;
    Module1::Core_bc = 3.0f;
    CalcRecipe r = page.Recipe();
    r.resultStartsWithLineBreak = false; // infinite-medium form
    EXPECT_EQ(RunCalculation(r), CalcOutcome::Done);
    EXPECT_TRUE(rec->messages.isEmpty());
    EXPECT_EQ(rec->busyDepth, 0);
    // Values 1, 2, 3, 4 at step 0.5: area 5; IMFPv = 0.2; IMFPc = 1000/(2 (ln 1000 + 3)).
    const double lc = 1000.0 / (2.0 * (std::log(1000.0) + 3.0));
    const double l = 1.0 / (5.0 + 1.0 / lc);
    char expected[200];
    std::snprintf(expected, sizeof expected, "Total IMFP = %.2f\u00C5\r\nValence electr. contrib. IMFPv = 0.20\u00C5\r\n"
                                             "Core electr. contrib. IMFPc = %.2f\u00C5", l, lc);
    EXPECT_EQ(Module1::ResultText, QString::fromUtf8(expected));
    EXPECT_EQ(page.title, Module1::ResultText);
    EXPECT_EQ(page.results, 1);
    EXPECT_EQ(page.plots, 1);
    EXPECT_EQ(Module1::Kbulk(1), 4.0f);
    EXPECT_EQ(Module1::Kbulk(2), 0.0f);
    EXPECT_EQ(Module1::Kbulk(7), 4.0f);
}

TEST(CalcDriver, FirstEnergyAndALibraryThatWritesMoreThanTheWindowKeeps) {
    Recorder();
    FakePage page;
    Module1::Core_ac = 1.0f;
    Module1::Core_bc = 1.0f;
    page.written = 5; // one more than the window's 4 (a grid that starts at 0)
    CalcRecipe r = page.Recipe();
    r.firstEnergy = [] { return 0.25f; };
    r.curves = {&Module1::Kbulk, &Module1::Ksurf};
    r.mainCurve = 1;
    r.areaLines = {{QStringLiteral("Area of total K = "), 1}, {QStringLiteral("Area of K_bulk = "), 0}};
    QString shown;
    r.showAreas = [&shown](const QString& text) {
        shown = text;
        return text;
    };
    Module1::Kbulk(8) = 123.0f;
    EXPECT_EQ(RunCalculation(r), CalcOutcome::Done);
    EXPECT_EQ(Module1::Kbulk(1), 4.0f);
    EXPECT_EQ(Module1::Kbulk(2), 0.25f);
    EXPECT_EQ(Module1::Kbulk(8), 123.0f); // the fifth value is not stored
    EXPECT_EQ(shown, QStringLiteral("Area of total K = 4.00E+00 (\u00C5^-1)\r\nArea of K_bulk = 5.00E+00 (\u00C5^-1)"));
    EXPECT_TRUE(Module1::ResultText.endsWith(QStringLiteral("\u00C5\r\n\r\n") + shown));
    EXPECT_TRUE(page.title.startsWith(QStringLiteral("\r\nTotal IMFP = ")));
    EXPECT_FALSE(page.title.contains(QStringLiteral("Area")));
}

TEST(CalcDriver, ResultsThatAreNotNumbersTakeTheFailurePath) {
    RecordingServices* rec = Recorder();
    Module1::Core_ac = 1.0f;
    Module1::Core_bc = 1.0f;
    Module1::ResultText = QStringLiteral("earlier");
    const struct {
        float value;
        float ac;
        float Ep;
        bool usable;
        const char* what;
    } cases[] = {{std::numeric_limits<float>::quiet_NaN(), 1.0f, 1000.0f, true, "a curve of NaN"},
                 {std::numeric_limits<float>::infinity(), 1.0f, 1000.0f, true, "an infinite curve"},
                 {0.0f, 1.0f, 1000.0f, true, "a zero area"},
                 {1.0f, 0.0f, 1000.0f, true, "ac = 0"},
                 {1.0f, 1.0f, 1000.0f, false, "library values not usable"}};
    for (const auto& c : cases) {
        FakePage page;
        page.value = c.value;
        page.Ep = c.Ep;
        Module1::Core_ac = c.ac;
        CalcRecipe r = page.Recipe();
        r.afterCall = [&c] { return c.usable; };
        r.areaLines = {{QStringLiteral("Area = "), 0}};
        r.showAreas = [](const QString& t) { return t; };
        EXPECT_EQ(RunCalculation(r), CalcOutcome::Failed) << c.what;
        EXPECT_EQ(page.failures, 1) << c.what;
        EXPECT_EQ(page.results, 0) << c.what;
        EXPECT_TRUE(page.title.isEmpty()) << c.what;
        EXPECT_EQ(Module1::ResultText, QStringLiteral("earlier")) << c.what;
        EXPECT_EQ(Module1::Kbulk(1), 4.0f) << c.what; // still a spectrum array
        EXPECT_EQ(rec->busyDepth, 0) << c.what;
    }
    // The grid and energy checks come before the call and leave the arrays
    // alone; a value that cannot be used names its box (here no box was read:
    // the name of the quantity and its value).
    for (const auto& [step, max, Ep, outcome, message] :
         {std::tuple{0.5f, 500.5f, 1000.0f, CalcOutcome::TooManyPoints, "max number of points is 1000"},
          std::tuple{0.001f, 50.0f, 1000.0f, CalcOutcome::TooManyPoints, "max number of points is 1000"},
          std::tuple{-0.5f, 50.0f, 1000.0f, CalcOutcome::InvalidGrid,
                     "The box \"Estep\" holds \"-0.5\": the step must be greater than 0."},
          std::tuple{0.0f, 50.0f, 1000.0f, CalcOutcome::InvalidGrid,
                     "The box \"Estep\" holds \"0\": the step must be greater than 0."},
          std::tuple{0.5f, -50.0f, 1000.0f, CalcOutcome::InvalidGrid,
                     "The box \"Emax\" holds \"-50\": the maximum must not be negative."},
          std::tuple{0.5f, 50.0f, 0.0f, CalcOutcome::InvalidGrid,
                     "The box \"Ep\" holds \"0\": the energy must be greater than 0."}}) {
        FakePage page;
        page.estep = step;
        page.emax = max;
        page.Ep = Ep;
        bool called = false;
        CalcRecipe r = page.Recipe();
        r.callLibrary = [&called] { called = true; };
        rec->messages.clear();
        EXPECT_EQ(RunCalculation(r), outcome);
        EXPECT_FALSE(called);
        ASSERT_EQ(rec->messages.size(), 1);
        EXPECT_EQ(rec->messages[0].text, QString::fromUtf8(message));
        EXPECT_EQ(page.failures, 0);
        EXPECT_EQ(rec->busyDepth, 0);
    }
    Module1::Core_ac = 1.0f;
}
