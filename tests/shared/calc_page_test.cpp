// The page base on a window that is neither of the program's two: a page
// states its boxes, library call, arrays, texts and header lines, and the
// window's surface receives the plot, the title, the areas and the file.
#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <memory>

#include "shared/calc_page.h"
#include "shared/page_controls.h"
#include "shared/plot_panel.h"
#include "shared/window_surface.h"
#include "state/module1.h"
#include "test_app.h"
#include "widgets/picturebox.h"
#include "widgets/services.h"

using namespace kelvara;

namespace {

class TestWindow : public WindowSurface {
public:
    TestWindow() {
        root.resize(800, 600);
        panel = new PlotPanel(&root, {"picTest", "titleTest", "areasTest", "sbTest", "sbTestPanel"});
        panel->box->setGeometry(0, 0, 600, 400);
    }
    PictureBox& plotBox() override { return *panel->box; }
    kelvara::Plot& plotState() override { return panel->plot; }
    InfoBox& titleBox() override { return *panel->title; }
    InfoBox& areasBox() override { return *panel->areas; }
    QString browserFolder() const override { return folder; }
    QString browserFileName() const override { return QString(); }
    void refreshBrowser() override { ++refreshes; }
    void ClearPlot() override {
        ++clears;
        panel->box->cls();
    }
    void PlotLossFunction() override {}

    QWidget root;
    PlotPanel* panel = nullptr;
    QString folder;
    int refreshes = 0;
    int clears = 0;
};

// Four values of 1 on a 0.5 eV grid from 0.5 eV: area 2 (Å^-1).
class TestPage : public CalcPage {
public:
    explicit TestPage(TestWindow& w) : CalcPage(w, &w.root, &w.root, QStringLiteral("TestPage")) {
        boxes = SaveFrame(&w.root, 344, QStringLiteral("File name:"), "txtTestFile", "txtTestNotes",
                          QStringLiteral("notes"),
                          {{"cmdSaveTest", "Save", &Module1::Keff,
                            [] { return HeaderLines{"h1", "h2", "h3", "h4", "h5"}; }, true}});
    }
    CalcOutcome Calculate(SumPrecision sums) {
        CalcRecipe r = Recipe(QStringLiteral("Test title"));
        r.readBoxes = [] {
            Module1::Estep = 0.5f;
            Module1::Emax = 2.0f;
        };
        r.primaryEnergy = [] { return 1000.0f; };
        r.callLibrary = [] {
            for (int i = 1; i <= 4; ++i) Module1::Keff(i) = 1.0f;
        };
        r.firstEnergy = [] { return 0.5f; };
        r.sums = sums;
        r.curves = {&Module1::Keff};
        r.areaLines = {{QStringLiteral("Area = "), 0}};
        return Run(r);
    }
    SaveFrameBoxes boxes;
};

} // namespace

TEST(CalcPage, TheWindowReceivesPlotTitleAreasAndTheResultFile) {
    kelvara::testing::TestApp();
    setServices(std::make_unique<RecordingServices>());
    Module1::Reset();
    Module1::NumOsc = 1; // a usable model has been read
    Module1::W0(1) = Module1::Gamma(1) = Module1::RefIndex = 1.0f;
    Module1::Core_ac = 1.0f;
    Module1::Core_bc = 0.0f;
    for (const SumPrecision sums : {SumPrecision::Double, SumPrecision::Single}) {
        TestWindow w;
        TestPage page(w);
        ASSERT_EQ(page.Calculate(sums), CalcOutcome::Done);
        EXPECT_EQ(w.clears, 1);
        EXPECT_EQ(w.panel->plot.PlotN, 4);
        EXPECT_EQ(Module1::Keff(2), 0.5f);
        // lv = 1/2, lc = 1000/ln 1000, l = 1/(2 + ln(1000)/1000).
        const double lc = 1000.0 / std::log(1000.0);
        const double l = 1.0 / (2.0 + 1.0 / lc);
        EXPECT_EQ(w.panel->title->text(),
                  QStringLiteral("Test title\r\n\r\nTotal IMFP = %1\u00C5\r\nValence electr. contrib. IMFPv = "
                                 "0.50\u00C5\r\nCore electr. contrib. IMFPc = %2\u00C5")
                      .arg(l, 0, 'f', 2)
                      .arg(lc, 0, 'f', 2));
        EXPECT_EQ(w.panel->areas->text(), QStringLiteral("Area = 2.00E+00 (\u00C5^-1)"));
        EXPECT_FALSE(w.panel->areas->isHidden());

        QTemporaryDir dir;
        w.folder = dir.path();
        page.boxes.fileName->setText(QStringLiteral("k.txt"));
        w.root.findChild<QPushButton*>(QStringLiteral("cmdSaveTest"))->click();
        EXPECT_EQ(w.refreshes, 1);
        QFile file(dir.filePath(QStringLiteral("k.txt")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().startsWith("h1\r\nh2\r\nh3\r\nh4\r\nh5\r\n"));
    }
}

// Boxes of a real parameter frame read through the page helpers: a text that
// is not a usable number stops the run before the call with a message that
// names the box (its label) and its text; the failure path is not taken.
TEST(CalcPage, ABoxThatCannotBeUsedIsNamedWithItsText) {
    kelvara::testing::TestApp();
    auto services = std::make_unique<RecordingServices>();
    RecordingServices* rec = services.get();
    setServices(std::move(services));
    Module1::Reset();
    TestWindow w;
    const auto boxes = MakeParameterFrame(&w.root, QStringLiteral("frameTest"), QStringLiteral("Parameters"),
                                          QStringLiteral("txtTest"), QStringLiteral("txtTestVal"),
                                          {{0, "Ep = ", "1000"}, {1, "Estep = ", "0.5"}, {2, "Emax = ", "2"},
                                           {3, "X0 = ", "20"}, {4, "\u03B81 =", "0"}},
                                          0, 0);
    const struct {
        int box;
        const char* text;
        const char* message;
    } cases[] = {
        {2, "abc", "The box \"Emax\" holds \"abc\": this is not a number."},
        {0, "", "The box \"Ep\" is empty: a number is needed."},
        // A long text is quoted by its first 40 characters.
        {2, "0123456789012345678901234567890123456789 and much more typed text",
         "The box \"Emax\" holds \"0123456789012345678901234567890123456789...\": this is not a number."},
        {1, "1e39", "The box \"Estep\" holds \"1e39\": the number is too large."},
        {1, "0", "The box \"Estep\" holds \"0\": the step must be greater than 0."},
        {0, "-5", "The box \"Ep\" holds \"-5\": the energy must be greater than 0."},
        {3, "0", "The box \"X0\" holds \"0\": the value must be greater than 0."},
        {4, "120", "The box \"\u03B81\" holds \"120\": the value must be at least 0 degrees and less than 90 degrees."},
        {4, "90", "The box \"\u03B81\" holds \"90\": the value must be at least 0 degrees and less than 90 degrees."},
        {4, "-1", "The box \"\u03B81\" holds \"-1\": the value must be at least 0 degrees and less than 90 degrees."},
        {4, "1e30", "The box \"\u03B81\" holds \"1e30\": the value must be at least 0 degrees and less than 90 "
                    "degrees."},
    };
    for (const auto& c : cases) {
        const QString before = boxes.at(c.box)->text();
        boxes.at(c.box)->setText(QString::fromUtf8(c.text));
        float Ep = 0.0f;
        bool called = false;
        int failures = 0;
        CalcRecipe r = WindowRecipe(w, QStringLiteral("Test"));
        r.readBoxes = [&] {
            Ep = BoxSingle(boxes.at(0));
            Module1::Estep = BoxSingle(boxes.at(1));
            Module1::Emax = BoxSingle(boxes.at(2));
            BoxPositive(boxes.at(3));
            BoxAngle(boxes.at(4));
        };
        r.primaryEnergy = [&] { return Ep; };
        r.callLibrary = [&] { called = true; };
        r.curves = {&Module1::Keff};
        r.onFailure = [&] { ++failures; };
        rec->messages.clear();
        EXPECT_EQ(RunCalculation(r), CalcOutcome::InvalidGrid) << c.message;
        EXPECT_FALSE(called) << c.message;
        EXPECT_EQ(failures, 0) << c.message;
        ASSERT_EQ(rec->messages.size(), 1) << c.message;
        EXPECT_EQ(rec->messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(rec->busyDepth, 0);
        boxes.at(c.box)->setText(before);
    }
    // Angles just inside the range are accepted.
    boxes.at(4)->setText(QStringLiteral("89.9"));
    EXPECT_FLOAT_EQ(BoxAngle(boxes.at(4)), 89.9f);
}
