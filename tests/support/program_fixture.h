#pragma once
// The one GUI test fixture of the program's windows: starts the program as
// program_main does (the start-up frame, whose load brings up the main form
// and the photoemission window), on the offscreen screen the test chose with
// UseOffscreenScreen, with services that record instead of blocking.
#include <gtest/gtest.h>

#include <memory>

#include "main/form1.h"
#include "offscreen_screen.h"
#include "shell/forms.h"
#include "shell/mdiform1.h"
#include "state/module1.h"
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

} // namespace kelvara::testsupport
