#!/usr/bin/env bash
# The fault sweep with the real icon sets instead of the small ones: every failure point (some
# 25,000, several hours), or a seeded sample of them. CTest runs the small sets' whole sweep
# and a 40-point sample of this one.
# Usage: tests/faults/real-sets-sweep.sh BUILD_DIR [SAMPLE [SEED]]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
bench=$build/bench
scripts=$here/../bench
args=()
if [ -n "${2:-}" ]; then
    args=(--sample "$2" --seed "${3:-1}")
fi
"$scripts/bench-ctl" start "$bench" >/dev/null
trap '"$scripts/bench-ctl" stop "$bench" >/dev/null' EXIT
"$scripts/on-scratch-drive.sh" "$bench" "$scripts" "$build/tests/faults/faults_sweep_real.exe" \
    "${args[@]}"
