// The hostile suite's Windows tests: GoogleTest on a started shell, so that the harness
// window with its ZIP unit can be loaded.
#include "shell/shell.h"

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    korvanta::InitShell();
    return RUN_ALL_TESTS();
}
