#pragma once
// How one fetched message travels: the pre-translation of the program windows first, then
// TranslateMessage and DispatchMessageW.

#include <windows.h>

namespace korvanta {

// Offers the message to its target and each parent up to the top-level window; true when a
// program window consumed it.
bool PreTranslateLoopMessage(MSG &msg);

// Pre-translates, and when nothing consumed it, translates and dispatches.
void DispatchLoopMessage(MSG &msg);

// Dispatches every message already waiting in the thread's queue, stopping early at a quit
// message, which stays in the queue for the loop.
void DispatchPendingMessages();

} // namespace korvanta
