#include "main/thinfilm_page.h"

#include <cmath>

#include "main/form1.h"
#include "main/model96_page.h"
#include "main/result_files.h"
#include "platform/crlf.h"
#include "platform/errors.h"
#include "shared/calc_driver.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "state/binder.h"
#include "state/module1.h"
#include "widgets/guard.h"
#include "widgets/services.h"

namespace kelvara {

QString ThinFilmPage::CurveTitle() {
    return QStringLiteral("Effective cross section K(T) [eV^-1 \u00C5^-1] as a function of energy loss T [eV]");
}

QString ThinFilmPage::FailureMessage() { return Model96Page::FailureMessage(); }

ThinFilmPage::ThinFilmPage(Form1& form) : CalcPage(form, &form, form.page(2), QStringLiteral("ThinFilmPage")) {
    Frame* page = form.page(2);
    const auto values = MakeParameterFrame(page, QStringLiteral("framesetparthinfilm"), QStringLiteral("Parameters"),
                                           QStringLiteral("txtpartf"), QStringLiteral("txtpartval"),
                                           {{0, "Ep=", "1000"}, {1, "t =", "50"}, {2, "Emax=", "50"},
                                            {3, "Estep=", "0.2"}},
                                           8, 20, &framesetparthinfilm);
    for (int i = 0; i < 4; ++i) txtpartval[static_cast<std::size_t>(i)] = values.at(i);
    framePlotthinfilm = MakeNamed<Frame>(page, QStringLiteral("framePlotthinfilm"), QStringLiteral("Plot"));
    cmdKefftf = MakeButton(framePlotthinfilm, QStringLiteral("cmdKefftf"), QStringLiteral("Keff"), 6, 20, 60);
    cmdShowKsurf = MakeButton(framePlotthinfilm, QStringLiteral("cmdShowKsurf"), QStringLiteral("Ksurf"), 70, 20, 60);
    cmdShowKvol = MakeButton(framePlotthinfilm, QStringLiteral("cmdShowKvol"), QStringLiteral("Kbulk"), 134, 20, 60);
    framePlotthinfilm->setGeometry(176, 114, 200, 54);
    framePlotthinfilm->hide();
    const auto model =
        ModelFile(QStringLiteral("txtELFfilethinfilm"), QStringLiteral("cmdReadELFModelAB92"), framePlotthinfilm);
    txtELFfilethinfilm = model.box;
    cmdReadELFModelAB92 = model.button;
    cmdCalcKeffthinfilm =
        MakeButton(page, QStringLiteral("cmdCalcKeffthinfilm"), QStringLiteral("Calculate Keff"), 278, 54, 98);
    OnClick(cmdCalcKeffthinfilm, &ThinFilmPage::cmdCalcKeffthinfilm_Click);
    OnClick(cmdKefftf, &ThinFilmPage::cmdKefftf_Click);
    OnClick(cmdShowKsurf, &ThinFilmPage::cmdShowKsurf_Click);
    OnClick(cmdShowKvol, &ThinFilmPage::cmdShowKvol_Click);
    // Enabled by the page's calculation.
    cmdSavetf = MakeButton(page, QStringLiteral("cmdSavetf"), QStringLiteral("Save"), 278, 84, 98);
    cmdSavetf->setEnabled(false);
    Frame* saveFrame = form.frameSave(2);
    connectGuarded(cmdSavetf, &QPushButton::clicked, this, [saveFrame](bool) { ShowInFront(saveFrame); });

    const auto header = [this](Curve c) { return [this, c] { return Header(c); }; };
    save_ = SaveFrame(saveFrame, kNarrowSaveFrame, QStringLiteral("File name:"), "txtfilenametf", "Text12",
                      kTwoLineDescription,
                      {{"cmdSaveKeff", "Save Keff", &Module1::Keff, header(Curve::Keff), true},
                       {"cmdSaveKsurf", "Save Ksurf", &Module1::Ksurf, header(Curve::Ksurf), false},
                       {"cmdSaveKbulk", "Save Kbulk", &Module1::Kbulk, header(Curve::Kbulk), false}});
}

HeaderLines ThinFilmPage::Header(Curve curve) const {
    const char* first = "Effective cross section for electron that has passed through a thin film";
    if (curve == Curve::Ksurf)
        first = "Surface contribution to the effective cross section for electron that has passed through a thin "
                "film";
    if (curve == Curve::Kbulk)
        first = "Bulk contribution to the effective cross section for electron that has passed through a thin film";
    return {QString::fromLatin1(first), QStringLiteral("ELF function from the file ") + RunModelSource(),
            QStringLiteral("Primary energy = ") + RunText(txtpartval[0]) + QStringLiteral(" eV."),
            QStringLiteral("Film thickness = ") + RunText(txtpartval[1]) + QStringLiteral(" ") + kAngstromText +
                QStringLiteral("."),
            save_.description->text()};
}

void ThinFilmPage::cmdCalcKeffthinfilm_Click() {
    namespace M = Module1;
    float Ep = 0.0f, Thickness = 0.0f;

    CalcRecipe r = Recipe(CurveTitle());
    r.calculation = QStringLiteral("thin-film");
    r.readBoxes = [&] {
        Ep = BoxSingle(txtpartval[0]);
        M::Estep = BoxSingle(txtpartval[3]);
        M::Emax = BoxSingle(txtpartval[2]);
        // A thickness the library can compute with (BoxLength): refused
        // before the library is called.
        Thickness = BoxLength(txtpartval[1]);
    };
    r.primaryEnergy = [&] { return Ep; };
    r.libraryCount = [] { return TruncatedPointCount(M::Emax, M::Estep); };
    r.callLibrary = [&] {
        M::thinfilm(&Ep, &M::Estep, &M::Emax, &Thickness, &M::Egap, M::W0.element1(), M::Gamma.element1(),
                    M::A0.element1(), M::Alfa.element1(), &M::NumOsc, M::Keff.element1(), M::Ksurf.element1(),
                    M::Kbulk.element1());
    };
    r.curves = {&M::Keff, &M::Ksurf, &M::Kbulk};
    r.mainCurve = 0;
    r.unit = QStringLiteral("\u00C5");
    r.areaLines = {{QStringLiteral("Area of K(T) from surface excitations = "), 1},
                   {QStringLiteral("Area of K(T) from volume excitations = "), 2},
                   {QStringLiteral("Total area of K(T) from all excitations = "), 0}};
    r.showResults = [this] {
        cmdSavetf->setEnabled(true);
        framePlotthinfilm->show();
    };
    r.onFailure = MessageOnFailure(FailureMessage());
    Run(r);
}

void ThinFilmPage::cmdKefftf_Click() { ShowCurve(Module1::Keff, CurveTitle() + kCrLf); }
void ThinFilmPage::cmdShowKsurf_Click() {
    ShowCurve(Module1::Ksurf, QStringLiteral("Surface excitation contribution to cross section"));
}
void ThinFilmPage::cmdShowKvol_Click() {
    ShowCurve(Module1::Kbulk, QStringLiteral("Bulk excitation contribution to cross section"));
}

} // namespace kelvara
