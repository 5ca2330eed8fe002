#!/usr/bin/env bash
# The unattended round trip: /S installs everything the keyboard-driven
# install does, /U /S takes it all away again, and /U /S on the clean machine
# changes nothing; each run ends by itself with exit code 0. The program is
# started from a path of exactly MAX_PATH - 1 characters.
#   silent_test.sh SETUP PROBE DUMP SAMPLE_DIR [VERSION [NAME]]
SETUP=$1 PROBE=$2 DUMP=$3 samples=$4 version=${5:-}
source "$(dirname "$0")/flow.sh"

name=silent-${6:-${version:-default}}
open_screen "$name"
new_machine "$name" "$version"
# Started from a path of 259 characters, the longest that MAX_PATH holds.
deep="C:\\$(printf 'd%.0s' $(seq 243))\\qmxsetup.exe"
check "the program's path is 259 characters" 259 "${#deep}"
mkdir -p "$(unix_path 'C:\')/$(printf 'd%.0s' $(seq 243))"
cp "$SETUP" "$(unix_path "$deep")"
SETUP=$(unix_path "$deep")

# The machine as recorded holds the user's list without the product, and no
# Help folder (which the install creates and the uninstall keeps).
plain_before=$(preload_values)
seed_preload 1=00000409 2=00000804
find "$(folder windows)" -maxdepth 1 -iname help -type d -empty -delete
before=$(record_state before)
# The identifier that the new layout receives on a fresh machine, at entry 3.
seed_preload 3=e0020804

run_unattended "$SETUP" /S
check "/S ends the program with exit code 0" 0 "$exit_code"
check_installed "$samples"
check "one layout entry carries the product's layout text" "e0020804 " "$(product_layouts)"
check "the layout moved to entry 2, the others kept" "1=00000409 2=e0020804 3=00000804 " "$(preload_entries)"
check "the plain preload values are untouched" "$plain_before" "$(preload_values)"

run_unattended "$SETUP" /u /S
check "/u /S ends the program with exit code 0" 0 "$exit_code"
check "the product's layout entry is gone" "" "$(product_layouts)"
same_state "the machine is as it was before the install" "$before" "$(record_state after)"

run_unattended "$SETUP" /S /U
check "/S /U on a clean machine ends with exit code 0" 0 "$exit_code"
same_state "/S /U on a clean machine changes nothing" "$before" "$(record_state again)"
finish_checks
