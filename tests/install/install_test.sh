#!/usr/bin/env bash
# The install, end to end, driven like a user: the packed setup program on a
# fresh machine, Enter, and then everything checked where it landed.
#   install_test.sh SETUP PROBE DUMP SAMPLE_DIR [VERSION]
SETUP=$1 PROBE=$2 DUMP=$3 samples=$4 version=${5:-}
source "$(dirname "$0")/flow.sh"

name=install-${version:-default}
open_screen "$name"
new_machine "$name" "$version"

# Wine keeps its own list as plain values; the numbered form is seeded too,
# holding the identifier that the new layout receives on a fresh machine.
plain_before=$(preload_values)
seed_preload 1=00000409 2=00000804 3=e0020804

run_setup ends "$SETUP" Return
check "the install ends the program with exit code 0" 0 "$exit_code"

check_installed "$samples"
check "one layout entry carries the product's layout text" "e0020804 " "$(product_layouts)"
check "the layout moved to entry 2, the others kept" "1=00000409 2=e0020804 3=00000804 " "$(preload_entries)"
check "the plain preload values are untouched" "$plain_before" "$(preload_values)"

# A second install over the first replaces the files and keeps the layout
# that the list names at entry 2. It hands the IME to the system only when no
# entry names its file yet: Wine's ImmInstallIMEA would register the same
# module again under a new entry.
printf 'changed' > "$program/zub.exe"
run_setup ends "$SETUP" Return
check "the second install ends the program with exit code 0" 0 "$exit_code"
check "the second install restores zub.exe" same "$(same "$program/zub.exe" zub.exe)"
check "the layout entry is still the only one" "e0020804 " "$(product_layouts)"
check "the layout stays at entry 2" "1=00000409 2=e0020804 3=00000804 " "$(preload_entries)"
finish_checks
