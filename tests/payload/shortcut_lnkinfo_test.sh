#!/usr/bin/env bash
# Shortcuts that CreateShortcut writes in the test bed's prefix, read back by
# lnkinfo (liblnk), a reader independent of Wine's shell.
#   shortcut_lnkinfo_test.sh BED WRITER
set -euo pipefail
bed=$1 writer=$2
folder=$QMX_WINE_ROOT/prefix/drive_c/qmx_lnkinfo
windowsFolder='C:\qmx_lnkinfo'
rm -rf "$folder"
mkdir -p "$folder"
source "$(dirname "$0")/../wine/checks.sh"
field() {  # field INFO NAME: the value of one "name : value" line of lnkinfo
    sed -n "s/^[[:space:]]*$2[[:space:]]*: //p" <<<"$1" | head -n 1
}

while read -r target link; do
    printf 'MZ' >"$folder/$target"
    "$bed" run "$writer" "$windowsFolder\\$target" "$windowsFolder\\$link"
    if ! info=$(lnkinfo -c windows-936 "$folder/$link" 2>&1); then
        check "$link: lnkinfo reads it" "yes" "no: $info"
        continue
    fi
    check "$link: local path" "$windowsFolder\\$target" "$(field "$info" 'Local path')"
    check "$link: description" "$windowsFolder\\$link" "$(field "$info" 'Description')"
done <<'LINKS'
zub.exe Zubino.lnk
qmx.hlp Qumo帮助.lnk
LINKS

rm -rf "$folder"
finish_checks
