#pragma once
// The content property of an edit box, as the program's handlers read and write it.

#include "base/text.h"
#include "shell/unit_record.h"

namespace korvanta {

// A new text with what the edit control shows now, in UTF-8; the absent text when it is empty.
// Every call makes a new copy, owned by the caller. A box whose text has no UTF-8 form (a lone
// surrogate, which only input from outside the program can put there) reads as empty: the
// absent text, never a text of other characters.
Text ReadContent(UnitRef edit_box);

// The edit box keeps its own copy; the caller keeps its text. Absent is written as empty, and
// so is a text that is not UTF-8. Raises the content-changed event once afterwards.
void WriteContent(UnitRef edit_box, const char *text);

} // namespace korvanta
