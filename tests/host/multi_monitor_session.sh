#!/usr/bin/env bash
# Runs the multi-monitor end-to-end tests in a session of two monitors: a nested X server
# with two screens joined by Xinerama (1920 x 1080, the primary, and 1280 x 1024 to its
# right) inside the current display, and a Wine prefix of its own that reads the monitors
# through Xinerama. Arguments: the test program, then its arguments.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
: "${WINEPREFIX:?WINEPREFIX must name the prefix of the suite}"
export WINEPREFIX="$WINEPREFIX-xinerama"
export WINEDEBUG=${WINEDEBUG:--all}

for display in $(seq 130 160); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
done
Xephyr ":$display" -screen 1920x1080 -screen 1280x1024 +xinerama -nolisten tcp >/dev/null 2>&1 &
xephyr=$!
trap 'kill $xephyr 2>/dev/null; /usr/lib/wine/wineserver -k 2>/dev/null' EXIT
for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    kill -0 "$xephyr" 2>/dev/null || break
    sleep 0.1
done
if [ ! -e "/tmp/.X11-unix/X$display" ]; then
    echo "multi-monitor session: the nested display :$display did not come up" >&2
    exit 1
fi
export DISPLAY=":$display"

"$root/cmake/wine-prefix.sh" || exit 1
# Xinerama instead of XRandR, which sees one screen; the server reads it at its start.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver -k 2>/dev/null
/usr/lib/wine/wineserver -w
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
"$root/cmake/wine-run.sh" "$@"
