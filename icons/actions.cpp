#include "icons/handlers.h"

namespace korvanta {

void ReplaceAction() {}

void RestoreAction() {}

} // namespace korvanta
