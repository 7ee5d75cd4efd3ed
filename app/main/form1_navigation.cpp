// The start menu, the pages and the panels that close with "Cancel"/"Exit".
#include <QLabel>

#include "main/form1.h"
#include "main/forms.h"
#include "platform/crlf.h"
#include "shared/program_shell.h"

namespace kelvara {

QString Form1::InfoText(int page) {
    switch (page) {
    case 0:
        return QStringLiteral("The effective cross sectrion is calculated according to the theory in") +
               QStringLiteral(" Model A and Model B for normal incidence and exit, eqs. (1)-(10).");
    case 1:
        return QStringLiteral("Calculates probability for energy loss per \u00C5 and eV for electrons moving in an infinite "
                              "medium using the theory of Lindhard and a Drude-Lindhard type of dielectric function.") +
               QStringLiteral(" The dielectric function is given by eqs. (1)-(4) of the oscillator model.") + kCrLf +
               kCrLf + QStringLiteral("The start energy is Ep and the energy loss T. All units are in \u00C5 and eV.");
    case 2:
        return QStringLiteral("The effective cross section K(T) is calculated according to eq. (23) in") +
               QStringLiteral(" the thin-film model.") + kCrLf + kCrLf +
               QStringLiteral("The start energy is Ep and the energy loss T.") + kCrLf +
               QStringLiteral("The film thickness is t.") + kCrLf + kCrLf + QStringLiteral("All units are in \u00C5 and eV.");
    case 3:
        return QStringLiteral("The effective cross sections are calculated according to eqs.(21-25) in") +
               QStringLiteral(" Model 96 for any incidence and exit angle.");
    case 4:
        return QStringLiteral("The dielectric function is defined by a sum of Drude-Lindhard type oscillators.") +
               QStringLiteral(" Its form is given by eqs. (1)-(4) of the oscillator model.") + kCrLf +
               kCrLf +
               QStringLiteral("For each oscillator you input the energy position (W0), intensity (A0), width (g), and "
                              "dispersion (a).") +
               kCrLf + QStringLiteral("All units are in eV and \u00C5");
    default:
        return QString();
    }
}

// ---- choosing a page -------------------------------------------------------

void Form1::Option1_Click() {
    sbStatusBarPanel1->clear();
    navigator_.Open(1);
    KeepPlotBoxesClearOf(page(1));
}
void Form1::Option2_Click() {
    sbStatusBarPanel1->clear();
    navigator_.Open(2);
    KeepPlotBoxesClearOf(page(0));
}
void Form1::Option3_Click() {
    sbStatusBarPanel1->clear();
    navigator_.Open(3);
    KeepPlotBoxesClearOf(page(2));
}
void Form1::Option4_Click() {
    sbStatusBarPanel1->clear();
    navigator_.Open(4);
    KeepPlotBoxesClearOf(page(3));
}
void Form1::Option6_Click() {
    sbStatusBarPanel1->clear();
    navigator_.Open(6);
    KeepPlotBoxesClearOf(page(4));
}

void Form1::Option5_Click() {
    sbStatusBarPanel1->clear();
    hide();
    Shell().ShowPhotoemissionWindow();
    picPlot->show();
    ClearPlot();
}

// ---- back to the start menu -----------------------------------------------

// The read-out belongs to the page that is left.
void Form1::Command12_Click() {
    sbStatusBarPanel1->clear();
    navigator_.Close(0);
    KeepPlotBoxesClearOf(nullptr);
}
void Form1::Command6_Click() {
    sbStatusBarPanel1->clear();
    navigator_.Close(1);
    KeepPlotBoxesClearOf(nullptr);
}
void Form1::Command10_Click() {
    sbStatusBarPanel1->clear();
    navigator_.Close(2);
    KeepPlotBoxesClearOf(nullptr);
}
void Form1::Command11_Click() {
    sbStatusBarPanel1->clear();
    navigator_.Close(3);
    KeepPlotBoxesClearOf(nullptr);
}
void Form1::cmdCancelELF_Click(int /*index*/) {
    sbStatusBarPanel1->clear();
    navigator_.Close(4);
    KeepPlotBoxesClearOf(nullptr);
}

// ---- closing panels --------------------------------------------------------

void Form1::cmdCancel1_Click() { frameSave(3)->hide(); }
void Form1::Command8_Click() { frameSave(3)->hide(); }
void Form1::Command16_Click() { frameSave(0)->hide(); }
void Form1::Command9_Click() { frameSave(1)->hide(); }
void Form1::Command14_Click() { frameSave(2)->hide(); }
void Form1::cmdCancelShowIMFP_Click() { hideNamed(QStringLiteral("frameshowIMFP_0")); }
void Form1::Command4_Click() { Frame3->hide(); }

void Form1::Command5_Click() {
    emit ymaxModeSwitchedOff();
    frameYmax->hide();
}

// ---- leaving and the small windows ----------------------------------------

void Form1::cmdExitMain_Click() { Shell().Unload(); }

void Form1::cmd_AboutTORVIK_Click() { ShowAbout(); }

} // namespace kelvara
