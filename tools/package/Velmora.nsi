; The Velmora installer (32-bit, per machine). package.py writes the version, the paths and the
; two file lists (install and uninstall) into the !defines and includes below.
Unicode true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "FileFunc.nsh"
!include "velmora-files.nsh"

!define PRODUCT "Velmora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES32\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
Icon "${ICON}"
UninstallIcon "${ICON}"
VIProductVersion "${VERSION4}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PRODUCT}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "LegalCopyright" "${PRODUCT}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The program's files may not be replaced or removed while it runs.
!macro RefuseWhileRunning un
Function ${un}RefuseWhileRunning
    FindWindow $0 "TALVANE_DLG"
    StrCmp $0 0 done
    MessageBox MB_OK|MB_ICONSTOP "Velmora is running. Close it, then try again." /SD IDOK
    SetErrorLevel 2
    Quit
  done:
FunctionEnd
!macroend
!insertmacro RefuseWhileRunning ""
!insertmacro RefuseWhileRunning "un."

Function .onInit
    SetShellVarContext all
    SetRegView 32
    Call RefuseWhileRunning
FunctionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 32
    Call un.RefuseWhileRunning
FunctionEnd

Section "Velmora"
    ; Over an older version: the program files and the settings template are replaced; the
    ; users' own settings copies live in their documents and are never touched.
    !insertmacro VelmoraInstallFiles
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Velmora.exe" "" "$INSTDIR\Velmora.exe" 0
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Velmora.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
    !insertmacro VelmoraRemoveFiles
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR\update"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    ; The autostart value the options dialog writes (the 32-bit view, as the program sees it).
    DeleteRegValue HKLM "${RUN_KEY}" "Velmora"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
