#!/usr/bin/env bash
# Runs the multi-monitor end-to-end tests in a session of two monitors inside the current
# display: 1920 x 1080, the primary, and 1280 x 1024 to its right, with a Wine prefix of
# their own beside the suite's. Arguments: the test program, then its arguments.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
: "${WINEPREFIX:?WINEPREFIX must name the prefix of the suite}"
source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_two_monitors 1920x1080+1280x1024 "$WINEPREFIX-xinerama" || exit 1
"$root/cmake/wine-run.sh" "$@"
