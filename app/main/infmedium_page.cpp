#include "main/infmedium_page.h"

#include "main/form1.h"
#include "main/result_files.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "state/module1.h"
#include "widgets/guard.h"

namespace kelvara {

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
            QStringLiteral("ELF function from the file ") + txtELFfileInf->text() + QStringLiteral(". "),
            QStringLiteral("Primary energy = ") + txtparInfVal.at(0)->text() + QStringLiteral(" eV") +
                QStringLiteral("."),
            QString(), save_.description->text()};
}

} // namespace kelvara
