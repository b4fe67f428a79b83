// A program compiled as korvanta.exe is (no exceptions, no unwind tables) and linked with its
// replacements of the C++ runtime's throwing paths. Started with --child=NAME, it takes the
// path NAME names, which must end in the fatal-error box and exit code -1 as every
// unrecoverable condition of the program does. The scenarios' names and what each box says
// are in release_runtime_scenarios.h, which the test reads too.
#include "tests/shell/release_runtime_scenarios.h"

#include <bits/functexcept.h>

#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

namespace {

// Read through a volatile, so that the compiler cannot see the fault coming.
volatile std::size_t refused_size = korvanta::release_runtime::kRefusedSize;
volatile std::size_t past_the_end = 1;

struct Path {
    const char *name;
    void (*take)();
};

const Path kPaths[] = {
    {"operator-new", [] { ::operator delete(::operator new(refused_size)); }},
    {"vector-at", [] { (void)std::vector<int>{}.at(past_the_end); }},
    {"empty-function", [] { std::function<void()>{}(); }},
    {"string-too-long", [] { std::string{}.reserve(std::string{}.max_size() + past_the_end); }},
    {"bad_exception", [] { std::__throw_bad_exception(); }},
    {"bad_alloc", [] { std::__throw_bad_alloc(); }},
    {"bad_array_new_length", [] { std::__throw_bad_array_new_length(); }},
    {"bad_cast", [] { std::__throw_bad_cast(); }},
    {"bad_typeid", [] { std::__throw_bad_typeid(); }},
    {"bad_function_call", [] { std::__throw_bad_function_call(); }},
    {"logic_error", [] { std::__throw_logic_error("logic"); }},
    {"domain_error", [] { std::__throw_domain_error("domain"); }},
    {"invalid_argument", [] { std::__throw_invalid_argument("argument"); }},
    {"length_error", [] { std::__throw_length_error("length"); }},
    {"out_of_range", [] { std::__throw_out_of_range("range"); }},
    {"out_of_range_fmt", [] { std::__throw_out_of_range_fmt("index %zu", std::size_t{1}); }},
    {"runtime_error", [] { std::__throw_runtime_error("runtime"); }},
    {"range_error", [] { std::__throw_range_error("range error"); }},
    {"overflow_error", [] { std::__throw_overflow_error("overflow"); }},
    {"underflow_error", [] { std::__throw_underflow_error("underflow"); }},
};

} // namespace

int main(int argc, char **argv) {
    for (int i = 1; i < argc; ++i)
        for (const Path &path : kPaths)
            if (!std::strncmp(argv[i], "--child=", 8) && !std::strcmp(argv[i] + 8, path.name))
                path.take();
    // A path that came back: the test sees exit code 0 and no box.
    return 0;
}
