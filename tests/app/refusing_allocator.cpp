#include "tests/app/refusing_allocator.h"

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

// Replacing the plain forms is enough: the library's array and nothrow forms call them.
// The deletes are replaced too, so that every block goes back the way it came.
void *operator new(std::size_t n) {
    if (korvanta::child_test::refusing)
        throw std::bad_alloc();
    if (void *p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}

void *operator new[](std::size_t n) {
    return ::operator new(n);
}

void operator delete(void *p) noexcept {
    std::free(p);
}

void operator delete[](void *p) noexcept {
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept {
    std::free(p);
}

void operator delete[](void *p, std::size_t) noexcept {
    std::free(p);
}
