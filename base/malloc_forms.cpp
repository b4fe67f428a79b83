// The forms of new and delete that go with a replaced plain operator new on malloc: the array
// form asks the plain one, and every delete gives the block back to free, the way it came.
// Linked wherever the plain operator new is replaced (the release build, the tests that make
// allocation fail).
#include <cstddef>
#include <cstdlib>
#include <new>

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
