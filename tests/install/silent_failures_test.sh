#!/usr/bin/env bash
# Unattended runs that cannot complete end by themselves with exit code 1:
# a container without the IME; files that cannot be created or written
# whole, which are not left behind cut short and whose follow-up step is not
# taken; an uninstall that leaves a file of its list behind, which keeps the
# way to try again; and one whose preload list rewrite fails.
#   silent_failures_test.sh SETUP BARE_IMAGE PROBE DUMP SAMPLE_DIR WORKDIR
SETUP=$1 image=$2 PROBE=$3 DUMP=$4 samples=$5 work=$6
source "$(dirname "$0")/flow.sh"
mkdir -p "$work"

open_screen silent-failures
new_machine silent-failures
python3 "$(dirname "$0")/make_container.py" "$image" "$work/no-ime.exe" packed:after.dll:10
run_unattended "$work/no-ime.exe" /S
check "/S without an IME ends by itself with exit code 1" 1 "$exit_code"
find_folders
check "the member before it was written" 10 "$(stat -c %s "$program/after.dll" 2>/dev/null)"

# The IME module's file takes the bytes but cannot hold them (a link to a
# full device), and the help file's name is taken by a folder.
new_machine silent-failures
find_folders
ln -s /dev/full "$system/qmx.ime"
mkdir -p "$windows/help/qmx.hlp"
run_unattended "$SETUP" /S
check "/S with files that cannot be written ends with exit code 1" 1 "$exit_code"
# Wine deletes no device, so the link stays; that a cut file is deleted is
# seen in the member writer's own test.
check "no cut qmx.ime is left" "" "$(find "$system" -maxdepth 1 -iname qmx.ime -type f)"
check "/dev/full is still there" yes "$([ -c /dev/full ] && echo yes)"
check "the IME was not handed to the system" "" "$(product_layouts)"
check "no shortcut to the help file that was not written" no "$([ -e "$desktop/Qumo帮助.lnk" ] && echo yes || echo no)"
check "the other members are written" "yes yes" \
    "$(cmp -s "$system/qmx.mb" "$samples/qmx.mb" && echo yes) $([ -e "$desktop/Zubino.lnk" ] && echo yes)"
check "no copy of the program in the temporary folder" "" "$(programs_in_temp)"

# A read-only file on the removal list stays for good, and the uninstall
# says so. The entry in the list of installed programs and the kept
# uninstaller it names stay, so that the uninstall can be tried again from
# there; once the file may go, that second try removes everything.
rm "$system/qmx.ime"
rmdir "$windows/help/qmx.hlp"
run_unattended "$SETUP" /S
check "the install over the repaired targets exits 0" 0 "$exit_code"
entry_lines() { win "$DUMP" programs | awk '$2 == "QumoIME"' | wc -l; }
kept="$program/qmxunins.exe"
win "$DUMP" attributes 21 "$(win_folder system)\\qmx.mb"
run_unattended "$kept" /U /S '/LOG=C:\uninstall.log'
check "/U /S with a file left behind ends with exit code 1" 1 "$exit_code"
check "the read-only file stays" yes "$([ -e "$system/qmx.mb" ] && echo yes)"
check "the rest of the list is gone, the kept uninstaller stays" qmxunins.exe "$(ls "$program" 2>/dev/null; ls "$desktop")"
check "the uninstall entry stays whole: ten values" 10 "$(entry_lines)"
check "the log says the entry and the uninstaller are kept" 1 \
    "$(tr -d '\r' <"$(unix_path 'C:\')/uninstall.log" | grep -c '^uninstall entry and uninstaller kept for another try: HKLM.*QumoIME$')"
win "$DUMP" attributes 20 "$(win_folder system)\\qmx.mb"
run_unattended "$kept" /U /S
check "the second try from the kept uninstaller ends with exit code 0" 0 "$exit_code"
check "the file that stayed is gone" no "$([ -e "$system/qmx.mb" ] && echo yes || echo no)"
check "the program folder is gone" no "$([ -e "$program" ] && echo yes || echo no)"
check "the uninstall entry is gone" 0 "$(entry_lines)"

# A numbered preload list whose rewrite fails is put back, and the uninstall
# says so: its highest entry holds a subkey, so it cannot be deleted.
new_machine silent-failures
run_unattended "$SETUP" /S
layout=$(product_layouts)
layout=${layout% }
seed_preload 1=00000409 "2=$layout" 3=00000804 3\\inside=x
run_unattended "$SETUP" /U /S
check "/U /S with a preload list that cannot be rewritten ends with exit code 1" 1 "$exit_code"
check "the list is as it was" "1=00000409 2=$layout 3=00000804 " "$(preload_entries)"
check "the layout entry is gone all the same" "" "$(product_layouts)"
finish_checks
