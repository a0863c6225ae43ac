#!/usr/bin/env bash
# Signs each given Windows program or DLL in place (Authenticode, SHA-256) with the code-signing
# certificate in the PFX file TL_SIGN_PFX, whose password is TL_SIGN_PASSWORD (a PFX without a
# password when unset or empty), and a timestamp from the RFC 3161 server TL_SIGN_TIMESTAMP when
# it is set. A signature already there is replaced.
#
#   installer/sign.sh <file>...
set -euo pipefail
: "${TL_SIGN_PFX:?names no code-signing certificate}"
if [[ ! -f $TL_SIGN_PFX || ! -r $TL_SIGN_PFX ]]; then
  echo "sign.sh: cannot read the certificate file $TL_SIGN_PFX (TL_SIGN_PFX): it does not exist or is not readable" >&2
  exit 1
fi
for file in "$@"; do
  options=(-pkcs12 "$TL_SIGN_PFX" -h sha256 -n Tallyline)
  [[ -n ${TL_SIGN_TIMESTAMP:-} ]] && options+=(-ts "$TL_SIGN_TIMESTAMP")
  # A password goes through a pipe, not the command line that other users can see; a PFX
  # without one is opened with the empty password.
  if [[ -n ${TL_SIGN_PASSWORD:-} ]]; then
    options+=(-readpass /dev/stdin)
  else
    options+=(-pass "")
  fi
  if ! said=$(printf '%s' "${TL_SIGN_PASSWORD:-}" | osslsigncode sign "${options[@]}" -in "$file" -out "$file.signed" 2>&1); then
    rm -f "$file.signed"
    echo "sign.sh: cannot sign $file with $TL_SIGN_PFX: not a PFX file, or TL_SIGN_PASSWORD is not its password" >&2
    echo "$said" >&2
    exit 1
  fi
  mv -f "$file.signed" "$file"
done
