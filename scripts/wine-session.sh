# Sourced by the scripts that run the saver or its tests: a private Wine prefix in the
# build tree, one persistent wine server for the whole run, and a virtual X display of
# our own so that nothing depends on (or disturbs) a desktop that may be there.

wine_session_start() {
    local build=$1
    export WINEPREFIX="$build/wineprefix"
    export WINEDEBUG=${WINEDEBUG:--all}
    "$(dirname "${BASH_SOURCE[0]}")/../cmake/wine-prefix.sh"

    local display
    for display in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
    done
    Xvfb ":$display" -screen 0 "${ORVIK_SCREEN:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
    WINE_SESSION_XVFB=$!
    export DISPLAY=":$display"
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$display" ] && break
        sleep 0.1
    done
    /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
}

wine_session_stop() {
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
    [ -n "${WINE_SESSION_XVFB:-}" ] && kill "$WINE_SESSION_XVFB" 2>/dev/null || true
}
