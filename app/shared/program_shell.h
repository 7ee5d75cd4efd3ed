#pragma once
// The program shell as the windows see it: the start-up frame that creates
// the main form and the photoemission window and holds both in its client
// area. The windows never reach each other; what one needs of the other goes
// through here. The frame registers itself while it exists.
#include <QPointer>
#include <QSize>
#include <stdexcept>

#include "widgets/guard.h"

class QWidget;

namespace kelvara {

class ProgramShell {
public:
    virtual ~ProgramShell() = default;
    // The area in which the program's windows live, and the frame itself
    // (parent of the program's top-level windows).
    virtual QWidget* clientArea() const = 0;
    virtual QWidget* frameWindow() = 0;
    // Sizes the client area (pixels) to hold a window of this size.
    virtual void setClientSize(int width, int height) = 0;
    // The part of the client area that the frame shows without scrolling.
    virtual QSize visibleClientSize() const = 0;
    // Closes every window of the program; the program ends.
    virtual void Unload() = 0;
    // Shows the photoemission window in front.
    virtual void ShowPhotoemissionWindow() = 0;
    // The photoemission window's way back ("Main Menu"): that window hidden,
    // the main window visible with its photoemission option not selected.
    virtual void ReturnToMainWindow() = 0;
    // Makes the main window's plot box visible (the main window itself stays
    // as it is); the photoemission window's model read does this.
    virtual void ShowMainWindowPlot() = 0;
};

// Sizes a window of the client area (the main form, the photoemission
// window) to the part of the client area that shows without scrolling, grown
// where its controls need more room (its containers grown first, nothing
// cut off); the client area then holds the largest of its windows, so that
// it scrolls only when controls lie outside what the frame shows. Without a
// shell only the containers grow.
void FitToClientArea(QWidget& window, int margin);

// The registered shell; raises a logic error when there is none.
ProgramShell& Shell();
bool ShellExists();
void RegisterShell(ProgramShell* shell);
void UnregisterShell(ProgramShell* shell);

// One program-wide reference per form: creates the form, keeps the
// reference, then runs its load event (a run-time error in a load event is
// shown and the program goes on). A form's constructor must not reach its own
// reference (it would build a second instance); it has `*this`.
template <typename F, typename Make>
F& EnsureForm(QPointer<F>& ref, Make make) {
    if (!ref) {
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

} // namespace kelvara
