#include "shared/program_shell.h"

#include <QWidget>
#include <algorithm>

#include "widgets/controls.h"

namespace kelvara {

namespace {
ProgramShell* gShell = nullptr;
}

ProgramShell& Shell() {
    if (!gShell) throw std::logic_error("the program shell does not exist");
    return *gShell;
}

bool ShellExists() { return gShell != nullptr; }

void FitToClientArea(QWidget& window, int margin) {
    const QPoint reach = FitContainers(&window, margin);
    if (!ShellExists()) return;
    const QSize visible = Shell().visibleClientSize();
    window.resize(std::max(visible.width() - window.x(), reach.x()),
                  std::max(visible.height() - window.y(), reach.y()));
    QSize needed(0, 0);
    for (const QObject* o : Shell().clientArea()->children())
        if (const auto* w = qobject_cast<const QWidget*>(o); w && !w->isWindow())
            needed = needed.expandedTo(QSize(w->x() + w->width(), w->y() + w->height()));
    Shell().setClientSize(needed.width(), needed.height());
}

void RegisterShell(ProgramShell* shell) { gShell = shell; }

void UnregisterShell(ProgramShell* shell) {
    if (gShell == shell) gShell = nullptr;
}

} // namespace kelvara
