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
    const wchar_t *message; // after "错误信息：" in the box; null: the refused allocation's
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
    {"vector-at", L"vector::_M_range_check: __n (which is %zu) >= this->size() (which is %zu)"},
    {"empty-function", L"std::bad_function_call"},
    {"string-too-long", L"basic_string::_M_create"},
    {"bad_exception", L"std::bad_exception"},
    {"bad_alloc", L"std::bad_alloc"},
    {"bad_array_new_length", L"std::bad_array_new_length"},
    {"bad_cast", L"std::bad_cast"},
    {"bad_typeid", L"std::bad_typeid"},
    {"bad_function_call", L"std::bad_function_call"},
    {"logic_error", L"logic"},
    {"domain_error", L"domain"},
    {"invalid_argument", L"argument"},
    {"length_error", L"length"},
    {"out_of_range", L"range"},
    {"out_of_range_fmt", L"index %zu"},
    {"runtime_error", L"runtime"},
    {"range_error", L"range error"},
    {"overflow_error", L"overflow"},
    {"underflow_error", L"underflow"},
};

} // namespace korvanta::release_runtime
