#pragma once
// One program-wide reference per form. Every use creates the form and runs its
// load event first when it does not exist yet (MDIForm1 is created before any
// form that lives in its client area).
#include <QWidget>

namespace kelvara {

class MDIForm1;
class Form1;
class formXPS;
class frmSmooth;
class formAbout;
class frmBrowser;

namespace Forms {

::kelvara::MDIForm1& MDIForm1();
::kelvara::Form1& Form1();
::kelvara::formXPS& formXPS();
::kelvara::frmSmooth& frmSmooth();
::kelvara::formAbout& formAbout();
::kelvara::frmBrowser& frmBrowser();

// Whether the form exists at this moment (does not create it).
bool MDIForm1Exists();
bool Form1Exists();
bool formXPSExists();
bool formAboutExists();
bool frmBrowserExists();

// The area of the start-up frame in which the program's forms live.
QWidget* ClientArea();

// Destroys every form at once (shut-down and tests).
void UnloadAll();

} // namespace Forms
} // namespace kelvara
