; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer, built by cmake/windows_packages.cmake:
;   makensis -DVERSION=0.7 -DPROGRAMS=DIR -DSOURCE=DIR -DOUT=FILE zelvorn.nsi
; It installs Zelvorn.exe and pdixtract.exe into Program Files, puts that folder
; on the user's PATH (so a bare "pdixtract" is found), adds a Start menu entry,
; opens .pdi files with Zelvorn, and adds an uninstaller that "Apps and
; features" lists. It also makes the list file C:\pdilist.txt, which every
; user may change. /S installs silently; the uninstaller takes /S too and
; removes all of it again.
; A 64-bit installer, as the programs are: it sees the 64-bit Program Files and registry.
Target amd64-unicode
!include FileFunc.nsh
!include LogicLib.nsh
!include StrFunc.nsh
!include WinMessages.nsh
${StrStr}
${UnStrRep}

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvorn"
; .pdi files open with Zelvorn through this programmatic identifier.
!define PROGID "Zelvorn.PdiSet"
!define CLASSES "Software\Classes"
!define SHCNE_ASSOCCHANGED 0x08000000
; makensis handles strings of up to 1024 characters: a longer PATH is left as it is.
!define PATH_ROOM 1000
; Where pdixtract writes the list of a set's files for "Extract files".
!define LIST_FILE "C:\pdilist.txt"
!define ZELVORN_KEY "Software\Zelvorn"

Name "Zelvorn ${VERSION}"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\Zelvorn"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "${SOURCE}\data\zelvorn.ico"
UninstallIcon "${SOURCE}\data\zelvorn.ico"
LicenseData "${SOURCE}\LICENSE"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 ProductName "Zelvorn"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileDescription "Zelvorn ${VERSION} setup"
VIAddVersionKey /LANG=1033 LegalCopyright "GPL-3.0-or-later"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
    SetOutPath "$INSTDIR"
    File "${PROGRAMS}\Zelvorn.exe"
    File "${PROGRAMS}\pdixtract.exe"
    File /oname=LICENSE.txt "${SOURCE}\LICENSE"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\Zelvorn.lnk" "$INSTDIR\Zelvorn.exe" "" "$INSTDIR\Zelvorn.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Zelvorn"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Zelvorn developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Zelvorn.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; .pdi: Zelvorn's type, with its icon and "Open", for Explorer and "start".
    ; A .pdi that another program already opens stays its; Zelvorn is then
    ; offered under "Open with".
    WriteRegStr HKLM "${CLASSES}\${PROGID}" "" "InstantCopy image set"
    WriteRegStr HKLM "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\Zelvorn.exe,0"
    WriteRegStr HKLM "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\Zelvorn.exe" "%1"'
    WriteRegStr HKLM "${CLASSES}\.pdi\OpenWithProgids" "${PROGID}" ""
    ReadRegStr $0 HKLM "${CLASSES}\.pdi" ""
    ${If} $0 == ""
        WriteRegStr HKLM "${CLASSES}\.pdi" "" "${PROGID}"
    ${EndIf}
    System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'

    ; The user's PATH, unless the folder is on it already.
    ReadRegStr $0 HKCU "Environment" "Path"
    StrLen $1 $0
    ${StrStr} $2 ";$0;" ";$INSTDIR;"
    ${If} $1 > ${PATH_ROOM}
        DetailPrint "PATH is too long to change here; Zelvorn still finds pdixtract.exe beside itself."
    ${ElseIf} $2 == ""
        ${If} $0 == ""
            StrCpy $0 "$INSTDIR"
        ${Else}
            StrCpy $0 "$0;$INSTDIR"
        ${EndIf}
        WriteRegExpandStr HKCU "Environment" "Path" "$0"
        SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=500
    ${EndIf}
SectionEnd

; Only administrators may create files in C:\, so a standard user's pdixtract
; could never write its list there: the setup makes the file and lets the
; Users group (by its SID, the same in every language) change it. What the
; file was like before is kept, for the uninstaller to give back.
Section "-List file"
    ${If} ${FileExists} "${LIST_FILE}"
        nsExec::Exec '"$SYSDIR\icacls.exe" "${LIST_FILE}" /save "$INSTDIR\pdilist.acl"'
        Pop $0
    ${Else}
        FileOpen $0 "${LIST_FILE}" w
        FileClose $0
        WriteRegDWORD HKLM "${ZELVORN_KEY}" "MadeListFile" 1
    ${EndIf}
    nsExec::Exec '"$SYSDIR\icacls.exe" "${LIST_FILE}" /grant *S-1-5-32-545:M'
    Pop $0
    ${If} $0 != 0
        DetailPrint "Users may not change ${LIST_FILE} (icacls: $0)."
    ${EndIf}
SectionEnd

; Before the files go, so the folder can go too: the list file goes if the
; setup made it, else it gets its old permissions back.
Section "un.List file"
    ReadRegDWORD $0 HKLM "${ZELVORN_KEY}" "MadeListFile"
    ${If} $0 == 1
        Delete "${LIST_FILE}"
    ${ElseIf} ${FileExists} "$INSTDIR\pdilist.acl"
        nsExec::Exec '"$SYSDIR\icacls.exe" C:\ /restore "$INSTDIR\pdilist.acl"'
        Pop $0
    ${EndIf}
    Delete "$INSTDIR\pdilist.acl"
    DeleteRegKey HKLM "${ZELVORN_KEY}"
SectionEnd

Section Uninstall
    Delete "$INSTDIR\Zelvorn.exe"
    Delete "$INSTDIR\pdixtract.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    ; Only if empty: whatever else someone put there stays.
    RMDir "$INSTDIR"

    SetShellVarContext all
    Delete "$SMPROGRAMS\Zelvorn.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    ; .pdi goes back to whoever else opens it, or to no one.
    DeleteRegKey HKLM "${CLASSES}\${PROGID}"
    DeleteRegValue HKLM "${CLASSES}\.pdi\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty HKLM "${CLASSES}\.pdi\OpenWithProgids"
    ReadRegStr $0 HKLM "${CLASSES}\.pdi" ""
    ${If} $0 == "${PROGID}"
        DeleteRegValue HKLM "${CLASSES}\.pdi" ""
    ${EndIf}
    DeleteRegKey /ifempty HKLM "${CLASSES}\.pdi"
    System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'

    ; Every entry of the folder goes from the user's PATH; an empty PATH goes with it.
    ReadRegStr $0 HKCU "Environment" "Path"
    StrLen $1 $0
    ${If} $1 <= ${PATH_ROOM}
        ${UnStrRep} $2 ";$0;" ";$INSTDIR;" ";"
        ${If} $2 != ";$0;"
            StrCpy $2 $2 "" 1
            StrCpy $2 $2 -1
            ${If} $2 == ""
                DeleteRegValue HKCU "Environment" "Path"
            ${Else}
                WriteRegExpandStr HKCU "Environment" "Path" "$2"
            ${EndIf}
            SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=500
        ${EndIf}
    ${EndIf}
SectionEnd
