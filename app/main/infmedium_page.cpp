#include "main/infmedium_page.h"

#include "main/form1.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "main/result_files.h"
#include "platform/guard.h"

namespace kelvara {

InfiniteMediumPage::InfiniteMediumPage(Form1& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("InfiniteMediumPage"));
    Frame* page = form.page(1);
    txtparInfVal = MakeParameterFrame(page, QStringLiteral("framesetparInf"), QStringLiteral("Parameters"),
                                      QStringLiteral("txtparInf"), QStringLiteral("txtparInfVal"),
                                      {{0, "Ep=", "1000"}, {2, "Emax=", "70"}, {3, "Estep=", "0.2"}}, 8, 20,
                                      &framesetparInf);
    const auto model = MakeModelFileControls(form, page, QStringLiteral("txtELFfileInf"),
                                             QStringLiteral("cmdReadELFInf"), nullptr);
    txtELFfileInf = model.box;
    cmdReadELFInf = model.button;
    cmdSaveK = MakeButton(page, QStringLiteral("cmdSaveK"), QStringLiteral("Save"), 278, 84, 98);
    connectGuarded(cmdSaveK, &QPushButton::clicked, this, [this](bool) { ShowSaveFrame(form_, 1); });
}

} // namespace kelvara
