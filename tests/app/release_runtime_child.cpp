// A program compiled as korvanta.exe is (no exceptions, no unwind tables) and linked with its
// replacements of the C++ runtime's throwing paths. Started with --child=NAME, it takes the
// path NAME names, which must end in the fatal-error box and exit code -1 as every
// unrecoverable condition of the program does. The scenarios' names and what each box says
// are in release_runtime_scenarios.h, which the test reads too.
#include "tests/app/release_runtime_scenarios.h"

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

void Run(const char *name) {
    using namespace std::string_literals;
    if (!std::strcmp(name, "operator-new"))
        ::operator delete(::operator new(refused_size));
    else if (!std::strcmp(name, "vector-at"))
        (void)std::vector<int>{}.at(past_the_end);
    else if (!std::strcmp(name, "empty-function"))
        std::function<void()>{}();
    else if (!std::strcmp(name, "string-too-long"))
        std::string{}.reserve(std::string{}.max_size() + past_the_end);
    else if (!std::strcmp(name, "bad_exception"))
        std::__throw_bad_exception();
    else if (!std::strcmp(name, "bad_alloc"))
        std::__throw_bad_alloc();
    else if (!std::strcmp(name, "bad_array_new_length"))
        std::__throw_bad_array_new_length();
    else if (!std::strcmp(name, "bad_cast"))
        std::__throw_bad_cast();
    else if (!std::strcmp(name, "bad_typeid"))
        std::__throw_bad_typeid();
    else if (!std::strcmp(name, "bad_function_call"))
        std::__throw_bad_function_call();
    else if (!std::strcmp(name, "logic_error"))
        std::__throw_logic_error("logic");
    else if (!std::strcmp(name, "domain_error"))
        std::__throw_domain_error("domain");
    else if (!std::strcmp(name, "invalid_argument"))
        std::__throw_invalid_argument("argument");
    else if (!std::strcmp(name, "length_error"))
        std::__throw_length_error("length");
    else if (!std::strcmp(name, "out_of_range"))
        std::__throw_out_of_range("range");
    else if (!std::strcmp(name, "out_of_range_fmt"))
        std::__throw_out_of_range_fmt("index %zu", static_cast<std::size_t>(past_the_end));
    else if (!std::strcmp(name, "runtime_error"))
        std::__throw_runtime_error("runtime");
    else if (!std::strcmp(name, "range_error"))
        std::__throw_range_error("range error");
    else if (!std::strcmp(name, "overflow_error"))
        std::__throw_overflow_error("overflow");
    else if (!std::strcmp(name, "underflow_error"))
        std::__throw_underflow_error("underflow");
}

} // namespace

int main(int argc, char **argv) {
    for (int i = 1; i < argc; ++i)
        if (!std::strncmp(argv[i], "--child=", 8))
            Run(argv[i] + 8);
    // A path that came back: the test sees exit code 0 and no box.
    return 0;
}
