#pragma once
// The content property of an edit box, as the program's handlers read and write it.

#include "base/text.h"
#include "shell/unit_record.h"

namespace korvanta {

// A new text with what the edit control shows now; the absent text when it is empty. Every
// call makes a new copy, owned by the caller.
Text ReadContent(UnitRef edit_box);

// The edit box keeps its own copy; the caller keeps its text. Absent is written as empty.
// Raises the content-changed event once afterwards.
void WriteContent(UnitRef edit_box, const char *text);

} // namespace korvanta
