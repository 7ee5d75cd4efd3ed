#include "main/thinfilm_page.h"

#include "main/form1.h"
#include "main/result_files.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "state/module1.h"
#include "widgets/guard.h"

namespace kelvara {

ThinFilmPage::ThinFilmPage(Form1& form) : CalcPage(form, &form, form.page(2), QStringLiteral("ThinFilmPage")) {
    Frame* page = form.page(2);
    const auto values = MakeParameterFrame(page, QStringLiteral("framesetparthinfilm"), QStringLiteral("Parameters"),
                                           QStringLiteral("txtpartf"), QStringLiteral("txtpartval"),
                                           {{0, "Ep=", "1000"}, {1, "t =", "50"}, {2, "Emax=", "50"},
                                            {3, "Estep=", "0.2"}},
                                           8, 20, &framesetparthinfilm);
    for (int i = 0; i < 4; ++i) txtpartval[static_cast<std::size_t>(i)] = values.at(i);
    framePlotthinfilm = MakeNamed<Frame>(page, QStringLiteral("framePlotthinfilm"), QStringLiteral("Plot"));
    framePlotthinfilm->setGeometry(176, 114, 200, 84);
    framePlotthinfilm->hide();
    const auto model =
        ModelFile(QStringLiteral("txtELFfilethinfilm"), QStringLiteral("cmdReadELFModelAB92"), framePlotthinfilm);
    txtELFfilethinfilm = model.box;
    cmdReadELFModelAB92 = model.button;
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
    return {QString::fromLatin1(first), QStringLiteral("ELF function from the file ") + txtELFfilethinfilm->text(),
            QStringLiteral("Primary energy = ") + txtpartval[0]->text() + QStringLiteral(" eV."),
            QStringLiteral("Film thickness = ") + txtpartval[1]->text() + QStringLiteral(" ") + kAngstromText +
                QStringLiteral("."),
            save_.description->text()};
}

} // namespace kelvara
