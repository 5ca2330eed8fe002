#!/usr/bin/env bash
# Containers that break things, each packed behind the bare image for the
# test and installed on a fresh machine: members that are discarded, stored,
# or malformed; member counts of 0 and 11; sizes that run past the file;
# program and temporary paths too long for their buffers. None may crash the
# program or write anything but the expected files in the target folders.
#   containers_test.sh BARE_IMAGE PROBE DUMP WORKDIR
image=$1 PROBE=$2 DUMP=$3 work=$4
source "$(dirname "$0")/flow.sh"
make_container="$(dirname "$0")/make_container.py"
mkdir -p "$work"

open_screen containers
files() { win "$DUMP" files 'C:' | LC_ALL=C sort; }

# What drive C holds now and did not hold in the listing given, less the
# program folder, which every install creates before it reads its container.
added_since() { LC_ALL=C comm -13 <(echo "$1") <(files) | grep -v '^dir .*\\Program Files\\qmx ' || true; }

# Installs the container on a fresh machine and prints what it added or
# changed on drive C. No IME is in these containers, so no layout is found
# and the window stays open until Esc.
install_container() {  # install_container NAME [--in WINDIR] MEMBERSPEC...
    local name=$1
    shift
    new_machine "containers"
    local program=$work/$name.exe
    python3 "$make_container" "$image" "$program" "$@"
    local before
    before=$(files)
    run_setup stays "$program" Return
    check "$name: exit code 0" 0 "$exit_code"
    check "$name: no progress bar left" 0 "$bars_at_close"
    added=$(added_since "$before")
}

install_container mixed packed:readme.txt:50 packed:A.IME:50 packed:a.b.ime:50 stored:x.wav:100 \
    nameless:60 blowup:big.mb 'packed:..\evil.dll:20' packed:c:evil.mb:20 packed:noext:20 packed:after.dll:1000
check "mixed: only the stored and the well-formed members are written" \
    "file C:\\Program Files\\qmx\\after.dll 1000 20
file C:\\Program Files\\qmx\\x.wav 94 20" "$added"
drive=$(unix_path 'C:\')
check "mixed: the stored member's bytes" "$(python3 -c 'import sys; sys.stdout.buffer.write(bytes((7*i+3)&255 for i in range(94)))' | od -An -tx1)" \
    "$(od -An -tx1 "$drive/Program Files/qmx/x.wav")"

install_container empty
check "N = 0: nothing written" "" "$added"

install_container eleven --count 11
check "N = 11: nothing written" "" "$added"

install_container overrun --grow-first 4000000000 packed:qmx.mb:10 packed:after.dll:10
check "sizes past the start of the file: nothing written" "" "$added"

# A program path of more than 99 characters is never cut: no copy is made.
deep='C:\a-folder-with-a-long-name\another-folder-with-a-long-name\and-one-more-with-a-long-name'
new_machine containers
mkdir -p "$(unix_path "$deep")"
python3 "$make_container" "$image" "$(unix_path "$deep")/setup-with-a-long-name.exe" packed:after.dll:10
before=$(files)
run_setup stays "$(unix_path "$deep")/setup-with-a-long-name.exe" Return
check "long program path: exit code 0" 0 "$exit_code"
added=$(added_since "$before")
check "long program path: nothing written, no copy" "" "$added"

# So is a temporary folder of more than 99 characters.
new_machine containers
mkdir -p "$(unix_path "$deep")"
for v in TEMP TMP; do wine reg add 'HKCU\Environment' /v $v /d "$deep" /f >/dev/null; done
python3 "$make_container" "$image" "$work/longtemp.exe" packed:after.dll:10
before=$(files)
run_setup stays "$work/longtemp.exe" Return
check "long temporary path: exit code 0" 0 "$exit_code"
added=$(added_since "$before")
check "long temporary path: nothing written, no copy" "" "$added"
finish
