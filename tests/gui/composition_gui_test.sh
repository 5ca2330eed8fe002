#!/usr/bin/env bash
# The window's animation area against giflib: a program made of the
# product's window and animation code plays an animation as drawing programs
# save it (offsets, local tables, interlace, transparency, each disposal),
# and every screenshot of the area equals one of giflib's frames composed as
# viewers show them (gifcompose), until each has been seen. The first frame
# is on screen as soon as the window is; erasing and painting the window
# shows the current frame, not the grey. Screenshots are kept under the build folder.
#   composition_gui_test.sh PLAYER WINPROBE GIFCOMPOSE GIF SHOTDIR
set -euo pipefail
player=$1 probe=$2 gifcompose=$3 gif=$4 shots=$5
here=$(cd "$(dirname "$0")" && pwd)
bed=$here/../wine/bed
references=$shots/composition-references
mkdir -p "$shots" "$references"
"$gifcompose" "$gif" "$references" >/dev/null
count=$(ls "$references" | wc -l)
. "$here/session.sh"
gui_session composition

start_window "$player"

# The composed frame a screenshot of the animation area shows, 0 for none.
shot_frame() {  # shot_frame NAME
    shot_animation_area "$shots/$1"
    python3 "$here/match_frame.py" --composed "$references" "$shots/$1.ppm"
}

# The first frame stays two seconds: the grey of a lost first frame would
# show in these shots. A shot can meet a copy half done, so three tries.
first=0
for try in 1 2 3; do
    first=$(shot_frame composition-first)
    [ "$first" != 0 ] && break
done
check "the first frame is on screen with the window" 1 "$first"

"$bed" run "$probe" redraw
check "erasing and painting the window shows the current frame" yes \
    "$([ "$(shot_frame composition-redrawn)" != 0 ] && echo yes || echo no)"

# Every shot shows one of the composed frames; a half-done copy may cost one.
declare -A seen=()
unmatched=0
for shot in $(seq 1 60); do
    shown=$(shot_frame composition-loop)
    if [ "$shown" = 0 ]; then
        unmatched=$((unmatched + 1))
        cp "$shots/composition-loop.png" "$shots/composition-unmatched-$unmatched.png"
    else
        seen[$shown]=1
    fi
    [ "${#seen[@]}" = "$count" ] && break
    sleep 0.2
done
echo "composed frames seen: ${!seen[*]} of $count; shots matching none: $unmatched"
check "each of giflib's composed frames is shown" "$count" "${#seen[@]}"
check "shots match a composed frame (at most two half-done copies)" yes \
    "$([ "$unmatched" -le 2 ] && echo yes || echo "no ($unmatched)")"

xdotool key Escape
code=0
wait "$program" || code=$?
check "Esc ends the program with exit code 0" 0 "$code"

finish_checks
