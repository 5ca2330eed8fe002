#!/usr/bin/env bash
# A setup started from a download folder loads no library planted beside it.
# A library that records its loading lies in C:\Downloads beside the setup,
# as comctl32.dll and then as imm32.dll; the folder is also the current one,
# and Wine prefers a program's own copy of both libraries, as Windows does.
# The window opens, Enter installs everything and /U /S uninstalls.
#  - comctl32.dll: the setup never loads it. A program in the same folder
#    that imports COMCTL32 directly does, so the case can fail.
#  - imm32.dll: Wine's user32 loads IMM32 by name as it starts, before the
#    program's first instruction, so the planted one is in every process
#    with a window. The install still hands the IME over, which it can only
#    do through the System folder's IMM32: the planted one has no functions.
# Last, with the System folder's COMCTL32 made unloadable, /S installs
# nothing and ends with exit code 1 rather than take the planted copy.
#   planted_library_test.sh SETUP PROBE DUMP PLANTED_LIBRARY DIRECT_IMPORTS SAMPLE_DIR
setup=$1 PROBE=$2 DUMP=$3 planted=$4 direct=$5 samples=$6
source "$(dirname "$0")/flow.sh"
export WINEDLLOVERRIDES="winemenubuilder.exe=d;comctl32,imm32=n,b"

# The marker is named after the library as the loader asked for it, in
# whatever case: Wine keeps that case on the Unix side.
markers() { find "$downloads" -maxdepth 1 -iname "$library.dll.loaded" "$@"; }
loaded() { [ -n "$(markers)" ] && echo loaded || echo "not loaded"; }

# A fresh machine with the setup, the direct importer and the planted
# library in C:\Downloads, which becomes the current folder.
plant() {  # plant LIBRARY
    library=$1
    cd "$QMX_WINE_ROOT"
    new_machine "planted-$library"
    downloads="$(unix_path 'C:\')/Downloads"
    mkdir -p "$downloads"
    cp "$setup" "$direct" "$downloads/"
    cp "$planted" "$downloads/$library.dll"
    cd "$downloads"
}

# Enter in the window installs, /U /S uninstalls, both from C:\Downloads.
install_and_uninstall() {
    local started
    started="$downloads/$(basename "$setup")"
    run_setup ends "$started" Return
    check "the install beside $library.dll ends with exit code 0" 0 "$exit_code"
    check_installed "$samples"
    check "the IME beside $library.dll was handed to the system" yes "$([ -n "$(product_layouts)" ] && echo yes)"
    run_unattended "$started" /U /S
    check "/U /S beside $library.dll ends with exit code 0" 0 "$exit_code"
}

open_screen planted-library

plant comctl32
win 'C:\Downloads\direct_imports.exe' >/dev/null || true
check "a program importing COMCTL32 directly loads the planted one" loaded "$(loaded)"
markers -delete
install_and_uninstall
check "the setup did not load the planted comctl32.dll" "not loaded" "$(loaded)"

find_folders
printf 'not a library' > "$system/comctl32.dll"
WINEDLLOVERRIDES="winemenubuilder.exe=d;comctl32=n" run_unattended "$downloads/$(basename "$setup")" /S
check "/S without a COMCTL32 in the System folder ends with exit code 1" 1 "$exit_code"
check "/S without a COMCTL32 in the System folder writes nothing" "" "$(ls "$system" | grep -i '^qmx' || true)"
check "/S without a COMCTL32 in the System folder takes no other copy" "not loaded" "$(loaded)"

plant imm32
install_and_uninstall

cd "$QMX_WINE_ROOT"
finish_checks
