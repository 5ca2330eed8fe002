#!/usr/bin/env bash
# The window on the screens most people have now, in one Wine prefix on one
# Xvfb screen of 2560 x 1440: 1366 x 768, 1920 x 1080 and 2560 x 1440 at
# 96 DPI and 1920 x 1080 at 144 DPI (150 %); and 800 x 600 at 96 DPI, the
# worked example that window_gui_test does not show. On each, against the
# picture that window_picture_dump prints from the product's arithmetic for
# this title bar: the window's size and place, the buttons (and their size,
# 78 x 30 scaled as the picture), the panel (panel_check.py: the frame's lines
# whole, the logo, every text line in its own rows, so none below the frame's
# bottom edge), and a frame of the animation in its place at its scale. Esc
# ends each run with exit code 0. Screenshots and pictures are kept under the
# build folder.
#   screens_gui_test.sh IMAGE WINPROBE DUMP LOGO_BMP GIFDUMP GIF SHOTDIR
set -euo pipefail
image=$1 probe=$2 dump=$3 logo=$4 gifdump=$5 gif=$6 shots=$7
here=$(cd "$(dirname "$0")" && pwd)
bed=$here/../wine/bed
frames=$shots/screens-frames
mkdir -p "$shots" "$frames"
"$gifdump" "$gif" "$frames" >/dev/null
. "$here/session.sh"
gui_session screens 2560x1440

# The rectangle NAME of the picture file as "X Y WIDTH HEIGHT".
item() {  # item PICTURE NAME
    awk -v name="$2" '{n = $5; for (i = 6; i <= NF; i++) n = n " " $i}
                      n == name {print $1, $2, $3 - $1, $4 - $2}' "$1"
}

# Within a pixel of SIZE x NUMERATOR / DENOMINATOR.
scaled() {  # scaled SIZE NUMERATOR DENOMINATOR ACTUAL
    awk -v s="$1" -v n="$2" -v d="$3" -v a="$4" \
        'BEGIN {e = s * n / d; print (a - e <= 1 && e - a <= 1) ? "yes" : "no (" a ")"}'
}

for screen in 800x600@96 1366x768@96 1920x1080@96 2560x1440@96 1920x1080@144; do
    size=${screen%@*} dpi=${screen#*@}
    name=screen-$size-$dpi
    picture=$shots/$name.picture
    echo "== $size at $dpi DPI"
    "$bed" dpi "$dpi"
    "$bed" screen "$size"
    "$bed" run "$image" &
    program=$!
    geometry=$("$bed" run "$probe" window 30) || { echo "FAIL: no window on $screen"; exit 1; }
    read -r _ left top width height _ clientX clientY _ ix iy iw ih _ ux uy uw uh <<<"${geometry//$'\r'/}"
    # The title bar and the frames as this Wine draws them at this DPI.
    frame=$((clientX - left))
    "$dump" "${size%x*}" "${size#*x}" "$dpi" $((2 * frame)) $((clientY - top + frame)) >"$picture"
    read -r _ ewidth eheight eleft etop <"$picture"
    read -r _ numerator denominator < <(sed -n 2p "$picture")
    check "window on $screen" "$eleft $etop $ewidth $eheight" "$left $top $width $height"
    [ "$screen" != 800x600@96 ] || check "the worked example's window on 800x600" "240 86 320 342" \
        "$left $top $width $height"
    check "install button on $screen" "$(item "$picture" "install button")" "$ix $iy $iw $ih"
    check "uninstall button on $screen" "$(item "$picture" "uninstall button")" "$ux $uy $uw $uh"
    check "buttons 78 x 30 scaled as the picture on $screen" "yes yes" \
        "$(scaled 78 "$numerator" "$denominator" "$iw") $(scaled 30 "$numerator" "$denominator" "$ih")"

    "$bed" shot "$shots/$name.png"
    "$here/panel_check.py" "$shots/$name.png" "$logo" "$picture" "$clientX" "$clientY" || fail "the panel on $screen"
    # The animation's area brought back to the GIF's 100 x 76 by taking one
    # screen pixel of each that the GIF's pixel was repeated over.
    read -r ax ay aw ah <<<"$(item "$picture" animation)"
    for try in 1 2 3; do
        "$bed" shot "$shots/$name-animation.png"
        convert "$shots/$name-animation.png" -crop "${aw}x${ah}+$((clientX + ax))+$((clientY + ay))" +repage \
            -sample '100x76!' "$shots/$name-animation.ppm"
        shown=$(python3 "$here/match_frame.py" "$gif" "$frames" "$shots/$name-animation.ppm")
        [ "$shown" != 0 ] && break
    done
    check "a frame of the animation in its place on $screen" yes "$([ "$shown" != 0 ] && echo yes || echo no)"
    convert "$shots/$name.png" -crop "${width}x${height}+${left}+${top}" +repage "$shots/$name-window.png"

    xdotool mousemove $((left + width / 2)) $((top + 10))  # the X focus follows the pointer
    xdotool key Escape
    code=0
    wait "$program" || code=$?
    check "Esc ends the program with exit code 0 on $screen" 0 "$code"
done

finish_checks
