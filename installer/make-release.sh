#!/usr/bin/env bash
# Lays out the release folder (the saver, its catalogue, the pictures and the text for
# Windows users, the texts with Windows line ends; the catalogue checker when it is given)
# and builds the installer from it (without the checker).
#
#   installer/make-release.sh OrvikSaver.scr RELEASE_FOLDER SETUP_EXE [OrvikCheck.exe]
#
# With ORVIK_SIGN_PFX and ORVIK_SIGN_PASSWORD set (see sign.sh), the programs are signed:
# the saver and the checker before anything packs them, the uninstaller before the
# installer takes it in, and the installer. When anything fails, neither the folder nor
# the installer is left behind, so that nothing unsigned passes for a signed release.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scr=${1:?the built OrvikSaver.scr}
release=${2:?the release folder to make}
setup=${3:?the installer to make}
checker=${4:-}

if ! command -v makensis >/dev/null; then
    echo "make-release: makensis is missing (Debian package nsis; scripts/setup installs it)" >&2
    exit 1
fi
rm -rf "$release" "$setup"
made=
trap '[ -n "$made" ] || rm -rf "$release" "$setup"' EXIT
sign=()
if [ -n "${ORVIK_SIGN_PFX:-}${ORVIK_SIGN_PASSWORD:-}" ]; then
    "$root/installer/sign.sh" --check
    sign=(-DSIGN="$root/installer/sign.sh")
fi
mkdir -p "$release"
cp "$scr" "$release/OrvikSaver.scr"
programs=("$release/OrvikSaver.scr")
if [ -n "$checker" ]; then
    cp "$checker" "$release/OrvikCheck.exe"
    programs+=("$release/OrvikCheck.exe")
fi
cp "$root"/demo/pictures/orvik-* "$release/"
for text in "$root/demo/OrvikSaver.ini" "$root/installer/README-Windows.txt"; do
    sed 's/\r$//; s/$/\r/' "$text" >"$release/$(basename "$text")"
done
[ ${#sign[@]} -eq 0 ] || "$root/installer/sign.sh" "${programs[@]}"

icon=()
[ -f "$root/resources/art/program.ico" ] && icon=(-DICON="$root/resources/art/program.ico")
mkdir -p "$(dirname "$setup")"
makensis -V2 -DSOURCE="$release" -DOUTFILE="$(realpath -m "$setup")" "${icon[@]}" "${sign[@]}" \
    "$root/installer/OrvikSaver.nsi"
made=1
