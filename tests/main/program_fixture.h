#pragma once
// Starts the program as program_main does (the start-up frame, whose load
// brings up the main form), on an offscreen screen of the given size and with
// services that record instead of blocking.
#include <gtest/gtest.h>

#include "main/form1.h"
#include "shell/forms.h"
#include "shell/mdiform1.h"
#include "offscreen_screen.h"
#include "widgets/services.h"
#include "state/module1.h"

namespace kelvara::testsupport {

struct Program {
    RecordingServices* services = nullptr;
    Form1* form = nullptr;
};

inline Program StartProgram() {
    Program p;
    auto rec = std::make_unique<RecordingServices>();
    p.services = rec.get();
    setServices(std::move(rec));
    Module1::Reset();
    MDIForm1& frame = Forms::MDIForm1();
    frame.show();
    p.form = &Forms::Form1();
    return p;
}

} // namespace kelvara::testsupport
