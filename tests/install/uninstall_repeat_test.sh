#!/usr/bin/env bash
# The uninstall where nothing is installed, twice, and then install,
# uninstall and install again: each run ends the program by itself, and the
# second install finds its own layout entry with nothing left of the first.
#   uninstall_repeat_test.sh SETUP PROBE DUMP
SETUP=$1 PROBE=$2 DUMP=$3
source "$(dirname "$0")/flow.sh"

name=uninstall-repeat
open_screen "$name"
new_machine "$name"

# The list names the identifier that the new layout receives on a fresh
# machine, at its end.
seed_preload 1=00000409 2=00000804 3=e0020804
clean=$(record_state clean)
for run in first second; do
    run_setup ends "$SETUP" Tab Return
    check "the $run uninstall on a clean machine ends the program with exit code 0" 0 "$exit_code"
    same_state "the $run uninstall on a clean machine changes nothing" "$clean" "$(record_state "$run")"
done

run_setup ends "$SETUP" Return
check "the first install ends the program with exit code 0" 0 "$exit_code"
check "the first install's layout entry" "e0020804 " "$(product_layouts)"
check "the first install moved its layout to entry 2" "1=00000409 2=e0020804 3=00000804 " "$(preload_entries)"

run_setup ends "$SETUP" Tab Return
check "the uninstall ends the program with exit code 0" 0 "$exit_code"
check "no layout entry of the product is left" "" "$(product_layouts)"
check "the list is closed up" "1=00000409 2=00000804 " "$(preload_entries)"

# The user's desktop names the layout again when it is loaded; Wine does not,
# so the list is given the identifier that a clean machine hands out first.
seed_preload 3=e0020804
run_setup ends "$SETUP" Return
check "the second install ends the program with exit code 0" 0 "$exit_code"
check "the second install has one layout entry, under the first free identifier" \
    "e0020804 " "$(product_layouts)"
check "the second install moved its layout to entry 2" "1=00000409 2=e0020804 3=00000804 " "$(preload_entries)"
finish_checks
