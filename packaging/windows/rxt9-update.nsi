; The Windows installer of the KALDERON RX-T9 update tool: rxt9-update.exe and README.txt in
; Program Files, a Start menu entry, an uninstaller and its entry in the list of installed
; programs. The vendor's ZELPORT.dll is not part of it: the user puts it beside the program.
;
; makensis -DVERSION=1.20 -DSTAGE=<dir with rxt9-update.exe and README.txt> -DOUTFILE=<exe>
;          [-DSIGN=<command that signs the file it is given in place>] rxt9-update.nsi

!ifndef VERSION | STAGE | OUTFILE
!error "VERSION, STAGE and OUTFILE must be defined"
!endif
; The uninstaller is written out at install time from a stub inside the installer: that stub is
; signed as it is made, and the installer once it is whole.
!ifdef SIGN
!uninstfinalize '"${SIGN}" "%1"'
!finalize '"${SIGN}" "%1"'
!endif
Target x86-unicode
SetCompressor /SOLID lzma

!define PRODUCT "RX-T9 Update Tool"
!define PUBLISHER "KALDERON"
!define APP_KEY "Software\${PUBLISHER}\${PRODUCT}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KALDERON RX-T9 Update Tool"
!define START_MENU_DIR "$SMPROGRAMS\${PUBLISHER}"
!define SHORTCUT "${START_MENU_DIR}\${PRODUCT}.lnk"

Name "${PUBLISHER} ${PRODUCT}"
OutFile "${OUTFILE}"
; The program is 32-bit: its place is the 32-bit Program Files.
InstallDir "$PROGRAMFILES32\${PUBLISHER}\${PRODUCT}"
InstallDirRegKey HKLM "${APP_KEY}" "InstallDir"
RequestExecutionLevel admin

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PUBLISHER} ${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PUBLISHER} ${PRODUCT} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"

!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "This installs the ${PUBLISHER} ${PRODUCT} ${VERSION}, which updates the firmware of a ${PUBLISHER} RX-T9 photo printer connected by USB.$\r$\n$\r$\nThe tool needs the vendor's USB library ZELPORT.dll, which this installer does not contain: after the installation, put it beside rxt9-update.exe in the folder you choose next.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Put ZELPORT.dll beside the program"
!define MUI_FINISHPAGE_TEXT "The ${PRODUCT} is installed in:$\r$\n$INSTDIR$\r$\n$\r$\nBefore its first start, copy the vendor's 32-bit ZELPORT.dll into that folder, beside rxt9-update.exe. The tool loads the library only from its own folder; without it, it says $\"ZELPORT.dll Not Found$\" and ends."
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; One view of the registry for the 32-bit program, whatever the installer's own architecture.
Function .onInit
    SetRegView 32
FunctionEnd

Function un.onInit
    SetRegView 32
FunctionEnd

Section "Install"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${STAGE}\rxt9-update.exe"
    File "${STAGE}\README.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "${START_MENU_DIR}"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\rxt9-update.exe" "" "$INSTDIR\rxt9-update.exe" 0

    WriteRegStr HKLM "${APP_KEY}" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PUBLISHER} ${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\rxt9-update.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

    ; Said in the log of the installation as well, for silent installs that read it.
    IfFileExists "$INSTDIR\ZELPORT.dll" +2 0
    DetailPrint "Put the vendor's ZELPORT.dll into $INSTDIR before the first start."
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$INSTDIR\rxt9-update.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    ; Not /r: a ZELPORT.dll that the user put there is the user's, and stays with its folder.
    RMDir "$INSTDIR"
    RMDir "$PROGRAMFILES32\${PUBLISHER}"

    Delete "${SHORTCUT}"
    RMDir "${START_MENU_DIR}"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "${APP_KEY}"
    DeleteRegKey /ifempty HKLM "Software\${PUBLISHER}"
SectionEnd
