#include "main/infmedium_page.h"

#include "main/form1.h"
#include "main/model96_page.h"
#include "main/result_files.h"
#include "shared/calc_driver.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "state/binder.h"
#include "state/module1.h"
#include "widgets/guard.h"

namespace kelvara {

QString InfiniteMediumPage::CurveTitle() {
    return QStringLiteral("Cross section K(T) [eV^-1 \u00C5^-1] as a function of energy loss T [eV]");
}

QString InfiniteMediumPage::FailureMessage() { return Model96Page::FailureMessage(); }

InfiniteMediumPage::InfiniteMediumPage(Form1& form)
    : CalcPage(form, &form, form.page(1), QStringLiteral("InfiniteMediumPage")) {
    Frame* page = form.page(1);
    txtparInfVal = MakeParameterFrame(page, QStringLiteral("framesetparInf"), QStringLiteral("Parameters"),
                                      QStringLiteral("txtparInf"), QStringLiteral("txtparInfVal"),
                                      {{0, "Ep=", "1000"}, {2, "Emax=", "70"}, {3, "Estep=", "0.2"}}, 8, 20,
                                      &framesetparInf);
    const auto model = ModelFile(QStringLiteral("txtELFfileInf"), QStringLiteral("cmdReadELFInf"), nullptr);
    txtELFfileInf = model.box;
    cmdReadELFInf = model.button;
    cmdCalcKInfFilm =
        MakeButton(page, QStringLiteral("cmdCalcKInfFilm"), QStringLiteral("Calculate K(T)"), 278, 54, 98);
    OnClick(cmdCalcKInfFilm, &InfiniteMediumPage::cmdCalcKInfFilm_Click);
    cmdSaveK = MakeButton(page, QStringLiteral("cmdSaveK"), QStringLiteral("Save"), 278, 84, 98);
    Frame* saveFrame = form.frameSave(1);
    connectGuarded(cmdSaveK, &QPushButton::clicked, this, [saveFrame](bool) { ShowInFront(saveFrame); });

    save_ =
        SaveFrame(saveFrame, kNarrowSaveFrame, QStringLiteral("File name:"), "txtFileNameCrossSection",
                  "txtFileDescription", QStringLiteral("You may write info here to be stored \r\nwith the data.\r\n"),
                  {{"cmdSaveCrossSection", "Save Cross Section", &Module1::Kbulk, [this] { return Header(); }, true}});
}

HeaderLines InfiniteMediumPage::Header() const {
    return {QStringLiteral("Cross section in (eV^-1 ") + kAngstromText +
                QStringLiteral("^-1) for electron travelling in an infinite medium"),
            QStringLiteral("ELF function from the file ") + RunModelSource() + QStringLiteral(". "),
            QStringLiteral("Primary energy = ") + RunText(txtparInfVal.at(0)) + QStringLiteral(" eV") +
                QStringLiteral("."),
            QString(), save_.description->text()};
}

void InfiniteMediumPage::cmdCalcKInfFilm_Click() {
    namespace M = Module1;
    float Ep = 0.0f;

    CalcRecipe r = Recipe(CurveTitle());
    r.calculation = QStringLiteral("infinite-medium");
    r.readBoxes = [&] {
        Ep = BoxSingle(txtparInfVal.at(0));
        M::Estep = BoxSingle(txtparInfVal.at(3));
        M::Emax = BoxSingle(txtparInfVal.at(2));
    };
    r.primaryEnergy = [&] { return Ep; };
    r.libraryCount = [] { return TruncatedPointCount(M::Emax, M::Estep); };
    // The library's cross section goes into Kbulk.
    r.callLibrary = [&] {
        M::infmedium(&Ep, &M::Estep, &M::Emax, &M::Egap, M::W0.element1(), M::Gamma.element1(), M::A0.element1(),
                     M::Alfa.element1(), &M::NumOsc, M::Kbulk.element1());
    };
    r.curves = {&M::Kbulk};
    r.mainCurve = 0;
    r.resultStartsWithLineBreak = false;
    r.unit = QStringLiteral("\u00C5");
    // No area lines: the areas box keeps what it shows.
    r.onFailure = MessageOnFailure(FailureMessage());
    Run(r);
}

} // namespace kelvara
