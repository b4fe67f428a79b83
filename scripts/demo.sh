# shellcheck shell=bash disable=SC2034  # sets variables for the scripts that source it
# Sourced by run.sh and screenshots.sh: the build they run and a demo game installation.
#   demo_build NAME       builds korvanta.exe; sets DEMO_PRESET, DEMO_BUILD and DEMO_EXE
#   demo_prepare DIR      a Wine prefix and display in DIR (tests/wine/wine-env.sh) with the
#                         font of the caption buttons, the demo game C:\Games\CrossFire and its
#                         registry value; sets DEMO_GAME
# NAME prefixes the script's messages. A caller passing WINE_ENV_USE_DISPLAY=1 keeps its $DISPLAY.
demo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$demo_root/tests/wine/wine-env.sh"

demo_build() {
    bash "$demo_root/scripts/setup.sh" >/dev/null
    DEMO_PRESET=windows
    if ! wine_runs_32bit_programs; then
        DEMO_PRESET=windows64
        echo "$1: this machine cannot run 32-bit programs; running the 64-bit build under wine64" >&2
    fi
    cmake --preset "$DEMO_PRESET" >/dev/null
    cmake --build --preset "$DEMO_PRESET" --target korvanta
    DEMO_BUILD=$demo_root/build/$DEMO_PRESET
    DEMO_EXE=$(cat "$DEMO_BUILD/korvanta-exe.txt")
}

demo_prepare() {
    local lane=$1
    wine_init "$lane"
    if [ "$DEMO_PRESET" = windows64 ]; then
        echo /usr/lib/wine/wine64 >"$lane/loader"
        wine_init "$lane"
    fi
    wine_ensure_display
    wine_ensure_prefix
    demo_caption_font

    # The demo game: C:\Games\CrossFire, whose own icons are a copy of the stock set.
    DEMO_GAME=$WINEPREFIX/drive_c/Games/CrossFire
    if [ ! -d "$DEMO_GAME/rez/UI/class" ] && [ ! -d "$DEMO_GAME/rez/UI/class2" ]; then
        mkdir -p "$DEMO_GAME/rez/UI"
        local tmp
        tmp=$(mktemp -d)
        unzip -q "$DEMO_BUILD/payload/generated/stock.zip" -d "$tmp"
        mv "$tmp/class2" "$DEMO_GAME/rez/UI/class"
        rm -rf "$tmp"
    fi
    (cd "$lane" && "$WINE_ENV_LOADER" reg add 'HKLM\Software\Tencent\CrossFire' /v InstallPath /t REG_SZ \
        /d 'C:\Games\CrossFire' /f "$WINE_REG_VIEW" >/dev/null 2>&1)
}

# Wine draws the caption's buttons with the Marlett font, which Debian ships in fonts-wine, a
# recommendation that setup.sh leaves out so that the tests see the fonts they always saw.
# Without it the close box shows a letter "r"; so the demo's prefixes alone get the font, from
# the package archive, fetched once for every tree.
demo_caption_font() {
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    [ -f "$fonts/marlett.ttf" ] && return 0
    local unpacked=$demo_root/build/fonts-wine
    if [ ! -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$unpacked/root/usr/share/wine/fonts/marlett.ttf" ]; then
        rm -rf "$unpacked" && mkdir -p "$unpacked"
        if (cd "$unpacked" && apt-get download -qq fonts-wine >/dev/null 2>&1); then
            dpkg-deb -x "$unpacked"/fonts-wine_*.deb "$unpacked/root"
        fi
    fi
    local f
    for f in /usr/share/wine/fonts/marlett.ttf "$unpacked/root/usr/share/wine/fonts/marlett.ttf"; do
        if [ -f "$f" ]; then
            mkdir -p "$fonts" && cp "$f" "$fonts/"
            return 0
        fi
    done
    echo "demo: no Marlett font (package fonts-wine); the close box will show an \"r\"" >&2
}
