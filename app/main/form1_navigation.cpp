// The start menu, the pages and the panels that close with "Cancel"/"Exit".
#include "main/form1.h"
#include "main/forms.h"
#include "shared/program_shell.h"

namespace kelvara {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
} // namespace

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
    Line6->show();
    Frame1->hide();
    Frame4->hide();
    txtinfo(1)->setText(InfoText(1));
    for (int i = 0; i < kPages; ++i) {
        page(i)->hide();
        frameinfo(i)->hide();
    }
    page(1)->show();
    frameinfo(1)->show();
}

void Form1::Option2_Click() {
    ClearPlot();
    Line6->show();
    hideNamed(QStringLiteral("Line2_0"));
    Frame1->hide();
    txtinfo(0)->setText(InfoText(0));
    Frame4->hide();
    for (int i = 0; i < kPages; ++i) page(i)->hide();
    page(0)->show();
    frameinfo(0)->show();
}

void Form1::Option3_Click() {
    ClearPlot();
    Line6->show();
    Frame4->hide();
    Frame1->hide();
    txtinfo(2)->setText(InfoText(2));
    for (int i = 0; i < kPages; ++i) page(i)->hide();
    page(2)->show();
    frameinfo(2)->show();
}

void Form1::Option4_Click() {
    ClearPlot();
    Line6->show();
    Frame1->hide();
    Frame4->hide();
    txtinfo(3)->setText(InfoText(3));
    for (int i = 0; i < kPages; ++i) page(i)->hide();
    page(3)->show();
    frameinfo(3)->show();
}

void Form1::Option6_Click() {
    Line6->show();
    Frame1->hide();
    Frame4->hide();
    txtinfo(4)->setText(InfoText(4));
    for (int i = 0; i < kPages; ++i) {
        page(i)->hide();
        frameinfo(i)->hide();
    }
    page(4)->show();
    frameinfo(4)->show();
}

void Form1::Option5_Click() {
    hide();
    Shell().ShowPhotoemissionWindow();
    picPlot->show();
    ClearPlot();
}

// ---- back to the start menu -----------------------------------------------

void Form1::Command12_Click() {
    page(0)->hide();
    Frame4->show();
    option(2)->clear();
    hideNamed(QStringLiteral("Line2_0"));
    frameSave(0)->hide();
    Text2->setText(QString());
    txtAreas->hide();
}

void Form1::Command6_Click() {
    page(1)->hide();
    Frame4->show();
    option(1)->clear();
    frameSave(1)->hide();
}

void Form1::Command10_Click() {
    page(2)->hide();
    Frame4->show();
    option(3)->clear();
    frameSave(2)->hide();
    Text2->setText(QString());
    txtAreas->hide();
}

void Form1::Command11_Click() {
    page(3)->hide();
    Frame1->hide();
    option(4)->clear();
    Frame4->show();
    Line6->hide();
    hideNamed(QStringLiteral("Line2_2"));
    frameSave(3)->hide();
    Text2->hide();
    txtAreas->hide();
}

void Form1::cmdCancelELF_Click(int /*index*/) {
    page(4)->hide();
    Frame4->show();
    option(6)->clear();
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
