#include "program/program_state.h"

namespace korvanta {

Text GameRoot;

} // namespace korvanta
