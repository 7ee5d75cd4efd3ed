#include "main/forms.h"

#include <QPointer>
#include <stdexcept>

#include "main/form1.h"
#include "main/formabout.h"
#include "main/frmbrowser.h"
#include "main/frmsmooth.h"
#include "main/mdiform1.h"
#include "photoemission/formxps.h"
#include "platform/guard.h"

namespace kelvara::Forms {

namespace {
QPointer<::kelvara::MDIForm1> gMDIForm1;
QPointer<::kelvara::Form1> gForm1;
QPointer<::kelvara::formXPS> gFormXPS;
QPointer<::kelvara::frmSmooth> gFrmSmooth;
QPointer<::kelvara::formAbout> gFormAbout;
QPointer<::kelvara::frmBrowser> gFrmBrowser;

// Creates the form, keeps the reference, then runs its load event. A
// run-time error in a load event is shown and the program goes on.
template <typename F, typename Make>
F& ensure(QPointer<F>& ref, Make make) {
    if (!ref) {
        // A form's constructor must not reach its own reference (it would
        // build a second instance); it has `*this`.
        static bool constructing = false;
        if (constructing) throw std::logic_error("form reference used inside its own constructor");
        constructing = true;
        F* form = nullptr;
        try {
            form = make();
        } catch (...) {
            constructing = false;
            throw;
        }
        constructing = false;
        ref = form;
        Guarded([&] { form->Form_Load(); });
    }
    return *ref;
}
} // namespace

::kelvara::MDIForm1& MDIForm1() {
    return ensure(gMDIForm1, [] { return new ::kelvara::MDIForm1(); });
}

QWidget* ClientArea() { return MDIForm1().clientArea(); }

::kelvara::Form1& Form1() {
    return ensure(gForm1, [] { return new ::kelvara::Form1(ClientArea()); });
}

::kelvara::formXPS& formXPS() {
    return ensure(gFormXPS, [] { return new ::kelvara::formXPS(ClientArea()); });
}

::kelvara::frmSmooth& frmSmooth() {
    return ensure(gFrmSmooth, [] { return new ::kelvara::frmSmooth(ClientArea()); });
}

::kelvara::formAbout& formAbout() {
    return ensure(gFormAbout, [] { return new ::kelvara::formAbout(&MDIForm1()); });
}

::kelvara::frmBrowser& frmBrowser() {
    return ensure(gFrmBrowser, [] { return new ::kelvara::frmBrowser(&MDIForm1()); });
}

bool MDIForm1Exists() { return !gMDIForm1.isNull(); }
bool Form1Exists() { return !gForm1.isNull(); }
bool formXPSExists() { return !gFormXPS.isNull(); }
bool formAboutExists() { return !gFormAbout.isNull(); }
bool frmBrowserExists() { return !gFrmBrowser.isNull(); }

void UnloadAll() {
    // The top-level windows first, then the start-up frame with every form in
    // its client area.
    delete gFormAbout.data();
    delete gFrmBrowser.data();
    delete gMDIForm1.data();
    gForm1 = nullptr;
    gFormXPS = nullptr;
    gFrmSmooth = nullptr;
}

} // namespace kelvara::Forms
