// The calculation driver with stand-in libraries: the forms of the pages that
// have no areas or start their grid at Emin, the count rules, the grids
// refused before the call and the failure path for results that are not
// physical.
#include "shared/calc_driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <tuple>
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
    float surf = 2.0f; // the value of every point of Ksurf
    int plots = 0, failures = 0, results = 0, areaCalls = 0;
    QString title;

    CalcRecipe Recipe() {
        Module1::NumOsc = 1; // a usable model has been read
        Module1::W0(1) = Module1::Gamma(1) = Module1::RefIndex = 1.0f;
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
                Module1::Ksurf(i) = surf * value;
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
    EXPECT_EQ(Module1::Kbulk(2), 0.5f); // the first value is the loss T = Estep
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

TEST(CalcDriver, ResultsThatAreNotPhysicalTakeTheFailurePathAndNameTheQuantity) {
    RecordingServices* rec = Recorder();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const auto path = [](const char* label, double value) {
        char text[120];
        std::snprintf(text, sizeof text, "%s%.2f\u00C5 is not physical", label, value);
        return std::string(text);
    };
    // Ep = 1000, step 0.5; Kbulk (the main curve) holds value*(1, 2, 3, 4):
    // area 5*value; Ksurf holds surf*value at each of the 4 points: area
    // 2*surf*value.
    const double lc = 1000.0 / (std::log(1000.0) - 10.0); // bc = -10: a negative core path
    const struct {
        const char* what;
        float value, surf, ac, bc;
        bool usable, surfIsTotal, hasEp;
        std::string message; // empty: the page's failure path; "done": the run ends normally
    } cases[] = {
        {"a curve of NaN", nan, 2, 1, 1, true, false, true, "Area of K is not a finite number"},
        {"an infinite curve", inf, 2, 1, 1, true, false, true, "Area of K is not a finite number"},
        {"a zero area", 0, 2, 1, 1, true, false, true, "Area of K = 0.00E+00 (\u00C5^-1) is not physical"},
        {"a negative total", -1, 2, 1, 1, true, false, true, "Area of K = -5.00E+00 (\u00C5^-1) is not physical"},
        {"a negative contribution", 1, -2, 1, 1, true, false, true, "done"},
        {"a contribution of NaN", 1, nan, 1, 1, true, false, true, "Area of Ksurf is not a finite number"},
        {"a second total that is negative", 1, -2, 1, 1, true, true, true,
         "Area of Ksurf = -4.00E+00 (\u00C5^-1) is not physical"},
        {"ac = 0: no core path", 1, 2, 0, 1, true, false, true, "Core electr. contrib. IMFPc is not a finite number"},
        {"ln Ep + bc < 0: a negative core path", 1, 2, 1, -10, true, false, true,
         path("Core electr. contrib. IMFPc = ", lc)},
        {"ac < 0: a negative total", 1, 2, -1000, 1, true, false, true,
         path("Total IMFP = ", 1.0 / (5.0 - 1000.0 * (std::log(1000.0) + 1.0) / 1000.0))},
        {"library values not usable", 1, 2, 1, 1, false, false, true, ""},
        {"a recipe without a primary energy", 1, 2, 1, 1, true, false, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakePage page;
        page.value = c.value;
        page.surf = c.surf;
        Module1::Core_ac = c.ac;
        Module1::Core_bc = c.bc;
        Module1::ResultText = QStringLiteral("earlier");
        for (int i = 1; i <= 10; ++i) Module1::Kbulk(i) = Module1::Ksurf(i) = 7.0f; // an earlier curve
        bool called = false;
        CalcRecipe r = page.Recipe();
        const auto call = r.callLibrary;
        r.callLibrary = [&] {
            called = true;
            call();
        };
        if (!c.hasEp) r.primaryEnergy = nullptr;
        r.afterCall = [&c] { return c.usable; };
        r.curves = {&Module1::Kbulk, &Module1::Ksurf};
        r.areaLines = {{QStringLiteral("Area of K = "), 0}, {QStringLiteral("Area of Ksurf = "), 1, c.surfIsTotal}};
        r.showAreas = [](const QString& t) { return t; };
        rec->messages.clear();
        const CalcOutcome outcome = RunCalculation(r);
        EXPECT_EQ(rec->busyDepth, 0);
        if (c.message == "done") {
            EXPECT_EQ(outcome, CalcOutcome::Done);
            EXPECT_TRUE(rec->messages.isEmpty());
            EXPECT_EQ(page.results, 1);
            EXPECT_TRUE(Module1::ResultText.contains(QStringLiteral("Area of Ksurf = -4.00E+00")));
            continue;
        }
        EXPECT_EQ(outcome, CalcOutcome::Failed);
        if (c.message.empty()) {
            EXPECT_EQ(page.failures, 1); // the page's own failure path
            EXPECT_TRUE(rec->messages.isEmpty());
        } else {
            EXPECT_EQ(page.failures, 0);
            ASSERT_EQ(rec->messages.size(), 1);
            EXPECT_EQ(rec->messages[0].text,
                      QString::fromStdString(c.message) +
                          QStringLiteral(": the model gives no physical result for these parameters."));
        }
        EXPECT_EQ(called, c.hasEp);
        // Nothing of the run is plotted, shown or kept: the curves hold what they held.
        EXPECT_EQ(page.plots, 0);
        EXPECT_EQ(page.results, 0);
        EXPECT_TRUE(page.title.isEmpty());
        EXPECT_EQ(Module1::ResultText, QStringLiteral("earlier"));
        EXPECT_EQ(Module1::Kbulk(1), 7.0f);
        EXPECT_EQ(Module1::Ksurf(4), 7.0f);
    }
    Module1::Core_ac = Module1::Core_bc = 1.0f;
}

TEST(CalcDriver, GridsAndModelsThatGiveNoResultAreRefusedBeforeTheCall) {
    RecordingServices* rec = Recorder();
    Module1::Core_ac = 1.0f;
    Module1::Core_bc = 1.0f;
    // A value that cannot be used names its box (here no box was read: the
    // name of the quantity and its value); the model message is kept for a
    // missing model.
    const struct {
        float step, max, Ep;
        int written; // the library's count for the grid
        int16_t oscillators;
        CalcOutcome outcome;
        const char* message;
    } cases[] = {
        {0.5f, 500.5f, 1000.0f, 4, 1, CalcOutcome::TooManyPoints,
         "The box \"Emax\" holds \"500.5\": max number of points is 1000; lower the maximum or raise the step."},
        {0.001f, 50.0f, 1000.0f, 4, 1, CalcOutcome::TooManyPoints,
         "The box \"Emax\" holds \"50\": max number of points is 1000; lower the maximum or raise the step."},
        {-0.5f, 50.0f, 1000.0f, 4, 1, CalcOutcome::InvalidGrid,
         "The box \"Estep\" holds \"-0.5\": the step must be greater than 0."},
        {0.0f, 50.0f, 1000.0f, 4, 1, CalcOutcome::InvalidGrid,
         "The box \"Estep\" holds \"0\": the step must be greater than 0."},
        {0.5f, -50.0f, 1000.0f, 4, 1, CalcOutcome::InvalidGrid,
         "The box \"Emax\" holds \"-50\": the maximum must not be negative."},
        {0.5f, 50.0f, 0.0f, 4, 1, CalcOutcome::InvalidGrid,
         "The box \"Ep\" holds \"0\": the energy must be greater than 0."},
        // Fewer than two losses on the library's grid, and losses that reach Ep.
        {0.5f, 0.0f, 1000.0f, 0, 1, CalcOutcome::InvalidGrid,
         "The box \"Emax\" holds \"0\": the grid must hold at least two losses: the maximum must be at least the "
         "second loss, 1 eV."},
        {0.5f, 0.3f, 1000.0f, 0, 1, CalcOutcome::InvalidGrid,
         "The box \"Emax\" holds \"0.3\": the grid must hold at least two losses: the maximum must be at least the "
         "second loss, 1 eV."},
        {0.5f, 0.7f, 1000.0f, 1, 1, CalcOutcome::InvalidGrid,
         "The box \"Emax\" holds \"0.7\": the grid must hold at least two losses: the maximum must be at least the "
         "second loss, 1 eV."},
        {0.5f, 5.0f, 5.0f, 4, 1, CalcOutcome::InvalidGrid,
         "The box \"Emax\" holds \"5\": every energy loss must be below Ep."},
        {0.5f, 70.0f, 1.0f, 4, 1, CalcOutcome::InvalidGrid,
         "The box \"Emax\" holds \"70\": every energy loss must be below Ep."},
        {0.5f, 2.0f, 1000.0f, 4, 0, CalcOutcome::Failed, "You must first read ELF data file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        FakePage page;
        page.estep = c.step;
        page.emax = c.max;
        page.Ep = c.Ep;
        page.written = c.written;
        bool called = false;
        CalcRecipe r = page.Recipe();
        Module1::NumOsc = c.oscillators;
        r.callLibrary = [&called] { called = true; };
        rec->messages.clear();
        EXPECT_EQ(RunCalculation(r), c.outcome);
        EXPECT_FALSE(called);
        ASSERT_EQ(rec->messages.size(), 1);
        EXPECT_EQ(rec->messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(page.failures, 0);
        EXPECT_EQ(rec->busyDepth, 0);
    }
    Module1::NumOsc = 1;
}
