#include "shell/forms.h"

#include <QPointer>

#include "main/form1.h"
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
    return EnsureForm(gFormXPS, [] {
        QWidget* client = ClientArea();
        auto* form = new ::kelvara::formXPS(client);
        // The main form, loaded first at start-up, has given the low-screen
        // warning: the program gives it once.
        form->lowScreenWarningGiven =
            client->findChild<::kelvara::Form1*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
        return form;
    });
}

bool formXPSExists() { return !gFormXPS.isNull(); }

} // namespace kelvara::Forms
