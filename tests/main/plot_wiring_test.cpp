// The main window's plot as the user reaches it: the read-out in the real
// status bar, the plot buttons and panels, the Es up-down control, the View
// menu, saving through the save button and printing through the print dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>

#include <cmath>
#include <functional>
#include <vector>

#include "photoemission/formxps.h"
#include "program_fixture.h"
#include "shared/plot.h"
#include "shared/plot_panel.h"
#include "test_app.h"
#include "widgets/picturebox.h"
#include "widgets/twips.h"

using namespace kelvara;

namespace {

constexpr int kScreenW = 1280, kScreenH = 1024;

// A curve in the spectrum layout: n points from e0 in steps of de, value k*slope.
void Fill(SingleArray& s, int n, float e0, float de, float slope) {
    s(1) = static_cast<float>(n);
    s(2) = e0;
    s(3) = de;
    for (int k = 0; k < n; ++k) s(k + 4) = static_cast<float>(k) * slope;
}

QAction* MenuItem(const char* name) { return Forms::MDIForm1().findChild<QAction*>(QString::fromLatin1(name)); }

QPushButton* Button(Form1& f, const char* name) { return f.findChild<QPushButton*>(QString::fromLatin1(name)); }

// A mouse event delivered to the picture box at the pixel of the user point (X, Y).
void Mouse(PictureBox* box, QEvent::Type type, double X, double Y, Qt::MouseButton button, Qt::MouseButtons held) {
    const QPointF local(box->toPixelX(X), box->toPixelY(Y));
    QMouseEvent ev(type, local, box->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(box, &ev);
}

QString Readout(Form1& f) {
    auto* panel = f.picPlot->findChild<QStatusBar*>("sbStatusBar")->findChild<QLabel*>("sbStatusBarPanel1");
    return panel ? panel->text() : QStringLiteral("<no panel>");
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll();
}

int CountPdfPages(const QByteArray& pdf) {
    int pages = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
        if (pdf.mid(at, 12) != "/Type /Pages") ++pages;
    return pages;
}

// Rows of black pixels in one column of the backing image, around pixel row y.
int BlackRunAround(const QImage& img, int x, int y) {
    int n = 0;
    for (int row = y - 10; row <= y + 10; ++row)
        if (row >= 0 && row < img.height() && img.pixel(x, row) == qRgb(0, 0, 0)) ++n;
    return n;
}

#define START_PROGRAM(p)                                                                                               \
    if (!testsupport::UseOffscreenScreen(kScreenW, kScreenH)) GTEST_SKIP() << "another screen in this process";        \
    auto p = testsupport::StartProgram();                                                                              \
    ASSERT_TRUE(p.services->messages.isEmpty())

} // namespace

TEST(PlotWiring, ReadoutInTheStatusBarAndThePanelPlotButtons) {
    START_PROGRAM(p);
    Form1& f = *p.form;
    // A calculated result in the plot buffer: first energy 0, step 0.5, 100
    // points from 0 to 1.98.
    Fill(Module1::PlotBuf, 100, 0, 0.5f, 0.02f);

    ASSERT_NE(MenuItem("mnuPlotIntermediateSpectra"), nullptr);
    MenuItem("mnuPlotIntermediateSpectra")->trigger();
    EXPECT_TRUE(f.Frame3->isVisible());
    int cleared = 0;
    QObject::connect(&f, &Form1::plotCleared, &f, [&] { ++cleared; });
    Button(f, "Command3")->click();
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(f.plotState().PlotXRange, 50.0f);

    // The pointer over the middle of the plot area: half the 50 eV axis and
    // half the 0..1.98 range.
    Mouse(f.picPlot, QEvent::MouseMove, 50, 50, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(Readout(f), "x: 25.00, y: .99");
    // Small values switch to the scientific form.
    Mouse(f.picPlot, QEvent::MouseMove, 100, 0.05 / 1.98 * 100, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(Readout(f), "x: 50.00, y: 5.00E-02");
    // A spectrum above 1000 reads in the scientific form as well.
    Fill(Module1::PlotBuf, 100, 0, 0.5f, 20.0f); // 0 .. 1980
    Button(f, "Command3")->click();
    Mouse(f.picPlot, QEvent::MouseMove, 0, 1000.5 / 1980 * 100, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(Readout(f), "x: .00, y: 1.00E+03");
    Mouse(f.picPlot, QEvent::MouseMove, 0, 500.0 / 1980 * 100, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(Readout(f), "x: .00, y: 500.");

    // Each plot button draws its own spectrum on a cleared box.
    Fill(Module1::SpecMeas, 10, 100, 1, 1);
    Fill(Module1::SpecInel, 10, 200, 1, 1);
    Fill(Module1::Spec2, 10, 300, 1, 1);
    const std::vector<std::pair<const char*, float>> buttons = {
        {"cmdPlot", 100.0f}, {"cmdPlotInelastic", 200.0f}, {"cmdPlotSpectra2", 300.0f}, {"Command3", 0.0f}};
    for (const auto& [name, e0] : buttons) {
        const int before = cleared;
        ASSERT_NE(Button(f, name), nullptr) << name;
        Button(f, name)->click();
        EXPECT_EQ(cleared, before + 1) << name;
        EXPECT_EQ(f.plotState().PlotE0, e0) << name;
        EXPECT_TRUE(Readout(f).isEmpty()) << name;
    }
    // A spectrum without points: the status bar says so, and the curve shown
    // (the combined spectrum, from 0) stays.
    const std::vector<std::pair<const char*, const char*>> empties = {
        {"cmdPlot", "The elastic spectrum is empty."},
        {"cmdPlotInelastic", "The inelastic spectrum is empty."},
        {"cmdPlotSpectra2", "The cross section is empty."},
        {"Command3", "The combined spectrum is empty."}};
    for (SingleArray* s : {&Module1::SpecMeas, &Module1::SpecInel, &Module1::Spec2, &Module1::PlotBuf}) s->clear();
    const QImage shown = f.picPlot->image();
    const int clearedBefore = cleared;
    for (const auto& [name, said] : empties) {
        Button(f, name)->click();
        EXPECT_EQ(Readout(f), said) << name;
        EXPECT_EQ(f.picPlot->image(), shown) << name;
    }
    EXPECT_EQ(cleared, clearedBefore);
    EXPECT_EQ(f.plotState().PlotXRange, 50.0f);
    Button(f, "Command4")->click();
    EXPECT_TRUE(f.Frame3->isHidden());
    EXPECT_TRUE(p.services->messages.isEmpty());
}

TEST(PlotWiring, EsStepControlThroughTheRealUpDown) {
    START_PROGRAM(p);
    Form1& f = *p.form;
    auto* up = f.findChild<QToolButton*>("UpDownText1_Up");
    auto* down = f.findChild<QToolButton*>("UpDownText1_Down");
    ASSERT_TRUE(up && down && f.cboIncr1);
    EXPECT_EQ(f.Text1->text(), "3");
    EXPECT_EQ(f.cboIncr1->currentText(), ".5");
    QStringList writes;
    QObject::connect(&f, &Form1::Text1Changed, &f, [&] { writes << f.Text1->text(); });

    down->click();
    EXPECT_EQ(writes, QStringList{"2.5"});

    // Below 0.1 the box is written twice: the difference, then the floor.
    f.Text1->setText("0.3");
    writes.clear();
    down->click();
    ASSERT_EQ(writes.size(), 2);
    EXPECT_EQ(writes.back(), "0.1");
    EXPECT_EQ(f.Text1->text(), "0.1");

    // Up with a step chosen from the list; no upper limit.
    f.cboIncr1->setCurrentIndex(f.cboIncr1->findText("2"));
    up->click();
    EXPECT_EQ(f.Text1->text(), "2.1");
    EXPECT_TRUE(p.services->messages.isEmpty());

    // Text that is not a number: one message, nothing written, the program goes on.
    f.Text1->setText("abc");
    writes.clear();
    down->click();
    EXPECT_EQ(p.services->messages.size(), 1);
    EXPECT_TRUE(writes.isEmpty());
    EXPECT_EQ(f.Text1->text(), "abc");
    f.Text1->setText("1");
    f.cboIncr1->setEditText("x");
    up->click();
    EXPECT_EQ(p.services->messages.size(), 2);
    EXPECT_EQ(f.Text1->text(), "1");
    EXPECT_TRUE(f.isVisible());
}

// From the photoemission window the View menu acts on that window's plot
// and never on the hidden main window; the main window's own panel item is
// disabled there, and enabled again back in the main window.
TEST(PlotWiring, ViewMenuActsOnTheWindowInFront) {
    START_PROGRAM(p);
    Form1& f = *p.form;
    f.option(5)->select();
    formXPS& xps = Forms::formXPS();
    ASSERT_FALSE(xps.isHidden());
    ASSERT_TRUE(f.isHidden());
    const QRect mainPlot = f.picPlot->geometry(), xpsPlot = xps.picPlot_xps->geometry();
    const int mainPen = f.picPlot->drawWidth(), xpsPen = xps.picPlot_xps->drawWidth();
    MenuItem("mnuIncrease")->trigger();
    MenuItem("mnuIncrease")->trigger();
    MenuItem("mnuDecrease")->trigger();
    EXPECT_EQ(xps.picPlot_xps->drawWidth(), xpsPen + 1);
    MenuItem("mnuLargePlot")->trigger();
    EXPECT_GT(xps.picPlot_xps->height(), xpsPlot.height());
    MenuItem("mnuSmallPlot")->trigger();
    EXPECT_EQ(xps.picPlot_xps->size(), QSize(TwipsToPixelsX(8000), 260));
    EXPECT_FALSE(MenuItem("mnuPlotIntermediateSpectra")->isEnabled());
    MenuItem("mnuPlotIntermediateSpectra")->trigger();
    EXPECT_TRUE(f.Frame3->isHidden());
    // The hidden main window is as it was.
    EXPECT_EQ(f.picPlot->geometry(), mainPlot);
    EXPECT_EQ(f.picPlot->drawWidth(), mainPen);
    MenuItem("mnuDefaultPlot")->trigger();
    EXPECT_EQ(xps.picPlot_xps->geometry(), xpsPlot);

    xps.cmdMainMenu->click();
    EXPECT_TRUE(MenuItem("mnuPlotIntermediateSpectra")->isEnabled());
    MenuItem("mnuIncrease")->trigger();
    EXPECT_EQ(f.picPlot->drawWidth(), mainPen + 1);
    EXPECT_EQ(xps.picPlot_xps->drawWidth(), xpsPen + 1);
    MenuItem("mnuDecrease")->trigger();
    xps.picPlot_xps->setDrawWidth(xpsPen);
    EXPECT_TRUE(p.services->messages.isEmpty());
}

TEST(PlotWiring, ViewMenuPenWidthAndPlotSize) {
    START_PROGRAM(p);
    Form1& f = *p.form;
    for (const char* name : {"mnuView", "mnuSetPointsize", "mnuScreenSize"})
        EXPECT_NE(Forms::MDIForm1().findChild<QMenu*>(name), nullptr) << name;
    ASSERT_EQ(f.picPlot->drawWidth(), 2);
    // A constant spectrum draws the axes alone: their thickness is the pen width.
    Fill(Module1::PlotBuf, 20, 0, 1, 0);
    // Every item of the menu draws the curve again at once.
    const auto axisRows = [&] {
        return BlackRunAround(f.picPlot->image(), static_cast<int>(f.picPlot->toPixelX(50)),
                              static_cast<int>(f.picPlot->toPixelY(0)));
    };
    f.Command3_Click();
    EXPECT_EQ(axisRows(), 2);
    MenuItem("mnuIncrease")->trigger();
    EXPECT_EQ(f.picPlot->drawWidth(), 3);
    EXPECT_EQ(axisRows(), 3);
    for (int k = 0; k < 3; ++k) MenuItem("mnuDecrease")->trigger();
    EXPECT_EQ(f.picPlot->drawWidth(), 1);
    EXPECT_EQ(axisRows(), 1);

    // Plot sizes; the status bar stays along the bottom edge. The large plot
    // is never smaller than the start-up one: on this screen it keeps the
    // start-up width (0.99 of 1280 pixels, more than 12000 twips) and reaches
    // the bottom of what the frame shows less 2 %, so that nothing scrolls.
    const QRect startUp = f.picPlot->geometry();
    ASSERT_EQ(startUp.width(), 1267);
    MenuItem("mnuLargePlot")->trigger();
    const int shown = Shell().visibleClientSize().height() - f.y();
    EXPECT_EQ(f.picPlot->size(), QSize(1267, shown - startUp.y() - static_cast<int>(0.02 * shown)));
    EXPECT_LE(Forms::ClientArea()->height(), Shell().visibleClientSize().height());
    EXPECT_GT(f.picPlot->height(), startUp.height());
    EXPECT_EQ(f.picPlot->pos(), startUp.topLeft());
    EXPECT_EQ(f.sbStatusBar->geometry().bottom(), f.picPlot->height() - 1);
    EXPECT_EQ(f.sbStatusBar->width(), 1267);
    EXPECT_TRUE(f.sbStatusBarPanel1->isVisible());
    EXPECT_EQ(axisRows(), 1);
    // On a screen where the twips size is the larger one, it wins.
    EXPECT_EQ(PlotPanel::LargePlotSize(QSize(700, 300), 200, 600), QSize(800, TwipsToPixelsY(7000)));
    // ... and the large plot is always higher than the start-up one.
    EXPECT_EQ(PlotPanel::LargePlotSize(QSize(700, 500), 200, 600), QSize(800, 500 + TwipsToPixelsY(1000)));
    // "DefaultPlot" goes back to the start-up place and size.
    MenuItem("mnuDefaultPlot")->trigger();
    EXPECT_EQ(f.picPlot->geometry(), startUp);
    EXPECT_EQ(f.sbStatusBar->geometry().bottom(), startUp.height() - 1);
    EXPECT_EQ(axisRows(), 1);
    MenuItem("mnuSmallPlot")->trigger();
    EXPECT_EQ(f.picPlot->size(), QSize(TwipsToPixelsX(8000), 260));
    EXPECT_EQ(f.sbStatusBar->geometry().bottom(), 259);
    EXPECT_EQ(axisRows(), 1);
    EXPECT_TRUE(p.services->messages.isEmpty());
}

TEST(PlotWiring, SaveThroughTheButtonAndTheReplacedDialog) {
    START_PROGRAM(p);
    Form1& f = *p.form;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    f.File1->setPath(dir.path());
    Fill(Module1::PlotBuf, 3, 0.5f, 0.5f, 0); // a calculated curve: its first loss at one step
    Module1::PlotBuf(4) = 1.25f;
    Module1::PlotBuf(5) = -2;
    Module1::PlotBuf(6) = 3.5f;
    f.mnuPlotIntermediateSpectra_Click();
    const QString title = Forms::MDIForm1().windowTitle();

    // Cancel: nothing written, the caption stays.
    Button(f, "cmdSavePlotLoss")->click();
    EXPECT_EQ(p.services->saveDialogs, 1);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(Forms::MDIForm1().windowTitle(), title);
    // Two entries, text files preselected.
    EXPECT_EQ(p.services->lastFilter.split(";;").size(), 2);
    EXPECT_EQ(p.services->lastSelectedFilter, p.services->lastFilter.split(";;").at(1));
    EXPECT_TRUE(p.services->lastSelectedFilter.contains("*.txt"));

    const QString path = dir.filePath("combined.txt");
    ASSERT_GT(path.size(), 30);
    p.services->nextFileName = path;
    Button(f, "cmdSavePlotLoss")->click();
    EXPECT_EQ(ReadAll(path), QByteArray("\"@\"\r\n0.5,1.25\r\n1,-2\r\n1.5,3.5\r\n"));
    EXPECT_EQ(Forms::MDIForm1().windowTitle(), title);
    EXPECT_FALSE(f.File1->findItems("combined.txt", Qt::MatchExactly).isEmpty());
    EXPECT_TRUE(p.services->messages.isEmpty());

    // The second spectrum goes the same way. A spectrum without points is
    // refused with a message, before the dialog.
    const QString second = dir.filePath("k.txt");
    p.services->nextFileName = second;
    Fill(Module1::Spec2, 1, 0, 0.5f, 0);
    f.SaveSecondSpectrum();
    EXPECT_TRUE(QFile::exists(second));
    EXPECT_FALSE(f.File1->findItems("k.txt", Qt::MatchExactly).isEmpty());
    const std::vector<std::pair<std::function<void()>, QString>> empties = {
        {[&] { f.SaveSecondSpectrum(); }, "The cross section is empty: there is nothing to save."},
        {[&] { Button(f, "cmdSavePlotLoss")->click(); }, "The combined spectrum is empty: there is nothing to save."}};
    Module1::Spec2.clear();
    Module1::PlotBuf.clear();
    for (const auto& [save, said] : empties) {
        const int dialogs = p.services->saveDialogs;
        p.services->messages.clear();
        p.services->nextFileName = dir.filePath("empty.txt");
        save();
        ASSERT_EQ(p.services->messages.size(), 1);
        EXPECT_EQ(p.services->messages[0].text, said);
        EXPECT_EQ(p.services->saveDialogs, dialogs);
        EXPECT_FALSE(QFile::exists(dir.filePath("empty.txt")));
        EXPECT_EQ(Forms::MDIForm1().windowTitle(), title);
    }
}

TEST(PlotWiring, PrintThroughTheReplacedDialogGivesOnePdfPage) {
    START_PROGRAM(p);
    Form1& f = *p.form;
    QTemporaryDir dir;
    Fill(Module1::Spec2, 100, 0, 0.5f, 0.01f);
    f.ReplotSecondSpectrum();
    const QString pdf = dir.filePath("plot.pdf");
    p.services->printToFile = pdf;

    // Cancel prints nothing.
    f.PrintPlot();
    EXPECT_EQ(p.services->printDialogs, 1);
    EXPECT_FALSE(QFile::exists(pdf));

    p.services->printAccepts = true;
    f.PrintPlot();
    const QByteArray bytes = ReadAll(pdf);
    EXPECT_EQ(CountPdfPages(bytes), 1);
    EXPECT_GT(bytes.size(), 2000); // the page holds the drawing, not an empty page
    EXPECT_EQ(f.plotState().PlotN, 100);
    EXPECT_TRUE(p.services->messages.isEmpty());
    // KELVARA_KEEP_PDF=<file> keeps a copy of the printout to look at.
    if (const QByteArray keep = qgetenv("KELVARA_KEEP_PDF"); !keep.isEmpty())
        QFile::copy(pdf, QString::fromLocal8Bit(keep));
}

TEST(PlotWiring, RangeMarkersAndYmaxPanel) {
    START_PROGRAM(p);
    Form1& f = *p.form;
    Plot& plot = f.plotState();
    Fill(Module1::Spec2, 100, 0, 0.5f, 0.02f);
    f.ReplotSecondSpectrum();

    f.SetPlotRangeLines();
    EXPECT_TRUE(f.framePlotRange->isVisible());
    for (int i = 0; i < Form1::kPages; ++i) EXPECT_FALSE(f.page(i)->isEnabled());
    ASSERT_TRUE(plot.LinEnergy1->isVisible() && plot.LinEnergy2->isVisible());

    // Pick up the second marker at x = 70 and drag it to x = 50 with the left button.
    Mouse(f.picPlot, QEvent::MouseButtonPress, 70.1, 50, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(plot.Dragging);
    EXPECT_EQ(f.picPlot->mousePointer(), PictureBox::PointerSizeWE);
    Mouse(f.picPlot, QEvent::MouseMove, 50, 50, Qt::NoButton, Qt::LeftButton);
    EXPECT_NEAR(plot.LinEnergy2->X1(), 50, 1e-9);
    EXPECT_EQ(Readout(f), "x: 25.00, y: .99");
    EXPECT_NEAR(plot.RangeWidth, 25.0f, 1e-4);
    EXPECT_EQ(f.picPlot->mousePointer(), PictureBox::PointerDefault); // button held
    // Without a button, over a marker: the sizing arrow.
    Mouse(f.picPlot, QEvent::MouseMove, 0.2, 50, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(f.picPlot->mousePointer(), PictureBox::PointerSizeWE);

    // "New Range" draws the energies between the markers.
    f.otpNewRange->click();
    EXPECT_NEAR(plot.PlotXRange, 25.0f, 1e-4);
    EXPECT_EQ(plot.PlotN, 50);
    EXPECT_FALSE(plot.LinEnergy1->isVisible());

    Button(f, "cmdClose")->click();
    EXPECT_FALSE(plot.RangeMode);
    EXPECT_EQ(plot.PlotXRange, 50.0f);
    EXPECT_TRUE(f.framePlotRange->isHidden());
    for (int i = 0; i < Form1::kPages; ++i) EXPECT_TRUE(f.page(i)->isEnabled());

    // Y-max panel: starts from the plot's top, then a typed bound re-plots.
    f.ShowYmaxPanel();
    EXPECT_TRUE(f.frameYmax->isVisible());
    EXPECT_TRUE(plot.YmaxMode);
    EXPECT_EQ(f.txtYmax->text(), "1.98E+00");
    EXPECT_NEAR(plot.YmaxValue, 1.98f, 1e-6);
    f.txtYmax->setText("1");
    EXPECT_EQ(plot.PlotYMax, 1.0);
    f.txtYmax->setText("x"); // not a number: quietly nothing
    EXPECT_EQ(plot.PlotYMax, 1.0);
    EXPECT_TRUE(p.services->messages.isEmpty());
    Button(f, "Command5")->click();
    EXPECT_FALSE(plot.YmaxMode);
    f.ReplotSecondSpectrum();
    EXPECT_NEAR(plot.PlotYMax, 1.98, 1e-6);
}

// The picture check: run with KELVARA_SCREENSHOT=<png> under an X server
// (tools/plot_screenshot.sh); skipped otherwise.
TEST(PlotScreenshot, CurveInTheRunningProgram) {
    const QByteArray out = qgetenv("KELVARA_SCREENSHOT");
    if (out.isEmpty()) GTEST_SKIP() << "KELVARA_SCREENSHOT not set";
    // The X server's own screen, not an offscreen one.
    (void)kelvara::testing::TestApp();
    Form1& f = *testsupport::StartProgram().form;
    // A damped oscillation on a 50 eV axis.
    SingleArray& s = Module1::PlotBuf;
    s(1) = 250;
    s(2) = 0;
    s(3) = 0.2f;
    for (int k = 0; k < 250; ++k) {
        const double T = k * 0.2;
        s(k + 4) = static_cast<float>(T * std::exp(-T / 12.0) * (1.0 + 0.3 * std::sin(T / 2.0)));
    }
    MenuItem("mnuPlotIntermediateSpectra")->trigger();
    Button(f, "Command3")->click();
    Button(f, "Command4")->click(); // the panel closed, the whole curve in view
    // The pointer over the plot, so the read-out shows.
    QCursor::setPos(f.picPlot->mapToGlobal(
        QPoint(static_cast<int>(f.picPlot->toPixelX(30)), static_cast<int>(f.picPlot->toPixelY(40)))));
    for (int k = 0; k < 30; ++k) {
        QApplication::processEvents();
        QThread::msleep(50);
    }
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    ASSERT_TRUE(shot.save(QString::fromLocal8Bit(out)));
}

// The read-out is emptied when the page changes or the plot is cleared; the
// title and areas boxes grow with their text so that it shows without
// scrolling, keep their right edge and never overlap.
TEST(PlotWiring, ReadoutFollowsThePageAndTheBoxesOnThePlotFitTheirText) {
    START_PROGRAM(p);
    Form1& f = *p.form;
    Fill(Module1::PlotBuf, 100, 0, 0.5f, 0.02f);
    f.Command3_Click();
    const auto point = [&] {
        Mouse(f.picPlot, QEvent::MouseMove, 50, 50, Qt::NoButton, Qt::NoButton);
        EXPECT_FALSE(Readout(f).isEmpty());
    };
    point();
    f.option(6)->select();
    EXPECT_TRUE(Readout(f).isEmpty());
    f.Command3_Click();
    point();
    Button(f, "cmdCancelELF_0")->click();
    EXPECT_TRUE(Readout(f).isEmpty());
    point();
    f.ClearPlot();
    EXPECT_TRUE(Readout(f).isEmpty());

    const QRect titlePlace = f.Text2->geometry(), areasPlace = f.txtAreas->geometry();
    const QString title =
        QStringLiteral("Effective cross section K(T) [eV^-1 \u00C5^-1] of the model\r\n\r\n"
                       "Total IMFP = 12.34 \u00C5\r\nValence electr. contrib. IMFPv = 15.67 \u00C5\r\n"
                       "Core electr. contrib. IMFPc = 890.12 \u00C5");
    QStringList areaLines;
    for (int k = 0; k < 5; ++k)
        areaLines << QStringLiteral("Area of K_vacuum incomming trajectory = 1.23E-02 (\u00C5^-1)");
    f.Text2->setText(title);
    f.Text2->show();
    f.txtAreas->setText(areaLines.join(QStringLiteral("\r\n")));
    f.txtAreas->show();
    QCoreApplication::processEvents();
    for (InfoBox* box : {f.Text2, f.txtAreas}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_EQ(box->verticalScrollBar()->maximum(), 0); // the whole text shows
        EXPECT_LE(box->width(), f.picPlot->width() / 2);
    }
    EXPECT_EQ(f.Text2->geometry().right(), titlePlace.right());
    EXPECT_EQ(f.Text2->y(), titlePlace.y());
    EXPECT_GT(f.Text2->height(), titlePlace.height());
    EXPECT_EQ(f.txtAreas->geometry().right(), areasPlace.right());
    EXPECT_GT(f.txtAreas->y(), f.Text2->geometry().bottom());
    // Emptied, they go back to their places.
    f.Text2->setText(QString());
    f.txtAreas->setText(QString());
    EXPECT_EQ(f.Text2->geometry(), titlePlace);
    EXPECT_EQ(f.txtAreas->geometry(), areasPlace);
    EXPECT_TRUE(p.services->messages.isEmpty());
}
