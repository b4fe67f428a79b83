#pragma once
// What stands at a path, and what a folder holds, asked of the platform; the judgement itself
// is folder_judgement's.

#include "program/action_plan.h"

namespace korvanta {

Place PlaceAt(const char *path);

// Lists the folder and judges what it holds (JudgeFolder); Unknown when it cannot be listed
// whole.
Holding FolderHolding(const char *path);

} // namespace korvanta
