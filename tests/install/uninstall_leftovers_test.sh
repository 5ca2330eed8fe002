#!/usr/bin/env bash
# The uninstall beside what the user put there: files of the user's in the
# program folder, a protected help index, a renamed shortcut and a preload
# list with the product in the middle. The protected files stay, and the
# uninstall's box names each with why, and it ends with 1. Then a second
# uninstall changes nothing and says the same.
#   uninstall_leftovers_test.sh SETUP PROBE DUMP
SETUP=$1 PROBE=$2 DUMP=$3
source "$(dirname "$0")/flow.sh"

name=uninstall-leftovers
open_screen "$name"
new_machine "$name"

# The list names the identifier that the new layout receives on a fresh
# machine, at entry 2 already, so the install leaves it as it is.
plain_before=$(preload_values)
seed_preload 1=00000409 2=e0020804 3=00000804
run_setup ends "$SETUP" Return
check "the install ends the program with exit code 0" 0 "$exit_code"
check "the install registered the product's layout" "e0020804 " "$(product_layouts)"
check "the install left the list as it was" "1=00000409 2=e0020804 3=00000804 " "$(preload_entries)"

windows=$(folder windows) system=$(folder system) desktop=$(folder desktop)
help=$(find "$windows" -maxdepth 1 -iname help)
program="$(unix_path 'C:\')/Program Files/qmx"
program_win='C:\Program Files\qmx'
help_win="$(win_folder windows)\\help"

# Wine gives every file the archive bit; these carry another bit beside it.
# The other two have the archive bit alone, one with a GBK name.
for f in readonly.txt hidden.txt system.txt notes.txt 用户词库.txt; do echo "user's" > "$program/$f"; done
win "$DUMP" attributes 1 "$program_win\\readonly.txt"
win "$DUMP" attributes 2 "$program_win\\hidden.txt"
win "$DUMP" attributes 4 "$program_win\\system.txt"
echo index > "$help/qmx.gid"
win "$DUMP" attributes 3 "$help_win\\qmx.gid"
mv "$desktop/Zubino.lnk" "$desktop/My Zubino.lnk"
kept_before=$(win "$DUMP" files "$program_win" | sort)
check "the user's files carry their attributes" \
    "hidden.txt 22 notes.txt 20 readonly.txt 21 system.txt 24 用户词库.txt 20 " \
    "$(echo "$kept_before" | iconv -f GBK -t UTF-8 | grep -E '\.txt ' | awk '{sub(/.*\\/, ""); print $1, $3}' | tr '\n' ' ')"
check "the help index is hidden and read-only" 23 "$(win "$DUMP" files "$help_win" | awk '/qmx.gid/ {print $4}')"

# Tab, Enter: the uninstall; its box is read, and Enter closes it.
uninstall_with_box() {  # uninstall_with_box WHAT; sets box
    "$bed" run "$(on_drive_c "$SETUP")" &
    setup_pid=$!
    win "$PROBE" window 30 >/dev/null || fail "$1: no window"
    xdotool mousemove 500 300
    for key in Tab Return; do
        xdotool key $key
        sleep 0.3
    done
    box=$(win "$PROBE" message 60 | iconv -f GBK -t UTF-8 || true)
    xdotool key Return
    ended "$1" 1
}
protected_lines() {  # the box's lines that name a protected file, their names only
    grep -F '（受保护：只读、隐藏、系统文件或文件夹）' <<<"$box" | sed 's/.*\\//; s/（.*//' | LC_ALL=C sort | tr '\n' ' '
}

uninstall_with_box "the uninstall that leaves the protected files"
check "the box names the protected files, each with why" "hidden.txt readonly.txt system.txt " "$(protected_lines)"
check "the box names nothing else" 3 "$(grep -c '）$' <<<"$box")"
check "the box asks the user to remove them and uninstall again" 1 \
    "$(grep -c -F '请自己删除受保护的文件，然后再卸载一次' <<<"$box")"

present() { for f in "$@"; do [ -e "$f" ] && printf '%s ' "$(basename "$f")"; done; true; }
# They stay for good, so the kept uninstaller stays with them for another try.
check "the program folder keeps the protected files and the kept uninstaller alone, unchanged" \
    "$(echo "$kept_before" | grep -E 'hidden|readonly|system\.txt|qmxunins\.exe')" "$(win "$DUMP" files "$program_win" | sort)"
check "the System folder files are gone" "" "$(present "$system"/qmx.ime "$system"/qmx.mb "$system"/qmxpin.mb)"
check "the help file and the help index are gone" "" "$(present "$help"/qmx.hlp "$help"/qmx.gid)"
check "the renamed shortcut stays, the other is gone" "My Zubino.lnk " \
    "$(present "$desktop/My Zubino.lnk" "$desktop/Zubino.lnk" "$desktop/Qumo帮助.lnk")"
check "the product's layout entry is gone" "" "$(product_layouts)"
check "the list is closed up, the other entries kept" "1=00000409 2=00000804 " "$(preload_entries)"
check "the plain preload values are untouched" "$plain_before" "$(preload_values)"

# Uninstall twice in a row: the second finds nothing to remove.
before=$(record_state once)
uninstall_with_box "the second uninstall"
check "the second box names the same files" "hidden.txt readonly.txt system.txt " "$(protected_lines)"
same_state "the second uninstall changes nothing" "$before" "$(record_state twice)"
finish_checks
