#pragma once
// One QApplication at a time per test process on the offscreen platform, with
// the size of its screen set through the platform's configuration file. The
// first test to ask makes it. A later test that asks first thing for another
// screen, while no window is left from the tests before, gets a new
// application with that screen; otherwise the answer is false (the test is
// skipped: ctest runs every test in a process of its own, where it gets its
// screen).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <utility>

namespace kelvara::testsupport {

namespace detail {

// Whether the running test has asked for its screen already.
inline bool& ScreenAskedInThisTest() {
    static bool asked = false;
    return asked;
}

class ScreenPerTest : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { ScreenAskedInThisTest() = false; }
};

inline const bool kScreenPerTestRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScreenPerTest);
    return true;
}();

} // namespace detail

inline bool UseOffscreenScreen(int width, int height, int dpi = 96) {
    // Not destroyed at exit (tearing Qt down in the exit handlers is not
    // safe); replaced only between tests, when it holds no window.
    static QApplication* app = nullptr;
    static int appWidth = 0, appHeight = 0, appDpi = 0;
    const bool firstAsk = !std::exchange(detail::ScreenAskedInThisTest(), true);
    if (app && firstAsk && QCoreApplication::instance() == app &&
        (appWidth != width || appHeight != height || appDpi != dpi) && QApplication::topLevelWidgets().isEmpty()) {
        delete app;
        app = nullptr;
    }
    if (!app && !QCoreApplication::instance()) {
        const QString path = QDir::temp().filePath(QStringLiteral("kelvara_screen_%1_%2x%3_%4.json")
                                                       .arg(QCoreApplication::applicationPid())
                                                       .arg(width)
                                                       .arg(height)
                                                       .arg(dpi));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            f.write(QStringLiteral("{ \"screens\": [ { \"name\": \"test\", \"x\": 0, \"y\": 0, \"width\": %1, "
                                   "\"height\": %2, \"logicalDpi\": %3, \"logicalBaseDpi\": 96, \"dpr\": 1 } ] }\n")
                        .arg(width)
                        .arg(height)
                        .arg(dpi)
                        .toUtf8());
            f.close();
        }
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toLocal8Bit());
        static int argc = 1;
        static char name[] = "kelvara_test";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
        appWidth = width;
        appHeight = height;
        appDpi = dpi;
    }
    return appWidth == width && appHeight == height && appDpi == dpi;
}

} // namespace kelvara::testsupport
