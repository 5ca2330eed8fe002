#!/usr/bin/env bash
# The install, end to end, driven like a user: the packed setup program on a
# fresh machine, Enter, and then everything checked where it landed.
#   install_test.sh SETUP PROBE DUMP SAMPLE_DIR [VERSION]
SETUP=$1 PROBE=$2 DUMP=$3 samples=$4 version=${5:-}
source "$(dirname "$0")/flow.sh"

name=install-${version:-default}
open_screen "$name"
new_machine "$name" "$version"

# Wine keeps its own list as plain values; the numbered form is seeded too,
# holding the identifier that the new layout receives on a fresh machine.
plain_before=$(preload_values)
seed_preload 1=00000409 2=00000804 3=e0020804

run_setup ends "$SETUP" Return
check "the install ends the program with exit code 0" 0 "$exit_code"

windows=$(folder windows) system=$(folder system) desktop=$(folder desktop) temp=$(folder temp)
drive=$(unix_path 'C:\')
help=$(find "$windows" -maxdepth 1 -iname help)
program="$drive/Program Files/qmx"
same() {  # same INSTALLED SAMPLE
    if cmp -s "$1" "$samples/$2"; then echo same; else echo "differs or missing: $1"; fi
}
for f in qmx.mb qmxpin.mb qmx.ime; do check "$f in the System folder" same "$(same "$system/$f" $f)"; done
check "qmx.hlp in the Help folder" same "$(same "$help/qmx.hlp" qmx.hlp)"
for f in click.wav error.wav zub.exe; do check "$f in Program Files\\qmx" same "$(same "$program/$f" $f)"; done
check "the temporary copy is gone" "" "$(ls "$temp" | grep -i '^delD2A1.TMP$' || true)"

# Each shortcut points at its file and carries its own path as description.
desktop_win=$(win "$DUMP" folders | awk '$1 == "desktop" {sub(/^[^ ]+ /, ""); print}')
link_field() { lnkinfo -c windows-936 "$1" 2>/dev/null | tr -d '\r' | awk -F': ' -v f="$2" '$1 ~ "^[ \t]*" f "[ \t]*$" {print $2; exit}'; }
check "the help shortcut's target" 'C:\windows\Help\qmx.hlp' "$(link_field "$desktop/Qumo帮助.lnk" 'Local path')"
check "the help shortcut's description" "$desktop_win\\Qumo帮助.lnk" "$(link_field "$desktop/Qumo帮助.lnk" Description)"
check "the Zubino shortcut's target" 'C:\Program Files\qmx\zub.exe' "$(link_field "$desktop/Zubino.lnk" 'Local path')"
check "the Zubino shortcut's description" "$desktop_win\\Zubino.lnk" "$(link_field "$desktop/Zubino.lnk" Description)"

check "one layout entry carries the product's layout text" "e0020804 " "$(product_layouts)"
check "the layout moved to entry 2, the others kept" "1=00000409 2=e0020804 3=00000804 " "$(preload_entries)"
check "the plain preload values are untouched" "$plain_before" "$(preload_values)"

# A second install over the first replaces the files and keeps the layout
# that the list names at entry 2 as the one found first. (Wine's
# ImmInstallIMEA registers the same module again under a new entry.)
printf 'changed' > "$program/zub.exe"
run_setup ends "$SETUP" Return
check "the second install ends the program with exit code 0" 0 "$exit_code"
check "the second install restores zub.exe" same "$(same "$program/zub.exe" zub.exe)"
check "the first layout entry is still the one in the list" e0020804 "$(product_layouts | cut -d' ' -f1)"
check "the layout stays at entry 2" "1=00000409 2=e0020804 3=00000804 " "$(preload_entries)"
finish
