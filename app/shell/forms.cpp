#include "shell/forms.h"

#include <QPointer>

#include "photoemission/formxps.h"
#include "shared/program_shell.h"
#include "shell/mdiform1.h"

namespace kelvara::Forms {

namespace {
QPointer<::kelvara::MDIForm1> gMDIForm1;
QPointer<::kelvara::formXPS> gFormXPS;
} // namespace

::kelvara::MDIForm1& MDIForm1() {
    return EnsureForm(gMDIForm1, [] { return new ::kelvara::MDIForm1(); });
}

::kelvara::formXPS& formXPS() {
    return EnsureForm(gFormXPS, [] { return new ::kelvara::formXPS(ClientArea()); });
}

bool formXPSExists() { return !gFormXPS.isNull(); }

} // namespace kelvara::Forms
