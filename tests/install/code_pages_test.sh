#!/usr/bin/env bash
# The program's texts on Simplified Chinese (ANSI code page 936), Traditional
# Chinese (950) and English (1252) Windows XP, and on Simplified Chinese
# Windows 98, whose ANSI path they take there:
#  - the window: the panel in its places (panel_check.py), and every pixel of
#    the window outside the animation's area equal to the 936 XP machine's;
#  - the box of an install that cannot write a file: its title, the file with
#    its reason, and the closing line, as the program has them;
#  - /S: the layout entry's text and the uninstall entry's display name read
#    back as Unicode as the product's name, the desktop links' names read
#    back as Unicode, and the log naming them so; /U /S: all gone, and the
#    log says the links were removed.
# Screenshots go to SHOTS.
#   code_pages_test.sh SETUP PROBE DUMP LOGO_BMP SHOTS
SETUP=$1 PROBE=$2 DUMP=$3 logo=$4 shots=$5
source "$(dirname "$0")/flow.sh"
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$shots"
open_screen code-pages
product=智能Qumo输入法
title=输入法安装程序

start_window() {  # sets setup_pid and the window's geometry
    "$bed" run "$(on_drive_c "$SETUP")" &
    setup_pid=$!
    local geometry
    geometry=$(win "$PROBE" window 30) || { fail "no window"; return 1; }
    read -r _ left top width height _ clientX clientY _ <<<"$geometry"
    xdotool mousemove $((left + width / 2)) $((top + 40))
}

# The window without its animation's area (client 20, 5 to 120, 81), whose
# frame depends on the moment of the screenshot.
shoot_window() {  # shoot_window NAME
    "$bed" shot "$shots/$1.png"
    "$here/../gui/panel_check.py" "$shots/$1.png" "$logo" 1024x768 "$clientX" "$clientY" >/dev/null ||
        fail "$1: the panel is not where it belongs"
    local x=$((clientX - left + 20)) y=$((clientY - top + 5))
    convert "$shots/$1.png" -crop "${width}x${height}+${left}+${top}" +repage -fill black \
        -draw "rectangle $x,$y $((x + 99)),$((y + 75))" "$shots/$1-masked.png"
}

differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

layout_value() {  # layout_value NAME: the product's layout entry's value, as Unicode
    local id
    id=$(ime_layouts)
    win "$DUMP" unicode "System\\CurrentControlSet\\Control\\Keyboard Layouts\\${id% }" "$1"
}
display_name() { win "$DUMP" unicode 'Software\Microsoft\Windows\CurrentVersion\Uninstall\QumoIME' DisplayName; }
links() { win "$DUMP" links | sed 's/^link //' | LC_ALL=C sort | tr '\n' ' '; }
log_lines() {  # log_lines PIECE: how many lines of the log C:\qmx.log hold PIECE
    iconv -f GBK -t UTF-8 "$(unix_path 'C:\')/qmx.log" | grep -c -F "$1" || true
}

for machine in 936-winxp:zh_CN.UTF-8 950-winxp:zh_TW.UTF-8 1252-winxp:en_US.UTF-8 936-win98:zh_CN.UTF-8; do
    name=${machine%%:*}
    echo "== code page ${name%-*}, ${name#*-}"
    new_machine "code-page-$name" "${name#*-}" "${machine#*:}"
    "$bed" screen 1024x768

    start_window || continue
    shoot_window "window-$name"
    [ "$name" = 936-winxp ] ||
        check "$name: the window equals the 936 XP machine's" 0 \
            "$(differing_pixels "$shots/window-936-winxp-masked.png" "$shots/window-$name-masked.png")"
    xdotool key Escape
    ended "$name: Esc"

    run_unattended "$SETUP" /S '/LOG=C:\qmx.log'
    check "$name: /S exits 0" 0 "$exit_code"
    check "$name: the links' names read back as Unicode" "Qumo帮助.lnk Zubino.lnk " "$(links)"
    check "$name: the log names the links as they are on disk" 11 \
        "$(log_lines "$(win_folder desktop)\Qumo帮助.lnk: written")$(log_lines "\Zubino.lnk: written")"
    check "$name: the layout text reads back as Unicode" "$product" "$(layout_value 'layout text')"
    check "$name: the display name reads back as Unicode" "$product" "$(display_name)"

    find_folders
    rm "$help/qmx.hlp" && mkdir "$help/qmx.hlp"  # a folder where the help file goes
    start_window || continue
    xdotool key Return
    box=$(win "$PROBE" message 60 | iconv -f GBK -t UTF-8 || true)
    "$bed" shot "$shots/incomplete-box-$name.png"
    check "$name: the box's title" "title $title" "$(sed -n 2p <<<"$box")"
    check "$name: the box names the file and why" 1 \
        "$(grep -c -F "$(win_folder windows)\\Help\\qmx.hlp（没有写入权限）" <<<"$box")"
    check "$name: the box's closing line" 1 "$(grep -c -F '请关闭正在使用输入法的程序，然后再按“安 装”。' <<<"$box")"
    xdotool key Return
    sleep 1
    xdotool key Escape
    ended "$name: Esc after the incomplete box" 1
    rmdir "$help/qmx.hlp"

    run_unattended "$SETUP" /U /S '/LOG=C:\qmx.log'
    check "$name: /U /S exits 0" 0 "$exit_code"
    check "$name: the links are gone" "" "$(links)"
    check "$name: the log names the removed links as they were" 11 \
        "$(log_lines "\Qumo帮助.lnk: removed")$(log_lines "\Zubino.lnk: removed")"
    check "$name: no layout entry names the IME" "" "$(ime_layouts)"
    check "$name: the uninstall entry is gone" "" "$(display_name)"
done
finish_checks
