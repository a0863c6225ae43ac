#!/usr/bin/env bash
# Signs each given Windows program or DLL in place (Authenticode, SHA-256) with the code-signing
# certificate in the PFX file TL_SIGN_PFX, whose password is TL_SIGN_PASSWORD (none when unset),
# and a timestamp from the RFC 3161 server TL_SIGN_TIMESTAMP when it is set. A signature already
# there is replaced.
#
#   installer/sign.sh <file>...
set -euo pipefail
: "${TL_SIGN_PFX:?names no code-signing certificate}"
for file in "$@"; do
  options=(-pkcs12 "$TL_SIGN_PFX" -h sha256 -n Tallyline)
  [[ -n ${TL_SIGN_TIMESTAMP:-} ]] && options+=(-ts "$TL_SIGN_TIMESTAMP")
  # The password goes through a pipe, not the command line that other users can see.
  osslsigncode sign "${options[@]}" -readpass <(printf '%s' "${TL_SIGN_PASSWORD:-}") \
    -in "$file" -out "$file.signed" >/dev/null
  mv -f "$file.signed" "$file"
done
