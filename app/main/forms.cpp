#include "main/forms.h"

#include <QPointer>

#include "main/form1.h"
#include "main/formabout.h"
#include "main/frmbrowser.h"
#include "main/frmsmooth.h"
#include "shared/program_shell.h"

namespace kelvara::Forms {

namespace {
QPointer<::kelvara::Form1> gForm1;
QPointer<::kelvara::frmSmooth> gFrmSmooth;
QPointer<::kelvara::formAbout> gFormAbout;
QPointer<::kelvara::frmBrowser> gFrmBrowser;
} // namespace

QWidget* ClientArea() { return Shell().clientArea(); }

::kelvara::Form1& Form1() {
    return EnsureForm(gForm1, [] { return new ::kelvara::Form1(ClientArea()); });
}

::kelvara::frmSmooth& frmSmooth() {
    return EnsureForm(gFrmSmooth, [] { return new ::kelvara::frmSmooth(ClientArea()); });
}

::kelvara::formAbout& formAbout() {
    return EnsureForm(gFormAbout, [] { return new ::kelvara::formAbout(Shell().frameWindow()); });
}

::kelvara::frmBrowser& frmBrowser() {
    return EnsureForm(gFrmBrowser, [] { return new ::kelvara::frmBrowser(Shell().frameWindow()); });
}

bool formAboutExists() { return !gFormAbout.isNull(); }
bool frmBrowserExists() { return !gFrmBrowser.isNull(); }

} // namespace kelvara::Forms
