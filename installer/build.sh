#!/usr/bin/env bash
# Makes Tallyline-Setup-<version>.exe and the Windows Installer packages (msi.sh) from the 32-bit
# and the 64-bit build folders; the version is the CMake project version that the 64-bit build
# wrote down. The Group Policy templates go beside them, in policies/, for an administrator to
# copy into PolicyDefinitions. When TL_SIGN_PFX names a code-signing certificate (see sign.sh),
# the DLLs and tlhost.exe of both folders are signed first, and the uninstaller, the installer and
# the packages as they are made.
#
#   installer/build.sh <32-bit build folder> <64-bit build folder> <output folder>
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
win32=$(realpath "$1") win64=$(realpath "$2")
mkdir -p "$3"
out=$(realpath "$3")
rm -rf "$out/policies" && cp -R "$here/policies" "$out/policies"
version=$(<"$win64/tallyline_version.txt")
sign=()
if [[ -n ${TL_SIGN_PFX:-} ]]; then
  for file in "$win32"/Varnkit_TL.dll "$win64"/Varnkit_TL.dll "$win32"/tlhost.exe "$win64"/tlhost.exe; do
    [[ -f $file ]] && "$here/sign.sh" "$file"
  done
  sign=("-DSIGN=$here/sign.sh")
else
  echo "Not signing: TL_SIGN_PFX names no code-signing certificate."
fi
makensis -V2 "-DDLL32=$win32/Varnkit_TL.dll" "-DDLL64=$win64/Varnkit_TL.dll" "-DVERSION=$version" \
  "-DOUTFILE=$out/Tallyline-Setup-$version.exe" "-DMSI_UPGRADE_CODE=$(<"$here/upgrade_code.txt")" "${sign[@]}" \
  "$here/tallyline.nsi"
"$here/msi.sh" "$win32/Varnkit_TL.dll" "$win64/Varnkit_TL.dll" "$version" "$out"
