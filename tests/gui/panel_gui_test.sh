#!/usr/bin/env bash
# The information panel in screenshots of the real window on 1024 x 768 and
# 640 x 480 virtual screens, checked by panel_check.py: frame, logo, each
# text line's colour in its rows and nowhere between. The window crops are
# kept under the build folder (panel-WxH.png).
#   panel_gui_test.sh IMAGE WINPROBE SHOTDIR LOGO_BMP
set -euo pipefail
image=$1 probe=$2 shots=$3 logo=$4
here=$(cd "$(dirname "$0")" && pwd)
bed=$here/../wine/bed
mkdir -p "$shots"
screen=$QMX_WINE_ROOT/screens/panel
export WINEPREFIX QMX_DISPLAY
WINEPREFIX=$("$bed" fresh panel)
"$bed" xvfb "$screen"
QMX_DISPLAY=$(cat "$screen/display")
export DISPLAY=$QMX_DISPLAY
trap 'wineserver -k 2>/dev/null || true; "$bed" xvfb-stop "$screen"' EXIT
failures=0

for size in 1024x768 640x480; do
    "$bed" screen "$size"
    "$bed" run "$image" &
    program=$!
    geometry=$("$bed" run "$probe" window 30) || { echo "FAIL: no window on $size"; exit 1; }
    read -r _ left top width height _ clientX clientY _ <<<"${geometry//$'\r'/}"
    "$bed" shot "$shots/panel-screen.png"
    convert "$shots/panel-screen.png" -crop "${width}x${height}+${left}+${top}" +repage "$shots/panel-$size.png"
    echo "== $size"
    "$here/panel_check.py" "$shots/panel-screen.png" "$logo" "$size" "$clientX" "$clientY" || failures=$((failures + 1))
    xdotool mousemove $((left + width / 2)) $((top + 40)) key Escape
    wait "$program" || true
done
rm -f "$shots/panel-screen.png"
[ "$failures" = 0 ]
