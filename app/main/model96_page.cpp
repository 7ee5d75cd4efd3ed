#include "main/model96_page.h"

#include <cmath>

#include "shared/calc_driver.h"
#include "main/form1.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "main/result_files.h"
#include "platform/guard.h"
#include "platform/numbers.h"
#include "platform/services.h"
#include "state/binder.h"
#include "state/module1.h"

namespace kelvara {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

QString General(float value) { return QString::fromStdString(GeneralText(value)); }
} // namespace

QString Model96Page::CurveTitle() {
    return QStringLiteral("Effective cross section K(T) [eV^-1 \u00C5^-1] of Model 96 for any incidence and exit "
                          "angle, eqs. (21)-(25)");
}

QString Model96Page::FailureMessage() { return QStringLiteral("You must first read ELF data file"); }

Model96Page::Model96Page(Form1& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("Model96Page"));
    Frame* page = form.page(3);

    // Parameters: label box and value box side by side. The angle labels
    // show the Greek theta.
    const auto values = MakeParameterFrame(page, QStringLiteral("frameSetparModel96"), QStringLiteral("Parameters"),
                                           QStringLiteral("txtpar96"), QStringLiteral("txtpar96Val"),
                                           {{0, "Ep = ", "1000"},
                                            {1, "Estep = ", "0.5"},
                                            {2, "Emax = ", "50"},
                                            {3, "X0 = ", "20"},
                                            {4, "\u03B81 =", "0"},
                                            {5, "\u03B82 = ", "0"}},
                                           8, 20, &frameSetparModel96);
    for (int i = 0; i < 6; ++i) {
        txtpar96Val[static_cast<std::size_t>(i)] = values.at(i);
        txtpar96[static_cast<std::size_t>(i)] =
            frameSetparModel96->findChild<TextBox*>(ArrayName(QStringLiteral("txtpar96"), i));
    }
    frameSetparModel96->findChild<TextBox*>(ArrayName(QStringLiteral("txtpar96"), 4))->setToolTip(
        QStringLiteral("Incidence angle from the surface normal (degrees)"));
    frameSetparModel96->findChild<TextBox*>(ArrayName(QStringLiteral("txtpar96"), 5))->setToolTip(
        QStringLiteral("Exit angle from the surface normal (degrees)"));

    // Model file and the buttons.
    cmdCalcKeffModel96 =
        MakeButton(page, QStringLiteral("cmdCalcKeffModel96"), QStringLiteral("Calculate Keff"), 278, 54, 98);
    cmdShowIMFP_eff =
        MakeButton(page, QStringLiteral("cmdShowIMFP_eff"), QStringLiteral("Show IMFP-eff"), 176, 84, 98);
    cmdSave96 = MakeButton(page, QStringLiteral("cmdSave96"), QStringLiteral("Save"), 278, 84, 98);

    // The show buttons, hidden until a calculation has run.
    frameShowModel96 = MakeNamed<Frame>(page, QStringLiteral("frameShowModel96"), QStringLiteral("Plot"));
    frameShowModel96->setGeometry(176, 114, 200, 84);
    cmdKeff = MakeButton(frameShowModel96, QStringLiteral("cmdKeff"), QStringLiteral("Keff"), 6, 20, 60);
    cmdKvi = MakeButton(frameShowModel96, QStringLiteral("cmdKvi"), QStringLiteral("K vac in"), 68, 20, 62);
    cmdkvo = MakeButton(frameShowModel96, QStringLiteral("cmdkvo"), QStringLiteral("K vac out"), 132, 20, 62);
    cmdkmi = MakeButton(frameShowModel96, QStringLiteral("cmdkmi"), QStringLiteral("k medium in"), 6, 50, 92);
    cmdkmo = MakeButton(frameShowModel96, QStringLiteral("cmdkmo"), QStringLiteral("K medium out"), 102, 50, 92);
    frameShowModel96->hide();
    const auto model = MakeModelFileControls(form, page, ArrayName(QStringLiteral("txtELFfile96"), 3),
                                             QStringLiteral("cmdELFfile96"), frameShowModel96);
    txtELFfile96 = model.box;
    cmdELFfile96 = model.button;

    // The "IMFP -eff" panel, hidden until "Show IMFP-eff".
    Frame* panel = MakeNamed<Frame>(page, ArrayName(QStringLiteral("frameshowIMFP"), 0), QStringLiteral("IMFP -eff"));
    panel->setGeometry(176, 16, 204, 210);
    panel->setAutoFillBackground(true);
    Frame* core = MakeNamed<Frame>(panel, ArrayName(QStringLiteral("frameshowIMFP"), 1),
                                   QStringLiteral("Core level parameters"));
    core->setGeometry(6, 18, 192, 80);
    frameshowIMFP = {panel, core};
    const auto imfpName = [](int i) { return ArrayName(QStringLiteral("txt_IMFPeff"), i); };
    txt_IMFPeff[0] = MakeLabelBox(core, imfpName(0), QStringLiteral("ac = "), 6, 20, 70);
    txt_IMFPeff[1] = MakeLabelBox(core, imfpName(1), QStringLiteral("bc ="), 6, 48, 70);
    txt_IMFPeff[5] = MakeNamed<TextBox>(core, imfpName(5), QStringLiteral("1"));
    txt_IMFPeff[5]->setGeometry(80, 20, 104, 24);
    txt_IMFPeff[6] = MakeNamed<TextBox>(core, imfpName(6), QStringLiteral("1"));
    txt_IMFPeff[6]->setGeometry(80, 48, 104, 24);
    const char* labels[3] = {"lc = ", "lv = ", "IMFP_eff = "};
    for (int k = 0; k < 3; ++k) {
        const int top = 104 + k * 28;
        txt_IMFPeff[static_cast<std::size_t>(2 + k)] =
            MakeLabelBox(panel, imfpName(2 + k), QString::fromLatin1(labels[k]), 12, top, 70);
        auto* value = MakeNamed<TextBox>(panel, imfpName(7 + k));
        value->setGeometry(86, top, 104, 24);
        txt_IMFPeff[static_cast<std::size_t>(7 + k)] = value;
    }
    cmdCancelShowIMFP =
        MakeButton(panel, QStringLiteral("cmdCancelShowIMFP"), QStringLiteral("Cancel"), 12, 184, 80, 22);
    panel->hide();

    const auto click = [this](QPushButton* b, void (Model96Page::*handler)()) {
        connectGuarded(b, &QPushButton::clicked, this, [this, handler](bool) { (this->*handler)(); });
    };
    click(cmdCalcKeffModel96, &Model96Page::cmdCalcKeffModel96_Click);
    click(cmdKeff, &Model96Page::cmdKeff_Click);
    click(cmdKvi, &Model96Page::cmdKvi_Click);
    click(cmdkvo, &Model96Page::cmdkvo_Click);
    click(cmdkmi, &Model96Page::cmdkmi_Click);
    click(cmdkmo, &Model96Page::cmdkmo_Click);
    click(cmdShowIMFP_eff, &Model96Page::cmdShowIMFP_eff_Click);
    connectGuarded(cmdSave96, &QPushButton::clicked, this, [this](bool) { ShowSaveFrame(form_, 3); });
    connectGuarded(cmdCancelShowIMFP, &QPushButton::clicked, this,
                   [this](bool) { form_.cmdCancelShowIMFP_Click(); });
}

void Model96Page::cmdCalcKeffModel96_Click() {
    using namespace Module1;
    float Ep = 0.0f, X0 = 0.0f, Theta1 = 0.0f, Theta2 = 0.0f;
    float IMFPc = 0.0f, IMFPv = 0.0f, IMFPeff = 0.0f;

    CalcRecipe r;
    r.readBoxes = [&] {
        Ep = BoxSingle(txtpar96Val[0]);
        Estep = BoxSingle(txtpar96Val[1]);
        Emax = BoxSingle(txtpar96Val[2]);
        X0 = BoxSingle(txtpar96Val[3]);
        Theta1 = BoxSingle(txtpar96Val[4]);
        Theta2 = BoxSingle(txtpar96Val[5]);
    };
    r.primaryEnergy = [&] { return Ep; };
    r.libraryCount = [] { return TruncatedPointCount(Emax, Estep); };
    r.callLibrary = [&] {
        orvane(&Ep, &Estep, &Emax, &X0, &Theta1, &Theta2, Kvi.element1(), Kvo.element1(), Kmi.element1(),
               Kmo.element1(), Keff.element1(), &Egap, W0.element1(), Gamma.element1(), A0.element1(),
               Alfa.element1(), &NumOsc, &Core_ac, &Core_bc, &IMFPc, &IMFPv, &IMFPeff);
    };
    r.afterCall = [&] {
        // Mean free paths that are not numbers are never shown.
        if (!std::isfinite(IMFPc) || !std::isfinite(IMFPv) || !std::isfinite(IMFPeff)) return false;
        txt_IMFPeff[7]->setText(General(IMFPc));
        txt_IMFPeff[8]->setText(General(IMFPv));
        txt_IMFPeff[9]->setText(General(IMFPeff));
        return true;
    };
    r.curves = {&Kvi, &Kvo, &Kmi, &Kmo, &Keff};
    r.mainCurve = 4;
    r.plotCurve = [this](const SpectrumArray& curve) { ClearAndPlot(form_, curve); };
    r.unit = QStringLiteral(" \u00C5");
    r.showTitle = [this](const QString& result) { form_.Text2->setText(CurveTitle() + kCrLf + result); };
    r.areaLines = {{QStringLiteral("Area of total K = "), 4},
                   {QStringLiteral("Area of K_vacuum incomming trajectory = "), 0},
                   {QStringLiteral("Area of K_vacuum outgoing trajectory = "), 1},
                   {QStringLiteral("Area of K_medium incomming trajectory = "), 2},
                   {QStringLiteral("Area of K_medium outgoing trajectory = "), 3}};
    r.showAreas = [this](const QString& text) {
        form_.txtAreas->setText(text);
        form_.txtAreas->show();
        return form_.txtAreas->text();
    };
    r.showResults = [this] { frameShowModel96->show(); };
    r.onFailure = [] { services().messageBox(FailureMessage()); };
    RunCalculation(r);
}

void Model96Page::ShowCurve(const SingleArray& curve, const QString& title) {
    ClearAndPlot(form_, curve);
    form_.Text2->setText(title);
}

void Model96Page::cmdKeff_Click() { ShowCurve(Module1::Keff, QStringLiteral("Keff Model 96")); }
void Model96Page::cmdKvi_Click() { ShowCurve(Module1::Kvi, QStringLiteral("Kvi Model 96")); }
void Model96Page::cmdkvo_Click() { ShowCurve(Module1::Kvo, QStringLiteral("Kvo Model 96")); }
void Model96Page::cmdkmi_Click() { ShowCurve(Module1::Kmi, QStringLiteral("Kmi Model 96")); }
void Model96Page::cmdkmo_Click() { ShowCurve(Module1::Kmo, QStringLiteral("Kmo Model 96")); }

void Model96Page::cmdShowIMFP_eff_Click() {
    frameshowIMFP[0]->show();
    frameshowIMFP[0]->raise();
    txt_IMFPeff[5]->setText(General(Module1::Core_ac));
    txt_IMFPeff[6]->setText(General(Module1::Core_bc));
}


} // namespace kelvara
