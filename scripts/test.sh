#!/usr/bin/env bash
# Builds both trees and runs every test: the native tests of the pure logic and the
# generator, then the Windows tests and the end-to-end tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" >/dev/null

cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset windows >/dev/null
cmake --build --preset windows

# One CTest run over both trees, so that one summary line counts every test.
cat >"$root/build/CTestTestfile.cmake" <<'CTEST'
subdirs("native" "windows")
CTEST
cd "$root/build"
ctest -j2 --output-on-failure "$@"
