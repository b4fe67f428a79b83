#pragma once
// The release runtime's scenarios (release_runtime_child.cpp) and the message each box shows.
#include <cstddef>
#include <cstdint>
#include <ostream>

namespace korvanta::release_runtime {

// An allocation no process can have, 32-bit or 64-bit.
constexpr std::size_t kRefusedSize = SIZE_MAX / 2;

struct Scenario {
    const char *name;
    const char *message; // after "错误信息：" in the box; null: the refused allocation's
};

// GoogleTest names a case's scenario by this.
inline void PrintTo(const Scenario &scenario, std::ostream *out) {
    *out << scenario.name;
}

// Each path of the runtime that throws in a build with exceptions: through the library
// (a refused operator new, vector::at, an empty std::function, a string past max_size) and
// every throw helper the program replaces, called directly.
inline constexpr Scenario kScenarios[] = {
    {"operator-new", nullptr},
    {"vector-at", "vector::_M_range_check: __n (which is %zu) >= this->size() (which is %zu)"},
    {"empty-function", "std::bad_function_call"},
    {"string-too-long", "basic_string::_M_create"},
    {"bad_exception", "std::bad_exception"},
    {"bad_alloc", "std::bad_alloc"},
    {"bad_array_new_length", "std::bad_array_new_length"},
    {"bad_cast", "std::bad_cast"},
    {"bad_typeid", "std::bad_typeid"},
    {"bad_function_call", "std::bad_function_call"},
    {"logic_error", "logic"},
    {"domain_error", "domain"},
    {"invalid_argument", "argument"},
    {"length_error", "length"},
    {"out_of_range", "range"},
    {"out_of_range_fmt", "index %zu"},
    {"runtime_error", "runtime"},
    {"range_error", "range error"},
    {"overflow_error", "overflow"},
    {"underflow_error", "underflow"},
};

} // namespace korvanta::release_runtime
