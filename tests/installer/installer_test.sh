#!/usr/bin/env bash
# The installer as a user meets it, in the 64-bit Wine prefix: a silent install puts both DLLs
# in place and registers them (a 64-bit and a 32-bit script host each create the add-in by
# ProgID), and a silent uninstall removes the DLLs, their registration and the uninstaller
# entry while the user's picklist stays.
#
#   tests/installer/installer_test.sh <Tallyline-Setup.exe>
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export TL_WINEARCH=win64
source "$here/../../scripts/wine-env.sh"
tl_wine_prefix_ready || exit 1
setup="$1"
drive="$WINEPREFIX/drive_c"
class='HKLM\Software\Classes\CLSID\{A6C55777-8C43-4D42-868C-70B07956EA54}\InprocServer32'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyline'
failures=0
check() {  # check <what> <command...>
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then echo "  ok: $what"; else echo "  FAILED: $what"; failures=$((failures + 1)); fi
}
absent() { ! "$@"; }
creates_addin() {  # creates_addin <cscript.exe>: the add-in made by ProgID answers its Description
  [[ $(wine "$1" //nologo 'C:\tallyline_create.vbs' 2>/dev/null | tr -d '\r') == Varnkit_TL ]]
}

printf 'Set addin = CreateObject("Varnkit_TL.Tallyline")\r\nWScript.Echo addin.Description\r\n' \
  >"$drive/tallyline_create.vbs"

echo "Silent install"
check "the installer succeeds" wine "$setup" /S
check "64-bit DLL" test -f "$drive/Program Files/Varnkit/Varnkit_TL.dll"
check "32-bit DLL" test -f "$drive/Program Files (x86)/Varnkit/Varnkit_TL.dll"
check "uninstaller" test -f "$drive/Program Files/Varnkit/Uninstall.exe"
check "data folder" test -d "$drive/Program Files/DEVO/Varnkit/Data"
check "64-bit class registered" wine reg query "$class" /reg:64
check "32-bit class registered" wine reg query "$class" /reg:32
check "uninstaller entry" wine reg query "$uninstall_key"
check "64-bit host creates it by ProgID" creates_addin 'C:\windows\system32\cscript.exe'
check "32-bit host creates it by ProgID" creates_addin 'C:\windows\syswow64\cscript.exe'

echo "Silent uninstall"
printf '<TLT><NAME>Kept</NAME></TLT>\r\n\0' >"$drive/Program Files/DEVO/Varnkit/Data/TLeaders.txt"
check "the uninstaller succeeds" wine 'C:\Program Files\Varnkit\Uninstall.exe' /S
# The uninstaller goes on from a copy of itself after it returns: wait until it has removed its
# folder and its entry, its last two steps.
for _ in $(seq 60); do
  [[ ! -e "$drive/Program Files/Varnkit" ]] && ! wine reg query "$uninstall_key" >/dev/null 2>&1 && break
  sleep 1
done
check "64-bit DLL removed" absent test -e "$drive/Program Files/Varnkit"
check "32-bit DLL removed" absent test -e "$drive/Program Files (x86)/Varnkit"
check "64-bit class unregistered" absent wine reg query "$class" /reg:64
check "32-bit class unregistered" absent wine reg query "$class" /reg:32
check "ProgID unregistered" absent wine reg query 'HKCR\Varnkit_TL.Tallyline'
check "uninstaller entry removed" absent wine reg query "$uninstall_key"
check "picklist kept" test -s "$drive/Program Files/DEVO/Varnkit/Data/TLeaders.txt"
rm -f "$drive/tallyline_create.vbs"

echo "installer test: $failures failed"
[[ $failures -eq 0 ]]
