#!/usr/bin/env bash
# Builds both trees and runs every test: the native tests of the pure logic and the
# generator, then the Windows tests and the end-to-end tests under Wine, on the Windows tree's
# lanes side by side (tests/wine/wine-lane). Ends with the time each phase
# took and CTest's summary.
#
# Some machines cannot execute 32-bit programs at all (their kernel has no 32-bit user mode),
# and there Wine's 32-bit loader does not start. On such a machine korvanta.exe is still built
# for 32-bit Windows, and the Windows tests run on a 64-bit build of the same code under
# wine64 (the windows64 preset); the run says so at its start.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/wine/wine-env.sh"

phases=()
phase_began=$(date +%s)
# Records the phase that just ended.
phase() {
    local now
    now=$(date +%s)
    phases+=("$(printf '%-44s %4d s' "$1" $((now - phase_began)))")
    phase_began=$now
}

bash "$root/scripts/setup.sh" >/dev/null
phase "set-up"

windows_tests=windows
if ! wine_runs_32bit_programs; then
    windows_tests=windows64
    echo "test: this machine cannot run 32-bit programs; the Windows tests run on the" \
         "64-bit build (build/windows64) under wine64" >&2
fi

# Runs "$@" in the background with its output in log file $1 (the rest of the arguments
# follow it); waited for with finish.
background() {
    local log=$1
    shift
    "$@" >"$log" 2>&1 &
    background_pid=$!
    background_log=$log
}

# Waits for the background command; its output is shown once it is done, and its failure
# ends the run.
finish() {
    local status=0
    wait "$background_pid" || status=$?
    cat "$background_log"
    [ "$status" = 0 ] || {
        echo "test: failed: $1" >&2
        exit "$status"
    }
}

cmake --preset native >/dev/null
# The Windows trees run the generator the native tree builds, and need only its path, which
# configuring the native tree has written: they are configured (one core's work, mostly) while
# the native tree builds.
generator=(-DKORVANTA_GENERATOR="$(cat "$root/build/native/korvanta-gen.txt")")
configure_windows() {
    cmake --preset windows "${generator[@]}" >/dev/null || return
    [ "$windows_tests" = windows ] || cmake --preset windows64 "${generator[@]}" >/dev/null
}
background "$root/build/configure-windows.log" configure_windows
cmake --build --preset native || {
    wait "$background_pid" || true
    exit 1
}
phase "build native"
finish "configuring the Windows trees"
if [ "$windows_tests" = windows ]; then
    cmake --build --preset windows
    phase "build windows"
else
    # The 32-bit korvanta.exe is built beside the 64-bit tree: the end of one build (the
    # archives, the link) runs while the other still compiles.
    background "$root/build/windows-korvanta.log" cmake --build --preset windows --target korvanta
    cmake --build --preset windows64 || {
        wait "$background_pid" || true
        exit 1
    }
    finish "building build/windows/korvanta.exe"
    phase "build windows64 and windows (korvanta.exe)"
fi

# One CTest run over both trees, so that one summary line counts every test. CTest hands each
# Windows test a lane of the pool; one more job runs the native tests beside them.
cat >"$root/build/CTestTestfile.cmake" <<CTEST
subdirs("native" "$windows_tests")
CTEST
pool=$root/build/$windows_tests/lanes
read -r lanes <"$pool/lanes"
log=$root/build/ctest-output.txt
cd "$root/build"
status=0
ctest -j"$((lanes + 1))" --resource-spec-file "$pool/lanes.json" --output-on-failure "$@" \
    | tee "$log" || status=$?
phase "tests ($lanes lanes)"

echo
echo "Time by phase:"
printf '  %s\n' "${phases[@]}"
# CTest's summary closes the run.
grep -E '^[0-9]+% tests passed|^Total Test time' "$log" || true
exit "$status"
