#!/usr/bin/env bash
# Benchmarks the shipped korvanta.exe (the Windows tree builds it with the release flags) under
# Wine: start-up, replace and restore, each against baselines that do the same work with plain
# calls, measured in the same rounds, in wall time and in CPU time; plus its memory and size.
# Builds what it needs (the program, the timing driver and the OLE baseline window), prints one
# table and writes the same figures as CSV into build/windows/bench-results/. BENCH_ROUNDS sets
# the number of rounds (default 7); further arguments go to bench/bench.py (--on-disk).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" >/dev/null

. "$root/tests/wine/wine-env.sh"
# A machine that cannot run 32-bit programs times the 64-bit build of the same code.
tree=windows
if ! wine_runs_32bit_programs; then
    tree=windows64
    echo "bench: this machine cannot run 32-bit programs; timing the 64-bit build" \
         "(build/windows64) under wine64" >&2
fi

cd "$root"
cmake --preset "$tree" >/dev/null
cmake --build --preset "$tree"

exec python3 "$root/bench/bench.py" --build "$root/build/$tree" --rounds "${BENCH_ROUNDS:-7}" "$@"
