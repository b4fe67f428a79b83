#include "tests/shell/refusing_allocator.h"

#include <cstdlib>
#include <new>

namespace korvanta::child_test {
namespace {
bool refusing = false;
}

void RefuseAllocations() {
    refusing = true;
}

} // namespace korvanta::child_test

// Replacing the plain form is enough: the library's nothrow form calls it, and
// base/malloc_forms.cpp the array form; its deletes give every block back the way it came.
void *operator new(std::size_t n) {
    if (korvanta::child_test::refusing)
        throw std::bad_alloc();
    if (void *p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
