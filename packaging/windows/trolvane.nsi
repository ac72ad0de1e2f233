; The Windows installer: Trolvane for the current user only, without
; administrator rights, in %LOCALAPPDATA%\Programs\Trolvane, with a Start-menu
; shortcut and an entry in Windows' list of installed programs. /S installs
; and uninstalls silently.
;
; The build passes the version, the files and the output:
;   makensis -DVERSION=0.1.0 -DEXE=trolvane.exe -DREADME=README.txt
;            -DLICENCE=LICENSE.txt -DNOTICES=NOTICES.txt -DICON=trolvane.ico
;            -DOUTFILE=trolvane-0.1.0-setup.exe trolvane.nsi

Unicode true
; A 64-bit installer for a 64-bit program (it also keeps the registry and the
; folders in their 64-bit view).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
; No copyright line in the version information: the project states none.
!pragma warning disable 9100

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Trolvane"

Name "Trolvane"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Trolvane"
; An update goes where the user put the first installation.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Trolvane"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Trolvane setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "Trolvane developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\trolvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Trolvane"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENCE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Section "Trolvane"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "/oname=trolvane.exe" "${EXE}"
    File "/oname=README.txt" "${README}"
    File "/oname=LICENSE.txt" "${LICENCE}"
    File "/oname=NOTICES.txt" "${NOTICES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Trolvane.lnk" "$INSTDIR\trolvane.exe" "" "$INSTDIR\trolvane.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Trolvane"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\trolvane.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Trolvane developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; In KiB, as the list of installed programs shows it.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Trolvane.lnk"
    Delete "$INSTDIR\trolvane.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\NOTICES.txt"
    Delete "$INSTDIR\uninstall.exe"
    ; Only if empty: files the user put there stay.
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
