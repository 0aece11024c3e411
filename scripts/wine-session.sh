# Sourced by the scripts that run the saver or its tests: a private Wine prefix in the
# build tree, one persistent wine server for the whole run, and a virtual X display of
# our own so that nothing depends on (or disturbs) a desktop that may be there.

wine_session_start() { # build folder [prefix, default <build>/wineprefix]
    local build=$1
    export WINEPREFIX="${2:-$build/wineprefix}"
    export WINEDEBUG=${WINEDEBUG:--all}
    "$(dirname "${BASH_SOURCE[0]}")/../cmake/wine-prefix.sh"

    local display
    for display in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
    done
    Xvfb ":$display" -screen 0 "${ORVIK_SCREEN:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
    WINE_SESSION_XVFB=$!
    export DISPLAY=":$display"
    local up=
    for _ in $(seq 100); do
        if [ -e "/tmp/.X11-unix/X$display" ]; then
            up=1
            break
        fi
        kill -0 "$WINE_SESSION_XVFB" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$up" ]; then
        echo "wine-session: the virtual display :$display did not come up (Xvfb ended or took" \
            "over 10 s); nothing can be shown without it" >&2
        kill "$WINE_SESSION_XVFB" 2>/dev/null || true
        return 1
    fi
    /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
}

wine_session_stop() {
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
    [ -n "${WINE_SESSION_XVFB:-}" ] && kill "$WINE_SESSION_XVFB" 2>/dev/null || true
}
