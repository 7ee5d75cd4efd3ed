#pragma once
// The one application object of a GUI test program, created at first use.
#include <QApplication>

namespace kelvara::testing {

inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "kelvara_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down in the exit handlers is not safe.
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

} // namespace kelvara::testing
