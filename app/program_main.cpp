#include <QLocale>
#include <clocale>

#include "shell/forms.h"
#include "shell/mdiform1.h"
#include "widgets/guard.h"

int main(int argc, char** argv) {
    kelvara::GuardedApplication app(argc, argv);
    kelvara::GuardedApplication::setApplicationName(QStringLiteral("Kelvara"));
    // One program-wide locale: '.' is the decimal point everywhere.
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());

    kelvara::MDIForm1& frame = kelvara::Forms::MDIForm1();
    frame.show();
    return app.exec();
}
