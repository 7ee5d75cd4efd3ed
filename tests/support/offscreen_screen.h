#pragma once
// One QApplication per test process on the offscreen platform, with the size
// of its screen set through the platform's configuration file. ctest runs every
// test in a process of its own, so each test may ask for its own screen; when a
// process already has an application with another screen the test is skipped.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>

namespace kelvara::testsupport {

inline bool UseOffscreenScreen(int width, int height, int dpi = 96) {
    static QApplication* app = nullptr; // never destroyed: it outlives every widget of the test
    static int appWidth = 0, appHeight = 0, appDpi = 0;
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
