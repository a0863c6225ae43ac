#!/usr/bin/env bash
# The installer as users meet it, in the 64-bit Wine prefix: a signed build of it (with a
# throwaway certificate); a silent install that puts both DLLs in place and registers them (a
# 64-bit and a 32-bit script host each create the add-in by ProgID); an upgrade and an uninstall
# while a host holds the DLL, which both refuse with exit code 32 and change nothing; the silent
# uninstall that removes the DLLs, their registration and the uninstaller entry while the user's
# picklist stays; a move to a folder of the user's choice (/D=); and a per-user install
# (/CurrentUser) that leaves HKEY_LOCAL_MACHINE as it was. The odd paths answer for what they did:
# a folder that cannot be used and a newer version installed are refused with their own exit
# codes before anything changes, and a stale uninstaller leaves another install alone.
#
#   tests/installer/installer_test.sh <Tallyline-Setup.exe>
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export TL_WINEARCH=win64
source "$here/../../scripts/wine-env.sh"
tl_wine_prefix_ready || exit 1
setup="$1"
build32="$tl_root/build/win32" build64="$tl_root/build/win64"
version=$(<"$build64/tallyline_version.txt")
drive="$WINEPREFIX/drive_c"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
class='Software\Classes\CLSID\{A6C55777-8C43-4D42-868C-70B07956EA54}\InprocServer32'
entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyline'
source "$here/checks.sh"
# Wine hands Linux only the low byte of an exit code: run_line keeps the whole one in line_code.
exits_with() {  # exits_with <code> <command...>
  local code=$1 status
  shift
  rm -f "$work/line_code"
  "$@"
  status=$?
  [[ -s $work/line_code ]] && status=$(<"$work/line_code")
  [[ $status -eq $code ]]
}
value() {  # value 32|64 <key> [<name>]: the data of a registry value (the default one without a name)
  local name=(/ve)
  [[ -n ${3:-} ]] && name=(/v "$3")
  # reg writes the OEM code page.
  wine reg query "$2" "${name[@]}" "/reg:$1" 2>/dev/null | iconv -f CP437 | sed -nE 's/.*REG_[A-Z_]+ +//p' | tr -d '\r'
}
creates_addin() {  # creates_addin <cscript.exe>: the add-in made by ProgID answers its Description
  [[ $(wine "$1" //nologo 'C:\tallyline_create.vbs' 2>/dev/null | tr -d '\r') == Varnkit_TL ]]
}
# Runs a Windows command line as it stands, as a deployment tool does (/D= and _?= only count
# unquoted), and gives its exit code.
run_line() {  # run_line <command line>
  local status
  printf 'code = CreateObject("WScript.Shell").Run("%s", 0, True)\r\nWScript.Echo code\r\nWScript.Quit code\r\n' \
    "${1//\"/\"\"}" | iconv -t CP1252 >"$drive/tallyline_run.vbs"
  wine 'C:\windows\system32\cscript.exe' //nologo 'C:\tallyline_run.vbs' | tr -d '\r' >"$work/line_code"
  status=${PIPESTATUS[0]}
  return "$status"
}
# The entry's quiet uninstall command. On Windows the uninstaller moves itself out of the folder
# before it returns; Wine cannot move or delete a running program, so there a copy of it removes
# Uninstall.exe once it has ended: wait until the folder is gone.
quiet_uninstall() {  # quiet_uninstall HKLM|HKCU <install folder>
  run_line "$(value 32 "$1\\$entry" QuietUninstallString)" || return
  for _ in $(seq 50); do [[ -e $2 ]] || return 0; sleep 0.2; done
  return 1
}
hold() {  # a 64-bit host keeps the add-in loaded until release
  touch "$work/holding"
  wine "$build64/hold_addin.exe" "$(windows_path "$work/holding")" >"$work/holder.out" 2>&1 &
  holder=$!
  for _ in $(seq 100); do grep -q holding "$work/holder.out" && return; sleep 0.1; done
  return 1
}
release() { rm -f "$work/holding"; wait "${holder:-}"; }
# HKEY_LOCAL_MACHINE as text, less the display keys that Wine makes itself as programs start.
machine_registry() {  # machine_registry <file>
  wine regedit /E 'C:\tallyline_machine.reg' HKEY_LOCAL_MACHINE
  iconv -f UTF-16LE "$drive/tallyline_machine.reg" | awk '/^\[/ { skip = /\\Control\\Video/ } !skip' >"$1"
}
signed() { osslsigncode verify -CAfile "$work/signer.pem" -in "$1"; }
full_entry() {  # full_entry HKLM|HKCU <folder>: version, publisher, folder and size are shown
  local shown
  shown=$(wine reg query "$1\\$entry" | iconv -f CP437 | tr -d '\r')
  grep -qE "DisplayVersion +REG_SZ +$version\$" <<<"$shown" && grep -qE 'Publisher +REG_SZ +Varnkit$' <<<"$shown" &&
    grep -qF "InstallLocation    REG_SZ    $2" <<<"$shown" && grep -qE 'EstimatedSize +REG_DWORD +0x[1-9a-f]' <<<"$shown"
}

printf 'Set addin = CreateObject("Varnkit_TL.Tallyline")\r\nWScript.Echo addin.Description\r\n' \
  >"$drive/tallyline_create.vbs"

echo "Signed build"
mkdir "$work/win32" "$work/win64"
cp "$build32/Varnkit_TL.dll" "$build32/tlhost.exe" "$work/win32/"
cp "$build64/Varnkit_TL.dll" "$build64/tlhost.exe" "$build64/tallyline_version.txt" "$work/win64/"
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Tallyline test signer" -keyout "$work/signer.key" \
  -out "$work/signer.pem" -addext extendedKeyUsage=codeSigning >/dev/null 2>&1
openssl pkcs12 -export -inkey "$work/signer.key" -in "$work/signer.pem" -out "$work/signer.pfx" -passout pass:throwaway
check "the build signs with the given certificate" env TL_SIGN_PFX="$work/signer.pfx" TL_SIGN_PASSWORD=throwaway \
  "$tl_root/installer/build.sh" "$work/win32" "$work/win64" "$work"
signed_setup="$work/Tallyline-Setup-$version.exe"
openssl pkcs12 -export -inkey "$work/signer.key" -in "$work/signer.pem" -out "$work/open.pfx" -passout pass:
cp "$build64/Varnkit_TL.dll" "$work/open.dll"
check "a certificate without a password signs" env -u TL_SIGN_PASSWORD TL_SIGN_PFX="$work/open.pfx" \
  "$tl_root/installer/sign.sh" "$work/open.dll"
check "signed with it" signed "$work/open.dll"
check "a missing certificate is named as such" grep -q "cannot read the certificate file $work/none.pfx" \
  <(TL_SIGN_PFX="$work/none.pfx" "$tl_root/installer/sign.sh" "$work/open.dll" 2>&1)
for file in win32/Varnkit_TL.dll win64/Varnkit_TL.dll win32/tlhost.exe win64/tlhost.exe "${signed_setup##*/}"; do
  check "signed: $file" signed "$work/$file"
done
if [[ -z ${TL_SIGN_PFX:-} ]]; then
  for file in "$setup" "$build64/Varnkit_TL.dll"; do
    check "without a certificate unsigned: ${file##*/}" absent osslsigncode extract-signature -in "$file" -out "$work/sig"
  done
fi

echo "Silent install"
check "the installer is named with the project version" test "${setup##*/}" = "Tallyline-Setup-$version.exe"
check "the DLL's version resource has it" \
  grep -qx "$version" <(strings -n 3 -el "$build64/Varnkit_TL.dll" | grep -A1 -x FileVersion)
check "the installer succeeds" wine "$setup" /S
check "64-bit DLL" test -f "$drive/Program Files/Varnkit/Varnkit_TL.dll"
check "32-bit DLL" test -f "$drive/Program Files (x86)/Varnkit/Varnkit_TL.dll"
check "uninstaller" test -f "$drive/Program Files/Varnkit/Uninstall.exe"
check "data folder" test -d "$drive/Program Files/DEVO/Varnkit/Data"
check "64-bit class registered" wine reg query "HKLM\\$class" /reg:64
check "32-bit class registered" wine reg query "HKLM\\$class" /reg:32
check "uninstaller entry with version, publisher, folder and size" full_entry HKLM 'C:\Program Files\Varnkit'
check "64-bit host creates it by ProgID" creates_addin 'C:\windows\system32\cscript.exe'
check "32-bit host creates it by ProgID" creates_addin 'C:\windows\syswow64\cscript.exe'

echo "Upgrade and uninstall while a host holds the DLL"
check "a 64-bit host has the add-in loaded" hold
check "the upgrade refuses with exit code 32" exits_with 32 wine "$signed_setup" /S
check "the installed DLL stays" cmp "$drive/Program Files/Varnkit/Varnkit_TL.dll" "$build64/Varnkit_TL.dll"
check "the uninstaller refuses with exit code 32" exits_with 32 quiet_uninstall HKLM "$drive/Program Files/Varnkit"
check "the DLL stays registered" wine reg query "HKLM\\$class" /reg:64
check "the uninstaller and its entry stay" wine reg query "HKLM\\$entry"
release
check "the upgrade succeeds once the host has ended" wine "$signed_setup" /S
check "the new DLL is in place" cmp "$drive/Program Files/Varnkit/Varnkit_TL.dll" "$work/win64/Varnkit_TL.dll"
check "the uninstaller is signed" signed "$drive/Program Files/Varnkit/Uninstall.exe"

echo "Silent uninstall"
printf '<TLT><NAME>Kept</NAME></TLT>\r\n\0' >"$drive/Program Files/DEVO/Varnkit/Data/TLeaders.txt"
check "the uninstaller succeeds" quiet_uninstall HKLM "$drive/Program Files/Varnkit"
check "64-bit DLL removed" absent test -e "$drive/Program Files/Varnkit"
check "32-bit DLL removed" absent test -e "$drive/Program Files (x86)/Varnkit"
check "64-bit class unregistered" absent wine reg query "HKLM\\$class" /reg:64
check "32-bit class unregistered" absent wine reg query "HKLM\\$class" /reg:32
check "ProgID unregistered" absent wine reg query 'HKCR\Varnkit_TL.Tallyline'
check "uninstaller entry removed" absent wine reg query "HKLM\\$entry"
check "picklist kept" test -s "$drive/Program Files/DEVO/Varnkit/Data/TLeaders.txt"

echo "Odd paths: refused with their exit code, nothing installed or removed"
rm -rf "$drive/ab" "$drive/TL" "$drive/L"*  # where an earlier run that failed may have installed
touch "$drive/a file"
# A folder that nobody can write, root included (who writes wherever chmod forbids it): /proc's.
ln -s /proc/1 "$drive/read-only"
long="C:\\$(printf 'L%.0s' $(seq 247))"
newer_recorded() {  # the install's entry records a version above any real one
  wine reg add "HKLM\\$entry" /v DisplayVersion /d 99.0 /f /reg:32
}
newer_installed() { wine "$setup" /S && newer_recorded; }
nothing_installed() {  # the 64-bit DLL is the first one registered: its class tells
  absent wine reg query "HKLM\\$class" /reg:64 && absent wine reg query "HKLM\\$entry" && absent test -e "$drive/Program Files/Varnkit" &&
    absent test -e "$drive/Program Files (x86)/Varnkit" && absent test -e "$drive/ab" && absent test -e "$drive/TL" &&
    absent test -e "$drive/read-only/TL" && absent test -e "$drive/${long:3}" && test -f "$drive/a file"
}
newer_kept() {  # the newer install stays as it was
  test "$(value 32 "HKLM\\$entry" DisplayVersion)" = 99.0 && wine reg query "HKLM\\$class" /reg:64 &&
    test -f "$drive/Program Files (x86)/Varnkit/Varnkit_TL.dll"
}
downgraded() { test "$(value 32 "HKLM\\$entry" DisplayVersion)" = "$version"; }
# what | prepare | options | exit code | then
odd_paths=(
  "an existing file|:|/D=C:\\a file|267|nothing_installed"
  "the root of a drive|:|/D=C:\\|267|nothing_installed"
  "a relative path|:|/D=Varnkit\\TL|267|nothing_installed"
  "a character Windows forbids|:|/D=C:\\a<b\\TL|267|nothing_installed"
  "a name Windows changes|:|/D=C:\\TL.|267|nothing_installed"
  "250 characters|:|/D=$long|267|nothing_installed"
  "a folder that cannot be written|:|/D=C:\\read-only\\TL|267|nothing_installed"
  "a newer version installed|newer_installed||1638|newer_kept"
  "a newer version and /Downgrade|newer_recorded|/Downgrade|0|downgraded"
)
for row in "${odd_paths[@]}"; do
  IFS='|' read -r what prepare options code then <<<"$row"
  $prepare >/dev/null 2>&1
  check "$what: exit code $code" exits_with "$code" run_line "\"$(windows_path "$setup")\" /S $options"
  check "$what: $then" "$then"
done
rm -f "$drive/read-only" "$drive/a file"

echo "A stale uninstaller leaves another install alone (the one the table left)"
mkdir -p "$drive/stale"
cp "$drive/Program Files/Varnkit/Uninstall.exe" "$drive/stale/"
check "a stale uninstaller for a folder that is gone refuses with 1605" \
  exits_with 1605 run_line '"C:\stale\Uninstall.exe" /S _?=C:\gone\Varnkit'
check "the install's 32-bit DLL stays" test -f "$drive/Program Files (x86)/Varnkit/Varnkit_TL.dll"
check "its 32-bit class stays registered" wine reg query "HKLM\\$class" /reg:32
check "its entry stays" full_entry HKLM 'C:\Program Files\Varnkit'
check "its own uninstaller removes it" quiet_uninstall HKLM "$drive/Program Files/Varnkit"
rm -rf "$drive/stale"

echo "Install to a chosen folder, over an install in the default one"
folder='C:\Mein Ördner\Tally Line'
check "the default install succeeds" wine "$setup" /S
check "the installer succeeds with /D=" run_line "\"$(windows_path "$setup")\" /S /D=$folder"
check "the default folders are left empty and removed" \
  absent test -e "$drive/Program Files/Varnkit" -o -e "$drive/Program Files (x86)/Varnkit"
check "64-bit DLL there" test -f "$drive/Mein Ördner/Tally Line/Varnkit_TL.dll"
check "32-bit DLL in its x86 folder" test -f "$drive/Mein Ördner/Tally Line/x86/Varnkit_TL.dll"
check "64-bit DLL registered there" test "$(value 64 "HKLM\\$class")" = "$folder\\Varnkit_TL.dll"
check "32-bit DLL registered there" test "$(value 32 "HKLM\\$class")" = "$folder\\x86\\Varnkit_TL.dll"
check "the uninstaller removes the folder" quiet_uninstall HKLM "$drive/Mein Ördner/Tally Line"
check "and the class" absent wine reg query "HKLM\\$class" /reg:64
rmdir "$drive/Mein Ördner" 2>/dev/null

echo "Per-user install"
user_folder="C:\\users\\$(id -un)\\AppData"
programs="$drive/users/$(id -un)/AppData/Local/Programs/Varnkit"
data="$drive/users/$(id -un)/AppData/Roaming/Varnkit/Data"
machine_registry "$work/before.reg"
check "the installer succeeds with /CurrentUser" wine "$setup" /S /CurrentUser
machine_registry "$work/after.reg"
check "HKEY_LOCAL_MACHINE unchanged" diff "$work/before.reg" "$work/after.reg"
check "64-bit DLL in the user's programs" test -f "$programs/Varnkit_TL.dll"
check "32-bit DLL in its x86 folder" test -f "$programs/x86/Varnkit_TL.dll"
check "class registered for the user" grep -qF "$user_folder\\Local\\Programs\\Varnkit\\" <(value 64 "HKCU\\$class")
check "ProgID registered for the user" wine reg query 'HKCU\Software\Classes\Varnkit_TL.Tallyline'
check "data folder" test -d "$data"
check "DataPath names it" test "$(value 64 'HKCU\SOFTWARE\Varnkit' DataPath)" = "$user_folder\\Roaming\\Varnkit\\Data\\"
check "uninstaller entry of the user" full_entry HKCU "$user_folder\\Local\\Programs\\Varnkit"
printf '<TLT><NAME>Kept</NAME></TLT>\r\n\0' >"$data/TLeaders.txt"
check "the uninstaller succeeds" quiet_uninstall HKCU "$programs"
check "DLLs removed" absent test -e "$programs"
check "class unregistered" absent wine reg query "HKCU\\$class"
check "uninstaller entry removed" absent wine reg query "HKCU\\$entry"
check "DataPath removed" absent wine reg query 'HKCU\SOFTWARE\Varnkit' /v DataPath
check "picklist kept" test -s "$data/TLeaders.txt"
rm -f "$drive"/tallyline_*

echo "installer test: $failures failed"
[[ $failures -eq 0 ]]
