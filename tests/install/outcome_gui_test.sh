#!/usr/bin/env bash
# What the user is told at the end, driven with real keys, and the exit code
# of each run: an install and an uninstall over a held IME end with a message
# box that says the change completes when Windows restarts, and with 3010; an
# install with a member that cannot be written names it in a box and leaves
# the window open, closed then it ends with 1, and Enter installs again; an
# uninstall that leaves a read-only file names it in a box and ends with 1,
# and once the flag is cleared the uninstall from Add/Remove Programs'
# UninstallString ends with 0 and leaves the machine as before the install;
# a setup file cut short says so and ends with 1. Each box has the window's
# title and belongs to the window. Screenshots go to SHOTS.
#   outcome_gui_test.sh SETUP PROBE DUMP HOLDER SHOTS
SETUP=$1 PROBE=$2 DUMP=$3 HOLDER=$4 shots=$5
source "$(dirname "$0")/flow.sh"
mkdir -p "$shots"

open_screen outcome-gui
new_machine outcome-gui
"$bed" session  # a new Wine session would carry out what waits for the restart
drive=$(unix_path 'C:\')
title=输入法安装程序

on_drive_c "$SETUP" >/dev/null  # the copy on drive C belongs to the machine before the install
before_install=$(record_state before-install)
run_unattended "$SETUP" /S
check "the first install exits 0" 0 "$exit_code"
find_folders

# An install over a held IME.
hold "$system/qmx.ime"
start_setup "$SETUP"
press Return
box=$(message)
"$bed" shot "$shots/restart-box.png"
check "the restart box belongs to the window" "owner yes" "$(head -1 <<<"$box")"
check "the restart box has the window's title" "title $title" "$(sed -n 2p <<<"$box")"
check "the box says the input method is installed" yes "$(has "$box" 输入法已经安装好了)"
check "and that the change completes when Windows restarts" yes "$(has "$box" "重新启动 Windows 后，安装才全部完成")"
press Return
ended "after the restart box, 3010" 194
let_go

# A member that cannot be written at all: a folder in the help file's place.
rm "$help/qmx.hlp" && mkdir "$help/qmx.hlp"
help_win="$(win_folder windows)\\Help\\qmx.hlp"
start_setup "$SETUP"
press Return
box=$(message)
"$bed" shot "$shots/incomplete-box.png"
check "the incomplete box has the window's title" "title $title" "$(sed -n 2p <<<"$box")"
check "the box names the file and why" yes "$(has "$box" "$help_win（没有写入权限）")"
check "the box names no other file" 1 "$(grep -c '（' <<<"$box")"
check "the box asks to close programs and press 安 装 again" yes "$(has "$box" "然后再按“安 装”。")"
press Return
sleep 2
check "the window stays open" yes "$(kill -0 "$setup_pid" 2>/dev/null && win "$PROBE" window 5 >/dev/null && echo yes)"
press Escape
ended "closed after the incomplete box" 1
rmdir "$help/qmx.hlp"
start_setup "$SETUP"
press Return
ended "Enter again, with the file free"
check "the second Enter wrote the help file" yes "$([ -f "$help/qmx.hlp" ] && echo yes)"

# An uninstall while the IME is held.
hold "$system/qmx.ime"
start_setup "$SETUP"
press Tab
press Return
box=$(message)
check "the uninstall's box has the window's title" "title $title" "$(sed -n 2p <<<"$box")"
check "the box says the input method is removed, at the restart" yesyes \
    "$(has "$box" "输入法已经卸载了")$(has "$box" "卸载才全部完成")"
press Return
ended "after the uninstall's restart box, 3010" 194
let_go

# An uninstall that leaves a file the user marked read-only, from the window.
run_unattended "$SETUP" /S
check "the install before the read-only file exits 0" 0 "$exit_code"
program_win='C:\Program Files\qmx'
win "$DUMP" attributes 21 "$program_win\click.wav"
start_setup "$SETUP"
press Tab
press Return
box=$(message)
"$bed" shot "$shots/uninstall-incomplete-box.png"
check "the incomplete uninstall's box has the window's title" "title $title" "$(sed -n 2p <<<"$box")"
check "it names the read-only file and why" yes "$(has "$box" "$program_win\click.wav（受保护：只读、隐藏、系统文件或文件夹）")"
check "it names nothing else" 1 "$(grep -c '）$' <<<"$box")"
check "it says a restart does not finish it" yes "$(has "$box" "重新启动 Windows 也不能完成卸载")"
check "it asks the user to remove the file and uninstall again" yes "$(has "$box" "请自己删除受保护的文件，然后再卸载一次")"
press Return
ended "after the incomplete uninstall's box" 1
entry() { win "$DUMP" programs | awk -v v="$1" '$2 == "QumoIME" && $3 == v && $4 == "sz" {sub(/^([^ ]+ ){4}/, ""); print}'; }
uninstall_string=$(entry UninstallString)
check "the uninstall entry stays for another try" "\"$program_win\qmxunins.exe\" /U" "$uninstall_string"

# The flag cleared, and files with the bits a backup or the indexing service
# leave. Wine may not keep them all (its attrib -a left the archive bit), so
# the run prints what it kept, and the rule over every such word is held by
# the native test of the attribute word.
win "$DUMP" attributes 20 "$program_win\click.wav"
for f in normal:80 unindexed:2000 archived-unindexed:2020; do
    echo "user's" >"$program/${f%%:*}.txt"
    win "$DUMP" attributes "${f#*:}" "$program_win\\${f%%:*}.txt"
done
echo "what Wine kept of the attribute words:" $(win "$DUMP" files "$program_win" | awk '/\.txt / {print $NF}')
"$bed" run "$(sed 's/^"\([^"]*\)".*/\1/' <<<"$uninstall_string")" /U &
setup_pid=$!
win "$PROBE" window 30 >/dev/null || fail "no window of the kept uninstaller"
xdotool mousemove 500 300
press Return
ended "the uninstall from UninstallString, once the flag is cleared"
"$bed" run wineboot -r  # the kept uninstaller's file, set aside, goes at the restart
rm -f "$drive/held.release"  # the holder's, not the product's
same_state "the machine is as before the install" "$before_install" "$(record_state after-uninstall)"

# A setup file cut short, as by a download that stopped.
cut=$(dirname "$(on_drive_c "$SETUP")")/cut.exe
head -c $(($(stat -c %s "$SETUP") - 1000)) "$SETUP" >"$cut"
start_setup "$cut"
press Return
box=$(message)
check "the damaged box has the window's title" "title $title" "$(sed -n 2p <<<"$box")"
check "the box says the setup file is damaged" yesyes "$(has "$box" 安装文件已经损坏)$(has "$box" 请重新下载)"
press Return
sleep 1
check "the window stays open after it" yes "$(kill -0 "$setup_pid" 2>/dev/null && echo yes)"
press Escape
ended "Esc after the damaged box" 1
finish_checks
