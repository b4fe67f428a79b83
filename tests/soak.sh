#!/usr/bin/env bash
# Runs the tests of a built tree again and again, to show that they pass every time: each run
# is one CTest run of the matching tests on the tree's lanes, as scripts/test.sh runs
# them. The output of every failed test is printed; the last line counts the runs.
# Usage: tests/soak.sh BUILD_DIR RUNS [REGEX]
set -uo pipefail
build=$(cd "${1:?usage: tests/soak.sh BUILD_DIR RUNS [REGEX]}" && pwd)
runs=${2:?usage: tests/soak.sh BUILD_DIR RUNS [REGEX]}
regex=${3:-}
args=(--test-dir "$build" --output-on-failure)
if [ -f "$build/lanes/lanes.json" ]; then
    read -r lanes <"$build/lanes/lanes"
    args+=(-j"$((lanes + 1))" --resource-spec-file "$build/lanes/lanes.json")
fi
[ -n "$regex" ] && args+=(-R "$regex")
logs=$(mktemp -d "${TMPDIR:-/tmp}/korvanta-soak.XXXXXX")
failed=0
for run in $(seq 1 "$runs"); do
    log=$logs/run-$run.txt
    began=$(date +%s)
    # A run that finds no test proves nothing: it counts as failed.
    if ctest "${args[@]}" >"$log" 2>&1 && grep -qE '^[0-9]+% tests passed' "$log"; then
        echo "soak: run $run passed ($(grep -E '^[0-9]+% tests passed' "$log")) in $(($(date +%s) - began)) s"
    else
        failed=$((failed + 1))
        echo "soak: run $run FAILED in $(($(date +%s) - began)) s; its output ($log):"
        cat "$log"
    fi
done
echo "soak: $runs runs, $failed failed"
[ "$failed" -eq 0 ]
