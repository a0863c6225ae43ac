#!/usr/bin/env bash
# The Windows Installer package as an office rolls it out, in the 64-bit Wine prefix: a signed
# build; a silent upgrade from an older package that puts both DLLs in place (a 64-bit and a
# 32-bit script host each create the add-in), registered by the package's own rows exactly as
# regsvr32 registers them, with DATAPATH in both registry views and a log; the refusals, each with
# exit code 1603: an older package over a newer one, the 32-bit Windows package here, the NSIS
# setup over the package and the package over the NSIS setup; the silent uninstall that removes
# the DLLs, their folders and their classes and keeps the picklist.
#
#   tests/installer/msi_test.sh <Tallyline-<version>.msi>
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export TL_WINEARCH=win64
source "$here/../../scripts/wine-env.sh"
tl_wine_prefix_ready || exit 1
msi="$1" version=$(<"$tl_root/build/win64/tallyline_version.txt")
setup="$(dirname "$msi")/Tallyline-Setup-$version.exe"
dlls=("$tl_root/build/win32/Varnkit_TL.dll" "$tl_root/build/win64/Varnkit_TL.dll")
drive="$WINEPREFIX/drive_c" programs="$WINEPREFIX/drive_c/Program Files"
work=$(mktemp -d)
trap 'rm -rf "$work" "$drive"/tallyline_msi_*' EXIT
source "$here/checks.sh"
exits_with() {  # exits_with <code> <Windows command line>: the script host sees the whole code, Linux its low byte
  printf 'WScript.Echo CreateObject("WScript.Shell").Run("%s", 0, True)\r\n' "${2//\"/\"\"}" >"$drive/tallyline_msi_run.vbs"
  test "$(wine cscript //nologo 'C:\tallyline_msi_run.vbs' | tr -d '\r')" = "$1"
}
printf 'Set msi = CreateObject("WindowsInstaller.Installer")\r\nFor Each p In msi.RelatedProducts("%s")\r\nWScript.Echo p & " " & msi.ProductInfo(p, "VersionString")\r\nNext\r\n' \
  "$(<"$tl_root/installer/upgrade_code.txt")" >"$drive/tallyline_msi_products.vbs"
products() { wine cscript //nologo 'C:\tallyline_msi_products.vbs' | tr -d '\r'; }
installed() { test "$(products | cut -d' ' -f2 | xargs)" = "$1"; }  # installed <versions>
printf 'Set addin = CreateObject("Varnkit_TL.Tallyline")\r\nWScript.Echo addin.Description\r\n' >"$drive/tallyline_msi_create.vbs"
creates_addin() { [[ $(wine "$1" //nologo 'C:\tallyline_msi_create.vbs' 2>/dev/null | tr -d '\r') == Varnkit_TL ]]; }
data_path() { wine reg query 'HKLM\SOFTWARE\Varnkit' /v DataPath "/reg:$1" | sed -nE 's/.*REG_SZ +//p' | tr -d '\r'; }
same() { test -s "$1" && diff "$1" "$2"; }
class_in() { wine reg query 'HKLM\Software\Classes\CLSID\{A6C55777-8C43-4D42-868C-70B07956EA54}' "/reg:$1"; }
# The add-in's COM entries of both views, a line for each key and each value, in order.
com_entries() {
  local key
  {
    for key in 'CLSID\{A6C55777-8C43-4D42-868C-70B07956EA54}' 'Interface\{D33C6041-1157-4E57-80B3-411CAA822D9F}'; do
      wine reg query "HKLM\\Software\\Classes\\$key" /s /reg:32 | sed 's/^HKEY/32:&/'
      wine reg query "HKLM\\Software\\Classes\\$key" /s /reg:64
    done
    for key in 'TypeLib\{84DF9CEC-1A93-4B3F-B922-D2363ED48940}' 'AppID\{84DF9CEC-1A93-4B3F-B922-D2363ED48940}' \
      'AppID\Varnkit_TL.DLL' Varnkit_TL.Tallyline Varnkit_TL.Tallyline.1; do
      wine reg query "HKLM\\Software\\Classes\\$key" /s
    done
  } 2>/dev/null | tr -d '\r' | awk '/HKEY/ { key = $0; print; next } NF { print key " |" $0 }' | sort
}
for product in $(products | cut -d' ' -f1); do wine msiexec /x "$product" /qn; done  # an earlier run's

echo "Build"
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Tallyline test signer" -keyout "$work/signer.key" \
  -out "$work/signer.pem" -addext extendedKeyUsage=codeSigning >/dev/null 2>&1
openssl pkcs12 -export -inkey "$work/signer.key" -in "$work/signer.pem" -out "$work/signer.pfx" -passout pass:
check "the packages are signed with a given certificate" env TL_SIGN_PFX="$work/signer.pfx" \
  "$tl_root/installer/msi.sh" "${dlls[@]}" "$version" "$work/signed"
for file in "Tallyline-$version.msi" "Tallyline-$version-x86.msi"; do
  check "signed: $file" osslsigncode verify -CAfile "$work/signer.pem" -in "$work/signed/$file"
done
[[ -n ${TL_SIGN_PFX:-} ]] || check "without a certificate unsigned" absent osslsigncode extract-signature -in "$msi" -out "$work/sig"
check "an older package" "$tl_root/installer/msi.sh" "${dlls[@]}" 0.0.1 "$work"

echo "Silent install: an upgrade with DATAPATH and a log"
check "the older package installs" wine msiexec /i "$(windows_path "$work/Tallyline-0.0.1.msi")" /qn
check "the package succeeds" wine msiexec /i "$(windows_path "$msi")" /qn 'DATAPATH=\\server\cad\Tallyline\' /l*v 'C:\tallyline_msi_log.txt'
check "it replaced the older one" installed "$version"
check "the log is written" test -s "$drive/tallyline_msi_log.txt"
check "64-bit DLL" cmp "$programs/Varnkit/Varnkit_TL.dll" "${dlls[1]}"
check "32-bit DLL" cmp "$programs (x86)/Varnkit/Varnkit_TL.dll" "${dlls[0]}"
check "data folder" test -d "$programs/DEVO/Varnkit/Data"
check "64-bit host creates it by ProgID" creates_addin 'C:\windows\system32\cscript.exe'
check "32-bit host creates it by ProgID" creates_addin 'C:\windows\syswow64\cscript.exe'
for view in 64 32; do check "DataPath in the $view-bit view" test "$(data_path $view)" = '\\server\cad\Tallyline\'; done
com_entries >"$work/package.txt"

echo "Refused, with exit code 1603, nothing changed"
check "an older package over a newer one" exits_with 1603 "msiexec /i \"$(windows_path "$work/Tallyline-0.0.1.msi")\" /qn"
check "the 32-bit Windows package on 64-bit Windows" exits_with 1603 "msiexec /i \"$(windows_path "${msi%.msi}-x86.msi")\" /qn"
check "the NSIS setup over the package" exits_with 1603 "\"$(windows_path "$setup")\" /S"
check "the package stays alone" installed "$version"
check "no NSIS install" absent wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyline' /reg:32

echo "Silent uninstall"
printf '<TLT><NAME>Kept</NAME></TLT>\r\n\0' >"$programs/DEVO/Varnkit/Data/TLeaders.txt"
check "the uninstall succeeds" wine msiexec /x "$(windows_path "$msi")" /qn
check "the DLLs and their folders are removed" absent test -e "$programs/Varnkit" -o -e "$programs (x86)/Varnkit"
for view in 64 32; do check "$view-bit class removed" absent class_in $view; done
check "ProgID removed" absent wine reg query 'HKLM\Software\Classes\Varnkit_TL.Tallyline'
check "picklist kept" test -s "$programs/DEVO/Varnkit/Data/TLeaders.txt"
# DataPath outlives the package; the other tests of this prefix run with the default data folder.
for view in 64 32; do wine reg delete 'HKLM\SOFTWARE\Varnkit' /v DataPath /f "/reg:$view" >/dev/null 2>&1; done
rm -f "$programs/DEVO/Varnkit/Data/TLeaders.txt"

echo "The package's COM entries are regsvr32's"
mkdir -p "$programs/Varnkit" "$programs (x86)/Varnkit"
cp "${dlls[1]}" "$programs/Varnkit/" && cp "${dlls[0]}" "$programs (x86)/Varnkit/"
wine 'C:\windows\system32\regsvr32.exe' /s 'C:\Program Files\Varnkit\Varnkit_TL.dll'
wine 'C:\windows\syswow64\regsvr32.exe' /s 'C:\Program Files (x86)\Varnkit\Varnkit_TL.dll'
com_entries >"$work/regsvr32.txt"
check "the same keys and values in both views" same "$work/package.txt" "$work/regsvr32.txt"
wine 'C:\windows\system32\regsvr32.exe' /s /u 'C:\Program Files\Varnkit\Varnkit_TL.dll'
wine 'C:\windows\syswow64\regsvr32.exe' /s /u 'C:\Program Files (x86)\Varnkit\Varnkit_TL.dll'
rm -rf "$programs/Varnkit" "$programs (x86)/Varnkit"

echo "The package refuses an NSIS install"
check "the NSIS setup installs" wine "$setup" /S
check "the package refuses with 1603" exits_with 1603 "msiexec /i \"$(windows_path "$msi")\" /qn"
check "and is not installed" installed ""
check "the NSIS uninstaller succeeds" exits_with 0 '"C:\Program Files\Varnkit\Uninstall.exe" /S _?=C:\Program Files\Varnkit'
for _ in $(seq 50); do [[ -e $programs/Varnkit ]] || break; sleep 0.2; done  # its copy removes Uninstall.exe

echo "MSI test: $failures failed"
[[ $failures -eq 0 ]]
