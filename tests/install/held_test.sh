#!/usr/bin/env bash
# A second visit while the input method is in use, unattended, in a machine
# that reports Windows 98 (WININIT.INI) or XP (PendingFileRenameOperations),
# or in Wine's own 64-bit Windows (win64: the program runs under WOW64, its
# System folder is syswow64 and its registry the 32-bit view), through real
# restarts (wineboot -r), in one sequence:
#  - one setup at a time: while a setup's window is open, a second copy
#    touches nothing; unattended it ends with 1 and its log says why, started
#    by the user it brings the open window to the front and ends with 0;
#  - a file, and then a folder, of the name of the old fixed temporary copy
#    (delD2A1.TMP) in the temporary folder: the install reads its own file,
#    installs exactly its payload and leaves them as they were;
#  - an upgrade over an install whose IME module and code table another
#    program holds: 3010, the held files keep their bytes until the restart,
#    every other file is new at once, and after the restart all are new,
#    nothing is pending and one layout entry names the IME;
#  - an uninstall while held: 3010, no layout entry left, the product out of
#    the preload list; a reinstall before the restart, and the restart then
#    leaves every file of the reinstall in place;
#  - an install whose replacements wait, and an uninstall once the files are
#    free: nothing is left to bring them back at the restart;
#  - an uninstall while held, a restart, and the machine is as before the
#    first install.
# On win64 also: no file of the product in the 64-bit system32, the
# uninstall entry under Wow6432Node, and every operation left for the
# restart names syswow64, so that the 64-bit wineboot acts on the files.
# Exit codes are read through the launcher, which sees all of 3010.
#   held_test.sh SETUP BARE_IMAGE QMXPACK PROBE DUMP HOLDER LAUNCHER RESTART_PROBE SAMPLE_DIR WORKDIR VERSION
SETUP=$1 image=$2 qmxpack=$3 PROBE=$4 DUMP=$5 HOLDER=$6 LAUNCHER=$7 RESTART_PROBE=$8 samples=$9
work=${10} version=${11}
source "$(dirname "$0")/flow.sh"

name=held-$version
open_screen "$name"
new_machine "$name" "$version"
"$bed" session  # a new Wine session would carry out what waits for the restart
drive=$(unix_path 'C:\')
family=nt
[ "$version" = win98 ] && family=9x

# The second setup: every member differs from the first's.
rm -rf "$work" && mkdir -p "$work/second"
members=(qmx.mb qmxpin.mb qmx.ime qmx.hlp click.wav error.wav zub.exe)
for f in "${members[@]}"; do
    { cat "$samples/$f"; printf 'second version'; } >"$work/second/$f"
done
(cd "$work/second" && "$qmxpack" pack --image "$image" --out "$work/second.exe" "${members[@]}" >/dev/null)
first=$(winepath -w "$(on_drive_c "$SETUP")" | tr -d '\r')
second=$(winepath -w "$(on_drive_c "$work/second.exe")" | tr -d '\r')

# The launcher returns the program's code too, which wine cuts to 8 bits.
run_launched() {  # run_launched WINDOWS_PATH ARG...; sets exit_code
    exit_code=$(win "$LAUNCHER" "$@" | awk '$1 == "exit" {code = $2} END {print code}') || true
}

restart() { "$bed" run wineboot -r >/dev/null 2>&1; }

# What waits for the next restart: the pending pairs on the NT family, the
# [rename] lines of WININIT.INI on 9x; empty when nothing does.
pending() {
    if [ "$family" = 9x ]; then
        local wininit
        wininit=$(folder windows)/WININIT.INI
        [ ! -f "$wininit" ] || tr -d '\r' <"$wininit" | grep -iv '^\[rename\]$' || true
    else
        win "$RESTART_PROBE" pending || true
    fi
}

# The names of the files that a pending replacement targets, in lower case.
replaced_at_restart() {
    if [ "$family" = 9x ]; then
        pending | grep -iv '^NUL=' | cut -d= -f1
    else
        pending | sed -n 's/^!//p'
    fi | sed 's/.*\\//' | tr 'A-Z' 'a-z' | sort | tr '\n' ' '
}

# The files of one version, each as it should be: "FILE:first" or "FILE:second".
versions() {
    local f where
    find_folders
    for f in "${members[@]}"; do
        case $f in
            qmx.*b | qmxpin.mb | qmx.ime) where=$system ;;
            qmx.hlp) where=$help ;;
            *) where=$program ;;
        esac
        if cmp -s "$where/$f" "$samples/$f"; then printf '%s:first ' "$f"
        elif cmp -s "$where/$f" "$work/second/$f"; then printf '%s:second ' "$f"
        else printf '%s:other ' "$f"; fi
    done
}
all_second=$(for f in "${members[@]}"; do printf '%s:second ' "$f"; done)

# One setup at a time, before anything is installed.
"$bed" run "$(on_drive_c "$SETUP")" &
window_pid=$!
win "$PROBE" window 30 >/dev/null || fail "the first copy shows no window"
blank=$(record_state blank)
run_launched "$second" /S '/LOG=C:\second.log'
check "an unattended second copy ends with exit code 1" 1 "$exit_code"
check "its log says why" 1 "$(tr -d '\r' <"$drive/second.log" | grep -c 'is running: this one does nothing$')"
rm -f "$drive/second.log"
win "$PROBE" minimize
check "the first copy's window is minimised" behind "$(win "$PROBE" front)"
run_launched "$second"
check "a second copy started by the user ends with exit code 0" 0 "$exit_code"
check "it brought the first copy's window to the front" front "$(win "$PROBE" front)"
same_state "the second copies touched nothing" "$blank" "$(record_state blank-after)"
xdotool mousemove 500 300 key Escape
setup_pid=$window_pid
ended "the first copy, closed with Esc"

# The user's own list in the Windows 9x form, without the product, and a
# file of the old temporary copy's name that is not the setup.
seed_preload 1=00000409 2=00000804
find "$(folder windows)" -maxdepth 1 -iname help -type d -empty -delete
find_folders
planted="$temp/delD2A1.TMP"
printf 'planted by another user' >"$planted"
before=$(record_state before)

run_launched "$first" /S
check "the first install exits 0" 0 "$exit_code"
check_installed "$samples"
check "the planted file keeps its bytes" 'planted by another user' "$(cat "$planted")"
if [ "$version" = win64 ]; then
    check "nothing of the product in the 64-bit system32" "" \
        "$(find "$windows/system32" -maxdepth 1 -iname 'qmx*' -printf '%f ')"
    entry_key='Microsoft\Windows\CurrentVersion\Uninstall\QumoIME'
    check "the uninstall entry is in the 32-bit view, under Wow6432Node" yes \
        "$(win reg query "HKLM\\Software\\Wow6432Node\\$entry_key" /v DisplayVersion /reg:64 >/dev/null 2>&1 && echo yes)"
    check "and not in the 64-bit view" no \
        "$(win reg query "HKLM\\Software\\$entry_key" /reg:64 >/dev/null 2>&1 && echo yes || echo no)"
fi
layout=$(ime_layouts)
check "one layout entry names qmx.ime" 1 "$(wc -w <<<"$layout")"
layout=${layout% }
# Wine keeps its own list as plain values; in the 9x form the layout moves in
# only when it is listed, so it is listed at entry 3 to be placed.
seed_preload "3=$layout"

# The upgrade while qmx.ime and qmx.mb are held, with a folder of the old
# temporary copy's name.
find_folders
rm "$planted" && mkdir "$planted"
hold "$system/qmx.ime" "$system/qmx.mb"
run_launched "$second" /S
check "an upgrade over held files exits 3010" 3010 "$exit_code"
check "the planted folder stays empty" "" "$(ls -A "$planted")"
rmdir "$planted" && printf 'planted by another user' >"$planted"
if [ "$version" = win64 ]; then
    check "the restart's operations name syswow64, never system32" "4 0" \
        "$(pending | grep -ic '\\syswow64\\qmx') $(pending | grep -ic '\\system32\\' || true)"
fi
check "the held files keep their bytes, the others are new" \
    "qmx.mb:first qmxpin.mb:second qmx.ime:first qmx.hlp:second click.wav:second error.wav:second zub.exe:second " \
    "$(versions)"
check "the held files are replaced at the restart" "qmx.ime qmx.mb " "$(replaced_at_restart)"
check "the second install found the layout entry that names its IME" "$layout " "$(ime_layouts)"
check "the layout stands at entry 2" "1=00000409 2=$layout 3=00000804 " "$(preload_entries)"
let_go
restart
check "after the restart every file is new" "$all_second" "$(versions)"
check "nothing waits for a restart" "" "$(pending)"
check "no waiting file is left beside the swapped files" "" \
    "$(find "$system" -maxdepth 1 -iname 'qmx*.new' -printf '%f ')"

# The uninstall while held, and a reinstall before the restart.
hold "$system/qmx.ime" "$system/qmx.mb"
run_launched "$first" /U /S
check "an uninstall of held files exits 3010" 3010 "$exit_code"
check "no layout entry names qmx.ime" "" "$(ime_layouts)"
check "no entry carries the product's layout text" "" "$(product_layouts)"
check "the product is out of the preload list" "1=00000409 2=00000804 " "$(preload_entries)"
check "the held files wait for the restart" "yes yes" \
    "$([ -e "$system/qmx.ime" ] && echo yes) $([ -e "$system/qmx.mb" ] && echo yes)"
let_go
run_launched "$second" /S
check "a reinstall before the restart exits 0" 0 "$exit_code"
restart
check "the restart leaves every file of the reinstall" "$all_second" "$(versions)"
check "nothing waits for a restart after the reinstall" "" "$(pending)"
check "one layout entry names qmx.ime after the reinstall" 1 "$(ime_layouts | wc -w)"

# An upgrade whose replacements wait, then an uninstall once nothing is held
# any more: nothing may wait for the restart to bring the files back.
hold "$system/qmx.ime" "$system/qmx.mb"
run_launched "$first" /S
check "a downgrade over held files exits 3010" 3010 "$exit_code"
let_go
run_launched "$first" /U /S
check "the uninstall of free files exits 0" 0 "$exit_code"
check "nothing waits for a restart after it" "" "$(pending)"
check "no waiting file is left" "" "$(find "$system" -maxdepth 1 -iname 'qmx*.new' -printf '%f ')"

# The uninstall while held, then the restart: the machine as before.
run_launched "$first" /S
check "the last install exits 0" 0 "$exit_code"
# On the NT family a held file in the program folder makes the folder wait
# too; Wine carries out no folder's line of WININIT.INI, so on 9x only the
# System folder's files are held.
held=("$system/qmx.ime" "$system/qmx.mb")
[ "$family" = nt ] && held+=("$program/zub.exe")
hold "${held[@]}"
run_launched "$first" /U /S
check "the last uninstall exits 3010" 3010 "$exit_code"
let_go
restart
after=$(record_state after)
# Windows 9x keeps the WININIT.INI it carried out as WININIT.BAK, and so does Wine.
[ "$family" = nt ] || sed -i '/^file C:\\windows\\wininit\.bak /Id' "$after"
check "no file of the product is left in the System folder" "" "$(find "$system" -maxdepth 1 -iname 'qmx*' -printf '%f ')"
same_state "after the restart the machine is as before the first install" "$before" "$after"
finish_checks
