#pragma once
// Every event handler is entered through Guarded(): whatever escapes the
// handler (a run-time error, any other exception) is shown in a message box
// and the program goes on with the next event.
#include <QObject>
#include <QString>
#include <exception>
#include <utility>

namespace kelvara {

// The text shown for an escaped exception.
QString escapedErrorText(std::exception_ptr error);
// Shows the escaped exception in a message box (through the services).
void reportEscapedError(std::exception_ptr error);

// Runs the handler; returns false when something escaped it (and was shown).
template <typename Handler>
bool Guarded(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (...) {
        reportEscapedError(std::current_exception());
        return false;
    }
}

// connect() whose slot runs inside the guard. The slot receives every
// argument of the signal.
template <typename Sender, typename Signal, typename Slot>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, const QObject* context, Slot slot) {
    return QObject::connect(sender, signal, context, [slot](auto&&... args) {
        Guarded([&] { slot(std::forward<decltype(args)>(args)...); });
    });
}

} // namespace kelvara

#include <QApplication>

namespace kelvara {

// The program's application object: a last guard around every event that a
// widget handles itself (paint, mouse and key events of custom widgets), so
// that nothing escaping there ends the program either.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace kelvara
