#!/usr/bin/env bash
# Builds the installer from the built saver, then runs it and its uninstaller silently
# under Wine and checks the files and registry values before and after.
#
# The installer starts with the rights of the user who runs it: it does the user's part
# (the screen saver of this user, the memory of the one before, in this user's hive)
# itself, and starts the machine-wide part (the files, the uninstall entry) as an elevated
# instance of itself, unless it has administrator rights already. Wine runs programs with
# those rights, and its "runas" asks for nothing; so the cases run it both ways: as it
# comes (all in one process) and through a helper that starts it with the limited token of
# a standard user (two processes, the second through "runas"), and the elevated instance
# on its own, which must leave the user's settings alone.
#
# Last, the release is signed with a certificate that the test makes: every program
# verifies against it, the uninstaller that the signed installer writes too, the signed
# programs still run, and a wrong or missing password fails without leaving a release.
#
# The test has a prefix and a wine server of its own, in the work folder: a restart,
# which takes away the files that were in use at the uninstall, is played by ending the
# server and starting a new one, and that must not touch the prefix the other tests share.
# The prefix is made on the first run and kept; every case starts from a clean state.
#
#   installer_test.sh OrvikSaver.scr OrvikCheck.exe WORK_FOLDER
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
scr=${1:?the built OrvikSaver.scr}
checker=${2:?the built OrvikCheck.exe}
work=$(mkdir -p "${3:?a folder for the release and the installer}" && cd "$3" && pwd)
# A developer's certificate must not sign what the test builds, nor its timestamp server
# be asked.
unset ORVIK_SIGN_PFX ORVIK_SIGN_PASSWORD ORVIK_SIGN_TIMESTAMP
export WINEPREFIX=$work/wineprefix WINEDEBUG=${WINEDEBUG:--all}
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

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
not() { ! "$@"; }

"$root/cmake/wine-prefix.sh" || exit 1
session_start() { "$wineserver" -p </dev/null >/dev/null 2>&1; }
session_end() {
    "$wineserver" -k >/dev/null 2>&1
    "$wineserver" -w >/dev/null 2>&1
}
# Wine plays a restart when a new server starts: its first program waits for the boot,
# which carries out what was left for it.
restart() {
    session_end
    session_start
    "$wine" cmd /c exit >/dev/null 2>&1 </dev/null
}
session_start
trap session_end EXIT

release=$work/release
setup=$work/OrvikSaver-setup.exe
# No makensis is a failure here, not a skip: scripts/setup installs it.
"$root/installer/make-release.sh" "$scr" "$release" "$setup" || { echo "FAILED: building the installer" >&2; exit 1; }

# The helper: "limited COMMAND LINE" runs the command with the limited token that goes with
# Wine's full one (what a standard user has, or an administrator before the elevation
# prompt) and exits with its exit code; "hold FILE" opens the file without letting it be
# deleted, as a running preview holds the saver, writes "held" beside itself and waits
# until it is ended. Its own failures end it with 120 to 123.
helper=$work/helper.exe
cat >"$work/helper.nsi" <<'EOF'
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SilentInstall silent
OutFile "${OUTFILE}"
!include LogicLib.nsh
!include FileFunc.nsh
Section
  ${GetParameters} $0
  StrCpy $1 $0 8
  StrCpy $2 $0 5
  ${If} $1 == "limited "
    StrCpy $1 $0 "" 8
    ; TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY, then TokenLinkedToken
    System::Call 'kernel32::GetCurrentProcess() p .r2'
    System::Call 'advapi32::OpenProcessToken(p r2, i 11, *p .r2) i .r3'
    System::Call 'advapi32::GetTokenInformation(p r2, i 19, *p .r4, i ${NSIS_PTR_SIZE}, *i .r3) i .r3'
    ${If} $3 = 0
      SetErrorLevel 120
      Return
    ${EndIf}
    ; STARTUPINFOW and PROCESS_INFORMATION of a 64-bit program
    System::Alloc 104
    Pop $5
    System::Call '*$5(i 104)'
    System::Alloc 24
    Pop $6
    System::Call 'advapi32::CreateProcessAsUserW(p r4, p 0, w r1, p 0, p 0, i 0, i 0, p 0, p 0, p r5, p r6) i .r3'
    ${If} $3 = 0
      SetErrorLevel 121
      Return
    ${EndIf}
    System::Call '*$6(p .r7)'
    System::Call 'kernel32::WaitForSingleObject(p r7, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r7, *i .r8)'
    SetErrorLevel $8
  ${ElseIf} $2 == "hold "
    StrCpy $1 $0 "" 5
    ClearErrors
    FileOpen $3 $1 r
    ${If} ${Errors}
      SetErrorLevel 122
      Return
    ${EndIf}
    FileOpen $4 "$EXEDIR\held" w
    FileClose $4
    ${Do}
      Sleep 1000
    ${Loop}
  ${Else}
    SetErrorLevel 123
  ${EndIf}
SectionEnd
EOF
makensis -V2 -DOUTFILE="$helper" "$work/helper.nsi" || { echo "FAILED: building the helper" >&2; exit 1; }

desktop='HKCU\Control Panel\Desktop'
saver_key='HKCU\Software\Tolvane\OrvikSaver'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvikSaver'
session_manager='HKLM\System\CurrentControlSet\Control\Session Manager'
memory=(PreviousScrnSaveSet PreviousScrnSave PreviousScreenSaveActiveSet PreviousScreenSaveActive)
system32=$WINEPREFIX/drive_c/windows/system32
folder=$system32/OrvikSaver
installed_folder='C:\windows\System32\OrvikSaver'
installed=$installed_folder.scr
previous='C:\windows\system32\previous.scr'
uninstaller_copy=$work/Au_.exe
signed=$work/signed
{
    read -r setup_w
    read -r helper_w
    read -r uninstaller_copy_w
    read -r state_reg_w
    read -r signed_setup_w
} < <("$wine" winepath -w "$setup" "$helper" "$uninstaller_copy" "$work/state.reg" \
    "$signed/OrvikSaver-setup.exe" 2>/dev/null | tr -d '\r')
trace=$work/trace.txt

# Applies .reg lines in one go; "-" as data deletes the value.
registry() { # lines (keys as [HKEY_...], values as name=data)
    local line name data
    {
        echo REGEDIT4
        for line in "$@"; do
            case $line in
            \[*) echo "$line" ;;
            *=-) echo "\"${line%%=*}\"=-" ;;
            *=dword:*) echo "\"${line%%=*}\"=${line#*=}" ;;
            *)
                name=${line%%=*}
                data=${line#*=}
                echo "\"$name\"=\"${data//\\/\\\\}\""
                ;;
            esac
        done
    } >"$work/state.reg"
    "$wine" reg import "$state_reg_w" >/dev/null 2>&1
    forget_values
}

# Every case starts with nothing installed, nothing remembered, nothing waiting for a
# restart, and the user's screen saver and its switch as given ("-" for none).
start_case() { # title, saver, switch
    echo "$1"
    rm -rf "$folder" "$system32/OrvikSaver.scr" "$system32/OrvikSaver.ini" "$work/held"
    registry '[-HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvikSaver]' \
        '[-HKEY_CURRENT_USER\Software\Tolvane]' \
        '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager]' \
        'PendingFileRenameOperations=-' \
        '[HKEY_CURRENT_USER\Control Panel\Desktop]' "SCRNSAVE.EXE=$2" "ScreenSaveActive=$3"
}
choose_saver() { registry '[HKEY_CURRENT_USER\Control Panel\Desktop]' "SCRNSAVE.EXE=$1"; }

# The values of the keys that the checks read: all read at once (in parallel, for every
# start of a Wine program takes its time) when a check first asks after a step.
keys=("$desktop" "$saver_key" "$uninstall_key")
declare -A snap
forget_values() { snap=(); }
read_keys() {
    local i pids=() data
    for i in "${!keys[@]}"; do
        "$wine" reg query "${keys[$i]}" >"$work/key$i.txt" 2>/dev/null </dev/null &
        pids[$i]=$!
    done
    for i in "${!keys[@]}"; do
        # reg tells of a missing key on its standard output too.
        data=
        wait "${pids[$i]}" && IFS= read -r -d '' data <"$work/key$i.txt"
        snap[${keys[$i]}]=$data
    done
}
read_key() { [ -n "${snap[$1]+read}" ] || read_keys; }
# Prints a value's data, or nothing (status 1) when it is absent.
reg_value() { # key, value
    local line
    read_key "$1"
    while IFS= read -r line; do
        line=${line%$'\r'}
        if [[ $line =~ ^\ +([^ ]+)\ +REG_[A-Z_]+\ *(.*)$ && ${BASH_REMATCH[1]} == "$2" ]]; then
            echo "${BASH_REMATCH[2]}"
            return 0
        fi
    done <<<"${snap[$1]}"
    return 1
}
value_is() { # key, value, data
    read_key "$1" # here, not in the subshell below, which would forget what it read
    [ "$(reg_value "$1" "$2")" = "$3" ]
}
value_absent() { ! reg_value "$1" "$2" >/dev/null; }
key_absent() {
    read_key "$1"
    [ -z "${snap[$1]}" ]
}
values_absent() { # key, values...
    local key=$1 value
    shift
    for value in "$@"; do
        reg_value "$key" "$value" >/dev/null && { echo "  still there: $value" >&2; return 1; }
    done
    return 0
}
remembers() { # saver, its switch: this user's memory of the screen saver before
    value_is "$saver_key" PreviousScrnSaveSet 0x1 && value_is "$saver_key" PreviousScrnSave "$1" &&
        value_is "$saver_key" PreviousScreenSaveActiveSet 0x1 &&
        value_is "$saver_key" PreviousScreenSaveActive "$2"
}

# Runs the program as an administrator (as Wine runs it) or as a standard user, tracing
# what it asks the shell to start, and gives its exit status.
run_as() { # admin|user, Windows path of the program, arguments...
    local way=$1 name=${2##*\\} status
    shift
    if [ "$way" = user ]; then set -- "$helper_w" limited "$@"; fi
    WINEDEBUG=-all,trace+exec "$wine" "$@" >/dev/null 2>"$trace" </dev/null
    status=$?
    forget_values
    [ $status -eq 0 ] || echo "  $name ended with $status" >&2
    return $status
}
install() { run_as "$1" "$setup_w" /S; }
# As the uninstaller runs itself (a copy outside the folder it removes, told where that
# folder is), but waited for.
uninstall() {
    cp "$folder/Uninstall.exe" "$uninstaller_copy" || return 1
    run_as "$1" "$uninstaller_copy_w" /S '_?=C:\windows\System32\OrvikSaver'
}
elevated_instance_started() { grep -q 'SHELL_execute .*verb=L"runas" .*parm=L"/MACHINE' "$trace"; }
check_split() { # way, what it did
    if [ "$1" = user ]; then
        check "$2 in an elevated instance" elevated_instance_started
    else
        check "$2 in the same process, which has the rights" not elevated_instance_started
    fi
}

same_files() { # every file of the release that the installer takes, in its place
    local f
    cmp -s "$release/OrvikSaver.scr" "$system32/OrvikSaver.scr" || return 1
    cmp -s "$release/OrvikSaver.ini" "$system32/OrvikSaver.ini" || return 1
    for f in "$release"/orvik-* "$release/README-Windows.txt"; do
        cmp -s "$f" "$folder/$(basename "$f")" || { echo "  differs or missing: $(basename "$f")" >&2; return 1; }
    done
}
nothing_left() { [ ! -e "$system32/OrvikSaver.scr" ] && [ ! -e "$system32/OrvikSaver.ini" ] && [ ! -e "$folder" ]; }
# Every file but the saver is gone after an uninstall as an administrator's; after a
# standard user's, but the installed uninstaller, which ran in place with the rights, and
# its folder, both left to the next restart.
rest_removed() { # way
    [ ! -e "$system32/OrvikSaver.ini" ] || return 1
    if [ "$1" = admin ]; then
        [ ! -e "$folder" ]
    else
        [ "$(ls -A "$folder" 2>/dev/null)" = Uninstall.exe ] &&
            pending_removal "$installed_folder\Uninstall.exe" && pending_removal "$installed_folder"
    fi
}
removed() { [ ! -e "$system32/OrvikSaver.scr" ] && rest_removed "$1"; }
check_removed() { # way
    if [ "$1" = admin ]; then
        check "no file is left" removed admin
    else
        check "no file is left but the uninstaller, which goes at the next restart" removed user
    fi
}
# The catalogue's ResourcePath, expanded as the saver expands it, is the pictures' folder.
resource_path_is_folder() {
    local path expanded unix
    path=$(tr -d '\r' <"$system32/OrvikSaver.ini" | sed -n 's/^ResourcePath=//p')
    expanded=$("$wine" cmd /c echo "$path" 2>/dev/null | tr -d '\r')
    unix=$("$wine" winepath -u "$expanded" 2>/dev/null | tr -d '\r')
    [ -n "$unix" ] && [ "$(realpath "$unix" 2>/dev/null)" = "$(realpath "$folder")" ]
}
pending_removal() { # Windows path: left to the next restart
    "$wine" reg query "$session_manager" /v PendingFileRenameOperations 2>/dev/null |
        tr -d '\r' | grep -qiF "\\??\\$1\\0"
}

for way in admin user; do
    as=$([ $way = admin ] && echo "an administrator" || echo "a standard user")

    start_case "1. As $as: the user had another saver, switched off" "$previous" 0
    check "the installer runs" install $way
    check_split $way "the files are copied"
    check "the saver, its catalogue and every picture are installed" same_files
    check "the uninstaller is installed" test -f "$folder/Uninstall.exe"
    check "ResourcePath names the installed pictures' folder" resource_path_is_folder
    check "the saver is the user's screen saver" value_is "$desktop" SCRNSAVE.EXE "$installed"
    check "the screen saver is switched on" value_is "$desktop" ScreenSaveActive 1
    check "Add/Remove Programs lists it" value_is "$uninstall_key" DisplayName "Tolvane Screen Saver"
    check "with its version" value_is "$uninstall_key" DisplayVersion "2.0.0.2"
    check "and its uninstaller" value_is "$uninstall_key" UninstallString '"C:\windows\System32\OrvikSaver\Uninstall.exe"'
    check "the user's previous saver is remembered in the user's hive" remembers "$previous" 0
    check "nothing of the user's is kept for the machine" values_absent "$uninstall_key" "${memory[@]}"

    echo "2. As $as: installed again over itself"
    check "the installer runs again" install $way
    check "the previous saver is still the one remembered" remembers "$previous" 0

    echo "3. As $as: uninstalled"
    check "the uninstaller runs to its end" uninstall $way
    check_split $way "the files are removed"
    check_removed $way
    check "the previous saver is back" value_is "$desktop" SCRNSAVE.EXE "$previous"
    check "switched off again" value_is "$desktop" ScreenSaveActive 0
    check "Add/Remove Programs no longer lists it" key_absent "$uninstall_key"
    check "the memory is gone" values_absent "$saver_key" "${memory[@]}"

    # A folder where the catalogue goes: the copying fails.
    start_case "4. As $as: the files cannot be copied" "$previous" 0
    mkdir -p "$system32/OrvikSaver.ini"
    check "the installer reports the failure" not install $way
    check "the user's saver is left alone" value_is "$desktop" SCRNSAVE.EXE "$previous"
    check "and its switch" value_is "$desktop" ScreenSaveActive 0
    check "nothing is remembered" values_absent "$saver_key" "${memory[@]}"
    rmdir "$system32/OrvikSaver.ini"
done

# What the user's screen saver is at the uninstall: this one in another spelling is given
# back; another one, whatever its name, is kept. The ways alternate.
short=
spellings=(
    'C:\windows\system32\orviksaver.scr|back|admin'
    'short|back|user'
    'C:\windows\system32\chosen-later.scr|kept|admin'
    'C:\windows\system32\NotOrvikSaver.scr|kept|user'
)
for row in "${spellings[@]}"; do
    IFS='|' read -r spelling expected way <<<"$row"
    start_case "5. The saver is ${spelling/#short/named by its short 8.3 path} at the uninstall" "$previous" 1
    check "the installer runs" install $way
    if [ "$spelling" = short ]; then
        short=$("$wine" winepath -s "$installed" 2>/dev/null | tr -d '\r')
        # Only a short name that differs from the long one tests anything.
        check "Wine gives the saver a short name ($short)" not test "${short,,}" = "${installed,,}"
        spelling=$short
    fi
    choose_saver "$spelling"
    check "the uninstaller runs to its end" uninstall $way
    if [ "$expected" = back ]; then
        check "the previous saver is back" value_is "$desktop" SCRNSAVE.EXE "$previous"
    else
        check "the later choice is kept" value_is "$desktop" SCRNSAVE.EXE "$spelling"
    fi
    check "the memory is gone" values_absent "$saver_key" "${memory[@]}"
    check_removed $way
done

start_case "6. The user had no saver at all" - -
check "the installer runs" install admin
check "the saver is the user's screen saver" value_is "$desktop" SCRNSAVE.EXE "$installed"
check "it remembers that there was none" value_is "$saver_key" PreviousScrnSaveSet 0x0
check "nor a switch" value_is "$saver_key" PreviousScreenSaveActiveSet 0x0
check "the uninstaller runs to its end" uninstall admin
check "no saver is set afterwards" value_absent "$desktop" SCRNSAVE.EXE
check "nor a switch" value_absent "$desktop" ScreenSaveActive

# An earlier version kept the memory for the whole machine, and made the saver the user's.
start_case "7. Installed over an earlier version" "$installed" 1
registry '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvikSaver]' \
    'PreviousScrnSaveSet=dword:00000001' "PreviousScrnSave=$previous" \
    'PreviousScreenSaveActiveSet=dword:00000001' 'PreviousScreenSaveActive=0'
check "the installer runs" install user
check "the user takes the memory over" remembers "$previous" 0
check "nothing of the user's is kept for the machine" values_absent "$uninstall_key" "${memory[@]}"
check "the uninstaller runs to its end" uninstall user
check "the saver before the earlier version is back" value_is "$desktop" SCRNSAVE.EXE "$previous"

# Under Wine the elevated instance shares the user's hive; on Windows it may have an
# administrator's. It must not touch either.
start_case "8. The elevated instance on its own" "$previous" 0
check "the installer's runs" run_as admin "$setup_w" /MACHINE
check "the saver, its catalogue and every picture are installed" same_files
check "Add/Remove Programs lists it" value_is "$uninstall_key" DisplayName "Tolvane Screen Saver"
check "the user's saver is left alone" value_is "$desktop" SCRNSAVE.EXE "$previous"
check "and its switch" value_is "$desktop" ScreenSaveActive 0
check "nothing is remembered" values_absent "$saver_key" "${memory[@]}"
choose_saver "$installed"
registry '[HKEY_CURRENT_USER\Software\Tolvane\OrvikSaver]' "PreviousScrnSave=$previous"
cp "$folder/Uninstall.exe" "$uninstaller_copy"
check "the uninstaller's runs" run_as admin "$uninstaller_copy_w" /MACHINE '_?=C:\windows\System32\OrvikSaver'
check "no file is left" nothing_left
check "Add/Remove Programs no longer lists it" key_absent "$uninstall_key"
check "the user's saver is left alone" value_is "$desktop" SCRNSAVE.EXE "$installed"
check "and the memory" value_is "$saver_key" PreviousScrnSave "$previous"

start_case "9. The saver is held open at the uninstall" "$previous" 0
check "the installer runs" install admin
"$wine" "$helper" hold "$installed" >/dev/null 2>&1 </dev/null &
for _ in $(seq 100); do
    [ -e "$work/held" ] && break
    sleep 0.1
done
check "the saver is held open" test -e "$work/held"

echo "   ... and the restart cannot be asked to remove it"
# Wine's MoveFileEx adds to PendingFileRenameOperations only while it is a list.
registry '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager]' \
    'PendingFileRenameOperations=not a list'
check "the uninstaller reports the failure" not uninstall user
check "every file stays" same_files
check "and the uninstaller" test -f "$folder/Uninstall.exe"
check "which Add/Remove Programs still lists" value_is "$uninstall_key" UninstallString '"C:\windows\System32\OrvikSaver\Uninstall.exe"'
check "the saver is still the user's screen saver" value_is "$desktop" SCRNSAVE.EXE "$installed"
check "the memory is kept" remembers "$previous" 0

echo "   ... and it can"
registry '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager]' \
    'PendingFileRenameOperations=-'
check "the uninstaller runs to its end" uninstall user
check "the saver is left for the next restart" pending_removal "$installed"
check "and stays until then" test -e "$system32/OrvikSaver.scr"
check "the other files are gone, but the uninstaller, which goes at the next restart" rest_removed user
check "Add/Remove Programs no longer lists it" key_absent "$uninstall_key"
check "the previous saver is back" value_is "$desktop" SCRNSAVE.EXE "$previous"
check "the memory is gone" values_absent "$saver_key" "${memory[@]}"
echo "   ... restart"
restart
check "after the restart the saver is gone" nothing_left
check "and nothing waits for the next one" not pending_removal "$installed"

# Signed as scripts/package signs, with a certificate of the test's own.
start_case "10. Signed with a code-signing certificate" "$previous" 0
rm -rf "$signed"
mkdir -p "$signed"
password=orvik-test-password
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tolvane test signing" \
    -addext extendedKeyUsage=codeSigning -keyout "$signed/key.pem" -out "$signed/cert.pem" \
    >/dev/null 2>&1 &&
    openssl pkcs12 -export -in "$signed/cert.pem" -inkey "$signed/key.pem" \
        -out "$signed/cert.pfx" -passout pass:$password ||
    { echo "FAILED: making the test's certificate" >&2; exit 1; }
make_signed() { # env arguments
    env "$@" ORVIK_SIGN_PFX="$signed/cert.pfx" "$root/installer/make-release.sh" "$scr" \
        "$signed/release" "$signed/OrvikSaver-setup.exe" "$checker" >"$signed/output.txt" 2>&1
}
signs_with_password() {
    make_signed ORVIK_SIGN_PASSWORD=$password || { sed 's/^/  /' "$signed/output.txt" >&2; return 1; }
}
signed_by_test_certificate() { osslsigncode verify -CAfile "$signed/cert.pem" -in "$1" >/dev/null 2>&1; }
# A program that does not load ends before it can tell a missing preview window.
saver_answer() { "$wine" "$1" /p 0 >/dev/null 2>&1 </dev/null; echo $?; }
same_saver_answer() { [ "$(saver_answer "$scr")" = "$(saver_answer "$signed/release/OrvikSaver.scr")" ]; }
checker_passes_demo() { "$wine" "$signed/release/OrvikCheck.exe" --screen 1024x768 >/dev/null 2>&1 </dev/null; }

check "the signed release is made" signs_with_password
for program in release/OrvikSaver.scr release/OrvikCheck.exe OrvikSaver-setup.exe; do
    check "$program verifies against the certificate" signed_by_test_certificate "$signed/$program"
done
check "the signed saver runs as the unsigned one does" same_saver_answer
check "the signed checker passes the demo catalogue" checker_passes_demo
check "the signed installer runs" run_as admin "$signed_setup_w" /S
check "and installs the signed saver" cmp -s "$signed/release/OrvikSaver.scr" "$system32/OrvikSaver.scr"
check "the uninstaller it wrote verifies against the certificate" signed_by_test_certificate "$folder/Uninstall.exe"
check "which runs to its end" uninstall admin

# Over the signed release of before, which must not outlive a failed signing.
for row in 'a wrong password|ORVIK_SIGN_PASSWORD=not-the-password' 'no password|-u ORVIK_SIGN_PASSWORD'; do
    IFS='|' read -r what environment <<<"$row"
    echo "   ... with $what"
    check "making the release fails" not make_signed $environment
    check "and says that the password is wrong or missing" grep -q ORVIK_SIGN_PASSWORD "$signed/output.txt"
    check "no release folder or installer is left" not test -e "$signed/release" -o -e "$signed/OrvikSaver-setup.exe"
done

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
