#pragma once
// The process shell: start-up, the window descriptions, the message loop and the end of the
// process. Everything runs on the one thread that ran InitShell.

#include "shell/unit_record.h"

#include <cstdint>

namespace korvanta {

// Routines of the program that the shell calls; the program defines them.
int32_t ProgramEntry();
void ExitRoutine();

// Process start: the error mode, the fatal-error wiring, then the entry routine, the
// shutdown and the exit code carried by the quit message (0).
int RunProcess(int32_t (*entry)());

// Takes the process heap, starts OLE, makes the program's directory the current directory,
// records the constant data, and reads the window descriptions.
void InitShell();
void RegisterExitRoutine(void (*routine)());
// Builds and shows the window; does not return if it cannot.
void RunStartWindow(int32_t window_id);
void RunMainLoop();
void ShutdownShell(int32_t exit_code);
[[noreturn]] void EndProgram(int32_t exit_code);

// The description of a window id in the shell's table, or null.
const WindowDescription *FindWindowDescription(int32_t window_id);

// Reported by the window layer once a program window is gone: ends the loop after the last.
void ProgramWindowDestroyed();

} // namespace korvanta
