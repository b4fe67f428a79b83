#!/usr/bin/env bash
# Signs a Windows executable with Authenticode (SHA-256), reproducibly: the signing time is the
# given Unix time, not the clock's, and the RSA signature of the same bytes is always the same.
# The certificate file may hold its chain after it.
# Usage: sign-exe.sh CERT.pem KEY.pem UNIX_TIME IN.exe OUT.exe
set -euo pipefail
cert=$1 key=$2 when=$3 in=$4 out=$5
rm -f "$out"
osslsigncode sign -certs "$cert" -key "$key" -h sha256 -st "$when" \
    -n Korvanta -in "$in" -out "$out" >/dev/null
