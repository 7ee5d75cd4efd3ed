#pragma once
// The warning both windows give when the screen is lower than the layout
// needs, and the way it is given: once the program's window is shown and the
// event loop runs again, so that it opens over the window and not over an
// empty screen.
#include <QString>

class QWidget;

namespace kelvara {

QString LowScreenWarning();

// Shows `message` in a message box once `window` is shown (at the next turn
// of the event loop when it already is).
void WarnWhenShown(QWidget* window, const QString& message);

} // namespace kelvara
