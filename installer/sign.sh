#!/usr/bin/env bash
# Signs Windows programs in place with Authenticode (osslsigncode), with the certificate
# that the environment names:
#
#   ORVIK_SIGN_PFX        the certificate and its private key, a PFX (PKCS#12) file
#   ORVIK_SIGN_PASSWORD   its password
#   ORVIK_SIGN_TIMESTAMP  optional: an RFC 3161 timestamp server's URL, so that the
#                         signature stays valid after the certificate expires
#
#   installer/sign.sh FILE...    sign each file
#   installer/sign.sh --check    only tell whether the variables are usable
#
# Each file is signed into a copy that replaces it only once signing succeeded: a failure
# leaves the file as it was and ends with a non-zero status.
set -euo pipefail

fail() {
    echo "sign: $*" >&2
    exit 1
}

[ -n "${ORVIK_SIGN_PFX:-}" ] || fail "ORVIK_SIGN_PFX is not set: no certificate to sign with"
[ -f "$ORVIK_SIGN_PFX" ] || fail "ORVIK_SIGN_PFX: no such file: $ORVIK_SIGN_PFX"
[ -n "${ORVIK_SIGN_PASSWORD:-}" ] || fail "ORVIK_SIGN_PASSWORD is not set: the password of $ORVIK_SIGN_PFX"
command -v osslsigncode >/dev/null ||
    fail "osslsigncode is missing (Debian package osslsigncode; scripts/setup installs it)"
[ "${1:-}" = --check ] && exit 0
[ $# -gt 0 ] || fail "no file to sign"

timestamp=()
[ -n "${ORVIK_SIGN_TIMESTAMP:-}" ] && timestamp=(-ts "$ORVIK_SIGN_TIMESTAMP")
for file in "$@"; do
    signed=$file.signing
    # The password through a pipe rather than the command line, which every user can read.
    if ! log=$(osslsigncode sign -pkcs12 "$ORVIK_SIGN_PFX" -readpass <(printf %s "$ORVIK_SIGN_PASSWORD") \
        -h sha256 -n "Tolvane Screen Saver" "${timestamp[@]}" -in "$file" -out "$signed" 2>&1); then
        rm -f "$signed"
        echo "$log" >&2
        fail "could not sign $file (is ORVIK_SIGN_PASSWORD the password of $ORVIK_SIGN_PFX?${timestamp:+ is the timestamp server $ORVIK_SIGN_TIMESTAMP reachable?})"
    fi
    mv -f "$signed" "$file"
    echo "sign: signed $(basename "$file")"
done
