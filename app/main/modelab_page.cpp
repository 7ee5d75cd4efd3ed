#include "main/modelab_page.h"

#include "main/form1.h"
#include "main/result_files.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "state/module1.h"
#include "widgets/guard.h"

namespace kelvara {

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
    const auto model = ModelFile(ArrayName(QStringLiteral("txtELFfileAB"), 0), QStringLiteral("cmdELFfile92"),
                                 frameShowModelAB);
    txtELFfileAB = model.box;
    cmdELFfile92 = model.button;
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
    return {QString::fromLatin1(title) + txtparABVal[3]->text() + QStringLiteral(" ") + kAngstromText +
                QStringLiteral("."),
            method, QStringLiteral("ELF function from the file ") + txtELFfileAB->text(),
            QStringLiteral("Primary energy = ") + txtparABVal[0]->text() + QStringLiteral(" eV."),
            save_.description->text()};
}

} // namespace kelvara
