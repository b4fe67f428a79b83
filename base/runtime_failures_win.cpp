// Only in the release build, which is compiled without exceptions: what the C++ runtime
// would throw ends in the program's one report for unrecoverable conditions instead. A
// refused allocation by operator new gets the same report as one by AllocBlock; the standard
// library's own checks (a length past max_size, an empty std::function called) fire only on
// a fault of the program. Replacing the runtime's throwing versions keeps them, and with
// them the unwinder, the exception runtime, its thread support and the name demangler of its
// terminate handler, out of korvanta.exe: about a third of its code.
#include "base/fatal.h"

#include <windows.h>

// The declarations of the library's throw helpers, which this file defines in its place.
#include <bits/functexcept.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void AllocationFailed(std::size_t n) {
    char message[64];
    wsprintfA(message, "分配 %u 字节内存失败!", static_cast<unsigned>(n));
    korvanta::FatalError(message, 0);
}

[[noreturn]] void CheckFailed(const char *what) {
    korvanta::FatalError(what, 0);
}

} // namespace

// The other forms of new and delete are base/malloc_forms.cpp's.
void *operator new(std::size_t n) {
    void *p = std::malloc(n ? n : 1);
    if (!p)
        AllocationFailed(n);
    return p;
}

namespace std {

void __throw_bad_exception() {
    CheckFailed("std::bad_exception");
}
void __throw_bad_alloc() {
    CheckFailed("std::bad_alloc");
}
void __throw_bad_array_new_length() {
    CheckFailed("std::bad_array_new_length");
}
void __throw_bad_cast() {
    CheckFailed("std::bad_cast");
}
void __throw_bad_typeid() {
    CheckFailed("std::bad_typeid");
}
void __throw_bad_function_call() {
    CheckFailed("std::bad_function_call");
}
void __throw_logic_error(const char *what) {
    CheckFailed(what);
}
void __throw_domain_error(const char *what) {
    CheckFailed(what);
}
void __throw_invalid_argument(const char *what) {
    CheckFailed(what);
}
void __throw_length_error(const char *what) {
    CheckFailed(what);
}
void __throw_out_of_range(const char *what) {
    CheckFailed(what);
}
// The format's arguments are left out: the report needs no heap and no formatting.
void __throw_out_of_range_fmt(const char *what, ...) {
    CheckFailed(what);
}
void __throw_runtime_error(const char *what) {
    CheckFailed(what);
}
void __throw_range_error(const char *what) {
    CheckFailed(what);
}
void __throw_overflow_error(const char *what) {
    CheckFailed(what);
}
void __throw_underflow_error(const char *what) {
    CheckFailed(what);
}

} // namespace std
