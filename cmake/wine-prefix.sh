#!/usr/bin/env bash
# Creates the private Wine prefix named by WINEPREFIX if it is not ready yet.
# Safe to call from several processes at once.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the private prefix}"
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
ready="$WINEPREFIX/.orvik-ready"
[ -f "$ready" ] && exit 0

mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$ready" ] && exit 0
# No Mono or Gecko: their installers would ask questions and nothing here needs them.
WINEDLLOVERRIDES="mscoree,mshtml=" /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 </dev/null
# A fault that the saver hands on to the system's handling starts Wine's debugger, whose
# dialog would wait for a click that no test gives; it writes its report to the log only.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD \
    /d 0 /f >/dev/null 2>&1 </dev/null
# wineboot returns before the prefix is written out; the server's end means it is.
/usr/lib/wine/wineserver -w
[ -f "$WINEPREFIX/system.reg" ] || { echo "wine-prefix: could not create $WINEPREFIX" >&2; exit 1; }
touch "$ready"
