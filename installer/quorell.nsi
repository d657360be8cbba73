; The Windows installer: a per-machine install under Program Files\Quorell
; with a Start-menu shortcut and an uninstaller registered with Add/Remove
; Programs. The build calls makensis with
;   VERSION  the program's version (1.2.3)
;   STAGE    the folder holding the files to ship
;   ICON     the program's icon file
;   OUTFILE  the installer to write
; The user's images, videos, reports and settings live elsewhere (Documents,
; HKCU) and an uninstall leaves them alone.

; A 64-bit installer for a 64-bit program (it also runs where Windows has no
; 32-bit layer, as a 64-bit-only Wine).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Quorell"
!define PUBLISHER "Quorell"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorell"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quorell.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/Licences.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "${PRODUCT} needs a 64-bit Windows." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

!define APP_KEY "Software\Classes\Applications\Quorell.exe"
!define PROGID "Quorell.Picture"

Section "Quorell"
    SectionIn RO
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*.*"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Quorell.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quorell.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; Offered in Explorer's "Open with" for the pictures it opens; no
    ; association is changed.
    WriteRegStr HKLM "${APP_KEY}\shell\open\command" "" '"$INSTDIR\Quorell.exe" "%1"'
    WriteRegStr HKLM "${APP_KEY}\SupportedTypes" ".jpg" ""
    WriteRegStr HKLM "${APP_KEY}\SupportedTypes" ".jpeg" ""
    WriteRegStr HKLM "${APP_KEY}\SupportedTypes" ".png" ""
    WriteRegStr HKLM "${APP_KEY}\SupportedTypes" ".bmp" ""
    WriteRegStr HKLM "${APP_KEY}\SupportedTypes" ".tif" ""
    WriteRegStr HKLM "${APP_KEY}\SupportedTypes" ".tiff" ""
SectionEnd

; The user's choice, unticked unless chosen: TIFF files open with Quorell.
Section /o "Open TIFF pictures with Quorell"
    WriteRegStr HKLM "Software\Classes\${PROGID}" "" "TIFF picture"
    WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\Quorell.exe,0"
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\Quorell.exe" "%1"'
    WriteRegStr HKLM "Software\Classes\.tif" "" "${PROGID}"
    WriteRegStr HKLM "Software\Classes\.tiff" "" "${PROGID}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED
SectionEnd

; An extension's association is undone only where it is still Quorell's.
!macro UnassociateExtension extension
    ReadRegStr $0 HKLM "Software\Classes\${extension}" ""
    StrCmp $0 "${PROGID}" 0 +2
    DeleteRegValue HKLM "Software\Classes\${extension}" ""
!macroend

; Only what the installer put there: a file the user saved into the program
; folder keeps the folder.
Section "Uninstall"
    ; The registrations go first, so that none is left once the folder is gone.
    DeleteRegKey HKLM "${APP_KEY}"
    !insertmacro UnassociateExtension ".tif"
    !insertmacro UnassociateExtension ".tiff"
    DeleteRegKey HKLM "Software\Classes\${PROGID}"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    !include "${STAGE}/../uninstall-files.nsh"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
