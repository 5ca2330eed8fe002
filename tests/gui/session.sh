# Sourced by the window scripts: a fresh Wine prefix NAME and an Xvfb screen
# of the script's own (the X pointer and focus are the script's alone), both
# ended when the script exits, and the check that counts failures.
#   gui_session NAME
gui_session() {
    local screen=$QMX_WINE_ROOT/screens/$1
    export WINEPREFIX QMX_DISPLAY
    WINEPREFIX=$("$bed" fresh "$1")
    "$bed" xvfb "$screen"
    QMX_DISPLAY=$(cat "$screen/display")
    export DISPLAY=$QMX_DISPLAY
    trap "wineserver -k 2>/dev/null || true; '$bed' xvfb-stop '$screen'" EXIT
    failures=0
}

check() {  # check WHAT EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
