#!/usr/bin/env bash
# Starts the setup program in the project's own Wine prefix under the build
# folder (kept between runs, so an install can be followed by an uninstall).
# With a display the window opens there and this returns when the program
# ends. Without one the program runs on an Xvfb screen and does its job:
# a screenshot of the window, Enter (or Tab and Enter to uninstall), a
# screenshot during the work, and then a report of what the program left on
# the machine: its files with their sizes, the shortcuts, the layout entry
# and the preload list.
#   run.sh WIN32_BUILD_DIR [install|uninstall]
set -euo pipefail
build=$(cd "$1" && pwd)
job=${2:-install}
here=$(cd "$(dirname "$0")" && pwd)
bed=$here/../tests/wine/bed
program=$build/qmxsetup.exe
[ -f "$program" ] || program=$build/shell/qmxsetup_bare.exe
dump=$build/tests/install/statedump.exe
export QMX_WINE_ROOT=$build/run

if ! reason=$("$bed" can-run); then
    echo "run.sh: the setup program was built ($program), but cannot be started here: $reason." >&2
    exit 1
fi

# The program starts from C:\setup of the prefix, as from a download folder:
# its path then stays short however deep the checkout lies (the program, like
# Windows 9x, takes no path beyond MAX_PATH).
start_from_drive_c() {  # start_from_drive_c: program becomes the copy there
    mkdir -p "$WINEPREFIX/drive_c/setup"
    cp "$program" "$WINEPREFIX/drive_c/setup/"
    echo "C:\\setup holds a copy of $program"
    program=$WINEPREFIX/drive_c/setup/$(basename "$program")
}

case $job in
    install) keys=(Return) ;;
    uninstall) keys=(Tab Return) ;;
    *) echo "run.sh: the job is install or uninstall, not '$job'" >&2; exit 2 ;;
esac

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export QMX_DISPLAY=$DISPLAY
    export WINEPREFIX
    WINEPREFIX=$("$bed" keep setup)
    start_from_drive_c
    echo "running $program in $WINEPREFIX"
    "$bed" run "$program"
    exit
fi

win() { "$bed" run "$@" | tr -d '\r'; }
text_of() { xxd -r -p | tr -d '\0' | iconv -f GBK -t UTF-8; }  # registry hex as text

# The product's files, shortcuts, layout entry, uninstall entry and preload
# list as they are.
report() {
    local folders windows system desktop f path
    folders=$(win "$dump" folders)
    folder() { awk -v k="$1" '$1 == k {sub(/^[^ ]+ /, ""); print}' <<<"$folders"; }
    windows=$(folder windows) system=$(folder system) desktop=$(folder desktop)
    echo "files:"
    for path in "$system\\qmx.mb" "$system\\qmxpin.mb" "$system\\qmx.ime" "$windows\\Help\\qmx.hlp" \
        'C:\Program Files\qmx\click.wav' 'C:\Program Files\qmx\error.wav' 'C:\Program Files\qmx\zub.exe' \
        'C:\Program Files\qmx\qmxunins.exe'; do
        f=$(winepath -u "$path" 2>/dev/null | tr -d '\r')
        if [ -f "$f" ]; then printf '  %-40s %9s bytes\n' "$path" "$(stat -c %s "$f")"; else printf '  %-40s (none)\n' "$path"; fi
    done
    # The names as they are on disk, read as Unicode, whatever the code page.
    echo "shortcuts on the desktop ($desktop):"
    local links
    links=$(win "$dump" links | sed 's/^link //')
    [ -n "$links" ] || echo "  (none)"
    while IFS= read -r f; do
        [ -n "$f" ] || continue
        path=$(winepath -u "$desktop\\$f" 2>/dev/null | tr -d '\r')
        printf '  %-14s -> %s\n' "$f" "$(lnkinfo -c windows-936 "$path" 2>/dev/null | tr -d '\r' | awk -F': ' '$1 ~ /Local path/ {print $2; exit}')"
    done <<<"$links"
    local wanted
    wanted=$(printf '%s' '智能Qumo输入法' | iconv -f UTF-8 -t GBK | xxd -p)00
    echo "keyboard layout entries with the product's layout text:"
    win "$dump" layouts | awk -v t="$wanted" '$3 == t {print $2}' | while read -r name; do
        echo "  $name  \"$(echo "$wanted" | text_of)\""
    done
    echo "Add/Remove Programs entries (the display name and the uninstall commands):"
    win "$dump" programs | awk '$3 ~ /^(DisplayName|UninstallString|QuietUninstallString)$/ && $4 == "sz"' |
        while read -r _ key name _ text; do
            echo "  $key $name = $(printf '%s' "$text" | iconv -f GBK -t UTF-8)"
        done
    echo "preload list of the user (numbered entries, then Wine's plain values):"
    win "$dump" preload | sort | while read -r kind name hex; do
        echo "  $kind $name = $(echo "$hex" | text_of)"
    done
}

screen=$QMX_WINE_ROOT/screen
"$bed" xvfb "$screen"
export QMX_DISPLAY
QMX_DISPLAY=$(cat "$screen/display")
export DISPLAY=$QMX_DISPLAY WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; "$bed" xvfb-stop "$screen"' EXIT
WINEPREFIX=$("$bed" keep setup)
start_from_drive_c
echo "no display: running $program on Xvfb $DISPLAY in $WINEPREFIX"
"$bed" run "$program" &
pid=$!
read -r _ left top width height _ clientX clientY _ < <(win "$build/tests/gui/winprobe.exe" window 60)
shots=$build/screenshots
mkdir -p "$shots"
shot() {  # shot NAME: the window's part of the screen
    "$bed" shot "$shots/$1.screen.png"
    convert "$shots/$1.screen.png" -crop "${width}x${height}+${left}+${top}" +repage "$shots/$1.png"
    rm -f "$shots/$1.screen.png"
    echo "screenshot: $shots/$1.png"
}
# The first paint covers the corner of the animation; its next frame comes
# within half a second.
sleep 1.2
shot window
xdotool mousemove 500 300
for key in "${keys[@]}"; do xdotool key "$key"; done
# Screenshots while the program runs, until one shows the progress bar (its
# place on the window is no longer plain grey).
bar="$((width - 185))x27+$((clientX + 10))+$((clientY + height - 78))"
caught=none
for ((k = 0; k < 30; k++)); do
    "$bed" shot "$shots/$job.screen.png"
    kill -0 "$pid" 2>/dev/null || break  # a shot taken as the window went may show none
    convert "$shots/$job.screen.png" -crop "${width}x${height}+${left}+${top}" +repage "$shots/$job.png"
    caught=window
    if [ "$job" = uninstall ] ||
        awk -v d="$(convert "$shots/$job.screen.png" -crop "$bar" -format '%[fx:standard_deviation]' info:)" \
            'BEGIN {exit !(d > 0.01)}'; then
        caught=bar
        break
    fi
done
rm -f "$shots/$job.screen.png"
case $caught in
    bar) echo "screenshot during the $job: $shots/$job.png" ;;
    window) echo "screenshot during the $job, before the bar showed: $shots/$job.png" ;;
    none) echo "the $job had ended before a screenshot could catch it" ;;
esac
code=0
waited=0
while kill -0 "$pid" 2>/dev/null && [ $waited -lt 60 ]; do sleep 0.5; waited=$((waited + 1)); done
if kill -0 "$pid" 2>/dev/null; then
    echo "the program is still open (no layout was found); closing it with Esc"
    xdotool key Escape
fi
wait "$pid" || code=$?
echo "the program ended with exit code $code"
report
if [ "$job" = install ]; then
    echo "to uninstall in the same prefix: make run RUN=uninstall (or tools/run.sh $1 uninstall)"
fi
