#!/usr/bin/env bash
# Figures only: the share of one processor that the open setup window takes
# over ten seconds under Wine while the animation plays, on an Xvfb screen
# and in a Wine prefix of the benchmark's own under the build folder.
#   idle_cpu.sh WIN32_BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
bed=$here/../tests/wine/bed
export QMX_WINE_ROOT=$build/bench
screen=$QMX_WINE_ROOT/screen
"$bed" xvfb "$screen"
export QMX_DISPLAY WINEPREFIX
QMX_DISPLAY=$(cat "$screen/display")
export DISPLAY=$QMX_DISPLAY
trap 'wineserver -k 2>/dev/null || true; "$bed" xvfb-stop "$screen"' EXIT
WINEPREFIX=$("$bed" keep idle)
"$bed" run "$build/shell/qmxsetup_bare.exe" &
program=$!
"$bed" run "$build/tests/gui/winprobe.exe" window 60 >/dev/null
share=$("$here/../tests/gui/cpu_share.sh" "$program" 10)
echo "open window, animation playing: $share % of one processor over 10 s"
