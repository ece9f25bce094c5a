; The Windows installer of Varnoth, made by scripts/windows with makensis:
;   makensis -DVERSION=<version> -DICON=<varnoth.ico> -DFILES=<install list>
;            -DUNFILES=<remove list> -DOUTFILE=<setup.exe> varnoth.nsi
; The uninstaller removes exactly the files it installed. It never removes a data folder: neither
; %APPDATA%\Varnoth\picture_1 nor a picture_1 beside the program; a folder that still holds
; anything stays.
; A 64-bit installer for the 64-bit program (it also runs under wine64, which the tests use).
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"

!define PRODUCT "Varnoth"
!define THAINAME "วาร์นอท บัญชีหวย"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnoth"

Name "${PRODUCT} ${VERSION}"
Caption "${THAINAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Varnoth"
InstallDirRegKey HKLM "${UNINSTKEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Varnoth setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Varnoth"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\varnoth.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Thai"
!insertmacro MUI_LANGUAGE "English"

Section "Varnoth"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateDirectory "$SMPROGRAMS\${THAINAME}"
    CreateShortcut "$SMPROGRAMS\${THAINAME}\${THAINAME}.lnk" "$INSTDIR\varnoth.exe" "" "$INSTDIR\varnoth.exe" 0
    CreateShortcut "$SMPROGRAMS\${THAINAME}\ถอนการติดตั้ง ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"
    CreateShortcut "$DESKTOP\${THAINAME}.lnk" "$INSTDIR\varnoth.exe" "" "$INSTDIR\varnoth.exe" 0
    WriteRegStr HKLM "${UNINSTKEY}" "DisplayName" "${THAINAME} (${PRODUCT})"
    WriteRegStr HKLM "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTKEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\varnoth.exe"
    WriteRegStr HKLM "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegDWORD HKLM "${UNINSTKEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$DESKTOP\${THAINAME}.lnk"
    Delete "$SMPROGRAMS\${THAINAME}\${THAINAME}.lnk"
    Delete "$SMPROGRAMS\${THAINAME}\ถอนการติดตั้ง ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\${THAINAME}"
    !include "${UNFILES}"
    Delete "$INSTDIR\uninstall.exe"
    ; Not /r: the folder goes only when empty, so a data folder inside it is kept.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTKEY}"
SectionEnd
