#!/usr/bin/env bash
# The round trip, driven like a user: a fresh machine is recorded, the setup
# program installs (Enter), is started again and uninstalls (Tab, Enter), and
# then the machine is as recorded. With FOLDER (a Windows path on drive C) the
# program is started from there, as from a browser's download cache.
#   uninstall_test.sh SETUP PROBE DUMP [VERSION [FOLDER]]
#
# Nothing is left out of the comparison: between these runs Wine itself
# changes no file under drive C, only the times of folders, which are not
# compared (its registry lies outside drive C; only the listed keys count).
SETUP=$1 PROBE=$2 DUMP=$3 version=${4:-} start_folder=${5:-}
source "$(dirname "$0")/flow.sh"

name=uninstall-${version:-default}${start_folder:+-long-path}
open_screen "$name"
new_machine "$name" "$version"
program=$(on_drive_c "$SETUP")
if [ -n "$start_folder" ]; then
    mkdir -p "$(unix_path "$start_folder")"
    program="$(unix_path "$start_folder")/qmxsetup[1].exe"
    cp "$SETUP" "$program"
fi

# The user's own list in the Windows 9x form, beside Wine's plain values; the
# product is not in it, so the install leaves it as it is.
seed_preload 1=00000409 2=00000804
# Wine's Windows folder holds an empty Help folder; without it the install
# creates one, which the uninstall keeps.
find "$(folder windows)" -maxdepth 1 -iname help -type d -empty -delete
before=$(record_state before)

run_setup ends "$program" Return
check "the install ends the program with exit code 0" 0 "$exit_code"
installed=$(record_state installed)
check "the install wrote the seven files and the two shortcuts" 9 \
    "$(grep -ciE '^file .*\\(qmx\.mb|qmxpin\.mb|qmx\.ime|qmx\.hlp|click\.wav|error\.wav|zub\.exe|zubino\.lnk|qumo帮助\.lnk) ' "$installed")"
check "the install registered the product's layout" "e0020804 " "$(product_layouts)"
check "the install created the Help folder and wrote the help file" 1 \
    "$(grep -ci '^file C:\\windows\\help\\qmx.hlp ' "$installed")"

run_setup ends "$program" Tab Return
check "the uninstall ends the program with exit code 0" 0 "$exit_code"
after=$(record_state after)
check "the Help folder stays" 1 "$(grep -ci '^dir C:\\windows\\help ' "$after")"
same_state "the machine is as it was before the install" "$before" "$after"
finish_checks
