# A Wine environment: one Wine prefix, one X display and one Wine server, all in one folder,
# made on first use and reused until wine_stop. Every environment owns what it started and
# nothing else: its Xvfb picks a display no other server holds, and stopping one signals only the
# processes recorded in its own folder, after checking they are still the ones it started.
# Usage: source wine-env.sh; wine_init DIR; wine_ensure_display; wine_ensure_prefix
#
# Locks are held on file descriptors 6 to 9 (6: a lane's lease, 7: the scratch drive letters,
# 8: the display, 9: the prefix). Every process started here is given none of them, so that
# a server that lives on never holds a lock that its starter took.

wine_init() {
    WINE_ENV_DIR=$1
    mkdir -p "$WINE_ENV_DIR"
    export WINEPREFIX="$WINE_ENV_DIR/prefix"
    export WINEDEBUG=${WINEDEBUG:--all}
    # The lane's ANSI code page, which Wine takes from the locale: the Chinese one (936) unless
    # the lane was made for another (wine-lane --code-page).
    WINE_ENV_CODE_PAGE=936
    if [ -f "$WINE_ENV_DIR/code-page" ]; then
        read -r WINE_ENV_CODE_PAGE <"$WINE_ENV_DIR/code-page"
    fi
    wine_locale "$WINE_ENV_CODE_PAGE" || return 1
    # No Mono or Gecko: their installers would ask questions in a dialog.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # The loader for the build's programs, which the build writes into the lane: "wine" for
    # 32-bit programs; a 64-bit tree names wine64, so that no 32-bit loader runs at all.
    WINE_ENV_LOADER=wine
    if [ -f "$WINE_ENV_DIR/loader" ]; then
        read -r WINE_ENV_LOADER <"$WINE_ENV_DIR/loader"
    fi
    # WINE_REG_VIEW: the registry view those programs read, the 32-bit one for a 32-bit program.
    if [ "$WINE_ENV_LOADER" != wine ]; then
        export WINELOADER=$WINE_ENV_LOADER WINE_REG_VIEW=/reg:64
    else
        unset WINELOADER
        export WINE_REG_VIEW=/reg:32
    fi
}

# The locale variables under which a Wine prefix and its programs have code page $1, the
# same for making the prefix and for every run in it. 65001 is what Windows' "Beta: Use
# Unicode UTF-8" option gives a Chinese system: Chinese everywhere but in the character type.
wine_locale() {
    unset LC_ALL LC_CTYPE
    case $1 in
    936) export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 ;;
    950) export LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8 ;;
    1252) export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 ;;
    65001) export LANG=zh_CN.UTF-8 LC_CTYPE=hi_IN.UTF-8 ;;
    *)
        echo "wine-env: no lane for code page '$1' (936, 950, 1252 or 65001)" >&2
        return 1
        ;;
    esac
    # Without the locale Wine would quietly fall back to another code page.
    local name=${LC_CTYPE:-$LANG}
    if ! locale -a 2>/dev/null | grep -qix "${name%.UTF-8}.utf8"; then
        echo "wine-env: code page $1 needs the locale $name, which is not generated" \
             "(scripts/setup.sh generates it)" >&2
        return 1
    fi
}

# True on a machine that runs 32-bit programs. Elsewhere ("Exec format error") the tests and
# the demo run the 64-bit build of the same program under wine64.
wine_runs_32bit_programs() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Runs a command in a session of its own, with no terminal input and none of the locks.
wine_detached() {
    setsid -w "$@" </dev/null 6>&- 7>&- 8>&- 9>&-
}

# The kernel's start time of a process, which tells it apart from a later one given the
# same pid; empty when there is no such process.
wine_start_time() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
    # Field 22; the command name (field 2) may hold spaces, so count from its closing ")".
    stat=${stat##*) }
    set -- $stat
    echo "${20}"
}

# True when pid $1, started at $2, is still running.
wine_is_ours() {
    [ -n "$1" ] && [ -n "$2" ] && [ "$(wine_start_time "$1")" = "$2" ]
}

# A private Xvfb, unless the caller passes WINE_ENV_USE_DISPLAY=1 with a DISPLAY of its own.
# The display file holds: number pid start-time.
wine_ensure_display() {
    if [ "${WINE_ENV_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    exec 8>"$WINE_ENV_DIR/display.lock"
    flock 8
    local n= pid= started=
    if [ -f "$WINE_ENV_DIR/display" ]; then
        read -r n pid started <"$WINE_ENV_DIR/display"
        if wine_is_ours "$pid" "$started" && [ -e "/tmp/.X11-unix/X$n" ]; then
            export DISPLAY=":$n"
            exec 8>&-
            return 0
        fi
        rm -f "$WINE_ENV_DIR/display"
    fi
    # -displayfd: the server takes the first display no other server holds and writes its
    # number once it accepts connections. Detached from our stdio, so that a test runner
    # waiting on pipes does not wait for it.
    local fd_file="$WINE_ENV_DIR/display.new"
    : >"$fd_file"
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ac \
        3>"$fd_file" </dev/null >/dev/null 2>"$WINE_ENV_DIR/xvfb.log" 6>&- 7>&- 8>&- 9>&- &
    pid=$!
    local i
    n=
    for i in $(seq 1 200); do
        read -r n <"$fd_file" 2>/dev/null || true
        [ -n "$n" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$fd_file"
    if [ -z "$n" ]; then
        echo "wine-env: Xvfb did not start (see $WINE_ENV_DIR/xvfb.log)" >&2
        kill "$pid" 2>/dev/null
        exec 8>&-
        return 1
    fi
    echo "$n $pid $(wine_start_time "$pid")" >"$WINE_ENV_DIR/display"
    export DISPLAY=":$n"
    exec 8>&-
}

wine_ensure_prefix() {
    exec 9>"$WINE_ENV_DIR/prefix.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/.korvanta-ready" ]; then
        rm -rf "$WINEPREFIX"
        wine_detached "$WINE_ENV_LOADER" wineboot -i >"$WINE_ENV_DIR/wineboot.log" 2>&1
        # A crash ends the process instead of opening a dialog that would hang a test.
        wine_detached "$WINE_ENV_LOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
            /t REG_DWORD /d 0 /f >/dev/null 2>&1
        # Windows of every language has the Chinese system fonts, and its dialog font links to
        # them for the characters it lacks. A prefix made under another locale than Chinese has
        # none of them: the installed Chinese font stands in for SimSun, one of the fonts
        # Wine's dialog font links to, so such a lane shows Chinese text as such a Windows does.
        if [ "${WINE_ENV_CODE_PAGE:-936}" != 936 ]; then
            wine_detached "$WINE_ENV_LOADER" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
                /v SimSun /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
        fi
        wineserver -w
        touch "$WINEPREFIX/.korvanta-ready"
    fi
    # A persistent server, started detached, keeps later Wine processes quick; and a Wine
    # process never starts a server of its own that would hold its caller's pipes open.
    # With this prefix's server already running this returns at once.
    wine_detached wineserver -p >/dev/null 2>&1 || true
    if [ ! -f "$WINE_ENV_DIR/server" ]; then
        wine_detached "$WINE_ENV_LOADER" wineboot >/dev/null 2>&1 || true
        touch "$WINE_ENV_DIR/server"
    fi
    # On a display without a window manager (a lane's, which wine-lane marks) Wine draws the
    # window frames itself and never waits for a manager to take a window off the screen: it
    # would wait two seconds for one each time a window with a caption is hidden. Set through
    # the server started above, and read by every program started after.
    if [ -f "$WINE_ENV_DIR/no-window-manager" ] && [ ! -f "$WINEPREFIX/.korvanta-unmanaged" ]; then
        wine_detached "$WINE_ENV_LOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed \
            /t REG_SZ /d N /f >/dev/null 2>&1
        touch "$WINEPREFIX/.korvanta-unmanaged"
    fi
    exec 9>&-
}

# Ends this lane's Wine server (and so its Wine processes) and its own Xvfb, nothing else:
# wineserver -k reaches only the server of this WINEPREFIX.
wine_stop() {
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
    fi
    rm -f "$WINE_ENV_DIR/server"
    if [ -f "$WINE_ENV_DIR/display" ]; then
        local n pid started
        read -r n pid started <"$WINE_ENV_DIR/display"
        if wine_is_ours "$pid" "$started"; then
            kill "$pid" 2>/dev/null || true
        fi
        rm -f "$WINE_ENV_DIR/display"
    fi
}
