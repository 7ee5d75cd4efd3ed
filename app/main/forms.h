#pragma once
// One program-wide reference per form of the main window. Every use creates
// the form and runs its load event first when it does not exist yet. The
// forms live in the program shell's client area (shared/program_shell.h),
// which exists before any of them.
#include <QWidget>

namespace kelvara {

class Form1;
class frmSmooth;
class formAbout;
class frmBrowser;

namespace Forms {

::kelvara::Form1& Form1();
::kelvara::frmSmooth& frmSmooth();
::kelvara::formAbout& formAbout();
::kelvara::frmBrowser& frmBrowser();

// Whether the form exists at this moment (does not create it).
bool formAboutExists();
bool frmBrowserExists();

// The area of the start-up frame in which the program's forms live.
QWidget* ClientArea();

} // namespace Forms
} // namespace kelvara
