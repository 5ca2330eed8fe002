# Sourced by the install and uninstall tests: a machine (a fresh Wine prefix
# on a screen of the test's own), the setup program started there and driven
# with real keys, and readers of what it left behind.
# Needs QMX_WINE_ROOT, SETUP (the packed program), PROBE and DUMP (the
# winprobe and statedump programs).
set -euo pipefail
bed=$(cd "$(dirname "${BASH_SOURCE[0]}")/../wine" && pwd)/bed
source "$(dirname "$bed")/checks.sh"

# A screen of the test's own: the keyboard follows the X pointer, which
# would move between the Wine desktops of two prefixes sharing one screen.
open_screen() {  # open_screen NAME
    screen=$QMX_WINE_ROOT/screens/$1
    "$bed" xvfb "$screen"
    export QMX_DISPLAY DISPLAY
    QMX_DISPLAY=$(cat "$screen/display")
    DISPLAY=$QMX_DISPLAY
    trap 'exit_status=$?; close_machine; "$bed" xvfb-stop "$screen"' EXIT
}

# Ends the machine's Wine server; the machine itself is removed unless a
# check failed or the script is ending on an error, so that what went wrong
# can still be looked at.
close_machine() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    if [ "$failures" = 0 ] && [ "${exit_status:-0}" = 0 ]; then
        "$bed" drop "$(basename "$WINEPREFIX")"
    else
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
}

# A fresh machine; VERSION (win98, winxp, ..., - for Wine's default) sets the
# Windows version Wine reports, LOCALE the ANSI code page (see the bed). The
# setup program under test, SETUP, is on its drive C from the start.
# VERSION win64 makes Wine's own 64-bit Windows, where the program runs under
# WOW64.
new_machine() {  # new_machine NAME [VERSION [LOCALE]]
    close_machine
    export WINEPREFIX
    if [ "${2:-}" = win64 ]; then
        WINEPREFIX=$("$bed" fresh64 "$1")
    else
        WINEPREFIX=$("$bed" fresh "$1" "${2:-}" "${3:-}")
    fi
    if [ -n "${SETUP:-}" ]; then
        on_drive_c "$SETUP" >/dev/null
    fi
}

win() { "$bed" run "$@" | tr -d '\r'; }
unix_path() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
win_folder() { win "$DUMP" folders | awk -v k="$1" '$1 == k {sub(/^[^ ]+ /, ""); print}'; }
folder() { unix_path "$(win_folder "$1")"; }

# Sets exit_code to the exit code of the program PID; one still running is
# killed, counted as a failure and given the exit code "none".
collect_exit() {  # collect_exit PID WHAT_FAILED
    if kill -0 "$1" 2>/dev/null; then
        fail "$2"
        kill "$1" 2>/dev/null || true
        exit_code=none
        return 1
    fi
    exit_code=0
    wait "$1" || exit_code=$?
}

# Waits for the program started as setup_pid to end within a minute and
# checks its exit code, 0 unless told; the shell sees its low 8 bits only
# (3010 as 194).
ended() {  # ended WHAT [CODE]
    local waited=0
    while kill -0 "$setup_pid" 2>/dev/null && [ $waited -lt 60 ]; do
        sleep 1
        waited=$((waited + 1))
    done
    collect_exit "$setup_pid" "$1: the program did not end" && check "$1: the exit code" "${2:-0}" "$exit_code"
}

# Prints the path of PROGRAM on drive C of the machine, copying it there when
# it lies elsewhere, so that what a test sees never depends on the folder
# the project is checked out in.
on_drive_c() {  # on_drive_c PROGRAM
    local drive
    drive=$(unix_path 'C:\')
    case $1 in
        "$drive"*) echo "$1" ;;
        *)
            mkdir -p "$drive/setup"
            cp "$1" "$drive/setup/"
            echo "$drive/setup/$(basename "$1")"
            ;;
    esac
}

# Starts PROGRAM from drive C, waits for its window and types KEYS (xdotool key names).
# With "ends" the program must end by itself; with "stays" it must still be
# open once its work is done, and is then closed with Esc, which it only
# takes when no install is running. Sets exit_code, and for "stays" also
# bars_at_close, the progress bars on the window right before the last Esc.
run_setup() {  # run_setup ends|stays PROGRAM KEYS...
    local expect=$1 program
    program=$(on_drive_c "$2")
    shift 2
    "$bed" run "$program" &
    local pid=$!
    if ! win "$PROBE" window 30 >/dev/null; then
        fail "no window"
        kill "$pid" 2>/dev/null || true
        exit_code=none
        return
    fi
    xdotool mousemove 500 300
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.3
    done
    local waited=0
    if [ "$expect" = stays ]; then
        while kill -0 "$pid" 2>/dev/null && [ $waited -lt 60 ]; do
            sleep 1
            waited=$((waited + 1))
            if [ $waited -ge 3 ]; then
                bars_at_close=$(win "$PROBE" bars)
                xdotool key Escape
            fi
        done
    else
        while kill -0 "$pid" 2>/dev/null && [ $waited -lt 120 ]; do
            sleep 1
            waited=$((waited + 1))
        done
    fi
    collect_exit "$pid" "the program did not end" || return 0
    if [ "$expect" = stays ] && [ $waited -lt 3 ]; then
        fail "the program ended by itself"
    fi
}

# A window driven key by key, for a message box to be read in between.
start_setup() {  # start_setup PROGRAM; sets setup_pid
    "$bed" run "$(on_drive_c "$1")" &
    setup_pid=$!
    win "$PROBE" window 30 >/dev/null || fail "no window"
    xdotool mousemove 500 300
}

press() {
    xdotool key "$1"
    sleep 0.3
}

# The message box over the window: "owner yes|no", "title TITLE", its text.
message() { win "$PROBE" message 60 | iconv -f GBK -t UTF-8 || true; }

has() {  # has TEXT PIECE: "yes" when TEXT holds PIECE
    case $1 in *"$2"*) echo yes ;; *) echo "no: $1" ;; esac
}

gbk_hex() { printf '%s' "$1" | iconv -f UTF-8 -t GBK | od -An -tx1 | tr -d ' \n'; }
layout_text_hex=$(gbk_hex '智能Qumo输入法')00

# The names of the layout entries whose layout text is the product's.
product_layouts() { win "$DUMP" layouts | awk -v t="$layout_text_hex" '$3 == t {print $2}' | sort | tr '\n' ' '; }

# The names of the layout entries whose IME file, alone or at the end of a
# path, is qmx.ime in any letter case.
ime_layouts() {
    local name text file
    win "$DUMP" layouts | while read -r _ name text file; do
        [ "$file" = - ] && continue
        file=$(echo "$file" | xxd -r -p | tr -d '\0')
        case "${file,,}" in qmx.ime | *\\qmx.ime) printf '%s ' "$name" ;; esac
    done
}

# Seeds the Windows 9x form of the preload list: NAME=VALUE pairs.
seed_preload() {
    local pair
    for pair in "$@"; do
        wine reg add "HKCU\\keyboard layout\\preload\\${pair%%=*}" /ve /d "${pair#*=}" /f >/dev/null
    done
}

# The numbered entries as NAME=VALUE, sorted by name.
preload_entries() {
    win "$DUMP" preload | awk '$1 == "entry" {print $2 "=" $3}' | sort |
        while IFS== read -r name hex; do printf '%s=%s ' "$name" "$(echo "$hex" | xxd -r -p | tr -d '\0')"; done
}
preload_values() { win "$DUMP" preload | awk '$1 == "value"' | sort; }

# Everything that an install may change, one sorted line per item, with GBK
# names shown as UTF-8: every file and folder of drive C with its size and
# attribute word, the keyboard-layout entries and both forms of the preload
# list, and the entries of the list of installed programs. Kept under the
# bed's folder for a look after a failure.
record_state() {  # record_state LABEL, prints the file written
    local file=$QMX_WINE_ROOT/states/$(basename "$WINEPREFIX")/$1
    mkdir -p "$(dirname "$file")"
    { win "$DUMP" files 'C:'; win "$DUMP" layouts; win "$DUMP" preload; win "$DUMP" programs; } |
        iconv -f GBK -t UTF-8 | LC_ALL=C sort > "$file"
    echo "$file"
}

# Compares two recorded states, allowing only the folders that an install
# creates and an uninstall keeps: the Windows folder's "Help" and the drive's
# "Program Files", when they were not there before. Shows the difference.
same_state() {  # same_state WHAT BEFORE AFTER
    local windows kept
    windows=$(win_folder windows)
    kept=$(mktemp)
    HELP="dir $windows\\help " PROGRAMS="dir ${windows:0:3}program files " awk '
        function kept_folder(line, prefix) {
            return index(tolower(line), tolower(prefix)) == 1 &&
                substr(line, length(prefix) + 1) ~ /^[0-9a-f]+$/
        }
        NR == FNR { before[$0]; next }
        !($0 in before) && (kept_folder($0, ENVIRON["HELP"]) || kept_folder($0, ENVIRON["PROGRAMS"])) { next }
        { print }' "$2" "$3" > "$kept"
    if diff -u "$2" "$kept" > "$kept.diff"; then
        echo "ok: $1"
    else
        fail "$1 (- before, + after)"
        tail -n +3 "$kept.diff"
    fi
    rm -f "$kept" "$kept.diff"
}

# The machine's folders as Unix paths: windows, system, desktop, temp, help
# and program (Program Files\qmx on drive C). Under WOW64 the System folder
# that the program sees as system32 is syswow64.
find_folders() {
    windows=$(folder windows) system=$(folder system) desktop=$(folder desktop) temp=$(folder temp)
    if [ "$(cat "$WINEPREFIX/.bed-arch" 2>/dev/null)" = win64 ]; then
        system=$(find "$windows" -maxdepth 1 -iname syswow64)
    fi
    help=$(find "$windows" -maxdepth 1 -iname help)
    program="$(unix_path 'C:\')/Program Files/qmx"
}

link_field() { lnkinfo -c windows-936 "$1" 2>/dev/null | tr -d '\r' | awk -F': ' -v f="$2" '$1 ~ "^[ \t]*" f "[ \t]*$" {print $2; exit}'; }

# The program files (MZ) in the temporary folder, one a line: the setup
# reads its payload from its own file and copies itself nowhere. A kept
# uninstaller that an uninstall set aside there (qmx*.tmp, deleted at the
# restart) is not counted.
programs_in_temp() {
    local f
    for f in "$temp"/*; do
        case ${f##*/} in [qQ][mM][xX]*.[tT][mM][pP]) continue ;; esac
        [ -f "$f" ] && [ "$(head -c 2 "$f")" = MZ ] && echo "$f"
    done
    return 0
}

# Everything a complete install of the sample leaves in the file system:
# the seven files as the sample has them, no copy of the program in the
# temporary folder, and the two
# shortcuts, each pointing at its file and described by its own path.
check_installed() {  # check_installed SAMPLE_DIR
    local samples=$1 f desktop_win
    find_folders
    same() {  # same INSTALLED SAMPLE
        if cmp -s "$1" "$samples/$2"; then echo same; else echo "differs or missing: $1"; fi
    }
    for f in qmx.mb qmxpin.mb qmx.ime; do check "$f in the System folder" same "$(same "$system/$f" $f)"; done
    check "qmx.hlp in the Help folder" same "$(same "$help/qmx.hlp" qmx.hlp)"
    for f in click.wav error.wav zub.exe; do check "$f in Program Files\\qmx" same "$(same "$program/$f" $f)"; done
    check "no copy of the program in the temporary folder" "" "$(programs_in_temp)"
    desktop_win=$(win_folder desktop)
    check "the help shortcut's target" 'C:\windows\Help\qmx.hlp' "$(link_field "$desktop/Qumo帮助.lnk" 'Local path')"
    check "the help shortcut's description" "$desktop_win\\Qumo帮助.lnk" "$(link_field "$desktop/Qumo帮助.lnk" Description)"
    check "the Zubino shortcut's target" 'C:\Program Files\qmx\zub.exe' "$(link_field "$desktop/Zubino.lnk" 'Local path')"
    check "the Zubino shortcut's description" "$desktop_win\\Zubino.lnk" "$(link_field "$desktop/Zubino.lnk" Description)"
}

# Runs the program with its arguments and waits for it to end by itself;
# sets exit_code ("none" when it had to be killed).
run_unattended() {  # run_unattended PROGRAM ARG...
    "$bed" run "$(on_drive_c "$1")" "${@:2}" &
    local pid=$! waited=0
    while kill -0 "$pid" 2>/dev/null && [ $waited -lt 600 ]; do
        sleep 0.2
        waited=$((waited + 1))
    done
    collect_exit "$pid" "$* did not end by itself" || true
}

# Holds files the way a loaded module is held (read sharing only) with the
# holder program HOLDER, until let_go. Needs drive C as a Unix path in drive.
# The paths are turned into Windows ones in the bed's UTF-8 locale, which
# the holder is started in, so that names beyond ASCII reach it unchanged.
hold() {  # hold FILE... (Unix paths)
    local paths=() f
    for f in "$@"; do paths+=("$(win winepath -w "$f")"); done
    rm -f "$drive/held.ready" "$drive/held.release"
    "$bed" run "$HOLDER" 'C:\held.ready' 'C:\held.release' "${paths[@]}" &
    holder_pid=$!
    for _ in $(seq 300); do
        [ -e "$drive/held.ready" ] || ! kill -0 "$holder_pid" 2>/dev/null && break
        sleep 0.2
    done
    [ -e "$drive/held.ready" ] || fail "the holder does not hold $*"
}

let_go() {
    touch "$drive/held.release"
    local code=0
    wait "$holder_pid" || code=$?
    check "the holder lets go" 0 "$code"
    rm -f "$drive/held.ready"
}
