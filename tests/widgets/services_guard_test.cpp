#include <gtest/gtest.h>

#include <QPushButton>
#include <stdexcept>

#include "offscreen_screen.h"
#include "platform/errors.h"
#include "widgets/guard.h"
#include "widgets/services.h"

using namespace kelvara;

namespace {
RecordingServices* record() {
    auto rec = std::make_unique<RecordingServices>();
    RecordingServices* raw = rec.get();
    setServices(std::move(rec));
    return raw;
}
} // namespace

TEST(Guard, EveryEscapingErrorIsShownAndTheProgramGoesOn) {
    testsupport::UseOffscreenScreen(800, 600);
    RecordingServices* rec = record();

    EXPECT_TRUE(Guarded([] {}));
    EXPECT_TRUE(rec->messages.isEmpty());

    EXPECT_FALSE(Guarded([] { raise(ErrorCode::Overflow); }));
    ASSERT_EQ(rec->messages.size(), 1);
    EXPECT_TRUE(rec->messages[0].text.contains("'6'"));
    // What is wrong in plain words, not the error's short name.
    EXPECT_TRUE(rec->messages[0].text.endsWith("A number is too large."));
    EXPECT_FALSE(rec->messages[0].text.contains("Overflow"));

    EXPECT_FALSE(Guarded([] { throw std::logic_error("broken invariant"); }));
    EXPECT_FALSE(Guarded([] { throw 42; }));
    ASSERT_EQ(rec->messages.size(), 3);
    EXPECT_TRUE(rec->messages[1].text.contains("broken invariant"));

    // A handler connected through the guard: the failing click is shown, the
    // next click runs normally.
    QPushButton button;
    int clicks = 0;
    connectGuarded(&button, &QPushButton::clicked, &button, [&](bool) {
        if (++clicks == 1) raise(ErrorCode::DllNotFound, "File not found: zandrel.so");
    });
    button.click();
    button.click();
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(rec->messages.size(), 4);
    EXPECT_TRUE(rec->messages[3].text.contains("zandrel.so"));
    setServices(nullptr);
}

TEST(Services, HourglassIsTakenBackOnEveryPath) {
    testsupport::UseOffscreenScreen(800, 600);
    RecordingServices* rec = record();
    Guarded([] {
        BusyPointer busy;
        raise(ErrorCode::TypeMismatch);
    });
    EXPECT_EQ(rec->busyDepth, 0);
    EXPECT_EQ(rec->busyCalls, 2);
    setServices(nullptr);

    // The desktop service uses the override cursor; it is restored as well.
    {
        BusyPointer busy;
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
