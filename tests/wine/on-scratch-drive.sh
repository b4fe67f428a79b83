#!/usr/bin/env bash
# Runs a Windows test program on a lane of the pool (wine-lane ... exec sets KORVANTA_LANE_DIR)
# with a spare drive letter of its own, named to the program in KORVANTA_SCRATCH_DRIVE, and
# removes both afterwards. As root the drive is
# a fresh tmpfs: Wine creates and deletes files there several times faster than on the
# build disk, which keeps extraction-heavy tests within their time. Without root (or when
# mounting is refused) it is a plain folder, said on stderr.
# Usage: wine-lane POOL exec on-scratch-drive.sh program.exe [args...]
set -u
lane=${KORVANTA_LANE_DIR:?run me through wine-lane POOL exec}
scripts=$(cd "$(dirname "$0")" && pwd)
# wine-lane has made the lane ready, so the prefix's drive folder exists.
devices="$lane/prefix/dosdevices"
scratch=$(mktemp -d /tmp/korvanta-drive.XXXXXX)
# Commands sharing the lane (a script's nested runs) each take a letter of their own.
exec 7>"$lane/scratch-drive.lock"
flock 7
letter=
for l in s t r q p o n m; do
    if [ ! -e "$devices/$l:" ] && [ ! -L "$devices/$l:" ]; then
        letter=$l
        break
    fi
done
if [ -z "$letter" ]; then
    echo "no spare drive letter in $devices" >&2
    rm -rf "$scratch"
    exit 1
fi
ln -s "$scratch" "$devices/$letter:"
exec 7>&-
mounted=0
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=256m,mode=0755 korvanta-scratch "$scratch" 2>/dev/null; then
    mounted=1
else
    echo "scratch drive $letter: is a plain folder (no tmpfs: not root or mount refused)" >&2
fi
cleanup() {
    rm -f "$devices/$letter:"
    if [ "$mounted" = 1 ]; then
        umount "$scratch"
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT
KORVANTA_SCRATCH_DRIVE="$letter:" "$scripts/wine-run" "$lane" "$@"
