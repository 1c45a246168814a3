; The Windows installer: a per-user installation, no administrator rights. The program directory
; is the user's own, so music, the emulator and the copies the show makes can go into it.
; Made by scripts/package-windows.sh, which passes on the command line:
;   VERSION   the program's version (from CMake), and FILE_VERSION the same in four numbers
;   DIST      the folder to install (build-windows/dist/TrelvinShow)
;   FILES     a generated script with the File commands for everything in DIST
;   UNFILES   a generated script that deletes exactly those files and their folders
;   OUTFILE   the installer to write
; Silent installs: /S; /SCREENSAVER also makes it the current user's screen saver.

; 64-bit, like the program (and Wine without its 32-bit part runs only these).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define NAME "Trelvin Show"
!define PUBLISHER "Orla Venn"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TrelvinShow"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\TrelvinShow"
; A new version goes where the last one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${NAME} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\TrelvinShow.exe"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "${NAME}" SecProgram
  SectionIn RO
  SetShellVarContext current
  !include "${FILES}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\TrelvinShow.exe" "" \
    "$INSTDIR\TrelvinShow.exe" 0 SW_SHOWNORMAL "" "Slide show of your screen captures"

  ; The user's "Apps" list.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\TrelvinShow.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; The size of what this section installs, not of what the user adds to the folder.
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Off unless chosen on the components page or with /SCREENSAVER. Screen savers outside the
; system folder are not listed in the screen-saver settings, so this is how to pick this one.
Section /o "Use as my screen saver" SecScreenSaver
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\TrelvinShow.scr"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} \
    "The program, its screen-saver file and the author's pages, a Start-menu shortcut and an uninstaller."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecScreenSaver} \
    "Make ${NAME} your screen saver (for your account only)."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SCREENSAVER" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecScreenSaver}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  ; The screen saver only while it is still ours, in the long or the short form of the path (the
  ; short one exists only while the file does).
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$INSTDIR\TrelvinShow.scr"
  ${If} $0 != ""
    ${If} $0 == "$INSTDIR\TrelvinShow.scr"
    ${OrIf} $0 == $1
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
  ${EndIf}

  ; Only what the installer put there: music, the emulator, captures and copies stay, and so
  ; does the folder unless it is empty.
  !include "${UNFILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${NAME}.lnk"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The settings under "VB and VBA Program Settings" are the user's and stay.
SectionEnd
