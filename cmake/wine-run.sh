#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine, in the private prefix named by
# WINEPREFIX (created on first use). Used by CTest as the cross-compiling emulator.
#
# The program's output goes through a file: processes that Wine starts in the
# background (the desktop, services) would otherwise inherit CTest's pipe and keep
# the test "running" until they exit.
set -u
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:?WINEPREFIX must name the private prefix}"
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
"$here/wine-prefix.sh" || exit 1

out=$(mktemp)
trap 'rm -f "$out"' EXIT
/usr/lib/wine/wine64 "$@" >"$out" 2>&1 </dev/null &
program=$!
# CTest ends a test that overruns with a signal: the program goes, and its output file
# with the runner (the EXIT trap).
trap 'kill "$program" 2>/dev/null; exit 143' TERM INT HUP
wait "$program"
rc=$?
cat "$out"
exit $rc
