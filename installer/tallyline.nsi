; Tallyline's installer: Tallyline-Setup-1.0.exe. It installs the DLL of the machine's bitness
; (both on 64-bit Windows, where 32-bit and 64-bit hosts each load their own), registers each
; with the regsvr32 of its bitness, makes the default data folder writable by every user so that
; a user without administrator rights can keep a picklist there, and adds an uninstaller entry.
; The uninstaller unregisters and removes what was installed and keeps the user's picklist.
; /S installs (and uninstalls) silently.
;
;   makensis -DDLL32=<32-bit dll> -DDLL64=<64-bit dll> -DOUTFILE=<setup exe> tallyline.nsi

Unicode true
!include LogicLib.nsh
!include x64.nsh

!ifndef DLL32 | DLL64 | OUTFILE
  !error "Give -DDLL32, -DDLL64 and -DOUTFILE"
!endif

!define PRODUCT "Tallyline"
!define VERSION "1.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyline"
; The add-in's default data folder (its DataPath when the registry names none).
!define DATA_FOLDER "C:\Program Files\DEVO\Varnkit\Data"
!define USERS_SID "*S-1-5-32-545"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

Page instfiles
UninstPage instfiles

Var Folder32  ; where the 32-bit DLL goes
Var Folder64  ; where the 64-bit DLL goes (64-bit Windows only) and the uninstaller

Function .onInit
  Call SetFolders
FunctionEnd

Function un.onInit
  Call un.SetFolders
FunctionEnd

!macro SET_FOLDERS un
  Function ${un}SetFolders
    ${If} ${RunningX64}
      StrCpy $Folder32 "$PROGRAMFILES32\Varnkit"
      StrCpy $Folder64 "$PROGRAMFILES64\Varnkit"
    ${Else}
      StrCpy $Folder32 "$PROGRAMFILES\Varnkit"
      StrCpy $Folder64 "$PROGRAMFILES\Varnkit"
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro SET_FOLDERS ""
!insertmacro SET_FOLDERS "un."

; Runs a regsvr32 and stops the installation when it fails.
!macro REGSVR32 program arguments
  ExecWait '"${program}" /s ${arguments}' $0
  ${If} $0 <> 0
    DetailPrint "regsvr32 failed with $0"
    SetErrorLevel 2
    Abort "Tallyline could not be registered."
  ${EndIf}
!macroend

Section "Tallyline"
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    SetOutPath "$Folder64"
    File "/oname=Varnkit_TL.dll" "${DLL64}"
    !insertmacro REGSVR32 "$WINDIR\System32\regsvr32.exe" '"$Folder64\Varnkit_TL.dll"'
    ${EnableX64FSRedirection}
    SetOutPath "$Folder32"
    File "/oname=Varnkit_TL.dll" "${DLL32}"
    !insertmacro REGSVR32 "$WINDIR\SysWOW64\regsvr32.exe" '"$Folder32\Varnkit_TL.dll"'
  ${Else}
    SetOutPath "$Folder32"
    File "/oname=Varnkit_TL.dll" "${DLL32}"
    !insertmacro REGSVR32 "$WINDIR\System32\regsvr32.exe" '"$Folder32\Varnkit_TL.dll"'
  ${EndIf}

  ; Every user may create and change files in the data folder (the picklist is saved there).
  CreateDirectory "${DATA_FOLDER}"
  nsExec::Exec 'icacls "${DATA_FOLDER}" /grant ${USERS_SID}:(OI)(CI)M'
  Pop $0
  DetailPrint "Data folder ${DATA_FOLDER} opened to every user: $0"

  WriteUninstaller "$Folder64\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Varnkit"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$Folder64"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$Folder64\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$Folder64\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; Unregistering is tried for each DLL; what stays registered points at a file that is gone.
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    ExecWait '"$WINDIR\System32\regsvr32.exe" /s /u "$Folder64\Varnkit_TL.dll"'
    Delete "$Folder64\Varnkit_TL.dll"
    ${EnableX64FSRedirection}
    ExecWait '"$WINDIR\SysWOW64\regsvr32.exe" /s /u "$Folder32\Varnkit_TL.dll"'
  ${Else}
    ExecWait '"$WINDIR\System32\regsvr32.exe" /s /u "$Folder32\Varnkit_TL.dll"'
  ${EndIf}
  Delete "$Folder32\Varnkit_TL.dll"
  Delete "$Folder64\Uninstall.exe"
  RMDir "$Folder32"
  RMDir "$Folder64"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The data folder and the picklist in it are the user's: they stay.
SectionEnd
