#include "shared/program_shell.h"

namespace kelvara {

namespace {
ProgramShell* gShell = nullptr;
}

ProgramShell& Shell() {
    if (!gShell) throw std::logic_error("the program shell does not exist");
    return *gShell;
}

bool ShellExists() { return gShell != nullptr; }

void RegisterShell(ProgramShell* shell) { gShell = shell; }

void UnregisterShell(ProgramShell* shell) {
    if (gShell == shell) gShell = nullptr;
}

} // namespace kelvara
