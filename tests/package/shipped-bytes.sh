#!/usr/bin/env bash
# The korvanta.exe the suites of this tree drive is, byte for byte, the one inside the release
# package built from the same sources.
# Usage: shipped-bytes.sh TREE_EXE PACKAGE_DIR
set -euo pipefail
tree_exe=$1 packages=("$2"/korvanta-*-win32.zip)
shipped=$(mktemp)
trap 'rm -f "$shipped"' EXIT
unzip -p "${packages[0]}" korvanta.exe >"$shipped"
sha256sum "$tree_exe" "$shipped"
if ! cmp "$tree_exe" "$shipped"; then
    echo "the tested korvanta.exe is not the shipped one" >&2
    exit 1
fi
echo "the tested korvanta.exe is the one in $(basename "${packages[0]}")"
