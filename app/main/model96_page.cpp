#include "main/model96_page.h"

#include <cmath>

#include "main/form1.h"
#include "main/result_files.h"
#include "platform/numbers.h"
#include "shared/calc_driver.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "state/binder.h"
#include "state/module1.h"
#include "widgets/guard.h"
#include "widgets/services.h"

namespace kelvara {

namespace {
QString General(float value) { return QString::fromStdString(GeneralText(value)); }
// The library's own mean free paths: the labels of the "IMFP -eff" panel and
// of the message that refuses one that is not physical.
const char* const kLibraryPathLabels[3] = {"lc = ", "lv = ", "IMFP_eff = "};
} // namespace

QString Model96Page::CurveTitle() {
    return QStringLiteral("Effective cross section K(T) [eV^-1 \u00C5^-1] of Model 96 for any incidence and exit "
                          "angle, eqs. (21)-(25)");
}

QString Model96Page::FailureMessage() { return CalculationFailedMessage(); }

Model96Page::Model96Page(Form1& form) : CalcPage(form, &form, form.page(3), QStringLiteral("Model96Page")) {
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
    const auto model = ModelFile(ArrayName(QStringLiteral("txtELFfile96"), 3), QStringLiteral("cmdELFfile96"),
                                 frameShowModel96);
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
    for (int k = 0; k < 3; ++k) {
        const int top = 104 + k * 28;
        txt_IMFPeff[static_cast<std::size_t>(2 + k)] =
            MakeLabelBox(panel, imfpName(2 + k), QString::fromLatin1(kLibraryPathLabels[k]), 12, top, 70);
        auto* value = MakeNamed<TextBox>(panel, imfpName(7 + k));
        value->setGeometry(86, top, 104, 24);
        txt_IMFPeff[static_cast<std::size_t>(7 + k)] = value;
    }
    cmdCancelShowIMFP =
        MakeButton(panel, QStringLiteral("cmdCancelShowIMFP"), QStringLiteral("Cancel"), 12, 184, 80, 22);
    panel->hide();

    OnClick(cmdCalcKeffModel96, &Model96Page::cmdCalcKeffModel96_Click);
    OnClick(cmdKeff, &Model96Page::cmdKeff_Click);
    OnClick(cmdKvi, &Model96Page::cmdKvi_Click);
    OnClick(cmdkvo, &Model96Page::cmdkvo_Click);
    OnClick(cmdkmi, &Model96Page::cmdkmi_Click);
    OnClick(cmdkmo, &Model96Page::cmdkmo_Click);
    OnClick(cmdShowIMFP_eff, &Model96Page::cmdShowIMFP_eff_Click);
    Frame* saveFrame = form.frameSave(3);
    connectGuarded(cmdSave96, &QPushButton::clicked, this, [saveFrame](bool) { ShowInFront(saveFrame); });
    connectGuarded(cmdCancelShowIMFP, &QPushButton::clicked, this, [&form](bool) { form.cmdCancelShowIMFP_Click(); });

    const auto header = [this](Curve c) { return [this, c] { return Header(c); }; };
    save_ = SaveFrame(saveFrame, kWideSaveFrame, QStringLiteral(" File name:"), "txtSaveFile96", "Text7",
                      QStringLiteral("You may write info here to be stored with the data.\r\n"),
                      {{"cmdSavekeff96", "Save Keff", &Module1::Keff, header(Curve::Keff), true},
                       {"cmdSavekmediumin96", "Save K medium in", &Module1::Kmi, header(Curve::MediumIn), false},
                       {"cmdSavekmediumout96", "Save K medium out", &Module1::Kmo, header(Curve::MediumOut), false},
                       {"cmdSavekvacin96", "Save K vac in", &Module1::Kvi, header(Curve::VacuumIn), false},
                       {"cmdSavekvacout96", "Save K vac out", &Module1::Kvo, header(Curve::VacuumOut), false}});
}

HeaderLines Model96Page::Header(Curve curve) const {
    const char* title = "Effective cross section for electron backscattered at depth X0 =";
    switch (curve) {
    case Curve::Keff: break;
    case Curve::MediumIn:
        title = "Way in medium- Effective cross section for electron backscattered at depth X0 =";
        break;
    case Curve::MediumOut:
        title = "Way out medium- Effective cross section for electron backscattered at depth X0 =";
        break;
    case Curve::VacuumIn:
        title = "Way in vacuum-Effective cross section for electron backscattered at depth X0 =";
        break;
    case Curve::VacuumOut:
        title = "Way out vacuum-Effective cross section for electron backscattered at depth X0 =";
        break;
    }
    return {QString::fromLatin1(title) + RunText(txtpar96Val[3]) + QStringLiteral(" ") + kAngstromText,
            QStringLiteral("Calculated with Model 96 for any incidence and exit angle, eqs. (21)-(25)"),
            QStringLiteral("Incidence angle = ") + RunText(txtpar96Val[4]) + QStringLiteral(" exit angle = ") +
                RunText(txtpar96Val[5]),
            QStringLiteral("ELF function from the file ") + RunModelSource() + QStringLiteral(". Primary energy = ") +
                RunText(txtpar96Val[0]) + QStringLiteral(" eV."),
            save_.description->text()};
}

void Model96Page::cmdCalcKeffModel96_Click() {
    namespace M = Module1;
    float Ep = 0.0f, X0 = 0.0f, Theta1 = 0.0f, Theta2 = 0.0f;
    float IMFPc = 0.0f, IMFPv = 0.0f, IMFPeff = 0.0f;

    CalcRecipe r = Recipe(CurveTitle());
    r.calculation = QStringLiteral("Model 96");
    r.readBoxes = [&] {
        Ep = BoxSingle(txtpar96Val[0]);
        M::Estep = BoxSingle(txtpar96Val[1]);
        M::Emax = BoxSingle(txtpar96Val[2]);
        // The any-angle library is defined for a depth of at least
        // kShortestLength and for angles from the normal from 0 up to, not
        // including, 90 degrees.
        X0 = BoxLength(txtpar96Val[3]);
        Theta1 = BoxAngle(txtpar96Val[4]);
        Theta2 = BoxAngle(txtpar96Val[5]);
    };
    r.primaryEnergy = [&] { return Ep; };
    r.libraryCount = [] { return TruncatedPointCount(M::Emax, M::Estep); };
    r.callLibrary = [&] {
        M::orvane(&Ep, &M::Estep, &M::Emax, &X0, &Theta1, &Theta2, M::Kvi.element1(), M::Kvo.element1(),
                  M::Kmi.element1(), M::Kmo.element1(), M::Keff.element1(), &M::Egap, M::W0.element1(),
                  M::Gamma.element1(), M::A0.element1(), M::Alfa.element1(), &M::NumOsc, &M::Core_ac, &M::Core_bc,
                  &IMFPc, &IMFPv, &IMFPeff);
    };
    // The library's own mean free paths, shown in the "IMFP -eff" panel, are
    // judged as the page's are; the panel shows them only after a good run.
    r.afterCall = [&] {
        const float paths[3] = {IMFPc, IMFPv, IMFPeff};
        for (int k = 0; k < 3; ++k)
            RequirePhysical(QString::fromLatin1(kLibraryPathLabels[k]), paths[k], General(paths[k]));
        return true;
    };
    r.curves = {&M::Kvi, &M::Kvo, &M::Kmi, &M::Kmo, &M::Keff};
    r.mainCurve = 4;
    r.unit = QStringLiteral(" \u00C5");
    r.areaLines = {{QStringLiteral("Area of total K = "), 4},
                   {QStringLiteral("Area of K_vacuum incomming trajectory = "), 0},
                   {QStringLiteral("Area of K_vacuum outgoing trajectory = "), 1},
                   {QStringLiteral("Area of K_medium incomming trajectory = "), 2},
                   {QStringLiteral("Area of K_medium outgoing trajectory = "), 3}};
    r.showResults = [&] {
        txt_IMFPeff[7]->setText(General(IMFPc));
        txt_IMFPeff[8]->setText(General(IMFPv));
        txt_IMFPeff[9]->setText(General(IMFPeff));
        frameShowModel96->show();
    };
    r.onFailure = MessageOnFailure(FailureMessage());
    Run(r);
}

void Model96Page::cmdKeff_Click() { ShowCurve(Module1::Keff, QStringLiteral("Keff Model 96")); }
void Model96Page::cmdKvi_Click() { ShowCurve(Module1::Kvi, QStringLiteral("Kvi Model 96")); }
void Model96Page::cmdkvo_Click() { ShowCurve(Module1::Kvo, QStringLiteral("Kvo Model 96")); }
void Model96Page::cmdkmi_Click() { ShowCurve(Module1::Kmi, QStringLiteral("Kmi Model 96")); }
void Model96Page::cmdkmo_Click() { ShowCurve(Module1::Kmo, QStringLiteral("Kmo Model 96")); }

void Model96Page::cmdShowIMFP_eff_Click() {
    // Before the first run the panel shows the core parameters alone.
    if (!RunResultReady(Use::Show, true)) return;
    frameshowIMFP[0]->show();
    frameshowIMFP[0]->raise();
    txt_IMFPeff[5]->setText(General(Module1::Core_ac));
    txt_IMFPeff[6]->setText(General(Module1::Core_bc));
}

void Model96Page::ForgetShownResults() {
    for (std::size_t i = 7; i <= 9; ++i) txt_IMFPeff[i]->setText(QString());
    frameshowIMFP[0]->hide();
}

} // namespace kelvara
