# Sourced by the window scripts: a fresh Wine prefix NAME and an Xvfb screen
# of the script's own (the X pointer and focus are the script's alone), both
# ended when the script exits, and the checks that count failures.
source "$(dirname "$bed")/checks.sh"

#   gui_session NAME
gui_session() {
    local screen=$QMX_WINE_ROOT/screens/$1
    export WINEPREFIX QMX_DISPLAY
    WINEPREFIX=$("$bed" fresh "$1")
    "$bed" xvfb "$screen"
    QMX_DISPLAY=$(cat "$screen/display")
    export DISPLAY=$QMX_DISPLAY
    trap "wineserver -k 2>/dev/null || true; $(printf '%q ' "$bed" xvfb-stop "$screen")" EXIT
}
