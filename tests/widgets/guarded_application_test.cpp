// The program's application object catches what a widget's own event handler
// lets escape. The test makes that application object itself, which a
// process can do once, so it has a program of its own.
#include <gtest/gtest.h>

#include <QEvent>
#include <QWidget>
#include <memory>

#include "platform/errors.h"
#include "widgets/guard.h"
#include "widgets/services.h"

using namespace kelvara;

namespace {
// A widget whose own event handler fails.
class FailingWidget : public QWidget {
protected:
    void customEvent(QEvent*) override { kelvara::raise(ErrorCode::DivisionByZero); }
};
} // namespace

TEST(Guard, TheApplicationCatchesWhatAWidgetsOwnEventHandlerLetsEscape) {
    // A repeated run in the same process uses the application the first run made.
    static GuardedApplication* app = nullptr;
    if (!app) {
        ASSERT_EQ(QCoreApplication::instance(), nullptr);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "guard_test";
        static char* argv[] = {name, nullptr};
        app = new GuardedApplication(argc, argv); // never destroyed, as in the other tests
    }
    auto rec = std::make_unique<RecordingServices>();
    RecordingServices* shown = rec.get();
    setServices(std::move(rec));
    FailingWidget w;
    QEvent own(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&w, &own));
    ASSERT_EQ(shown->messages.size(), 1);
    EXPECT_TRUE(shown->messages[0].text.contains("Division by zero"));
    setServices(nullptr);
}
