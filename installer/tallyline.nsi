; Tallyline's installer, Tallyline-Setup-<version>.exe. It installs the DLL of the machine's
; bitness (both on 64-bit Windows, where 32-bit and 64-bit hosts each load their own), registers
; each with the regsvr32 of its bitness, creates the data folder and adds an uninstaller entry.
; The uninstaller unregisters and removes what the installer recorded and keeps the picklist.
;
; Two modes: for everyone (the default; needs administrator rights, writes under
; HKEY_LOCAL_MACHINE) or only for the current user (/CurrentUser, or the choice on the first
; page; writes only under HKEY_CURRENT_USER). /S is silent, /D=<folder> (last) the folder.
;
; A DLL that a running program holds is never replaced or removed behind the user's back: the
; installer and the uninstaller change nothing until the files are free. Interactively they ask
; to close the program (Retry or Cancel); silently they stop with exit code 32 (the Windows
; "file in use by another process" code).
;
;
; Tallyline's Windows Installer package (tallyline.wxs) and this setup never share a machine: a
; product installed from the package (found by its upgrade code) stops this setup at once.
;
; Every exit code means one thing (the README's administrator part lists them): 0 done; 1 the
; user cancelled; 2 another failure; 32 a DLL is in use; 267 the folder cannot be used (not a
; full path, a character or a name Windows forbids, too long, a file, or not writable), nothing
; changed; 740 an install for everyone without administrator rights; 1605 (the uninstaller) the
; folder it was started for is not the folder of a recorded install, nothing changed; 1638 a newer
; version is installed (refused silently unless /Downgrade is given), nothing changed; 1603
; Tallyline is installed from its Windows Installer package, nothing changed.
;
;   makensis -DDLL32=<32-bit dll> -DDLL64=<64-bit dll> -DVERSION=<version> -DOUTFILE=<setup exe>
;            -DMSI_UPGRADE_CODE=<the package's upgrade code>
;            [-DSIGN=<command that signs the file given to it in place>] tallyline.nsi

Unicode true
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include WordFunc.nsh

!ifndef DLL32 | DLL64 | VERSION | OUTFILE | MSI_UPGRADE_CODE
  !error "Give -DDLL32, -DDLL64, -DVERSION, -DOUTFILE and -DMSI_UPGRADE_CODE"
!endif
!ifdef SIGN
  !finalize '"${SIGN}" "%1"' = 0
  !uninstfinalize '"${SIGN}" "%1"' = 0
!endif

!define PRODUCT "Tallyline"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyline"
!define FAMILY_KEY "SOFTWARE\Varnkit"
; The add-in's default data folder (its DataPath when the registry names none).
!define DATA_FOLDER "C:\Program Files\DEVO\Varnkit\Data"
!define USERS_SID "*S-1-5-32-545"
!define EXIT_IN_USE 32  ; ERROR_SHARING_VIOLATION
!define EXIT_NEEDS_ADMIN 740  ; ERROR_ELEVATION_REQUIRED
!define EXIT_FAILED 2
!define EXIT_BAD_FOLDER 267  ; ERROR_DIRECTORY
!define EXIT_NOT_INSTALLED 1605  ; ERROR_UNKNOWN_PRODUCT
!define EXIT_NEWER_INSTALLED 1638  ; ERROR_PRODUCT_VERSION
!define EXIT_MSI_INSTALLED 1603  ; ERROR_INSTALL_FAILURE, as msiexec ends when the package refuses this setup's install
; The longest folder: its 32-bit DLL, "<folder>\x86\Varnkit_TL.dll", stays within MAX_PATH (259
; characters and the terminating zero), which regsvr32 and the hosts that load it need.
!define MAX_FOLDER 240

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; Administrators are asked to elevate; everyone else may still install for themselves.
RequestExecutionLevel highest
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

Page custom ModePageShow ModePageLeave
Page directory "" "" DirectoryPageLeave
Page instfiles
UninstPage instfiles

Var PerUser         ; 1: only for the current user
Var FolderGiven     ; 1: /D= named the folder, which then stays whatever the mode
Var Folder32        ; where the 32-bit DLL goes; $INSTDIR holds the other DLL and the uninstaller
Var OldFolder       ; the folders of an earlier install of the same mode, if any
Var OldFolder32
Var RegsvrScope     ; regsvr32's options of the mode
Var ModeMachine     ; the first page's radio buttons
Var ModeUser
Var OldVersion      ; the version an earlier install of the mode recorded, if any

; ${IsAdmin}: the user is an administrator (the installer runs elevated then).
!macro _IsAdmin _a _b _t _f
  !insertmacro _LOGICLIB_TEMP
  UserInfo::GetAccountType
  Pop $_LOGICLIB_TEMP
  StrCmp $_LOGICLIB_TEMP "Admin" `${_t}` `${_f}`
!macroend
!define IsAdmin `"" IsAdmin ""`

Function .onInit
  Call RefuseMsiInstall
  ; /D= as given: the installer's own reading drops or changes a folder it cannot use (a file,
  ; C:\, a relative path, forbidden characters) and would go on in another one.
  StrCpy $FolderGiven 0
  Call FolderOnCommandLine
  Pop $0
  StrCpy $1 $0 1 -1
  StrLen $2 $0
  ${If} $1 == "\"
  ${AndIf} $2 > 3
    StrCpy $0 $0 -1
  ${EndIf}
  ${If} $0 == ""
    StrCpy $0 $INSTDIR
  ${EndIf}
  ${If} $0 != ""
    ; Checked as given: $INSTDIR itself drops the characters that Windows forbids.
    StrCpy $FolderGiven 1
    Push $0
    Call FolderProblem
    Pop $1
    ${If} $1 != ""
      ${IfNot} ${Silent}
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} cannot be installed in $\"$0$\": $1."
      ${EndIf}
      SetErrorLevel ${EXIT_BAD_FOLDER}
      Quit
    ${EndIf}
    StrCpy $INSTDIR $0
  ${EndIf}
  StrCpy $PerUser 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CurrentUser" $1
  ${IfNot} ${Errors}
    StrCpy $PerUser 1
  ${EndIf}
  ${If} $PerUser == 0
  ${AndIfNot} ${IsAdmin}
    ${If} ${Silent}
      SetErrorLevel ${EXIT_NEEDS_ADMIN}
      Quit
    ${EndIf}
    StrCpy $PerUser 1  ; the first page offers what this user can do
  ${EndIf}
  Call ApplyMode
FunctionEnd

; Stops with exit code 1603 when Tallyline is installed from its Windows Installer package: two
; installers would register one class for two folders, and each would remove the other's.
Function RefuseMsiInstall
  System::Call 'msi::MsiEnumRelatedProductsW(w "${MSI_UPGRADE_CODE}", i 0, i 0, w .r1) i .r0'
  ${If} $0 == 0
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is installed on this computer from its Windows Installer package (.msi). Uninstall it under Programs and Features first, or install a newer version with a newer package." /SD IDOK
    SetErrorLevel ${EXIT_MSI_INSTALLED}
    Quit
  ${EndIf}
FunctionEnd

; The registry root, the regsvr32 options and the folders of the chosen mode. The folder is the
; earlier install's (an upgrade stays where it is) or the mode's default, unless /D= named one.
Function ApplyMode
  ${If} $PerUser == 1
    SetShellVarContext current
    StrCpy $RegsvrScope "/n /i:user"
  ${Else}
    SetShellVarContext all
    StrCpy $RegsvrScope ""
  ${EndIf}
  ReadRegStr $OldFolder SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $OldVersion SHCTX "${UNINSTALL_KEY}" "DisplayVersion"
  ReadRegStr $OldFolder32 SHCTX "${UNINSTALL_KEY}" "Folder32"
  ${If} $OldFolder != ""
  ${AndIf} $OldFolder32 == ""
    ; Version 1.0 recorded no Folder32: its 32-bit DLL is in the 32-bit programs folder.
    StrCpy $OldFolder32 "$PROGRAMFILES32\Varnkit"
  ${EndIf}
  ${If} $FolderGiven == 0
    ${If} $OldFolder != ""
      StrCpy $INSTDIR $OldFolder
    ${ElseIf} $PerUser == 1
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Varnkit"
    ${ElseIf} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\Varnkit"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES\Varnkit"
    ${EndIf}
  ${EndIf}
FunctionEnd

; Pushes the text after " /D=" on the process's own command line (it is always last), or "".
Function FolderOnCommandLine
  Push $0
  Push $1
  Push $2
  System::Call 'kernel32::GetCommandLineW() w .r0'
  StrCpy $1 ""
  StrLen $2 $0
  ${ForEach} $R9 0 $2 + 1
    StrCpy $1 $0 4 $R9
    ${If} $1 == " /D="
      IntOp $R9 $R9 + 4
      StrCpy $1 $0 "" $R9
      ${Break}
    ${EndIf}
    StrCpy $1 ""
  ${Next}
  Pop $2
  Exch $1
  Exch
  Pop $0
FunctionEnd

; Pushes why the folder on the stack cannot be used, or "" when it can: a full path (drive
; letter or \\server\share) below the root, no character or name that Windows forbids or
; changes, at most ${MAX_FOLDER} characters, and no file of that name. Whether it can be
; written is found out in the section, before anything is changed.
Function FolderProblem
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $1 ""
  StrLen $2 $0
  StrCpy $3 $0 3
  StrCpy $4 $0 2
  ${If} $2 > ${MAX_FOLDER}
    StrCpy $1 "the path is longer than ${MAX_FOLDER} characters"
  ${ElseIf} ${FileExists} "$0\*.*"
    ; an existing folder: the remaining checks still apply to its name
  ${ElseIf} ${FileExists} $0
    StrCpy $1 "it is a file"
  ${EndIf}
  ${If} $1 == ""
    ${If} $4 == "\\"
      StrCpy $4 2  ; the server and share names follow
    ${Else}
      StrCpy $4 $0 1
      ${StrFilter} $4 "2" "" "" $3  ; the drive: one letter
      StrCpy $4 $0 2 1
      ${If} $3 == ""
      ${OrIf} $4 != ":\"
        StrCpy $1 "it is not a full path (C:\Folder or \\server\share\Folder)"
      ${EndIf}
      StrCpy $4 3
    ${EndIf}
  ${EndIf}
  ${If} $1 == ""
  ${AndIf} $2 <= $4
    StrCpy $1 "it is the root of a drive"
  ${EndIf}
  ${If} $1 == ""
    ; Each character after the drive: none that Windows forbids, and no name ending in a dot or a
    ; space (Windows would drop it and install elsewhere).
    ${ForEach} $R9 $4 $2 + 1
      StrCpy $3 $0 1 $R9
      IntOp $R8 $R9 - 1
      StrCpy $R8 $0 1 $R8
      ${If} $3 == "<"
      ${OrIf} $3 == ">"
      ${OrIf} $3 == ":"
      ${OrIf} $3 == '"'
      ${OrIf} $3 == "/"
      ${OrIf} $3 == "|"
      ${OrIf} $3 == "?"
      ${OrIf} $3 == "*"
        StrCpy $1 "it holds the character $3, which Windows forbids in names"
        ${Break}
      ${EndIf}
      ${If} $3 == "\"
      ${OrIf} $3 == ""
        ${If} $R8 == "."
        ${OrIf} $R8 == " "
        ${OrIf} $R8 == "\"
          StrCpy $1 "a folder name in it is empty or ends with a dot or a space"
          ${Break}
        ${EndIf}
      ${EndIf}
    ${Next}
  ${EndIf}
  Pop $4
  Pop $3
  Pop $2
  Exch $1
  Exch
  Pop $0
FunctionEnd

Function DirectoryPageLeave
  Push $INSTDIR
  Call FolderProblem
  Pop $0
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "${PRODUCT} cannot be installed in $\"$INSTDIR$\": $0. Choose another folder."
    Abort
  ${EndIf}
  StrCpy $FolderGiven 1
FunctionEnd

Function ModePageShow
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 20u "Install ${PRODUCT} ${VERSION}, the leader numbering add-in, for:"
  Pop $0
  ${NSD_CreateRadioButton} 10u 24u 100% 12u "&Everyone who uses this computer (needs administrator rights)"
  Pop $ModeMachine
  ${NSD_CreateRadioButton} 10u 40u 100% 12u "Only &me (no administrator rights needed)"
  Pop $ModeUser
  ${If} $PerUser == 1
    ${NSD_Check} $ModeUser
  ${Else}
    ${NSD_Check} $ModeMachine
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $ModeUser $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $PerUser 1
  ${ElseIfNot} ${IsAdmin}
    MessageBox MB_OK|MB_ICONEXCLAMATION "Installing for everyone needs administrator rights. Choose $\"Only me$\", or start the installer as administrator."
    Abort
  ${Else}
    StrCpy $PerUser 0
  ${EndIf}
  Call ApplyMode
FunctionEnd

; On 64-bit Windows the 32-bit DLL goes to the 32-bit programs folder when everything else goes
; to the default 64-bit one, and to the subfolder x86 of any other folder.
Function SetFolder32
  ${If} ${RunningX64}
    ${If} $PerUser == 0
    ${AndIf} $INSTDIR == "$PROGRAMFILES64\Varnkit"
      StrCpy $Folder32 "$PROGRAMFILES32\Varnkit"
    ${Else}
      StrCpy $Folder32 "$INSTDIR\x86"
    ${EndIf}
  ${Else}
    StrCpy $Folder32 $INSTDIR
  ${EndIf}
FunctionEnd

; Pushes the first DLL, in $INSTDIR, $Folder32 and an earlier install's folders, that another
; program holds (a loaded DLL cannot be opened for writing), or "" when all are free.
!macro FIRST_HELD_DLL un
  Function ${un}FirstHeldDll
    Push $0
    Push $1
    Push $2
    StrCpy $0 ""
    ${ForEach} $1 1 4 + 1
      ${If} $1 == 1
        StrCpy $0 "$INSTDIR\Varnkit_TL.dll"
      ${ElseIf} $1 == 2
        StrCpy $0 "$Folder32\Varnkit_TL.dll"
      ${ElseIf} $1 == 3
        StrCpy $0 "$OldFolder\Varnkit_TL.dll"
      ${Else}
        StrCpy $0 "$OldFolder32\Varnkit_TL.dll"
      ${EndIf}
      ${If} $0 != "\Varnkit_TL.dll"
      ${AndIf} ${FileExists} $0
        ClearErrors
        FileOpen $2 $0 a
        ${If} ${Errors}
          ${Break}
        ${EndIf}
        FileClose $2
      ${EndIf}
      StrCpy $0 ""
    ${Next}
    Pop $2
    Pop $1
    Exch $0
  FunctionEnd
!macroend
!insertmacro FIRST_HELD_DLL ""
!insertmacro FIRST_HELD_DLL "un."

; Waits until no DLL is held, asking the user to close the program that holds one; on Cancel
; (and always when silent) stops with exit code 32 before anything changed.
!macro WAIT_UNTIL_FREE un cancelled
  check_held:
  Call ${un}FirstHeldDll
  Pop $0
  ${If} $0 != ""
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is in use: the drafting program (TurboCAD) or another program has loaded$\r$\n$0$\r$\n$\r$\nClose it and choose Retry. Cancel ${cancelled}." /SD IDCANCEL IDRETRY check_held
    SetErrorLevel ${EXIT_IN_USE}
    Abort "${PRODUCT} is in use; nothing was changed."
  ${EndIf}
!macroend

; Runs a regsvr32 with the mode's options and stops the installation when it fails.
!macro REGSVR32 program dll
  ExecWait '"${program}" /s $RegsvrScope "${dll}"' $0
  ${If} $0 <> 0
    DetailPrint "regsvr32 failed with $0"
    SetErrorLevel ${EXIT_FAILED}
    Abort "${PRODUCT} could not be registered."
  ${EndIf}
!macroend

; Puts a DLL in place; a program that took hold of it since the check stops the installation.
!macro PUT_DLL source folder
  SetOutPath "${folder}"
  ClearErrors
  File "/oname=Varnkit_TL.dll" "${source}"
  ${If} ${Errors}
    SetErrorLevel ${EXIT_IN_USE}
    Abort "${folder}\Varnkit_TL.dll is in use and could not be replaced."
  ${EndIf}
!macroend

; A newer version installed stays unless /Downgrade is given or the user agrees (silently: exit
; code 1638, nothing changed).
!macro REFUSE_DOWNGRADE
  ${If} $OldVersion != ""
    ${VersionCompare} $OldVersion "${VERSION}" $0
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/Downgrade" $2
    ${If} $0 == 1
    ${AndIf} ${Errors}
      MessageBox MB_YESNO|MB_ICONQUESTION "${PRODUCT} $OldVersion is installed, which is newer than ${VERSION}.$\r$\nReplace it with ${VERSION}?" /SD IDNO IDYES downgrade_agreed
      SetErrorLevel ${EXIT_NEWER_INSTALLED}
      Abort "${PRODUCT} $OldVersion is installed, which is newer than ${VERSION}; nothing was changed."
      downgrade_agreed:
    ${EndIf}
  ${EndIf}
!macroend

; Makes each folder the DLLs go to and writes a file there; a folder that cannot be written stops
; the installation with exit code 267 (not 32: nothing holds it, so trying again would not help),
; and the folders made for it are removed again.
!macro CHECK_FOLDERS_WRITABLE
  StrCpy $3 0
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    StrCpy $3 1
  ${EndIf}
  ${ForEach} $1 1 2 + 1
    ${If} $1 == 1
      StrCpy $0 $INSTDIR
    ${Else}
      StrCpy $0 $Folder32
    ${EndIf}
    ClearErrors
    CreateDirectory $0
    ${IfNot} ${Errors}
      FileOpen $2 "$0\Tallyline-write-check.tmp" w
      ${IfNot} ${Errors}
        FileClose $2
        Delete "$0\Tallyline-write-check.tmp"
        ${Continue}
      ${EndIf}
    ${EndIf}
    RMDir "$INSTDIR\x86"
    ${If} $3 == 1
      RMDir $INSTDIR
    ${EndIf}
    SetErrorLevel ${EXIT_BAD_FOLDER}
    Abort "${PRODUCT} cannot write to $0; nothing was changed."
  ${Next}
!macroend

Section "Tallyline"
  Call SetFolder32
  ${If} $OldFolder == $INSTDIR
    StrCpy $OldFolder ""
  ${EndIf}
  ${If} $OldFolder32 == $Folder32
    StrCpy $OldFolder32 ""
  ${EndIf}
  !insertmacro REFUSE_DOWNGRADE
  !insertmacro WAIT_UNTIL_FREE "" "leaves the installed version as it is"
  !insertmacro CHECK_FOLDERS_WRITABLE
  ; The uninstaller and its entry come before any DLL: whatever stops the installation later, what
  ; is registered can be removed. The version and the size are added once all is in place.
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Varnkit"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Folder32" "$Folder32"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  ; The uninstaller started in its own folder (_?=) is the process that does the work, so the
  ; caller waits for it and gets its exit code.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  SetOverwrite try
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    !insertmacro PUT_DLL "${DLL64}" "$INSTDIR"
    !insertmacro REGSVR32 "$WINDIR\System32\regsvr32.exe" "$INSTDIR\Varnkit_TL.dll"
    ${EnableX64FSRedirection}
    !insertmacro PUT_DLL "${DLL32}" "$Folder32"
    !insertmacro REGSVR32 "$WINDIR\SysWOW64\regsvr32.exe" "$Folder32\Varnkit_TL.dll"
  ${Else}
    !insertmacro PUT_DLL "${DLL32}" "$Folder32"
    !insertmacro REGSVR32 "$WINDIR\System32\regsvr32.exe" "$Folder32\Varnkit_TL.dll"
  ${EndIf}
  SetOverwrite on

  ; An earlier install elsewhere: its files go (the registration now names the new ones).
  ${If} $OldFolder != ""
    Delete "$OldFolder\Varnkit_TL.dll"
    Delete "$OldFolder\Uninstall.exe"
    RMDir "$OldFolder\x86"
    RMDir "$OldFolder"
  ${EndIf}
  ${If} $OldFolder32 != ""
    Delete "$OldFolder32\Varnkit_TL.dll"
    RMDir "$OldFolder32"
  ${EndIf}

  ${If} $PerUser == 1
    ; The user's own data folder, named to the add-in under HKEY_CURRENT_USER.
    CreateDirectory "$APPDATA\Varnkit\Data"
    WriteRegStr HKCU "${FAMILY_KEY}" "DataPath" "$APPDATA\Varnkit\Data\"
  ${Else}
    ; Every user may create and change files in the data folder (the picklist is saved there).
    CreateDirectory "${DATA_FOLDER}"
    nsExec::Exec 'icacls "${DATA_FOLDER}" /grant ${USERS_SID}:(OI)(CI)M'
    Pop $0
    DetailPrint "Data folder ${DATA_FOLDER} opened to every user: $0"
  ${EndIf}

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${If} $Folder32 != $INSTDIR
  ${AndIf} $Folder32 != "$INSTDIR\x86"
    ${GetSize} "$Folder32" "/M=Varnkit_TL.dll /S=0K" $1 $2 $3
    IntOp $0 $0 + $1
  ${EndIf}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller runs from a copy in the temporary folder, or in its own folder when started
; with _?=. It serves the install whose entry names its folder: the current user's, else the
; machine's; with neither it stops before changing anything.
Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/RemoveUninstaller" $1
  ${IfNot} ${Errors}
    ${ForEach} $1 1 50 + 1
      Delete "$INSTDIR\Uninstall.exe"
      ${IfNot} ${FileExists} "$INSTDIR\Uninstall.exe"
        ${Break}
      ${EndIf}
      Sleep 200
    ${Next}
    RMDir "$INSTDIR"
    Quit
  ${EndIf}
  ; Only its own install: an entry that names this folder, and this folder holding the
  ; uninstaller. A stale copy started for a folder that is gone touches nothing (exit code 1605).
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${IfNot} ${FileExists} "$INSTDIR\Uninstall.exe"
    StrCpy $PerUser ""
  ${ElseIf} $0 != ""
  ${AndIf} $0 == $INSTDIR
    StrCpy $PerUser 1
    SetShellVarContext current
    StrCpy $RegsvrScope "/n /i:user"
  ${ElseIf} $1 != ""
  ${AndIf} $1 == $INSTDIR
    StrCpy $PerUser 0
    SetShellVarContext all
    StrCpy $RegsvrScope ""
  ${Else}
    StrCpy $PerUser ""
  ${EndIf}
  ${If} $PerUser == ""
    MessageBox MB_OK|MB_ICONSTOP "No install of ${PRODUCT} is recorded in $\"$INSTDIR$\": nothing was removed." /SD IDOK
    SetErrorLevel ${EXIT_NOT_INSTALLED}
    Quit
  ${EndIf}
  ReadRegStr $Folder32 SHCTX "${UNINSTALL_KEY}" "Folder32"
  ${If} $Folder32 == ""
    StrCpy $Folder32 $INSTDIR
  ${EndIf}
  StrCpy $OldFolder ""
  StrCpy $OldFolder32 ""
FunctionEnd

Section "Uninstall"
  !insertmacro WAIT_UNTIL_FREE "un." "keeps ${PRODUCT} installed"
  ; Unregistering is tried for each DLL; what stays registered points at a file that is gone.
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    ExecWait '"$WINDIR\System32\regsvr32.exe" /s /u $RegsvrScope "$INSTDIR\Varnkit_TL.dll"'
    ${EnableX64FSRedirection}
    ExecWait '"$WINDIR\SysWOW64\regsvr32.exe" /s /u $RegsvrScope "$Folder32\Varnkit_TL.dll"'
  ${Else}
    ExecWait '"$WINDIR\System32\regsvr32.exe" /s /u $RegsvrScope "$Folder32\Varnkit_TL.dll"'
  ${EndIf}
  Delete "$INSTDIR\Varnkit_TL.dll"
  Delete "$Folder32\Varnkit_TL.dll"
  ${If} ${FileExists} "$INSTDIR\Varnkit_TL.dll"
  ${OrIf} ${FileExists} "$Folder32\Varnkit_TL.dll"
    ; Taken since the check: the entry and the uninstaller stay, so that it can be run again.
    SetErrorLevel ${EXIT_IN_USE}
    Abort "${PRODUCT} is in use and could not be removed completely."
  ${EndIf}
  RMDir "$Folder32"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ${If} $PerUser == 1
    DeleteRegValue HKCU "${FAMILY_KEY}" "DataPath"
    DeleteRegKey /ifempty HKCU "${FAMILY_KEY}"
  ${EndIf}
  ; The data folder and the picklist in it are the user's: they stay.
  ${If} $EXEDIR == $INSTDIR
    ; Started in its own folder: a running program cannot be deleted but can be moved on its
    ; volume, so it moves itself to the temporary folder (removed there at the next restart) and
    ; the folder is gone when it returns. On another volume a copy of it removes it later.
    GetTempFileName $0
    Delete $0
    ClearErrors
    Rename "$INSTDIR\Uninstall.exe" $0
    ${If} ${Errors}
      Exec '"$INSTDIR\Uninstall.exe" /RemoveUninstaller'
    ${Else}
      Delete /REBOOTOK $0
      RMDir "$INSTDIR"
    ${EndIf}
  ${Else}
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
  ${EndIf}
SectionEnd
