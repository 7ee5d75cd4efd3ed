#include "shared/screen_warning.h"

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <utility>

#include "widgets/services.h"

namespace kelvara {

namespace {
class MessageWhenShown : public QObject {
public:
    MessageWhenShown(QWidget* window, QString message) : QObject(window), message_(std::move(message)) {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            const QString message = message_;
            QTimer::singleShot(0, watched, [message] { services().messageBox(message); });
            deleteLater();
        }
        return false;
    }

private:
    QString message_;
};
} // namespace

QString LowScreenWarning() {
    return QStringLiteral("Screen resolution may be too low to provide full functionality of the program. The "
                          "screen resolution must be at least 1024x765 and preferably 1152x864");
}

void WarnWhenShown(QWidget* window, const QString& message) {
    if (window->isVisible()) {
        QTimer::singleShot(0, window, [message] { services().messageBox(message); });
        return;
    }
    new MessageWhenShown(window, message);
}

} // namespace kelvara
