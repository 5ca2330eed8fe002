; The install benchmark's NSIS comparison: what a real NSIS setup of the
; product does. The seven sample files into the same folders as qmxsetup puts
; them, the two desktop shortcuts, its uninstaller in the program folder and
; its entry in the list of installed programs.
;   makensis -DSAMPLE=DIR -DOUT=FILE nsis_install.nsi
Unicode true
Name "qmx"
OutFile "${OUT}"
SilentInstall silent
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QumoNSIS"

Section
    SetOutPath "$SYSDIR"
    File "${SAMPLE}/qmx.mb"
    File "${SAMPLE}/qmxpin.mb"
    File "${SAMPLE}/qmx.ime"
    SetOutPath "$WINDIR\Help"
    File "${SAMPLE}/qmx.hlp"
    SetOutPath "$PROGRAMFILES\qmx"
    File "${SAMPLE}/click.wav"
    File "${SAMPLE}/error.wav"
    File "${SAMPLE}/zub.exe"
    CreateShortCut "$DESKTOP\Zubino.lnk" "$PROGRAMFILES\qmx\zub.exe"
    CreateShortCut "$DESKTOP\Qumo帮助.lnk" "$WINDIR\Help\qmx.hlp"
    WriteUninstaller "$PROGRAMFILES\qmx\uninst.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "智能Qumo输入法"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$PROGRAMFILES\qmx\uninst.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$PROGRAMFILES\qmx\uninst.exe" /S'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$PROGRAMFILES\qmx\uninst.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "1.1.0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Qumo"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "http://www.qumo-shurufa.cn"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" 1470
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    Delete "$SYSDIR\qmx.mb"
    Delete "$SYSDIR\qmxpin.mb"
    Delete "$SYSDIR\qmx.ime"
    Delete "$WINDIR\Help\qmx.hlp"
    Delete "$DESKTOP\Zubino.lnk"
    Delete "$DESKTOP\Qumo帮助.lnk"
    Delete "$INSTDIR\click.wav"
    Delete "$INSTDIR\error.wav"
    Delete "$INSTDIR\zub.exe"
    Delete "$INSTDIR\uninst.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
