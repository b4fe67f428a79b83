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
#
# With --foreign-art DIR and/or --stock-art DIR (combinable with --check) the sets are packed
# from a modder's folders of icons instead of the drawn ones: the generator converts what it
# can, leaves out what is no icon of the set, and refuses the folders naming every problem
# once, before the build uses them, in which case dist/ stays as it was. The report of what
# came from where, and dist/korvanta-<version>-contact-sheet.png with every icon of both
# sets, come with it.
#
# KORVANTA_RELEASE_DIR (instead of build/release) and KORVANTA_DIST (instead of dist) move
# the build and the output elsewhere, as the tests do. KORVANTA_RELEASE_KEEP=1 (not with
# --check) keeps a build folder an earlier run left: it is configured again and only what
# changed is built. The tests pack a modder's folders into the tree the package tests built
# from an empty folder this way, instead of compiling the program once more.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    echo "usage: scripts/release.sh [--check] [--foreign-art DIR] [--stock-art DIR]" >&2
    exit 2
}

check=0
foreign_art=""
stock_art=""
while [ $# -gt 0 ]; do
    case "$1" in
    --check) check=1 ;;
    --foreign-art | --stock-art)
        [ $# -ge 2 ] || usage
        if [ ! -d "$2" ]; then
            echo "release: $2: not a folder" >&2
            exit 2
        fi
        # A CMake cache holds no line break.
        case "$2" in *$'\n'*)
            echo "release: $2: a folder path with a line break cannot be passed to the build" >&2
            exit 2
            ;;
        esac
        if [ "$1" = --foreign-art ]; then
            foreign_art=$(realpath -- "$2")
        else
            stock_art=$(realpath -- "$2")
        fi
        shift
        ;;
    *) usage ;;
    esac
    shift
done
# The folders go to the build as they are: typed as plain text, a path is neither split at a
# ";" (an untyped or PATH value is taken as a list of paths) nor has its backslashes turned.
# Both are always given, so that a set drawn now is drawn in a tree that once had a folder.
art=(-DKORVANTA_FOREIGN_ART:STRING="$foreign_art" -DKORVANTA_STOCK_ART:STRING="$stock_art")
art_folders=()
[ -n "$foreign_art" ] && art_folders+=(--foreign-art "$foreign_art")
[ -n "$stock_art" ] && art_folders+=(--stock-art "$stock_art")
keep=${KORVANTA_RELEASE_KEEP:-0}
[ "$check" -eq 1 ] && keep=0
release_dir=${KORVANTA_RELEASE_DIR:-$root/build/release}
dist=${KORVANTA_DIST:-$root/dist}

bash "$root/scripts/setup.sh" >/dev/null
cd "$root"

# Every entry of the package carries the last commit's time.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
    export SOURCE_DATE_EPOCH
fi

# Builds from an empty folder, so that nothing of an earlier configuration or build is
# reused; a kept folder is given every setting anew, so that none of an earlier run's art
# folders or signing keys stays in its cache. Prints the package's path.
build() {
    local dir=$1
    [ "$keep" = 1 ] || rm -rf "$dir"
    local sign=(-DKORVANTA_SIGN_CERT= -DKORVANTA_SIGN_KEY=)
    if [ -n "${KORVANTA_SIGN_CERT:-}" ] || [ -n "${KORVANTA_SIGN_KEY:-}" ]; then
        sign=(-DKORVANTA_SIGN_CERT="$(realpath "${KORVANTA_SIGN_CERT:-}")"
              -DKORVANTA_SIGN_KEY="$(realpath "${KORVANTA_SIGN_KEY:-}")")
    fi
    cmake --preset release -B "$dir" "${sign[@]}" "${art[@]}" >"$dir.configure.log" 2>&1 || {
        cat "$dir.configure.log" >&2
        return 1
    }
    check_art "$dir" || return
    cmake --build "$dir" --target korvanta_package >&2 || return 1
    local packages=("$dir"/korvanta-*-win32.zip)
    [ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] || {
        echo "release: no package in $dir" >&2
        return 1
    }
    echo "${packages[0]}"
}

# Refused art folders: the tree's generator judges them before the build needs their files,
# and names every problem, once. Returns 3 for a refusal.
check_art() {
    [ ${#art_folders[@]} -gt 0 ] || return 0
    cmake --build "$1" --target korvanta_gen_tool >"$1.generator.log" 2>&1 || {
        cat "$1.generator.log" >&2
        return 1
    }
    local verdict status=0
    verdict=$("$(cat "$1/korvanta-gen.txt")" check "${art_folders[@]}") || status=$?
    [ "$status" -eq 0 ] && return 0
    [ -z "$verdict" ] || printf '%s\n' "$verdict" | sed 's/^/release: /' >&2
    [ "$status" -eq 1 ] && return 3
    return 1
}

# The generator's account of the art folders: where each set came from, what was converted
# and left out.
art_report() {
    local report=$1/payload/generated/art-report.txt
    if [ ${#art_folders[@]} -gt 0 ] && [ -f "$report" ]; then
        sed 's/^/release: /' "$report"
    fi
}

# A refusal or a failed build leaves dist/ as it was.
refused() {
    if [ "$1" -eq 3 ]; then
        echo "release: nothing was built; $dist is unchanged" >&2
    else
        echo "release: the build failed; $dist is unchanged" >&2
    fi
    exit 1
}

mkdir -p "$(dirname "$release_dir")"
if [ "$check" -eq 1 ]; then
    package_a=$(build "$release_dir-a") || refused $?
    package_b=$(build "$release_dir-b") || refused $?
    exe_a=$(cat "$release_dir-a/korvanta-exe.txt")
    exe_b=$(cat "$release_dir-b/korvanta-exe.txt")
    sha256sum "$exe_a" "$exe_b" "$package_a" "$package_b"
    same=1
    cmp "$exe_a" "$exe_b" || same=0
    cmp "$package_a" "$package_b" || same=0
    if [ "$same" -eq 0 ]; then
        echo "release: the two builds differ: not reproducible" >&2
        exit 1
    fi
    echo "release: both builds are byte-identical"
    build_dir=$release_dir-a
    package=$package_a
else
    build_dir=$release_dir
    package=$(build "$build_dir") || refused $?
fi

# The program's own size: the executable without the two embedded archive blocks (each is its
# archive behind an 8-byte header).
exe_size=$(stat -c %s "$(cat "$build_dir/korvanta-exe.txt")")
blocks=$((8 + $(stat -c %s "$build_dir/payload/generated/foreign.zip") + 8 + $(stat -c %s "$build_dir/payload/generated/stock.zip")))
own=$((exe_size - blocks))
echo "release: korvanta.exe is $exe_size bytes, $own without the archive blocks"
# A change that brings the exception runtime back (a library call whose throwing path
# base/runtime_failures_win.cpp does not replace) still links and runs, but doubles this.
if [ "$own" -gt $((256 * 1024)) ]; then
    echo "release: korvanta.exe without the archive blocks is over 256 KiB" >&2
    exit 1
fi

rm -rf "$dist"
mkdir -p "$dist"
cp "$package" "$dist/"
name=$(basename "$package")
# With a modder's icons, a sheet of every icon of both sets to look over before shipping.
if [ ${#art_folders[@]} -gt 0 ]; then
    cp "$build_dir/payload/generated/contact-sheet.png" "$dist/${name%-win32.zip}-contact-sheet.png"
fi
# korvanta.exe's sum is the one of the file inside the package (signed, when it was).
{
    (cd "$dist" && sha256sum "$name")
    echo "$(unzip -p "$dist/$name" korvanta.exe | sha256sum | cut -d' ' -f1)  korvanta.exe"
} >"$dist/SHA256SUMS"
art_report "$build_dir"
echo "release: $dist/$name"
if [ ${#art_folders[@]} -gt 0 ]; then
    echo "release: $dist/${name%-win32.zip}-contact-sheet.png"
fi
cat "$dist/SHA256SUMS"
