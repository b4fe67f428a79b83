#!/usr/bin/env bash
# Builds the release korvanta.exe from scratch (the release preset, in a build folder of its
# own, without the tests) and writes dist/korvanta-<version>-win32.zip and dist/SHA256SUMS,
# then prints both SHA-256 sums (the package's and korvanta.exe's). Fails when korvanta.exe
# without its two archive blocks grows past 256 KiB.
#
# With KORVANTA_SIGN_CERT (a PEM certificate, chain allowed) and KORVANTA_SIGN_KEY (its PEM
# private key) set, korvanta.exe is signed with Authenticode before it is packed.
#
#   scripts/release.sh           one build in build/release
#   scripts/release.sh --check   two builds, in build/release-a and build/release-b; fails
#                                when korvanta.exe or the package differ by a single byte,
#                                and writes dist/ from the first only when they are identical
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

check=0
case "${1:-}" in
"") ;;
--check) check=1 ;;
*)
    echo "usage: scripts/release.sh [--check]" >&2
    exit 2
    ;;
esac

bash "$root/scripts/setup.sh" >/dev/null
cd "$root"

# Every entry of the package carries the last commit's time.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
    export SOURCE_DATE_EPOCH
fi

# Builds from an empty folder, so that nothing of an earlier configuration or build is
# reused. Prints the package's path.
build() {
    local dir=$1
    rm -rf "$dir"
    local sign=()
    if [ -n "${KORVANTA_SIGN_CERT:-}" ] || [ -n "${KORVANTA_SIGN_KEY:-}" ]; then
        sign=(-DKORVANTA_SIGN_CERT="$(realpath "${KORVANTA_SIGN_CERT:-}")"
              -DKORVANTA_SIGN_KEY="$(realpath "${KORVANTA_SIGN_KEY:-}")")
    fi
    cmake --preset release -B "$dir" "${sign[@]}" >"$root/build/release-configure.log" 2>&1 || {
        cat "$root/build/release-configure.log" >&2
        return 1
    }
    cmake --build "$dir" --target korvanta_package >&2
    local packages=("$dir"/korvanta-*-win32.zip)
    [ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] || {
        echo "release: no package in $dir" >&2
        return 1
    }
    echo "${packages[0]}"
}

mkdir -p "$root/build"
if [ "$check" -eq 1 ]; then
    package_a=$(build "$root/build/release-a")
    package_b=$(build "$root/build/release-b")
    exe_a=$root/build/release-a/icons/korvanta.exe
    exe_b=$root/build/release-b/icons/korvanta.exe
    sha256sum "$exe_a" "$exe_b" "$package_a" "$package_b"
    same=1
    cmp "$exe_a" "$exe_b" || same=0
    cmp "$package_a" "$package_b" || same=0
    if [ "$same" -eq 0 ]; then
        echo "release: the two builds differ: not reproducible" >&2
        exit 1
    fi
    echo "release: both builds are byte-identical"
    build_dir=$root/build/release-a
    package=$package_a
else
    build_dir=$root/build/release
    package=$(build "$build_dir")
fi

# The program's own size: the executable without the two embedded archive blocks (each is its
# archive behind an 8-byte header).
exe_size=$(stat -c %s "$build_dir/icons/korvanta.exe")
blocks=$((8 + $(stat -c %s "$build_dir/payload/generated/foreign.zip") + 8 + $(stat -c %s "$build_dir/payload/generated/stock.zip")))
own=$((exe_size - blocks))
echo "release: korvanta.exe is $exe_size bytes, $own without the archive blocks"
# A change that brings the exception runtime back (a library call whose throwing path
# base/runtime_failures.cpp does not replace) still links and runs, but doubles this.
if [ "$own" -gt $((256 * 1024)) ]; then
    echo "release: korvanta.exe without the archive blocks is over 256 KiB" >&2
    exit 1
fi

dist=$root/dist
rm -rf "$dist"
mkdir -p "$dist"
cp "$package" "$dist/"
name=$(basename "$package")
# korvanta.exe's sum is the one of the file inside the package (signed, when it was).
{
    (cd "$dist" && sha256sum "$name")
    echo "$(unzip -p "$dist/$name" korvanta.exe | sha256sum | cut -d' ' -f1)  korvanta.exe"
} >"$dist/SHA256SUMS"
echo "release: $dist/$name"
cat "$dist/SHA256SUMS"
