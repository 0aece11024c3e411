#!/usr/bin/env bash
# Runs the display-change end-to-end tests in a Wine virtual desktop of 800 x 600 (where
# ChangeDisplaySettingsEx can change the size while a program runs), with a prefix of its
# own beside the suite's. Arguments: the test program, then its arguments.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
: "${WINEPREFIX:?WINEPREFIX must name the prefix of the suite}"
export WINEPREFIX="$WINEPREFIX-desktop"
"$root/cmake/wine-prefix.sh" || exit 1
wine=/usr/lib/wine/wine64
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
# The server reads the desktop's settings when it starts; this prefix's own server is ended
# with the run.
/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
/usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
trap '/usr/lib/wine/wineserver -k >/dev/null 2>&1; /usr/lib/wine/wineserver -w >/dev/null 2>&1' EXIT
"$root/cmake/wine-run.sh" "$@"
