; Installer of the Tolvane Screen Saver (makensis 3): puts OrvikSaver.scr and its catalogue
; into the 64-bit system folder and the pictures into System32\OrvikSaver, makes it the
; current screen saver, and registers an uninstaller that takes all of it away again and
; gives back the screen saver that was chosen before.
;
;   makensis -DSOURCE=<release folder> -DOUTFILE=<installer.exe> [-DICON=<file.ico>] OrvikSaver.nsi
;
; The release folder holds OrvikSaver.scr, OrvikSaver.ini and the orvik-* pictures
; (scripts/package lays it out).

!ifndef SOURCE
  !error "Define SOURCE, the release folder"
!endif
!ifndef OUTFILE
  !define OUTFILE "OrvikSaver-setup.exe"
!endif
!define VERSION "2.0.0.2"
!define PRODUCT "Tolvane Screen Saver"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvikSaver"
!define DESKTOP_KEY "Control Panel\Desktop"

Unicode true
; The saver is a 64-bit program; so is its installer, which therefore sees the real
; System32 and the 64-bit registry.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

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
!define MUI_WELCOMEPAGE_TEXT "This installs ${PRODUCT} ${VERSION} and makes it your screen saver.$\r$\n$\r$\nIt shows one of five moving pictures, which you choose in its settings; when you come back to the computer it can leave its last picture on your desktop.$\r$\n$\r$\nClick Install to continue."
; Opens the display settings with the new saver selected, as "Install" on a .scr does.
!define MUI_FINISHPAGE_RUN "$WINDIR\System32\rundll32.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "desk.cpl,InstallScreenSaver $WINDIR\System32\OrvikSaver.scr"
!define MUI_FINISHPAGE_RUN_TEXT "Open the screen saver settings"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; SystemParametersInfo: SPI_SETSCREENSAVEACTIVE, told to every window
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_SENDCHANGE 2

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP|MB_OK "${PRODUCT} needs a 64-bit edition of Windows." /SD IDOK
    Abort
  ${EndIf}
  ; A 64-bit installer is never redirected; this keeps the paths right if it is ever
  ; built as a 32-bit one.
  ${DisableX64FSRedirection}
  SetRegView 64
FunctionEnd

Function un.onInit
  ${DisableX64FSRedirection}
  SetRegView 64
FunctionEnd

Section "Install"
  ; Remember the screen saver the user had, unless it is already this one (a second
  ; install must not remember itself and lose the original).
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != "$WINDIR\System32\OrvikSaver.scr"
    ClearErrors
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} ${Errors}
      WriteRegDWORD HKLM "${UNINSTALL_KEY}" "PreviousScrnSaveSet" 0
      WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScrnSave" ""
    ${Else}
      WriteRegDWORD HKLM "${UNINSTALL_KEY}" "PreviousScrnSaveSet" 1
      WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScrnSave" $0
    ${EndIf}
    ClearErrors
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${If} ${Errors}
      WriteRegDWORD HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActiveSet" 0
      WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive" ""
    ${Else}
      WriteRegDWORD HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActiveSet" 1
      WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive" $1
    ${EndIf}
  ${EndIf}

  SetOutPath "$WINDIR\System32"
  File "${SOURCE}\OrvikSaver.scr"
  File "${SOURCE}\OrvikSaver.ini"
  SetOutPath "$INSTDIR"
  File "${SOURCE}\orvik-*.jpg"
  File "${SOURCE}\orvik-*.bmp"
  File "${SOURCE}\README-Windows.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$WINDIR\System32\OrvikSaver.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SENDCHANGE})'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tolvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$WINDIR\System32\OrvikSaver.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $2 $3 $4
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $2
SectionEnd

Section "Uninstall"
  ; Give back the previous screen saver, but only while this one is still chosen: a
  ; saver that the user picked since is left alone.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$WINDIR\System32\OrvikSaver.scr"
    ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "PreviousScrnSaveSet"
    ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "PreviousScrnSave"
    ${If} $1 == 1
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
    ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActiveSet"
    ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
    ${If} $1 == 1
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $2
      ${If} $2 == "1"
        System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SENDCHANGE})'
      ${Else}
        System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_SENDCHANGE})'
        WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $2
      ${EndIf}
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${EndIf}
  ${EndIf}

  Delete "$WINDIR\System32\OrvikSaver.scr"
  Delete "$WINDIR\System32\OrvikSaver.ini"
  Delete "$INSTDIR\orvik-*.jpg"
  Delete "$INSTDIR\orvik-*.bmp"
  Delete "$INSTDIR\README-Windows.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; Last, so that its absence tells that the uninstall has finished.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
