#!/usr/bin/env bash
# What the user is told at the end, driven with real keys: an install and an
# uninstall over a held IME end with a message box that says the change
# completes when Windows restarts; an install with a member that cannot be
# written names it in a box and leaves the window open, and Enter then
# installs again; a setup file cut short says so. Each box has the window's
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
ended "after the restart box"
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
rmdir "$help/qmx.hlp"
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
ended "after the uninstall's restart box"
let_go

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
ended "Esc after the damaged box"
finish_checks
