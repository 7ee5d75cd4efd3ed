#pragma once
// The one GUI test fixture of the program's windows: starts the program as
// program_main does (the start-up frame, whose load brings up the main form
// and the photoemission window), on the offscreen screen the test chose with
// UseOffscreenScreen, with services that record instead of blocking.
//
// Every test of a program that includes this header ends the program it
// started (EndProgram, run by a test listener after the test), so the next
// test of the same process starts as a new run of the program whatever ran
// before it. Only the application object and its screen outlive a test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <memory>

#include "main/form1.h"
#include "offscreen_screen.h"
#include "shared/oscillator_model.h"
#include "shared/program_shell.h"
#include "shell/forms.h"
#include "shell/mdiform1.h"
#include "state/binder.h"
#include "state/module1.h"
#include "toolkit/tools.h"
#include "widgets/services.h"

namespace kelvara::testsupport {

struct Program {
    RecordingServices* services = nullptr;
    Form1* form = nullptr;
};

struct StartOptions {
    bool resetState = true; // program-wide state back to its start values first
    bool showFrame = true;  // the start-up frame shown, as program_main does
};

inline Program StartProgram(StartOptions options = {}) {
    Program p;
    auto rec = std::make_unique<RecordingServices>();
    p.services = rec.get();
    setServices(std::move(rec));
    if (options.resetState) Module1::Reset();
    MDIForm1& frame = Forms::MDIForm1();
    if (options.showFrame) frame.show();
    p.form = &Forms::Form1();
    return p;
}

// Ends the running program as if the process ended: the start-up frame and
// every window in it destroyed (with every connection a test made to them),
// the program-wide state back to its start values, the model file, the
// library bindings and folders forgotten, and services that record (nothing
// a later test does can block). Helpers that keep a form between calls hold
// it in a QPointer, so that they start the program again after this.
inline void EndProgram() {
    if (ShellExists()) delete Shell().frameWindow();
    // Objects a handler gave to deleteLater go now rather than inside the next test.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Module1::Reset();
    Module1::ForgetBindings();
    ModelFilePath().clear();
    SetLibraryFolder(QString());
    Tools_cls::setProgramFolder(std::string());
    setServices(std::make_unique<RecordingServices>());
}

namespace detail {

class EndProgramAfterEachTest : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { EndProgram(); }
};

// Registered once per test program, before main runs the tests.
inline const bool kEndProgramRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new EndProgramAfterEachTest);
    return true;
}();

} // namespace detail

} // namespace kelvara::testsupport
