// The Windows test executables of the window layer: GoogleTest in the parent, or one child
// scenario when started with --child=NAME.
#include "shell/shell.h"
#include "tests/shell/child_scenario.h"

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    if (korvanta::child_test::IsChildInvocation(argc, argv))
        return korvanta::child_test::RunChildInvocation(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // The in-process tests load windows from the shell's window table.
    korvanta::InitShell();
    return RUN_ALL_TESTS();
}
