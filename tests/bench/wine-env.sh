# Shared by the test bench and the run script: one Wine prefix and one X display
# per bench directory, created on first use and reused until bench_stop.
# Usage: source wine-env.sh; bench_init DIR; bench_ensure_display; bench_ensure_prefix

bench_init() {
    BENCH_DIR=$1
    mkdir -p "$BENCH_DIR"
    export WINEPREFIX="$BENCH_DIR/prefix"
    export WINEDEBUG=${WINEDEBUG:--all}
    # Chinese code page (936) for the program's GBK texts.
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
    # No Mono or Gecko: their installers would ask questions in a dialog.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # The loader for the build's programs, which the build writes into the bench: "wine" for
    # 32-bit programs; a 64-bit tree names wine64, so that no 32-bit loader runs at all.
    BENCH_WINE=wine
    if [ -f "$BENCH_DIR/loader" ]; then
        read -r BENCH_WINE <"$BENCH_DIR/loader"
    fi
    if [ "$BENCH_WINE" != wine ]; then
        export WINELOADER=$BENCH_WINE
    fi
}

# A private Xvfb, unless the caller passes BENCH_USE_DISPLAY=1 with a DISPLAY of its own.
bench_ensure_display() {
    if [ "${BENCH_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    exec 8>"$BENCH_DIR/display.lock"
    flock 8
    local n pid
    if [ -f "$BENCH_DIR/display" ]; then
        read -r n pid <"$BENCH_DIR/display"
        if kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
            export DISPLAY=":$n"
            flock -u 8
            return 0
        fi
    fi
    for n in $(seq 71 170); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    # Detached from our stdio so that a test runner waiting on pipes does not wait for it.
    setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -ac </dev/null >/dev/null 2>&1 &
    pid=$!
    local i
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    echo "$n $pid" >"$BENCH_DIR/display"
    export DISPLAY=":$n"
    flock -u 8
}

bench_ensure_prefix() {
    exec 9>"$BENCH_DIR/prefix.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/.korvanta-ready" ]; then
        rm -rf "$WINEPREFIX"
        setsid "$BENCH_WINE" wineboot -i </dev/null >"$BENCH_DIR/wineboot.log" 2>&1
        # A crash ends the process instead of opening a dialog that would hang a test.
        setsid "$BENCH_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            </dev/null >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.korvanta-ready"
    fi
    # A persistent server, started detached, keeps later Wine processes quick; and a Wine
    # process never starts a server of its own that would hold its caller's pipes open.
    # With a server already running this returns at once.
    setsid wineserver -p </dev/null >/dev/null 2>&1 || true
    if [ ! -f "$BENCH_DIR/server" ]; then
        setsid "$BENCH_WINE" wineboot </dev/null >/dev/null 2>&1 || true
        touch "$BENCH_DIR/server"
    fi
    flock -u 9
}

bench_stop() {
    wineserver -k 2>/dev/null || true
    rm -f "$BENCH_DIR/server"
    if [ -f "$BENCH_DIR/display" ]; then
        local n pid
        read -r n pid <"$BENCH_DIR/display"
        kill "$pid" 2>/dev/null || true
        rm -f "$BENCH_DIR/display"
    fi
}
