// The measured-spectrum tools of the main window through its real widgets:
// the start-up join on empty spectra, a spectrum file written by the toolkit
// and read back, joined and turned into K(T) with its area below the plot,
// the area and peak, the scaled loss curve and the smoothing panel with the
// coefficient files the build generates beside the program.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTemporaryDir>
#include <QToolButton>

#include <functional>
#include <string>
#include <vector>

#include "main/frmsmooth.h"
#include "main/joining_panel.h"
#include "main/spectrum_tools.h"
#include "program_fixture.h"
#include "state/binder.h"
#include "toolkit/tools.h"
#include "write_text.h"

using namespace kelvara;

namespace {

namespace M = Module1;

void Fill(SingleArray& s, float e0, float de, const std::vector<float>& values) {
    s(1) = static_cast<float>(values.size());
    s(2) = e0;
    s(3) = de;
    for (std::size_t i = 0; i < values.size(); ++i) s(static_cast<int>(i) + 4) = values[i];
}

std::vector<float> Values(const SingleArray& s) {
    std::vector<float> v;
    for (int i = 1; i <= static_cast<int>(s(1)); ++i) v.push_back(s(i + 3));
    return v;
}

// A measured spectrum on 0.5 eV steps from 101.5 eV (66 points): an elastic
// peak of 1000 at point 60 and one loss line of 50 at point 30, 15 eV below
// it, zero elsewhere. K(T) then is 50 / (0.5 * 1000) = 0.1 at T = 15 eV and 0
// at every other loss, its area 0.5 * 0.1 = 0.05.
std::vector<float> MeasuredValues() {
    std::vector<float> v(66, 0.0f);
    v[59] = 1000.0f;
    v[29] = 50.0f;
    return v;
}

struct SpectrumToolsTest : ::testing::Test {
    testsupport::Program p;
    Form1* f = nullptr;
    SpectrumTools* tools = nullptr;
    frmSmooth* smooth = nullptr;
    QTemporaryDir dir;
    int cleared = 0;
    QObject context;

    void SetUp() override {
        if (!testsupport::UseOffscreenScreen(1280, 1024)) GTEST_SKIP() << "another screen in this process";
        // The libraries and the coefficient files beside the program, before
        // the start-up join binds the joining library.
        SetLibraryFolder(QStringLiteral(KELVARA_BIN_DIR));
        Tools_cls::setProgramFolder(KELVARA_BIN_DIR);
        p = testsupport::StartProgram();
        f = p.form;
        tools = &f->joining().tools();
        smooth = &Forms::frmSmooth();
        f->Dir1->setPath(dir.path());
        QObject::connect(f, &Form1::plotCleared, &context, [this] { ++cleared; });
    }
    void TearDown() override {
        Tools_cls::setProgramFolder("");
        if (p.services) {
            EXPECT_TRUE(p.services->messages.isEmpty());
        }
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // Writes a spectrum file with the toolkit's writer: one comment line, "@",
    // then the rows. Three leading rows (energies e0 - 3 de .. e0 - de, value
    // 7) come first, since the reader makes its header out of them.
    void saveSpectrum(const QString& name, float e0, float de, const std::vector<float>& values) {
        SingleArray s(0, kSpectrumUpper);
        std::vector<float> rows = {7, 7, 7};
        rows.insert(rows.end(), values.begin(), values.end());
        Fill(s, e0 - 3 * de, de, rows);
        CheckedArray<std::string> lines(0, 1);
        lines(1) = "test spectrum";
        ASSERT_TRUE(Tools().Save2col(path(name).toStdString(), s, lines, 1));
        f->File1->refresh();
    }
};

} // namespace

TEST_F(SpectrumToolsTest, StartUpJoinsTheEmptySpectraAndPlotsTheEmptySecondSpectrum) {
    // The start-up's "3" in Es has bound the joining library and joined the
    // empty spectra into an empty result; no K(T) without a spectrum file.
    EXPECT_TRUE(M::NormAreaBinding().bound());
    EXPECT_FALSE(M::LCROSSBinding().bound());
    EXPECT_FALSE(tools->SpectrumLoaded);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(M::PlotBuf(i), 0.0f);
    EXPECT_EQ(f->plotState().PlotN, 0);
    EXPECT_TRUE(f->Text2->isHidden());

    // Every step of Es joins again and plots; a window edge that is not a
    // number ends the joining quietly, the plot still runs.
    f->Text3->setText("abc");
    f->findChild<QToolButton*>("UpDownText1_Up")->click();
    EXPECT_EQ(f->Text1->text(), "3.5");
    EXPECT_EQ(cleared, 1);

    // K(T) is derived only after a spectrum file was read: Text2 keeps its text.
    f->Text2->setText("kept");
    tools->LK_CrossSct(M::PlotBuf, M::Spec2);
    EXPECT_EQ(f->Text2->text(), "kept");
}

TEST_F(SpectrumToolsTest, SavedSpectrumReadBackJoinedAndItsCrossSectionPlotted) {
    saveSpectrum("meas.dat", 101.5f, 0.5f, MeasuredValues());
    // No file selected: nothing is read.
    f->File1->clearSelection();
    f->File1->setCurrentRow(-1);
    tools->ReadSpectrumToSmooth();
    EXPECT_FALSE(tools->SpectrumLoaded);
    EXPECT_TRUE(tools->SpectrumPath.isEmpty());
    f->File1->setFileName("meas.dat");
    tools->ReadSpectrumToSmooth();
    ASSERT_TRUE(tools->SpectrumLoaded);
    EXPECT_EQ(tools->SpectrumPath, path("meas.dat"));
    EXPECT_EQ(smooth->txtReadFileName->text(), "meas.dat");
    EXPECT_EQ(M::SpecMeas(1), 66.0f);
    EXPECT_EQ(M::SpecMeas(2), 101.5f);
    EXPECT_EQ(M::SpecMeas(3), 0.5f);
    EXPECT_EQ(Values(M::SpecMeas), MeasuredValues());
    EXPECT_EQ(f->plotState().PlotN, 66); // SpecMeas plotted

    // The second spectrum twice the first: the window ratio is 1/2, so the
    // joined spectrum is the measured one again, below and above Es.
    Tools().Multiply(M::SpecMeas, M::SpecInel, 2.0f);
    f->Text1->setText("3.0");
    EXPECT_EQ(M::PlotBuf(1), 66.0f);
    EXPECT_EQ(M::PlotBuf(2), 101.5f);
    EXPECT_EQ(M::PlotBuf(3), 0.5f);
    EXPECT_EQ(Values(M::PlotBuf), MeasuredValues());

    // K(T): 56 losses (peak at point 60, less four), 0.1 at 15 eV alone.
    ASSERT_EQ(M::Spec2(1), 56.0f);
    EXPECT_EQ(M::Spec2(2), 0.0f);
    EXPECT_EQ(M::Spec2(3), 0.5f);
    std::vector<float> k(56, 0.0f);
    k[29] = 0.1f;
    EXPECT_EQ(Values(M::Spec2), k);
    EXPECT_FLOAT_EQ(f->AreaK, 0.05f);
    EXPECT_TRUE(f->Text2->isVisible());
    EXPECT_EQ(f->Text2->text(), " Area =  0.050");
    EXPECT_EQ(f->plotState().PlotN, 56);
    EXPECT_EQ(f->plotState().PlotDE, 0.5f);

    // Area and peak of the measured spectrum: 0.5 * (1000 + 50), and the
    // energy one step above the peak's point.
    float area = 0, ep = 0, aip = 0;
    tools->AREA(M::SpecMeas, area);
    EXPECT_FLOAT_EQ(area, 525.0f);
    tools->E_peak(M::SpecMeas, ep, aip);
    EXPECT_EQ(aip, 1000.0f);
    EXPECT_FLOAT_EQ(ep, 101.5f + 60 * 0.5f);
}

TEST_F(SpectrumToolsTest, ReaderHeaderAndFilesItRefuses) {
    // Rows (0,a)..(4,e): rows 1-3 give way to the header.
    kelvara::testing::WriteText(path("five.dat"), "comment\r\n\"@\"\r\n0,1\r\n1,2\r\n2,3\r\n3,40\r\n4,50\r\n");
    // Energies 0, 1, 3, 4, 8: the mean step 2.
    kelvara::testing::WriteText(path("uneven.dat"), "@\r\n0 1\r\n1 1\r\n3 1\r\n4 1\r\n8 1\r\n");
    struct Case {
        const char* file;
        float count, e0, de;
        std::vector<float> values;
    };
    for (const Case& c : {Case{"five.dat", 2, 3, 1, {40, 50}}, Case{"uneven.dat", 2, 4, 2, {1, 1}}}) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(tools->ReadSpectr(path(c.file), M::SpecMeas));
        EXPECT_EQ(M::SpecMeas(1), c.count);
        EXPECT_EQ(M::SpecMeas(2), c.e0);
        EXPECT_EQ(M::SpecMeas(3), c.de);
        EXPECT_EQ(f->plotState().PlotE0, c.e0);
        EXPECT_EQ(f->plotState().PlotDE, c.de);
        EXPECT_EQ(Values(M::SpecMeas), c.values);
    }

    // Files that cannot be read whole change nothing, SpectrumLoaded included.
    std::string many = "@\r\n";
    for (int i = 0; i < 5001; ++i) many += std::to_string(i) + ",1\r\n";
    const std::vector<std::pair<const char*, std::string>> bad = {
        {"nomarker.dat", "0,1\r\n1,2\r\n2,3\r\n3,4\r\n"},
        {"threerows.dat", "@\r\n0,1\r\n1,2\r\n2,3\r\n"},
        {"text.dat", "@\r\n0,1\r\n1,2\r\n2,x\r\n3,4\r\n4,5\r\n"},
        {"halfrow.dat", "@\r\n0,1\r\n1,2\r\n2,3\r\n3,4\r\n4\r\n"},
        {"toomany.dat", many},
    };
    for (int loaded = 0; loaded <= 1; ++loaded) {
        tools->SpectrumLoaded = loaded != 0;
        Fill(M::SpecInel, 9, 9, {9, 9});
        f->plotState().PlotE0 = 99;
        for (const auto& [name, text] : bad) {
            SCOPED_TRACE(name);
            kelvara::testing::WriteText(path(name), QString::fromStdString(text));
            EXPECT_FALSE(tools->ReadSpectr(path(name), M::SpecInel));
            EXPECT_FALSE(tools->ReadSpectr(path("missing.dat"), M::SpecInel));
            EXPECT_EQ(M::SpecInel(1), 2.0f);
            EXPECT_EQ(Values(M::SpecInel), (std::vector<float>{9, 9}));
            EXPECT_EQ(f->plotState().PlotE0, 99.0f);
            EXPECT_EQ(tools->SpectrumLoaded, loaded != 0);
        }
    }
    // 5000 rows fill a spectrum array: 4997 points.
    many = "@\r\n";
    for (int i = 0; i < 5000; ++i) many += std::to_string(i) + ",1\r\n";
    kelvara::testing::WriteText(path("full.dat"), QString::fromStdString(many));
    ASSERT_TRUE(tools->ReadSpectr(path("full.dat"), M::SpecInel));
    EXPECT_EQ(M::SpecInel(1), 4997.0f);
    EXPECT_EQ(M::SpecInel(5000), 1.0f);
}

TEST_F(SpectrumToolsTest, AreaPeakAndJoiningOfSpectraThatDoNotFit) {
    float ap = -1, ep = -1, aip = -1;
    Fill(M::PlotBuf, 0, 0.5f, {1, 2, 3});
    tools->AREA(M::PlotBuf, ap);
    EXPECT_EQ(ap, 3.0f);
    Fill(M::PlotBuf, 10, 1, {1, 5, 5, 2});
    tools->E_peak(M::PlotBuf, ep, aip);
    EXPECT_EQ(ep, 12.0f);
    EXPECT_EQ(aip, 5.0f);
    // No positive value: nothing found, nothing kept from the call before.
    Fill(M::PlotBuf, 10, 1, {-1, 0, -2});
    tools->E_peak(M::PlotBuf, ep, aip);
    EXPECT_EQ(ep, 0.0f);
    EXPECT_EQ(aip, 0.0f);

    // A count beyond the array's 4997 points is refused before anything is read.
    M::PlotBuf(1) = 4998;
    EXPECT_THROW(tools->AREA(M::PlotBuf, ap), RuntimeError);
    EXPECT_EQ(ap, 3.0f);
    Fill(M::SpecMeas, 0, 1, {1, 2, 3, 4});
    Fill(M::SpecInel, 0, 1, {1, 2, 3, 4});
    M::SpecMeas(1) = 5000;
    Fill(M::PlotBuf, 5, 5, {5});
    tools->Norm(M::PlotBuf);
    EXPECT_EQ(Values(M::PlotBuf), (std::vector<float>{5}));
}

TEST_F(SpectrumToolsTest, ScaledLossCurveFollowsTheSecondSpectrumThenTheScaledFirst) {
    std::vector<float> inel, meas;
    for (int e = 0; e <= 10; ++e) inel.push_back(static_cast<float>(e));
    for (int e = 3; e <= 8; ++e) meas.push_back(10.0f + e);
    Fill(M::SpecInel, 0, 1, inel);
    Fill(M::SpecMeas, 3, 1, meas);
    smooth->txtFactor->setText("2");
    Fill(M::PlotBuf, 5, 5, {5});

    tools->BuildScaledLossCurve(); // no spectrum file read yet: nothing
    EXPECT_EQ(Values(M::PlotBuf), (std::vector<float>{5}));

    tools->SpectrumLoaded = true;
    tools->RescaleLossCurve();
    EXPECT_EQ(f->plotState().YmaxValue, 2.0f);
    // E = 0..3 from the line E, E = 4..9 from the line 2 * (10 + E).
    EXPECT_EQ(M::PlotBuf(2), 0.0f);
    EXPECT_EQ(M::PlotBuf(3), 1.0f);
    EXPECT_EQ(Values(M::PlotBuf), (std::vector<float>{0, 1, 2, 3, 28, 30, 32, 34, 36, 38}));
    EXPECT_EQ(f->plotState().PlotN, 10);

    // 10000 points below the measured spectrum do not fit: PlotBuf unchanged.
    M::SpecMeas(2) = 10000;
    tools->BuildScaledLossCurve();
    EXPECT_EQ(M::PlotBuf(1), 10.0f);
    EXPECT_EQ(M::PlotBuf(4997 + 3), 0.0f);
}

TEST_F(SpectrumToolsTest, SmoothingPanelWithTheGeneratedCoefficients) {
    // A unit spike among zeros and a parabola, 40 points from 0 in 1 eV steps.
    std::vector<float> values(40, 0.0f);
    values[20] = 1.0f;
    for (int i = 30; i < 40; ++i) values[i] = 0.25f * (i - 34) * (i - 34);
    saveSpectrum("spike.dat", 0, 1, values);
    f->File1->setFileName("spike.dat");
    tools->ReadSpectrumToSmooth();

    tools->ShowSmoothingPanel();
    EXPECT_TRUE(f->Frame4->isHidden());
    for (int i = 0; i < Form1::kPages; ++i) EXPECT_TRUE(f->page(i)->isHidden());
    EXPECT_TRUE(smooth->frameSmooth->isVisible());
    EXPECT_EQ(f->Text2->text(), "");

    // Degree 7 becomes 5 and half-width 1 becomes 2; each clamp smooths.
    smooth->txtm->setText("7");
    tools->ClampSmoothParamTo5();
    EXPECT_EQ(smooth->txtm->text(), "5");
    smooth->txtns->setText("25");
    tools->ClampSmoothParamTo20();
    EXPECT_EQ(smooth->txtns->text(), "20");
    smooth->txtm->setText("1");
    tools->ClampSmoothParamTo5();
    smooth->txtns->setText("1");
    tools->ClampSmoothParamTo20();
    EXPECT_EQ(smooth->txtm->text(), "2");
    EXPECT_EQ(smooth->txtns->text(), "2");
    EXPECT_EQ(smooth->txtPeakDescript->text(),
              "Savitzky-Golay smoothing of the file spike.dat. Smoothing parameters ns = 2 and m = 2");
    EXPECT_EQ(smooth->txtFileName->text(), "smospike.dat");

    // The five-point quadratic weights (-3, 12, 17, 12, -3) / 35 spread the
    // spike; the parabola comes back as it was.
    const float w[5] = {-3 / 35.0f, 12 / 35.0f, 17 / 35.0f, 12 / 35.0f, -3 / 35.0f};
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(M::PlotBuf(20 + k - 2 + 4), w[k], 1e-6);
    for (int i = 32; i < 38; ++i) EXPECT_NEAR(M::PlotBuf(i + 4), values[i], 1e-4) << i;
    EXPECT_EQ(M::PlotBuf(4), 0.0f);

    // The unsmoothed spectrum overlaid on the scale of the smoothed one.
    smooth->chkShowOriginal->setChecked(true);
    tools->SmoothSpectrum();
    EXPECT_EQ(M::AutoScale, False);
    tools->CheckShowOriginal();
    EXPECT_EQ(M::AutoScale, True);

    // Without coefficients nothing changes.
    QTemporaryDir empty;
    Tools_cls::setProgramFolder(empty.path().toStdString());
    smooth->txtPeakDescript->setText("before");
    M::PlotBuf(24) = 42;
    tools->SmoothSpectrum();
    EXPECT_EQ(M::PlotBuf(24), 42.0f);
    EXPECT_EQ(smooth->txtPeakDescript->text(), "before");

    tools->CloseSmoothingPanel();
    EXPECT_TRUE(smooth->frameSmooth->isHidden());
    EXPECT_TRUE(f->Frame4->isVisible());
    for (int n = 1; n <= 4; ++n) EXPECT_TRUE(f->option(n)->isEnabled());
}

TEST_F(SpectrumToolsTest, StepProceduresAndTheSmoothedFileName) {
    struct Case {
        QLineEdit* box;
        const char* before;
        void (SpectrumTools::*step)();
        const char* after;
    };
    const std::vector<Case> cases = {
        {smooth->txtFactor, "1", &SpectrumTools::StepUpHundredth, "1.01"},
        {smooth->txtFactor, "2.995", &SpectrumTools::StepUpHundredth, "3"},
        {smooth->txtFactor, "1", &SpectrumTools::StepDownHalf, "0.5"},
        {smooth->txtFactor, "1", &SpectrumTools::StepUpHalf, "1.5"},
        {smooth->txtm, "3", &SpectrumTools::StepDownOne, "2"},
        {smooth->txtm, "3", &SpectrumTools::StepUpOne, "4"},
        {smooth->txtns, "3", &SpectrumTools::StepDownOne2, "2"},
        {smooth->txtns, "3", &SpectrumTools::StepUpOne2, "4"},
    };
    for (const Case& c : cases) {
        c.box->setText(c.before);
        (tools->*c.step)();
        EXPECT_EQ(c.box->text(), c.after) << c.box->objectName().toStdString() << " from " << c.before;
    }
    smooth->txtReadFileName->setText("cu.dat");
    tools->MakeSmoothedFileName();
    EXPECT_EQ(smooth->txtFileName->text(), "smocu.dat");
}
