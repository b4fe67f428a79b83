#!/usr/bin/env bash
# Builds both trees and runs every test: the native tests of the pure logic and the
# generator, then the Windows tests and the end-to-end tests under Wine.
#
# Some machines cannot execute 32-bit programs at all (their kernel has no 32-bit user mode),
# and there Wine's 32-bit loader does not start. On such a machine korvanta.exe is still built
# for 32-bit Windows, and the Windows tests run on a 64-bit build of the same code under
# wine64 (the windows64 preset); the run says so at its start.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" >/dev/null

windows_tests=windows
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    windows_tests=windows64
    echo "test: this machine cannot run 32-bit programs; the Windows tests run on the" \
         "64-bit build (build/windows64) under wine64" >&2
fi

cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset windows >/dev/null
if [ "$windows_tests" = windows ]; then
    cmake --build --preset windows
else
    cmake --build --preset windows --target korvanta
    cmake --preset windows64 >/dev/null
    cmake --build --preset windows64
fi

# One CTest run over both trees, so that one summary line counts every test.
cat >"$root/build/CTestTestfile.cmake" <<CTEST
subdirs("native" "$windows_tests")
CTEST
cd "$root/build"
ctest -j2 --output-on-failure "$@"
