; Installer of the Tolvane Screen Saver (makensis 3): puts OrvikSaver.scr and its catalogue
; into the 64-bit system folder and the pictures into System32\OrvikSaver, makes it the
; current screen saver of the user who runs it, and registers an uninstaller that takes
; all of it away again and gives each user back the screen saver they had chosen before.
;
;   makensis -DSOURCE=<release folder> -DOUTFILE=<installer.exe> [-DICON=<file.ico>]
;            [-DSIGN=<command that signs the file named after it>] OrvikSaver.nsi
;
; The release folder holds OrvikSaver.scr, OrvikSaver.ini and the orvik-* pictures
; (scripts/package lays it out).
;
; Two halves. The files, the uninstaller and the uninstall entry are the machine's and need
; administrator rights; the choice of screen saver and the memory of the previous one are
; the user's. The installer (and the uninstaller) therefore starts with the rights of the
; user who runs it and does the user's half itself, so that HKEY_CURRENT_USER is that user's
; even when an administrator's password is typed into the elevation prompt. The machine's
; half runs in a second instance of the same program, started with the switch /MACHINE
; through the "runas" verb and waited for; only when it succeeded is the user's half done.
; An instance that already has the rights (an administrator with UAC off, or a silent
; install from an elevated prompt) does the machine's half itself.

!ifndef SOURCE
  !error "Define SOURCE, the release folder"
!endif
!ifndef OUTFILE
  !define OUTFILE "OrvikSaver-setup.exe"
!endif
!ifdef SIGN
  ; The uninstaller is signed before it is packed into the installer, which writes it out
  ; as it is; the installer, once it is made.
  !uninstfinalize '"${SIGN}" "%1"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif
!define VERSION "2.0.0.2"
!define PRODUCT "Tolvane Screen Saver"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvikSaver"
!define DESKTOP_KEY "Control Panel\Desktop"
; The saver's own per-user key (its preferences live there too); it also keeps the screen
; saver that this user had before installing.
!define SAVER_KEY "Software\Tolvane\OrvikSaver"
!define SAVER_FILE "OrvikSaver.scr"
!define SAVER_PATH "$WINDIR\System32\${SAVER_FILE}"

Unicode true
; The saver is a 64-bit program; so is its installer, which therefore sees the real
; System32 and the 64-bit registry.
Target amd64-unicode
SetCompressor /SOLID lzma
; Not admin: see above. The elevated instance asks for the rights itself.
RequestExecutionLevel user

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$WINDIR\System32\OrvikSaver"
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "Tolvane"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Tolvane"

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "This installs ${PRODUCT} ${VERSION} and makes it your screen saver.$\r$\n$\r$\nIt shows one of five moving pictures, which you choose in its settings; when you come back to the computer it can leave its last picture on your desktop.$\r$\n$\r$\nWindows asks for administrator rights to copy the files into its system folder.$\r$\n$\r$\nClick Install to continue."
; Opens the display settings with the new saver selected, as "Install" on a .scr does.
!define MUI_FINISHPAGE_RUN "$WINDIR\System32\rundll32.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "desk.cpl,InstallScreenSaver ${SAVER_PATH}"
!define MUI_FINISHPAGE_RUN_TEXT "Open the screen saver settings"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; SystemParametersInfo: SPI_SETSCREENSAVEACTIVE, told to every window
!define /ifndef SPI_SETSCREENSAVEACTIVE 17
!define /ifndef SPIF_SENDCHANGE 2
; The elevated instance
!define /ifndef SEE_MASK_NOCLOSEPROCESS 0x40
!define /ifndef SEE_MASK_NOASYNC 0x100
!define /ifndef SW_SHOWNORMAL 1
!define /ifndef INFINITE 0xFFFFFFFF
!define /ifndef ERROR_CANCELLED 1223
!define /ifndef TOKEN_QUERY 8
!define /ifndef TokenElevation 20
; Its exit code when it has done its work but some files go only at the next restart
!define EXIT_RESTART 3010
!define /ifndef MOVEFILE_DELAY_UNTIL_REBOOT 4
; The System plug-in lays structures out packed: an int that a pointer follows takes the
; pointer's size.
!if ${NSIS_PTR_SIZE} > 4
  !define INT_BEFORE_POINTER "&i8"
!else
  !define INT_BEFORE_POINTER "i"
!endif

Var MachineOnly    ; 1 in the elevated instance, which does the machine's half and nothing else
Var MachineResult  ; ok, restart (done, but some files go at the next restart), or what failed
Var OldMemory      ; 1 when an earlier version left its one memory under the uninstall key
Var OldSaverSet
Var OldSaver
Var OldActiveSet
Var OldActive
Var WasChosen      ; uninstall: 1 when this saver is the user's current one
Var Kept           ; uninstall: 1 when a file could be neither removed nor left for the restart

; What the installer and the uninstaller share; every function is needed in both, and the
; uninstaller's names begin with "un.".
!macro SHARED_FUNCTIONS UN

; /MACHINE: this is the elevated instance.
Function ${UN}ReadSwitches
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/MACHINE" $1
  ${IfNot} ${Errors}
    StrCpy $MachineOnly 1
    SetSilent silent
  ${EndIf}
FunctionEnd

; $0 = 1 when this process has administrator rights already: elevated, or an administrator
; with UAC off.
Function ${UN}IsElevated
  Push $1
  Push $2
  Push $3
  StrCpy $0 0
  System::Call 'kernel32::GetCurrentProcess() p .r1'
  System::Call 'advapi32::OpenProcessToken(p r1, i ${TOKEN_QUERY}, *p .r1) i .r2'
  ${If} $2 <> 0
    System::Call 'advapi32::GetTokenInformation(p r1, i ${TokenElevation}, *i .r3, i 4, *i .r2) i .r2'
    ${If} $2 <> 0
    ${AndIf} $3 <> 0
      StrCpy $0 1
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; Runs a program (on the stack below its switches) with administrator rights, waits for
; it, and sets $MachineResult from its exit code. ShellExecuteEx rather than ExecShell:
; only it gives back the process to wait for. SHELLEXECUTEINFOW: cbSize, fMask, hwnd,
; lpVerb, lpFile, lpParameters, lpDirectory, nShow, hInstApp, lpIDList, lpClass, hkeyClass,
; dwHotKey, hIcon, hProcess.
Function ${UN}RunElevated
  Exch $1
  Exch
  Exch $3
  Push $2
  Push $4
  Push $5
  System::Call '*(&l4, i ${SEE_MASK_NOCLOSEPROCESS}|${SEE_MASK_NOASYNC}, p $HWNDPARENT, w "runas", w r3, w r1, p 0, ${INT_BEFORE_POINTER} ${SW_SHOWNORMAL}, p 0, p 0, p 0, p 0, ${INT_BEFORE_POINTER} 0, p 0, p 0) p .r2'
  System::Call 'shell32::ShellExecuteExW(p r2) i .r4 ? e'
  Pop $5
  ${If} $4 = 0
    ${If} $5 = ${ERROR_CANCELLED}
      StrCpy $MachineResult "administrator rights were not given"
    ${Else}
      StrCpy $MachineResult "it could not be started with administrator rights (error $5)"
    ${EndIf}
  ${Else}
    System::Call '*$2(i, i, p, p, p, p, p, ${INT_BEFORE_POINTER}, p, p, p, p, ${INT_BEFORE_POINTER}, p, p .r4)'
    ${If} $4 P= 0
      StrCpy $MachineResult "it could not be started with administrator rights"
    ${Else}
      System::Call 'kernel32::WaitForSingleObject(p r4, i ${INFINITE})'
      System::Call 'kernel32::GetExitCodeProcess(p r4, *i .r5) i .r3'
      System::Call 'kernel32::CloseHandle(p r4)'
      ${If} $3 = 0
        StrCpy $MachineResult "its end could not be told"
      ${ElseIf} $5 = 0
        StrCpy $MachineResult ok
      ${ElseIf} $5 = ${EXIT_RESTART}
        StrCpy $MachineResult restart
      ${Else}
        StrCpy $MachineResult "the part with administrator rights failed (exit code $5)"
      ${EndIf}
    ${EndIf}
  ${EndIf}
  System::Free $2
  Pop $5
  Pop $4
  Pop $2
  Pop $3
  Pop $1
FunctionEnd

; The elevated instance tells its result by its exit code.
Function ${UN}ExitWithMachineResult
  ${If} $MachineResult == ok
    SetErrorLevel 0
  ${ElseIf} $MachineResult == restart
    SetErrorLevel ${EXIT_RESTART}
  ${Else}
    SetErrorLevel 2
  ${EndIf}
FunctionEnd

; $0 = 1 when the path on the stack names this saver, whatever its spelling: by file name,
; in any case and in any folder, or by a short 8.3 name, which only the file system can
; resolve (so while the file is there).
Function ${UN}IsThisSaver
  Exch $1
  Push $2
  Push $3
  StrCpy $0 0
  System::Call 'kernel32::GetLongPathNameW(w r1, w .r2, i ${NSIS_MAX_STRLEN}) i .r3'
  ${If} $3 = 0
  ${OrIf} $3 >= ${NSIS_MAX_STRLEN}
    StrCpy $2 $1
  ${EndIf}
  StrLen $3 "\${SAVER_FILE}"
  StrCpy $3 $2 "" -$3
  ; StrCmp, and so ==, ignores case.
  ${If} $3 == "\${SAVER_FILE}"
  ${OrIf} $2 == "${SAVER_FILE}"
    StrCpy $0 1
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP|MB_OK "${PRODUCT} needs a 64-bit edition of Windows." /SD IDOK
    Abort
  ${EndIf}
  ; A 64-bit installer is never redirected; this keeps the paths right if it is ever
  ; built as a 32-bit one.
  ${DisableX64FSRedirection}
  SetRegView 64
  Call ReadSwitches
FunctionEnd

Function un.onInit
  ${DisableX64FSRedirection}
  SetRegView 64
  Call un.ReadSwitches
FunctionEnd

; The machine's half of installing. Whatever is copied can be taken away again: the
; uninstaller and its entry come first.
Function MachineInstall
  ; Earlier versions remembered one previous saver for the whole machine here; the memory
  ; is per user now (the user's half takes it over).
  DeleteRegValue HKLM "${UNINSTALL_KEY}" "PreviousScrnSaveSet"
  DeleteRegValue HKLM "${UNINSTALL_KEY}" "PreviousScrnSave"
  DeleteRegValue HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActiveSet"
  DeleteRegValue HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive"

  ClearErrors
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tolvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${SAVER_PATH},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  SetOutPath "$WINDIR\System32"
  File "${SOURCE}\OrvikSaver.scr"
  File "${SOURCE}\OrvikSaver.ini"
  SetOutPath "$INSTDIR"
  File "${SOURCE}\orvik-*.jpg"
  File "${SOURCE}\orvik-*.bmp"
  File "${SOURCE}\README-Windows.txt"
  ${If} ${Errors}
    StrCpy $MachineResult "not every file could be copied (is the saver running, or its preview showing?)"
  ${Else}
    StrCpy $MachineResult ok
  ${EndIf}
  ${GetSize} "$INSTDIR" "/S=0K" $2 $3 $4
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $2
FunctionEnd

; Before the machine's half removes it: what an earlier version remembered for everyone.
Function ReadOldMemory
  StrCpy $OldMemory 0
  ClearErrors
  ReadRegDWORD $OldSaverSet HKLM "${UNINSTALL_KEY}" "PreviousScrnSaveSet"
  ReadRegStr $OldSaver HKLM "${UNINSTALL_KEY}" "PreviousScrnSave"
  ReadRegDWORD $OldActiveSet HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActiveSet"
  ReadRegStr $OldActive HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
  ${IfNot} ${Errors}
    StrCpy $OldMemory 1
  ${EndIf}
FunctionEnd

!macro REMEMBER SAVER_SET SAVER ACTIVE_SET ACTIVE
  WriteRegDWORD HKCU "${SAVER_KEY}" "PreviousScrnSaveSet" ${SAVER_SET}
  WriteRegStr HKCU "${SAVER_KEY}" "PreviousScrnSave" "${SAVER}"
  WriteRegDWORD HKCU "${SAVER_KEY}" "PreviousScreenSaveActiveSet" ${ACTIVE_SET}
  WriteRegStr HKCU "${SAVER_KEY}" "PreviousScreenSaveActive" "${ACTIVE}"
!macroend

; The user's half of installing: remember this user's screen saver, unless it is this one
; already (installing again must not remember itself and lose the original), and make this
; one theirs.
Function UserInstall
  ClearErrors
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} ${Errors}
    StrCpy $2 0
  ${Else}
    StrCpy $2 1
  ${EndIf}
  ClearErrors
  ReadRegStr $3 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
  ${If} ${Errors}
    StrCpy $4 0
  ${Else}
    StrCpy $4 1
  ${EndIf}
  Push $1
  Call IsThisSaver
  ${If} $0 = 0
    !insertmacro REMEMBER $2 $1 $4 $3
  ${Else}
    ClearErrors
    ReadRegDWORD $5 HKCU "${SAVER_KEY}" "PreviousScrnSaveSet"
    ${If} ${Errors}
    ${AndIf} $OldMemory = 1
      !insertmacro REMEMBER $OldSaverSet $OldSaver $OldActiveSet $OldActive
    ${EndIf}
  ${EndIf}

  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "${SAVER_PATH}"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SENDCHANGE})'
FunctionEnd

Section "Install"
  ${If} $MachineOnly = 1
    Call MachineInstall
    Call ExitWithMachineResult
    Return
  ${EndIf}

  Call ReadOldMemory
  Call IsElevated
  ${If} $0 = 1
    Call MachineInstall
  ${Else}
    DetailPrint "Copying the files into $WINDIR\System32 with administrator rights"
    Push "$EXEPATH"
    ; /D= must come last.
    Push "/MACHINE /D=$INSTDIR"
    Call RunElevated
  ${EndIf}
  ; Not a word about the saver to the user's settings unless it is there.
  ${If} $MachineResult != ok
    MessageBox MB_ICONSTOP|MB_OK "${PRODUCT} was not installed: $MachineResult." /SD IDOK
    Abort "Not installed: $MachineResult"
  ${EndIf}
  Call UserInstall
SectionEnd

; Removes the file or (empty) folder now or, when it is held open (a running preview holds
; the saver), at the next restart, as Delete /REBOOTOK and RMDir /REBOOTOK do; but these do
; not tell whether the restart will take it, and the uninstall entry must stay while a file
; is neither gone nor on its way: $Kept becomes 1 then.
!macro REMOVE_NOW_OR_AT_RESTART COMMAND PATH
  ClearErrors
  ${COMMAND} "${PATH}"
  ${If} ${Errors}
    Push "${PATH}"
    Call un.RemoveAtRestart
  ${EndIf}
!macroend

Function un.RemoveAtRestart
  Exch $1
  Push $2
  System::Call 'kernel32::MoveFileExW(w r1, p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT}) i .r2'
  ${If} $2 <> 0
    SetRebootFlag true
    DetailPrint "In use, removed at the next restart: $1"
  ${Else}
    StrCpy $Kept 1
    DetailPrint "Could not be removed: $1"
  ${EndIf}
  Pop $2
  Pop $1
FunctionEnd

Function un.RemoveMatching
  Exch $1
  Push $2
  Push $3
  Push $4
  ${un.GetParent} $1 $4
  FindFirst $2 $3 $1
  ${DoWhile} $3 != ""
    !insertmacro REMOVE_NOW_OR_AT_RESTART Delete "$4\$3"
    FindNext $2 $3
  ${Loop}
  FindClose $2
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; The machine's half of uninstalling. The uninstaller and its entry go last, and only once
; every other file is gone or on its way: until then they can try again.
Function un.MachineUninstall
  StrCpy $Kept 0
  ; The saver first: it is the file that is held open, and while it stays everything
  ; else stays with it, the user's choice of it included.
  !insertmacro REMOVE_NOW_OR_AT_RESTART Delete "${SAVER_PATH}"
  ${If} $Kept <> 0
    StrCpy $MachineResult "the screen saver is in use and could not be removed"
    Return
  ${EndIf}
  !insertmacro REMOVE_NOW_OR_AT_RESTART Delete "$WINDIR\System32\OrvikSaver.ini"
  Push "$INSTDIR\orvik-*.jpg"
  Call un.RemoveMatching
  Push "$INSTDIR\orvik-*.bmp"
  Call un.RemoveMatching
  !insertmacro REMOVE_NOW_OR_AT_RESTART Delete "$INSTDIR\README-Windows.txt"
  ${If} $Kept <> 0
    StrCpy $MachineResult "some of its files could not be removed"
    Return
  ${EndIf}
  ; Decided before the uninstaller's turn: run in place, it leaves itself and its folder
  ; to the restart as a matter of course, which is not worth a word to the user.
  ${If} ${RebootFlag}
    StrCpy $MachineResult restart
  ${Else}
    StrCpy $MachineResult ok
  ${EndIf}
  !insertmacro REMOVE_NOW_OR_AT_RESTART Delete "$INSTDIR\Uninstall.exe"
  ${If} $Kept <> 0
    StrCpy $MachineResult "its uninstaller could not be removed"
    Return
  ${EndIf}
  ; With the uninstaller gone (or going), the entry must go too; an empty folder left
  ; behind would not matter.
  !insertmacro REMOVE_NOW_OR_AT_RESTART RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ClearErrors
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "UninstallString"
  ${IfNot} ${Errors}
    StrCpy $MachineResult "its entry in the list of programs could not be removed"
  ${EndIf}
FunctionEnd

; The user's half of uninstalling: while this saver is still the chosen one, give back the
; one this user had before (a saver they chose since is left alone); then forget it.
Function un.UserUninstall
  ${If} $WasChosen = 1
    ClearErrors
    ReadRegDWORD $1 HKCU "${SAVER_KEY}" "PreviousScrnSaveSet"
    ReadRegStr $2 HKCU "${SAVER_KEY}" "PreviousScrnSave"
    ${If} $1 = 1
    ${AndIfNot} ${Errors}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
    ${Else}
      ; No saver before, or nothing remembered: nothing must name the removed file.
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
    ClearErrors
    ReadRegDWORD $1 HKCU "${SAVER_KEY}" "PreviousScreenSaveActiveSet"
    ReadRegStr $2 HKCU "${SAVER_KEY}" "PreviousScreenSaveActive"
    ${IfNot} ${Errors}
      ${If} $1 = 1
        ${If} $2 == "1"
          System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SENDCHANGE})'
        ${Else}
          System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_SENDCHANGE})'
        ${EndIf}
        ; After the notice, which may write the value itself.
        WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $2
      ${Else}
        DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
      ${EndIf}
    ${EndIf}
  ${EndIf}
  DeleteRegValue HKCU "${SAVER_KEY}" "PreviousScrnSaveSet"
  DeleteRegValue HKCU "${SAVER_KEY}" "PreviousScrnSave"
  DeleteRegValue HKCU "${SAVER_KEY}" "PreviousScreenSaveActiveSet"
  DeleteRegValue HKCU "${SAVER_KEY}" "PreviousScreenSaveActive"
FunctionEnd

Section "Uninstall"
  ${If} $MachineOnly = 1
    Call un.MachineUninstall
    Call un.ExitWithMachineResult
    Return
  ${EndIf}

  ; Decided while the file is still there, for a short name only resolves then.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Push $0
  Call un.IsThisSaver
  StrCpy $WasChosen $0

  Call un.IsElevated
  ${If} $0 = 1
    Call un.MachineUninstall
  ${Else}
    DetailPrint "Removing the files from $WINDIR\System32 with administrator rights"
    ; The installed uninstaller, which only administrators can change, rather than this
    ; copy of it in the user's temporary folder. Run where it is (_?=, which must come
    ; last), it cannot remove itself; it goes with its folder at the next restart.
    Push "$INSTDIR\Uninstall.exe"
    Push "/MACHINE _?=$INSTDIR"
    Call un.RunElevated
  ${EndIf}
  ${If} $MachineResult != ok
  ${AndIf} $MachineResult != restart
    MessageBox MB_ICONSTOP|MB_OK "${PRODUCT} was not removed: $MachineResult." /SD IDOK
    Abort "Not removed: $MachineResult"
  ${EndIf}
  Call un.UserUninstall
  ${If} $MachineResult == restart
    SetRebootFlag true
    MessageBox MB_ICONINFORMATION|MB_OK "The screen saver is in use; its remaining files are removed when Windows restarts." /SD IDOK
  ${EndIf}
SectionEnd
