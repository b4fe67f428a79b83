#!/usr/bin/env bash
# Runs a Windows test program as the unprivileged test user, in that user's own Wine prefix
# under HOME_DIR (made on first use). Wine as root writes over read-only files, so cases
# about read-only targets hold only this way. Exit code 77 (skipped) when not root or when
# the user is missing.
# Usage: run-as-test-user.sh LOADER HOME_DIR program.exe [args...]
# LOADER: wine, or the wine64 loader for a 64-bit test tree.
set -u
user=korvanta-test
loader=$1 home=$2
shift 2
if [ "$(id -u)" -ne 0 ] || ! id "$user" >/dev/null 2>&1; then
    echo "needs root and the user $user" >&2
    exit 77
fi
mkdir -p "$home"
chown "$user:" "$home"
exec 9>"$home/../.test-user.lock"
flock 9
# The wine script picks its own loader; wine64 run directly is told where it is.
wineloader=
[ "$loader" = wine ] || wineloader=$loader
as_user() {
    setpriv --reuid="$user" --regid="$user" --init-groups \
        env -i HOME="$home" PATH="$PATH" WINEPREFIX="$home/prefix" WINEDEBUG=-all \
        LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml=" \
        ${wineloader:+WINELOADER="$wineloader"} "$@"
}
trap 'as_user wineserver -k >/dev/null 2>&1' EXIT
cd "$home"
if [ ! -f "$home/prefix/.korvanta-ready" ]; then
    as_user "$loader" wineboot -i >/dev/null 2>&1
    # A crash must end the process, not open a dialog nobody answers.
    as_user "$loader" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        >/dev/null 2>&1
    as_user wineserver -w
    as_user touch "$home/prefix/.korvanta-ready"
fi
as_user env KORVANTA_READONLY_ENFORCED=1 "$loader" "$@"
