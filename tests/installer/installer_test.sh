#!/usr/bin/env bash
# Builds the installer from the built saver, then runs it and its uninstaller silently
# under Wine in the build tree's prefix and checks the files and registry values before
# and after: a first install remembers the screen saver that was chosen, a second keeps
# that memory, the uninstall removes every file and gives the old choice back, and an
# uninstall leaves alone a screen saver that the user picked after installing.
#
#   installer_test.sh OrvikSaver.scr WORK_FOLDER      (WINEPREFIX names the prefix)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
scr=${1:?the built OrvikSaver.scr}
work=${2:?a folder for the release and the installer}
: "${WINEPREFIX:?WINEPREFIX must name the private prefix}"
export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all}
wine=/usr/lib/wine/wine64

passed=0
failed=0
check() { # description, command...
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $what" >&2
    fi
}

"$root/cmake/wine-prefix.sh" || exit 1
release=$work/release
setup=$work/OrvikSaver-setup.exe
# No makensis is a failure here, not a skip: scripts/setup installs it.
"$root/installer/make-release.sh" "$scr" "$release" "$setup" || { echo "FAILED: building the installer" >&2; exit 1; }

desktop='HKCU\Control Panel\Desktop'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvikSaver'
system32=$WINEPREFIX/drive_c/windows/system32
folder=$system32/OrvikSaver
installed='C:\windows\System32\OrvikSaver.scr'

# Prints a value's data, or nothing (status 1) when the value is absent.
reg_value() { # key, value
    local line
    line=$("$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | grep -E "^ +$2 +REG_") || return 1
    sed -E "s/^ +[^ ]+ +REG_[A-Z_]+ *//" <<<"$line"
}
set_value() { "$wine" reg add "$desktop" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1; }
delete_value() { "$wine" reg delete "$desktop" /v "$1" /f >/dev/null 2>&1 || true; }
value_is() { [ "$(reg_value "$1" "$2")" = "$3" ]; }
value_absent() { ! reg_value "$1" "$2" >/dev/null; }
key_absent() { ! "$wine" reg query "$1" >/dev/null 2>&1; }

# The user's own desktop values are put back whatever happens.
saved_saver=$(reg_value "$desktop" SCRNSAVE.EXE) && had_saver=1 || had_saver=0
saved_active=$(reg_value "$desktop" ScreenSaveActive) && had_active=1 || had_active=0
restore() {
    if [ -f "$folder/Uninstall.exe" ]; then
        "$wine" "$folder/Uninstall.exe" /S _?='C:\windows\System32\OrvikSaver' >/dev/null 2>&1
    fi
    rm -rf "$folder" "$system32/OrvikSaver.scr" "$system32/OrvikSaver.ini"
    "$wine" reg delete "$uninstall" /f >/dev/null 2>&1 || true
    if [ $had_saver = 1 ]; then set_value SCRNSAVE.EXE "$saved_saver"; else delete_value SCRNSAVE.EXE; fi
    if [ $had_active = 1 ]; then set_value ScreenSaveActive "$saved_active"; else delete_value ScreenSaveActive; fi
}
trap restore EXIT
restore

install() {
    "$wine" "$setup" /S >/dev/null 2>&1 </dev/null
}
# The uninstaller copies itself away and returns at once; the copy removes the
# uninstall key last, so its absence tells that the work is done.
uninstall() {
    "$wine" "$folder/Uninstall.exe" /S >/dev/null 2>&1 </dev/null || return 1
    for _ in $(seq 600); do
        key_absent "$uninstall" && return 0
        sleep 0.2
    done
    return 1
}

same_files() { # every file of the release that the installer takes, in its place
    local f
    cmp -s "$release/OrvikSaver.scr" "$system32/OrvikSaver.scr" || return 1
    cmp -s "$release/OrvikSaver.ini" "$system32/OrvikSaver.ini" || return 1
    for f in "$release"/orvik-* "$release/README-Windows.txt"; do
        cmp -s "$f" "$folder/$(basename "$f")" || { echo "  differs or missing: $(basename "$f")" >&2; return 1; }
    done
}
nothing_left() {
    [ ! -e "$system32/OrvikSaver.scr" ] && [ ! -e "$system32/OrvikSaver.ini" ] && [ ! -e "$folder" ]
}
# The catalogue's ResourcePath, expanded as the saver expands it, is the pictures' folder.
resource_path_is_folder() {
    local path expanded unix
    path=$(tr -d '\r' <"$system32/OrvikSaver.ini" | sed -n 's/^ResourcePath=//p')
    expanded=$("$wine" cmd /c echo "$path" 2>/dev/null | tr -d '\r')
    unix=$(/usr/lib/wine/wine64 winepath -u "$expanded" 2>/dev/null | tr -d '\r')
    [ -n "$unix" ] && [ "$(realpath "$unix" 2>/dev/null)" = "$(realpath "$folder")" ]
}

echo "1. The user had another saver, switched off"
set_value SCRNSAVE.EXE 'C:\windows\system32\previous.scr'
set_value ScreenSaveActive 0
check "the installer runs" install
check "the saver, its catalogue and every picture are installed" same_files
check "the uninstaller is installed" test -f "$folder/Uninstall.exe"
check "ResourcePath names the installed pictures' folder" resource_path_is_folder
check "the saver is the current screen saver" value_is "$desktop" SCRNSAVE.EXE "$installed"
check "the screen saver is switched on" value_is "$desktop" ScreenSaveActive 1
check "Add/Remove Programs lists it" value_is "$uninstall" DisplayName "Tolvane Screen Saver"
check "with its version" value_is "$uninstall" DisplayVersion "2.0.0.2"
check "and its uninstaller" value_is "$uninstall" UninstallString '"C:\windows\System32\OrvikSaver\Uninstall.exe"'
check "the previous saver is remembered" value_is "$uninstall" PreviousScrnSave 'C:\windows\system32\previous.scr'

echo "2. Installed again over itself"
check "the installer runs again" install
check "the previous saver is still the one remembered" value_is "$uninstall" PreviousScrnSave 'C:\windows\system32\previous.scr'
check "its switch too" value_is "$uninstall" PreviousScreenSaveActive 0

echo "3. Uninstalled"
check "the uninstaller runs to its end" uninstall
check "no file is left" nothing_left
check "the previous saver is back" value_is "$desktop" SCRNSAVE.EXE 'C:\windows\system32\previous.scr'
check "switched off again" value_is "$desktop" ScreenSaveActive 0
check "Add/Remove Programs no longer lists it" key_absent "$uninstall"

echo "4. The user had no saver at all"
delete_value SCRNSAVE.EXE
delete_value ScreenSaveActive
check "the installer runs" install
check "the saver is the current screen saver" value_is "$desktop" SCRNSAVE.EXE "$installed"
check "the uninstaller runs to its end" uninstall
check "no saver is set afterwards" value_absent "$desktop" SCRNSAVE.EXE
check "nor a switch" value_absent "$desktop" ScreenSaveActive

echo "5. The user chose another saver after installing"
set_value SCRNSAVE.EXE 'C:\windows\system32\previous.scr'
check "the installer runs" install
set_value SCRNSAVE.EXE 'C:\windows\system32\chosen-later.scr'
check "the uninstaller runs to its end" uninstall
check "the later choice is kept" value_is "$desktop" SCRNSAVE.EXE 'C:\windows\system32\chosen-later.scr'
check "no file is left" nothing_left

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
