# Sourced by the window scripts: a fresh Wine prefix NAME and an Xvfb screen
# of the script's own (the X pointer and focus are the script's alone), both
# ended when the script exits (the prefix kept if it failed), and the checks
# that count failures.
source "$(dirname "$bed")/checks.sh"

#   gui_session NAME [WxH]   (the Xvfb screen's size, when larger virtual screens are shown)
gui_session() {
    local screen=$QMX_WINE_ROOT/screens/$1
    export WINEPREFIX QMX_DISPLAY
    WINEPREFIX=$("$bed" fresh "$1")
    "$bed" xvfb "$screen" "${2:-}"
    QMX_DISPLAY=$(cat "$screen/display")
    export DISPLAY=$QMX_DISPLAY
    trap "end_gui_session \$? $(printf '%q ' "$1" "$screen")" EXIT
}

end_gui_session() {  # end_gui_session EXIT_STATUS NAME SCREEN
    if [ "$1" = 0 ]; then
        "$bed" drop "$2"
    else
        wineserver -k 2>/dev/null || true
    fi
    "$bed" xvfb-stop "$3"
}

# A screenshot PATH.png and the animation's 100 x 76 area of it, at client
# (20, 5) of the window whose client corner is (clientX, clientY), as PATH.ppm.
#   shot_animation_area PATH
shot_animation_area() {
    "$bed" shot "$1.png"
    convert "$1.png" -crop "100x76+$((clientX + 20))+$((clientY + 5))" +repage "$1.ppm"
}

# Starts PROGRAM on a 1024 x 768 screen, waits for its window (winprobe in
# $probe) and points the X focus at it; sets program (the pid), left, top,
# width, height, clientX and clientY.
#   start_window PROGRAM
start_window() {
    local geometry
    "$bed" screen 1024x768
    "$bed" run "$1" &
    program=$!
    geometry=$("$bed" run "$probe" window 30) || { echo "FAIL: no window"; exit 1; }
    read -r _ left top width height _ clientX clientY _ <<<"${geometry//$'\r'/}"
    xdotool mousemove $((left + width / 2)) $((top + 40))  # the X focus follows the pointer
}
