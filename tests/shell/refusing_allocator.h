#pragma once
// The test executable's own global operator new and new[]: plain until armed, then every
// request throws std::bad_alloc, as it would once memory has run out.

namespace korvanta::child_test {

// Only for child scenarios: nothing in the process can allocate with new afterwards.
void RefuseAllocations();

} // namespace korvanta::child_test
