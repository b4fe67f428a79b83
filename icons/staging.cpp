#include "icons/handlers.h"

namespace korvanta {

void StartupStaging() {}

} // namespace korvanta
