#!/usr/bin/env bash
# Starts the setup program in the project's own Wine prefix under the build
# folder (kept between runs, so an install can be followed by an uninstall).
# With a display the window opens there and this returns when the program
# ends; without one the program runs on an Xvfb screen, a screenshot is taken
# and the program is closed with Esc.
#   run.sh WIN32_BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
bed=$here/../tests/wine/bed
program=$build/qmxsetup.exe
[ -f "$program" ] || program=$build/shell/qmxsetup_bare.exe
export QMX_WINE_ROOT=$build/run

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export QMX_DISPLAY=$DISPLAY
    export WINEPREFIX
    WINEPREFIX=$("$bed" keep setup)
    echo "running $program in $WINEPREFIX"
    "$bed" run "$program"
    exit
fi

screen=$QMX_WINE_ROOT/screen
"$bed" xvfb "$screen"
export QMX_DISPLAY
QMX_DISPLAY=$(cat "$screen/display")
export DISPLAY=$QMX_DISPLAY WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; "$bed" xvfb-stop "$screen"' EXIT
WINEPREFIX=$("$bed" keep setup)
echo "no display: running $program on Xvfb $DISPLAY"
"$bed" run "$program" &
pid=$!
read -r _ left top width height _ < <("$bed" run "$build/tests/gui/winprobe.exe" window 60 | tr -d '\r')
shot=$build/screenshots/run.png
mkdir -p "$(dirname "$shot")"
"$bed" shot "$shot.screen.png"
convert "$shot.screen.png" -crop "${width}x${height}+${left}+${top}" +repage "$shot"
rm -f "$shot.screen.png"
xdotool mousemove 500 300 key Escape
code=0
wait "$pid" || code=$?
echo "screenshot: $shot"
echo "the program ended with exit code $code"
