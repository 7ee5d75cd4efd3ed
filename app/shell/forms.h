#pragma once
// The program shell's forms: the start-up frame and the photoemission window,
// beside the main window's forms (main/forms.h). Every use creates the form
// and runs its load event first when it does not exist yet (MDIForm1 is
// created before any form that lives in its client area).
#include "main/forms.h"

namespace kelvara {

class MDIForm1;
class formXPS;

namespace Forms {

::kelvara::MDIForm1& MDIForm1();
::kelvara::formXPS& formXPS();

bool formXPSExists();

} // namespace Forms
} // namespace kelvara
