#!/usr/bin/env bash
# The splash animation in the shipped image's real window on a Wine virtual
# screen: two screenshots half a second apart show different frames at client
# (20, 5), each exactly one of the frames the product's decoder makes of the
# stored GIF (gifdump) mapped through its colour table; the frame wait does
# not keep a processor busy; Esc still ends the program with exit code 0
# while frames play. Screenshots are kept under the build folder.
#   animation_gui_test.sh IMAGE WINPROBE GIFDUMP GIF SHOTDIR
set -euo pipefail
image=$1 probe=$2 gifdump=$3 gif=$4 shots=$5
here=$(cd "$(dirname "$0")" && pwd)
bed=$here/../wine/bed
frames=$shots/animation-frames
mkdir -p "$shots" "$frames"
"$gifdump" "$gif" "$frames" >/dev/null
. "$here/session.sh"
gui_session animation

start_window "$image"

# The frame in a screenshot of the animation area; sets shown.
shot_frame() {  # shot_frame NAME
    shot_animation_area "$shots/$1"
    shown=$(python3 "$here/match_frame.py" "$gif" "$frames" "$shots/$1.ppm")
}
# A screenshot can meet a copy half done; a pair gets three tries.
for try in 1 2 3; do
    shot_frame animation-a
    first=$shown
    sleep 0.5
    shot_frame animation-b
    second=$shown
    [ "$first" != 0 ] && [ "$second" != 0 ] && break
done
check "the first screenshot shows a decoded frame" yes "$([ "$first" != 0 ] && echo yes || echo "no")"
check "the second screenshot shows a decoded frame" yes "$([ "$second" != 0 ] && echo yes || echo "no")"
check "the frame changes within half a second" yes "$([ "$first" != "$second" ] && echo yes || echo "no ($first)")"
echo "frames shown: $first then $second"
convert "$shots/animation-b.png" -crop "${width}x${height}+${left}+${top}" +repage "$shots/animation-window.png"

# A waiting animation costs next to nothing; a spinning wait would cost a
# whole processor.
share=$("$here/cpu_share.sh" "$program" 3)
echo "CPU share of the open window over 3 s: $share %"
check "the frame wait does not spin (under 25 %)" yes "$(awk -v s="$share" 'BEGIN {print (s < 25) ? "yes" : "no"}')"

xdotool key Escape
code=0
wait "$program" || code=$?
check "Esc ends the program with exit code 0 while frames play" 0 "$code"

finish_checks
