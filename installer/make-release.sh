#!/usr/bin/env bash
# Lays out the release folder (the saver, its catalogue, the pictures and the text for
# Windows users, the texts with Windows line ends) and builds the installer from it.
#
#   installer/make-release.sh OrvikSaver.scr RELEASE_FOLDER SETUP_EXE
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scr=${1:?the built OrvikSaver.scr}
release=${2:?the release folder to make}
setup=${3:?the installer to make}

if ! command -v makensis >/dev/null; then
    echo "make-release: makensis is missing (Debian package nsis; scripts/setup installs it)" >&2
    exit 1
fi

rm -rf "$release"
mkdir -p "$release"
cp "$scr" "$release/OrvikSaver.scr"
cp "$root"/demo/pictures/orvik-* "$release/"
for text in "$root/demo/OrvikSaver.ini" "$root/installer/README-Windows.txt"; do
    sed 's/\r$//; s/$/\r/' "$text" >"$release/$(basename "$text")"
done

icon=()
[ -f "$root/resources/art/program.ico" ] && icon=(-DICON="$root/resources/art/program.ico")
mkdir -p "$(dirname "$setup")"
makensis -V2 -DSOURCE="$release" -DOUTFILE="$(realpath -m "$setup")" "${icon[@]}" \
    "$root/installer/OrvikSaver.nsi"
