; Quorl's Windows installer, built on Linux by scripts/package-windows.sh:
;   makensis -DVERSION=x.y.z -DSCR=path/quorl.scr -DDATA=folder -DOUTFILE=setup.exe quorl.nsi
; It puts quorl.scr where Windows lists screen savers (the system folder),
; the default verse files, picture list and pictures where the saver reads
; them (the Windows directory's "system" folder) without replacing any file
; the user already has, optionally makes Quorl the current saver, and
; registers an uninstaller that takes back only what was added.

; The 64-bit stub: quorl.scr is a 64-bit program, and $SYSDIR is then the
; real system folder, not the 32-bit one behind the file system redirector.
Target amd64-unicode
!include LogicLib.nsh

Name "Quorl"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quorl"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorl"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SETTINGS_KEY "Software\Zovex Screen Savers\quorl"
!define DATA_DIR "$WINDIR\system"
!define SAVER "$SYSDIR\quorl.scr"

Page components
Page instfiles
UninstPage uninstConfirm
UninstPage components
UninstPage instfiles

; A data file goes in only where the user has none; the ones added are
; recorded with their time stamps, so that the uninstaller can tell them
; from files the user has since changed.
!macro AddDataFile NAME
  ${IfNot} ${FileExists} "${DATA_DIR}\${NAME}"
    File "/oname=${DATA_DIR}\${NAME}" "${DATA}\${NAME}"
    GetFileTime "${DATA_DIR}\${NAME}" $0 $1
    WriteRegStr HKLM "${UNINST_KEY}" "Added ${NAME}" "$0 $1"
  ${EndIf}
!macroend

Section "Quorl screen saver (required)" SecSaver
  SectionIn RO
  SetOverwrite on
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  File "/oname=${SAVER}" "${SCR}"

  SetOverwrite off
  CreateDirectory "${DATA_DIR}"
  !insertmacro AddDataFile "fives.txt"
  !insertmacro AddDataFile "sevens.txt"
  !insertmacro AddDataFile "GIFList.txt"
  !insertmacro AddDataFile "autumn.gif"
  !insertmacro AddDataFile "dusk.gif"
  !insertmacro AddDataFile "hills.gif"
  !insertmacro AddDataFile "snow.gif"

  ; Under "Apps" (and "Programs and Features").
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "Quorl"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "Zovex Screen Savers"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "${SAVER},0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" 512
SectionEnd

; The values the Screen Saver control panel writes. What was there before is
; kept, so that uninstalling can put it back.
Section "Make Quorl the current screen saver" SecCurrent
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != "${SAVER}"
    WriteRegStr HKLM "${UNINST_KEY}" "PreviousSaver" $0
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    WriteRegStr HKLM "${UNINST_KEY}" "PreviousActive" $0
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "${SAVER}"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  WriteRegDWORD HKLM "${UNINST_KEY}" "MadeCurrent" 1
SectionEnd

; An added file goes unless the user has changed it since.
!macro RemoveDataFile NAME
  ReadRegStr $0 HKLM "${UNINST_KEY}" "Added ${NAME}"
  ${If} $0 != ""
    GetFileTime "${DATA_DIR}\${NAME}" $1 $2
    ${If} "$1 $2" == $0
      Delete "${DATA_DIR}\${NAME}"
    ${EndIf}
  ${EndIf}
!macroend

; Off unless ticked: the verse files and the picture list, whoever wrote
; them, and the settings. It runs first, so that what it removes is gone
; before the next section looks for changed files.
Section /o "un.Also remove my verse files, picture list and settings" SecUnUserData
  Delete "${DATA_DIR}\fives.txt"
  Delete "${DATA_DIR}\sevens.txt"
  Delete "${DATA_DIR}\GIFList.txt"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Zovex Screen Savers"
SectionEnd

Section "un.Quorl screen saver" SecUnSaver
  SectionIn RO
  ; The current saver goes back to what it was, unless the user has chosen
  ; another since.
  ReadRegDWORD $0 HKLM "${UNINST_KEY}" "MadeCurrent"
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == 1
  ${AndIf} $1 == "${SAVER}"
    ReadRegStr $1 HKLM "${UNINST_KEY}" "PreviousSaver"
    ${If} $1 == ""
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $1
    ${EndIf}
    ReadRegStr $1 HKLM "${UNINST_KEY}" "PreviousActive"
    ${If} $1 == ""
      DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $1
    ${EndIf}
  ${EndIf}

  !insertmacro RemoveDataFile "fives.txt"
  !insertmacro RemoveDataFile "sevens.txt"
  !insertmacro RemoveDataFile "GIFList.txt"
  !insertmacro RemoveDataFile "autumn.gif"
  !insertmacro RemoveDataFile "dusk.gif"
  !insertmacro RemoveDataFile "hills.gif"
  !insertmacro RemoveDataFile "snow.gif"

  Delete "${SAVER}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
