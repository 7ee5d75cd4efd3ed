#include "widgets/guard.h"

#include <new>

#include "platform/errors.h"
#include "widgets/services.h"

namespace kelvara {

QString escapedErrorText(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeError& e) {
        // The number for reference; the text in plain words.
        return QStringLiteral("Run-time error '%1':\n\n%2").arg(e.number()).arg(QString::fromStdString(PlainReason(e)));
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Run-time error '7':\n\nThere is not enough memory.");
    } catch (const std::exception& e) {
        return QStringLiteral("Run-time error:\n\n%1").arg(QString::fromStdString(e.what()));
    } catch (...) {
        return QStringLiteral("Run-time error:\n\nUnknown error");
    }
}

void reportEscapedError(std::exception_ptr error) {
    try {
        services().messageBox(escapedErrorText(error));
    } catch (...) {
        // Nothing more can be done; the program goes on.
    }
}

} // namespace kelvara

namespace kelvara {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportEscapedError(std::current_exception());
        return false;
    }
}

} // namespace kelvara
