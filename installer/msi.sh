#!/usr/bin/env bash
# Makes the Windows Installer packages from the two DLLs with wixl: Tallyline-<version>.msi for
# 64-bit Windows (both DLLs) and Tallyline-<version>-x86.msi for 32-bit Windows (see
# tallyline.wxs). They are signed when TL_SIGN_PFX names a code-signing certificate (sign.sh).
#
#   installer/msi.sh <32-bit DLL> <64-bit DLL> <version> <output folder>
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
mkdir -p "$4"
out=$(realpath "$4") version=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# wixl takes a file's source relative to the working folder.
mkdir "$stage/win32" "$stage/win64"
ln -s "$(realpath "$1")" "$stage/win32/Varnkit_TL.dll"
ln -s "$(realpath "$2")" "$stage/win64/Varnkit_TL.dll"
cd "$stage"
for platform in x64 x86; do
  msi="$out/Tallyline-$version.msi" bits=256  # msidbComponentAttributes64bit
  [[ $platform == x86 ]] && msi="$out/Tallyline-$version-x86.msi" bits=0
  wixl -a "$platform" -D "Platform=$platform" -D "Version=$version" -D "UpgradeCode=$(<"$here/upgrade_code.txt")" \
    -o "$msi" "$here/tallyline.wxs"
  # What this wixl has no attribute for: DataPath is written only when given, and it stays, as
  # the data folder does, when the product is removed or replaced by one installed without it
  # (16 = permanent, 4 = registry key path).
  msibuild "$msi" \
    -q "UPDATE Component SET Condition = 'DATAPATH', Attributes = $((bits + 16 + 4)) WHERE Component = 'DataPath64'" \
    -q "UPDATE Component SET Condition = 'DATAPATH', Attributes = 20 WHERE Component = 'DataPath32'" \
    -q "UPDATE Component SET Attributes = $((bits + 16)) WHERE Component = 'DataFolder'"
  [[ -z ${TL_SIGN_PFX:-} ]] || "$here/sign.sh" "$msi"
done
