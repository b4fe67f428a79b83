#!/usr/bin/env bash
# Builds both trees and runs every test: the native tests of the pure logic and the
# generator, then the Windows tests and the end-to-end tests under Wine, on the Windows tree's
# lanes side by side (tests/wine/wine-lane). Ends with the time each phase
# took and CTest's summary.
#
# Some machines cannot execute 32-bit programs at all (their kernel has no 32-bit user mode),
# and there Wine's 32-bit loader does not start. On such a machine the Windows tests run on a
# 64-bit build of the same code under wine64 (the windows64 preset), and the run says so at its
# start; korvanta.exe is still built for 32-bit Windows, once: in the release tree the tests
# build and keep (payload.own_icons_release, build/release-tested).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/wine/wine-env.sh"

phases=()
phase_began=$(date +%s)
# Records the phase that just ended.
phase() {
    local now
    now=$(date +%s)
    phases+=("$(printf '%-28s %4d s' "$1" $((now - phase_began)))")
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

cmake --preset native >/dev/null
# The Windows tree runs the generator the native tree builds, and needs only its path, which
# configuring the native tree has written: it is configured (one core's work, mostly) while the
# native tree builds, and its output is shown once both are done.
generator=(-DKORVANTA_GENERATOR="$(cat "$root/build/native/korvanta-gen.txt")")
configure_log=$root/build/configure-$windows_tests.log
cmake --preset "$windows_tests" "${generator[@]}" >"$configure_log" 2>&1 &
configuring=$!
built=0
cmake --build --preset native && built=1
configured=0
wait "$configuring" && configured=1
[ "$built" = 1 ] || exit 1
phase "build native"
grep -v -e '^-- ' -e '^$' "$configure_log" || true
[ "$configured" = 1 ] || {
    echo "test: configuring build/$windows_tests failed (its output is above)" >&2
    exit 1
}
cmake --build --preset "$windows_tests"
phase "build $windows_tests"

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
