#!/usr/bin/env bash
# Builds the release package as scripts/release.sh does (the release preset, from an empty
# folder), into a folder of the test tree, for the tests that compare and run what ships.
# Usage: build-shipped-package.sh SOURCE_DIR OUT_DIR
set -euo pipefail
source_dir=$1 out=$2
rm -rf "$out"
cd "$source_dir"
cmake --preset release -B "$out" >"$out.configure.log" 2>&1 || {
    cat "$out.configure.log" >&2
    exit 1
}
cmake --build "$out" --target korvanta_package
ls "$out"/korvanta-*-win32.zip
