#!/usr/bin/env bash
# The packed setup program (the bare image alone is the kept uninstaller,
# whose window offers only the uninstall) in a real window on a Wine virtual screen, driven through
# X with real keys and clicks: placement on two screen sizes, the information
# panel in a screenshot of each (panel_check.py), the focus after start, Esc
# and the close box both ending the program with exit code 0. Screenshots
# are kept under the build folder.
#   window_gui_test.sh SETUP WINPROBE SHOTDIR LOGO_BMP
set -euo pipefail
image=$1 probe=$2 shots=$3 logo=$4
here=$(cd "$(dirname "$0")" && pwd)
bed=$here/../wine/bed
mkdir -p "$shots"
. "$here/session.sh"
gui_session gui

# Starts the image on a screen of the given size; sets program and geometry.
start() {
    "$bed" screen "$1"
    "$bed" run "$image" &
    program=$!
    geometry=$("$bed" run "$probe" window 30) || { echo "FAIL: no window on $1"; exit 1; }
    geometry=${geometry//$'\r'/}
    read -r _ left top width height _ clientX clientY _ ix iy iw ih _ ux uy uw uh <<<"$geometry"
    xdotool mousemove $((left + width / 2)) $((top + 40))  # the X focus follows the pointer
}

check_panel() {  # check_panel SCREEN: the panel in that screen's screenshot
    "$bed" shot "$shots/window-$1.png"
    echo "== the panel on $1"
    "$here/panel_check.py" "$shots/window-$1.png" "$logo" "$1" "$clientX" "$clientY" ||
        fail "the panel on $1"
}

finish() {  # finish WHAT: the program must have ended with exit code 0
    local code=0
    wait "$program" || code=$?
    check "$1 ends the program with exit code 0" 0 "$code"
}

start 1024x768
check "window on 1024x768" "307 110 409 438" "$left $top $width $height"
check "install button" "236 363 78 30" "$ix $iy $iw $ih"
check "uninstall button" "314 363 78 30" "$ux $uy $uw $uh"
check "focus after start" install "$("$bed" run "$probe" focus | tr -d '\r')"
check_panel 1024x768
xdotool key Tab
check "focus after Tab" uninstall "$("$bed" run "$probe" focus | tr -d '\r')"
xdotool key Escape
finish "Esc"

start 640x480
check "window on 640x480" "167 52 306 324" "$left $top $width $height"
check "install button on 640x480" "133 249 78 30" "$ix $iy $iw $ih"
check_panel 640x480
xdotool mousemove $((left + width - 12)) $((top + 12)) click 1  # the close box
finish "the close box"

finish_checks
