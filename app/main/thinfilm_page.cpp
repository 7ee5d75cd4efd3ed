#include "main/thinfilm_page.h"

#include "main/form1.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "main/result_files.h"
#include "platform/guard.h"

namespace kelvara {

ThinFilmPage::ThinFilmPage(Form1& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("ThinFilmPage"));
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
    const auto model = MakeModelFileControls(form, page, QStringLiteral("txtELFfilethinfilm"),
                                             QStringLiteral("cmdReadELFModelAB92"), framePlotthinfilm);
    txtELFfilethinfilm = model.box;
    cmdReadELFModelAB92 = model.button;
    // Enabled by the page's calculation.
    cmdSavetf = MakeButton(page, QStringLiteral("cmdSavetf"), QStringLiteral("Save"), 278, 84, 98);
    cmdSavetf->setEnabled(false);
    connectGuarded(cmdSavetf, &QPushButton::clicked, this, [this](bool) { ShowSaveFrame(form_, 2); });
}

} // namespace kelvara
