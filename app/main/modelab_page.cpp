#include "main/modelab_page.h"

#include "main/form1.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "main/result_files.h"
#include "platform/guard.h"

namespace kelvara {

ModelABPage::ModelABPage(Form1& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("ModelABPage"));
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
    const auto model = MakeModelFileControls(form, page, ArrayName(QStringLiteral("txtELFfileAB"), 0),
                                             QStringLiteral("cmdELFfile92"), frameShowModelAB);
    txtELFfileAB = model.box;
    cmdELFfile92 = model.button;
    cmdSaveKModelsAB = MakeButton(page, QStringLiteral("cmdSaveKModelsAB"), QStringLiteral("Save"), 278, 84, 98);
    connectGuarded(cmdSaveKModelsAB, &QPushButton::clicked, this, [this](bool) { ShowSaveFrame(form_, 0); });
}

} // namespace kelvara
