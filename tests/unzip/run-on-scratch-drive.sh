#!/usr/bin/env bash
# Runs a Windows test program under the bench with a spare drive letter mapped to a fresh
# scratch folder, named to the program in KORVANTA_SCRATCH_DRIVE; removes both afterwards.
# Usage: run-on-scratch-drive.sh BENCH_DIR BENCH_SCRIPTS program.exe [args...]
set -u
bench=$1 scripts=$2
shift 2
devices="$bench/prefix/dosdevices"
letter=
for l in u v w x y; do
    if [ ! -e "$devices/$l:" ] && [ ! -L "$devices/$l:" ]; then
        letter=$l
        break
    fi
done
if [ -z "$letter" ]; then
    echo "no spare drive letter in $devices" >&2
    exit 1
fi
scratch=$(mktemp -d /tmp/korvanta-drive.XXXXXX)
cleanup() {
    rm -f "$devices/$letter:"
    rm -rf "$scratch"
}
trap cleanup EXIT
ln -s "$scratch" "$devices/$letter:"
KORVANTA_SCRATCH_DRIVE="$letter:" "$scripts/wine-run" "$bench" "$@"
