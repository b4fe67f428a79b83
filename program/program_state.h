#pragma once

#include "base/text.h"

namespace korvanta {

// The game directory as found at start-up (or the default text); released by ExitRoutine.
extern Text GameRoot;

} // namespace korvanta
