#!/usr/bin/env bash
# The long random-damage run: the suite's mutation run with many more copies (and any seed),
# outside CTest and its time limit. Each copy keeps its own time bound; a failing copy is
# named by seed and number, so it can be made again.
# Usage: tests/hostile/long-mutation-run.sh BUILD_DIR [COPIES (5000)] [SEED (20090109)]
set -eu
build=$(cd "${1:?usage: long-mutation-run.sh BUILD_DIR [COPIES] [SEED]}" && pwd)
copies=${2:-5000}
seed=${3:-20090109}
here=$(cd "$(dirname "$0")" && pwd)
test_exe="$build/tests/hostile/hostile_mutation_run_test.exe"
if [ ! -f "$test_exe" ]; then
    echo "no $test_exe: build the windows tree first" >&2
    exit 1
fi
export KORVANTA_HOSTILE_MUTATIONS=$copies KORVANTA_HOSTILE_SEED=$seed
# A lane of the tree's pool of its own, as tests/faults/real-sets-sweep.sh takes one.
exec "$here/../wine/wine-lane" "$build/lanes" --tidy exec "$here/../wine/on-scratch-drive.sh" \
    "$test_exe"
