#include "main/modelab_page.h"

#include <cmath>

#include "main/form1.h"
#include "main/model96_page.h"
#include "main/result_files.h"
#include "platform/errors.h"
#include "shared/calc_driver.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "state/binder.h"
#include "state/module1.h"
#include "widgets/guard.h"
#include "widgets/services.h"

namespace kelvara {

QString ModelABPage::ModelATitle() {
    return QStringLiteral("Effective cross section K(T) [eV^-1 \u00C5^-1] of Model A for normal incidence and exit, "
                          "eq. (13)");
}

QString ModelABPage::ModelBTitle() {
    return QStringLiteral("Effective cross section K(T) [eV^-1 \u00C5^-1] of Model B for normal incidence and exit, "
                          "eq. (15)");
}

QString ModelABPage::FailureMessage() { return Model96Page::FailureMessage(); }

ModelABPage::ModelABPage(Form1& form) : CalcPage(form, &form, form.page(0), QStringLiteral("ModelABPage")) {
    Frame* page = form.page(0);
    const auto values = MakeParameterFrame(page, QStringLiteral("frameSetparModelAB92"), QStringLiteral("Parameters"),
                                           QStringLiteral("txtparAB"), QStringLiteral("txtparABVal"),
                                           {{0, "Ep = ", "1000"}, {1, "Estep = ", "0.2"}, {2, "Emax = ", "50"},
                                            {3, "a = ", "20"}},
                                           8, 20, &frameSetparModelAB92);
    for (int i = 0; i < 4; ++i) txtparABVal[static_cast<std::size_t>(i)] = values.at(i);
    frameShowModelAB = MakeNamed<Frame>(page, QStringLiteral("frameShowModelAB"), QStringLiteral("Plot"));
    frameShowModelAB->setGeometry(176, 114, 200, 84);
    frameShowModelAB->hide();
    cmdKModelA = MakeButton(frameShowModelAB, QStringLiteral("cmdKModelA"), QStringLiteral("K Model A"), 6, 20, 92);
    KModelA_in = MakeButton(frameShowModelAB, QStringLiteral("KModelA_in"), QStringLiteral("K Model A-in"), 102, 20, 92);
    cmdKModlB = MakeButton(frameShowModelAB, QStringLiteral("cmdKModlB"), QStringLiteral("K Model B"), 6, 50, 92);
    cmdKModelA_out =
        MakeButton(frameShowModelAB, QStringLiteral("cmdKModelA_out"), QStringLiteral("K Model A-out"), 102, 50, 92);
    const auto model = ModelFile(ArrayName(QStringLiteral("txtELFfileAB"), 0), QStringLiteral("cmdELFfile92"),
                                 frameShowModelAB);
    txtELFfileAB = model.box;
    cmdELFfile92 = model.button;
    cmdCalcKeffModelAB =
        MakeButton(page, QStringLiteral("cmdCalcKeffModelAB"), QStringLiteral("Calculate Keff"), 278, 54, 98);
    OnClick(cmdCalcKeffModelAB, &ModelABPage::cmdCalcKeffModelAB_Click);
    OnClick(cmdKModelA, &ModelABPage::cmdKModelA_Click);
    OnClick(KModelA_in, &ModelABPage::KModelA_in_Click);
    OnClick(cmdKModlB, &ModelABPage::cmdKModlB_Click);
    OnClick(cmdKModelA_out, &ModelABPage::cmdKModelA_out_Click);
    cmdSaveKModelsAB = MakeButton(page, QStringLiteral("cmdSaveKModelsAB"), QStringLiteral("Save"), 278, 84, 98);
    Frame* saveFrame = form.frameSave(0);
    connectGuarded(cmdSaveKModelsAB, &QPushButton::clicked, this, [saveFrame](bool) { ShowInFront(saveFrame); });

    const auto header = [this](Curve c) { return [this, c] { return Header(c); }; };
    save_ = SaveFrame(
        saveFrame, kWideSaveFrame, QStringLiteral("File name:"), "txtoutfile", "txtDescription", kTwoLineDescription,
        {{"cmdSaveKModelA", "Save K Model A", &Module1::KModelA, header(Curve::ModelA), true},
         {"cmdSaveKModelB", "Save K Model B", &Module1::KModelB, header(Curve::ModelB), true},
         {"cmdSaveKModelA_in", "Save K Model A-in", &Module1::KModelA_in, header(Curve::ModelA_in), false},
         {"cmdSaveKModelA_out", "Save K Model A-out", &Module1::KModelA_out, header(Curve::ModelA_out), false}});
}

HeaderLines ModelABPage::Header(Curve curve) const {
    const char* title = "Effective cross section for electron backscattered at depth X0 =";
    if (curve == Curve::ModelA_in) title = "Way in - Effective cross section for electron backscattered at depth X0 =";
    if (curve == Curve::ModelA_out)
        title = "Way out - Effective cross section for electron backscattered at depth X0 =";
    const QString method = curve == Curve::ModelB
                               ? QStringLiteral("Calculated by Model B for normal incidence and exit, eq. (15)")
                               : QStringLiteral("Calculated by Model A for normal incidence and exit, eq. (13)");
    return {QString::fromLatin1(title) + RunText(txtparABVal[3]) + QStringLiteral(" ") + kAngstromText +
                QStringLiteral("."),
            method, QStringLiteral("ELF function from the file ") + RunModelSource(),
            QStringLiteral("Primary energy = ") + RunText(txtparABVal[0]) + QStringLiteral(" eV."),
            save_.description->text()};
}

void ModelABPage::cmdCalcKeffModelAB_Click() {
    namespace M = Module1;
    float Ep = 0.0f, X0 = 0.0f;

    CalcRecipe r = Recipe(ModelBTitle());
    r.calculation = QStringLiteral("Model A/B");
    r.readBoxes = [&] {
        Ep = BoxSingle(txtparABVal[0]);
        M::Estep = BoxSingle(txtparABVal[1]);
        M::Emax = BoxSingle(txtparABVal[2]);
        // A depth the library can compute with (BoxLength): refused before
        // the library is called.
        X0 = BoxLength(txtparABVal[3]);
    };
    r.primaryEnergy = [&] { return Ep; };
    r.libraryCount = [] { return TruncatedPointCount(M::Emax, M::Estep); };
    r.callLibrary = [&] {
        M::senvik(&Ep, &M::Estep, &M::Emax, &X0, M::KModelA.element1(), M::KModelB.element1(), &M::Egap,
                  M::W0.element1(), M::Gamma.element1(), M::A0.element1(), M::Alfa.element1(), &M::NumOsc,
                  M::KModelA_in.element1(), M::KModelA_out.element1());
    };
    r.curves = {&M::KModelA, &M::KModelB, &M::KModelA_in, &M::KModelA_out};
    r.mainCurve = 1;
    r.totalLabel = QStringLiteral("ModelB: Total IMFP = ");
    r.unit = QStringLiteral("\u00C5");
    r.areaLines = {{QStringLiteral("Area of K_ModelB = "), 1},
                   {QStringLiteral("Area of K_ModelA = "), 0, true},
                   {QStringLiteral("Area of K_ModelA_in = "), 2},
                   {QStringLiteral("Area of K_ModelA_out = "), 3}};
    r.showResults = [this] { frameShowModelAB->show(); };
    r.onFailure = MessageOnFailure(FailureMessage());
    Run(r);
}

void ModelABPage::cmdKModelA_Click() { ShowCurve(Module1::KModelA, ModelATitle()); }
void ModelABPage::KModelA_in_Click() {
    ShowCurve(Module1::KModelA_in, QStringLiteral("Cross section Model A incoming trajectory"));
}
void ModelABPage::cmdKModlB_Click() { ShowCurve(Module1::KModelB, ModelBTitle()); }
void ModelABPage::cmdKModelA_out_Click() {
    ShowCurve(Module1::KModelA_out, QStringLiteral("Cross section Model A outgoing trajectory"));
}

} // namespace kelvara
