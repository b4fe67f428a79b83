#!/usr/bin/env bash
# Builds korvanta.exe and runs it under Wine against a demo game installation.
# With $DISPLAY the window opens there; without one it opens on a private virtual
# display, a screenshot is saved, and the program is closed again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" >/dev/null

# A machine that cannot execute 32-bit programs runs the 64-bit build of the same program
# under wine64 instead (see scripts/test.sh).
preset=windows
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    preset=windows64
    echo "run: this machine cannot run 32-bit programs; running the 64-bit build under wine64" >&2
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target korvanta

build=$root/build/$preset
exe=$build/icons/korvanta.exe
. "$root/tests/bench/wine-env.sh"
bench_init "$build/demo"
if [ "$preset" = windows64 ]; then
    echo /usr/lib/wine/wine64 >"$build/demo/loader"
    bench_init "$build/demo"
fi
if [ -n "${DISPLAY:-}" ]; then
    export BENCH_USE_DISPLAY=1
fi
bench_ensure_display
bench_ensure_prefix

# The demo game: C:\Games\CrossFire, whose own icons are a copy of the stock set.
game_unix=$WINEPREFIX/drive_c/Games/CrossFire
if [ ! -d "$game_unix/rez/UI/class" ] && [ ! -d "$game_unix/rez/UI/class2" ]; then
    mkdir -p "$game_unix/rez/UI"
    tmp=$(mktemp -d)
    unzip -q "$build/payload/generated/stock.zip" -d "$tmp"
    mv "$tmp/class2" "$game_unix/rez/UI/class"
    rm -rf "$tmp"
fi
view=/reg:32
[ "$preset" = windows ] || view=/reg:64
(cd "$build/demo" && "$BENCH_WINE" reg add 'HKLM\Software\Tencent\CrossFire' /v InstallPath /t REG_SZ \
    /d 'C:\Games\CrossFire' /f $view >/dev/null 2>&1)

echo "demo game: C:\\Games\\CrossFire (${game_unix}/rez/UI)"
echo "staged archives: ${WINEPREFIX}/drive_c/缓存目录"
if [ "${BENCH_USE_DISPLAY:-0}" = 1 ]; then
    echo "running korvanta.exe on $DISPLAY; close its window to end"
    exec "$BENCH_WINE" "$exe"
fi

# No display of the user's: Wine's virtual desktop draws the whole window, frame included.
shots=$build/screenshots
mkdir -p "$shots"
"$BENCH_WINE" explorer /desktop=korvanta,640x400 "$exe" >/dev/null 2>&1 &
for _ in $(seq 1 150); do
    xdotool search --onlyvisible --name Korvanta >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 2
import -window root -crop 640x400+0+0 "$shots/run.png"
wineserver -k || true
bench_stop
echo "no display: korvanta.exe ran on a virtual display; screenshot saved to $shots/run.png"
