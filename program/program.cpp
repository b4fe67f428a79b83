// The program's start and exit routines, called by the shell.
#include "shell/shell.h"
#include "program/main_window.h"
#include "program/program_state.h"

namespace korvanta {

void ExitRoutine() {
    GameRoot = Text();
}

int32_t ProgramEntry() {
    InitShell();
    GameRoot = Text();
    RegisterExitRoutine(&ExitRoutine);
    RunStartWindow(kMainWindowId);
    RunMainLoop();
    return 0;
}

} // namespace korvanta
