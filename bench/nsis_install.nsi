; The install benchmark's NSIS comparison: the seven sample files into the
; same folders as qmxsetup puts them, and the two desktop shortcuts.
;   makensis -DSAMPLE=DIR -DOUT=FILE nsis_install.nsi
Unicode true
Name "qmx"
OutFile "${OUT}"
SilentInstall silent
RequestExecutionLevel user

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
SectionEnd
