#!/usr/bin/env bash
# The fault sweep with the real icon sets instead of the small ones: every failure point (some
# 25,000, several hours), or a seeded sample of them. CTest runs the small sets' whole sweep
# and a 40-point sample of this one.
# Usage: tests/faults/real-sets-sweep.sh BUILD_DIR [SAMPLE [SEED]]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
scripts=$here/../wine
args=()
if [ -n "${2:-}" ]; then
    args=(--sample "$2" --seed "${3:-1}")
fi
# A lane of the tree's pool of its own: a test run of the same tree goes on beside it, on the
# other lanes, and the lane is stopped afterwards only if it was not running before.
exec "$scripts/wine-lane" "$build/lanes" --tidy exec "$scripts/on-scratch-drive.sh" \
    "$build/tests/faults/faults_sweep_real.exe" "${args[@]}"
