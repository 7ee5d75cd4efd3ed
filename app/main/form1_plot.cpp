// Everything the user does with the main window's plot besides producing a
// curve and what its plot panel (shared/plot_panel.h) does itself: the
// intermediate-spectra, range and Y-max panels, the the View menu handlers, saving the
// plotted curve and printing the second spectrum.
#include <QComboBox>
#include <QLabel>
#include <QPrinter>

#include <algorithm>
#include <exception>

#include "main/form1.h"
#include "platform/numbers.h"
#include "shared/plot_file.h"
#include "shared/plot_panel.h"
#include "shared/plot_readout.h"
#include "shared/program_shell.h"
#include "state/module1.h"
#include "widgets/guard.h"
#include "widgets/services.h"
#include "widgets/twips.h"

namespace kelvara {

namespace {

QPushButton* panelButton(QWidget* parent, const char* name, const char* caption, int x, int y, int w = 220) {
    return MakeButton(parent, QString::fromLatin1(name), QString::fromUtf8(caption), x, y, w);
}

} // namespace

void Form1::BuildPlotPanels() {
    // "Plot Intermediate Spectra".
    connectGuarded(panelButton(Frame3, "cmdPlot", "Plot Elastic", 10, 30), &QPushButton::clicked, this,
                   [this](bool) { cmdPlot_Click(); });
    connectGuarded(panelButton(Frame3, "cmdPlotInelastic", "Plot Inelastic", 10, 62), &QPushButton::clicked, this,
                   [this](bool) { cmdPlotInelastic_Click(); });
    connectGuarded(panelButton(Frame3, "cmdPlotSpectra2", "Plot cross section rivmer", 10, 94), &QPushButton::clicked,
                   this, [this](bool) { cmdPlotSpectra2_Click(); });
    connectGuarded(panelButton(Frame3, "Command3", "Plot the combined spectrum", 10, 126), &QPushButton::clicked, this,
                   [this](bool) { Command3_Click(); });
    connectGuarded(panelButton(Frame3, "cmdSavePlotLoss", "Save the combined spectrum", 10, 158), &QPushButton::clicked,
                   this, [this](bool) { cmdSavePlotLoss_Click(); });

    // "Set Max Energy in rivmer plot".
    otpNewRange = MakeNamed<OptionButton>(framePlotRange, QStringLiteral("otpNewRange"), QStringLiteral("New Range"));
    otpNewRange->setGeometry(20, 40, 200, 28);
    connectGuarded(otpNewRange, &OptionButton::chosen, this, [this] { otpNewRange_Click(); });
    connectGuarded(panelButton(framePlotRange, "cmdClose", "Exit", 10, 200, 90), &QPushButton::clicked, this,
                   [this](bool) { cmdClose_Click(); });

    // "Set Ymax of rivmer plot": the default text is in place before the
    // change handler is connected.
    txtYmax = MakeNamed<TextBox>(frameYmax, QStringLiteral("txtYmax"), QStringLiteral("1"));
    txtYmax->setGeometry(20, 40, 140, 24);
    connectGuarded(txtYmax, &QLineEdit::textChanged, this, [this](const QString&) { txtYmax_Change(); });
    // "Exit" of the panel switches the fixed upper bound off.
    connect(this, &Form1::ymaxModeSwitchedOff, this, [this] { plot().YmaxMode = false; });
}

// ---- plot buttons ------------------------------------------------------------

// Clears the plot and draws `spectrum`; for one without points the plot
// stays as it is and the status bar says that `name` is empty.
void Form1::PlotIntermediate(const SingleArray& spectrum, const QString& name) {
    if (IsEmptySpectrum(spectrum)) {
        sbStatusBarPanel1->setText(QStringLiteral("The %1 is empty.").arg(name));
        return;
    }
    ClearPlot();
    Plot(spectrum, 0);
}

bool Form1::IsEmptySpectrum(const SingleArray& spectrum) { return !spectrum.inBounds(1) || !(spectrum(1) > 0.5f); }

void Form1::cmdPlot_Click() { PlotIntermediate(Module1::SpecMeas, QStringLiteral("elastic spectrum")); }

void Form1::cmdPlotInelastic_Click() { PlotIntermediate(Module1::SpecInel, QStringLiteral("inelastic spectrum")); }

void Form1::cmdPlotSpectra2_Click() { PlotIntermediate(Module1::Spec2, QStringLiteral("cross section")); }

void Form1::Command3_Click() { PlotIntermediate(Module1::PlotBuf, QStringLiteral("combined spectrum")); }

void Form1::ReplotSecondSpectrum() {
    ClearPlot();
    Plot(Module1::Spec2, 0);
}

// ---- range panel -------------------------------------------------------------

void Form1::SetPlotRangeLines() {
    PlaceRangeMarkers(plot());
    framePlotRange->show();
    framePlotRange->raise();
    otpNewRange->clear();
    for (int i = 0; i < kPages; ++i) page(i)->setEnabled(false);
}

void Form1::otpNewRange_Click() { ReplotSecondSpectrum(); }

void Form1::cmdClose_Click() {
    for (int i = 0; i < kPages; ++i) page(i)->setEnabled(true);
    plot().RangeMode = false;
    ReplotSecondSpectrum();
    if (plot().LinEnergy1) plot().LinEnergy1->setVisible(false);
    if (plot().LinEnergy2) plot().LinEnergy2->setVisible(false);
    framePlotRange->hide();
}

// ---- Y-max panel ---------------------------------------------------------------

void Form1::txtYmax_Change() {
    plot().YmaxMode = true;
    try {
        plot().YmaxValue = ToSingle(txtYmax->text().toStdString());
        ReplotSecondSpectrum();
    } catch (const std::exception&) {
        // Not a number (yet): the plot stays as it is.
    }
}

void Form1::ShowYmaxPanel() {
    plot().YmaxMode = true;
    txtYmax->setText(QString::fromStdString(Format(plot().PlotYMax, "Scientific")));
    plot().YmaxValue = ToSingle(txtYmax->text().toStdString());
    frameYmax->show();
    frameYmax->raise();
}

// ---- View menu -------------------------------------------------------------------

// The pen and the plot sizes apply at once: the curves shown are drawn again
// (shared/plot_panel.h).
void Form1::mnuIncrease_Click() { plotPanel_->IncreasePen(); }

void Form1::mnuDecrease_Click() { plotPanel_->DecreasePen(); }

void Form1::mnuLargePlot_Click() {
    plotPanel_->LargeSize();
    KeepControlsReachable();
}

void Form1::mnuDefaultPlot_Click() { plotPanel_->DefaultSize(); }

void Form1::mnuSmallPlot_Click() { plotPanel_->SmallSize(); }

void Form1::mnuPlotIntermediateSpectra_Click() {
    Frame3->show();
    Frame3->raise();
}

// ---- saving and printing -------------------------------------------------------

// Saves the curve through the save dialog and lists the new file; a curve
// without points is not saved. The window keeps its caption.
void Form1::SaveCurve(const SingleArray& curve, const QString& name) {
    if (IsEmptySpectrum(curve)) {
        services().messageBox(QStringLiteral("The %1 is empty: there is nothing to save.").arg(name));
        return;
    }
    const QString path = SavePlotThroughDialog(curve, plotState(), browserFolder());
    if (path.isEmpty()) return;
    File1->refresh();
}

void Form1::cmdSavePlotLoss_Click() { SaveCurve(Module1::PlotBuf, QStringLiteral("combined spectrum")); }

void Form1::SaveSecondSpectrum() { SaveCurve(Module1::Spec2, QStringLiteral("cross section")); }

void Form1::PrintPlot() {
    try {
        QPrinter printer(QPrinter::HighResolution);
        if (!services().printDialog(printer)) return;
        PrintPlotPage page;
        page.fileName = File1->fileName();
        page.areaK = AreaK;
        page.copies = printer.copyCount();
        // A printer that makes the copies itself gets one page; otherwise the
        // page is drawn once for each copy.
        page.arrangement = printer.supportsMultipleCopies() ? 2 : 1;
        kelvara::PrintPlot(printer, Module1::Spec2, plot(), page);
    } catch (const std::exception&) {
        // Printing ends quietly.
    }
}

} // namespace kelvara
