// The process start of korvanta.exe: the shell runs the program's entry routine.
#include "app/shell.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return korvanta::RunProcess(&korvanta::ProgramEntry);
}
