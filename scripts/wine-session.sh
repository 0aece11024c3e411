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
    # Also in a prefix made before its creation set it: Wine's debugger shows no dialog.
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
        /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1 || true
}

# Two monitors side by side, inside the current display: a nested X server with two screens
# joined by Xinerama ("WxH+WxH", the first the primary), and a prefix of its own whose Wine
# reads the monitors through Xinerama (XRandR would see one screen). DISPLAY and WINEPREFIX
# then name them; wine_session_stop ends them too. The server of the prefix used before is
# left as it is.
wine_session_two_monitors() { # "WxH+WxH" prefix
    local display
    for display in $(seq 130 160); do
        [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
    done
    Xephyr ":$display" -screen "${1%+*}" -screen "${1#*+}" +xinerama -nolisten tcp \
        >/dev/null 2>&1 &
    WINE_SESSION_NESTED=$!
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$display" ] && break
        kill -0 "$WINE_SESSION_NESTED" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -e "/tmp/.X11-unix/X$display" ]; then
        echo "wine-session: the nested display :$display of two monitors did not come up" >&2
        return 1
    fi
    export DISPLAY=":$display" WINEPREFIX=$2
    "$(dirname "${BASH_SOURCE[0]}")/../cmake/wine-prefix.sh" || return 1
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f \
        >/dev/null 2>&1
    # The server reads the monitors when it starts.
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
}

wine_session_stop() {
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
    [ -n "${WINE_SESSION_NESTED:-}" ] && kill "$WINE_SESSION_NESTED" 2>/dev/null || true
    WINE_SESSION_NESTED=
    [ -n "${WINE_SESSION_XVFB:-}" ] && kill "$WINE_SESSION_XVFB" 2>/dev/null || true
}
