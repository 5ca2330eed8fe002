#!/usr/bin/env bash
# Containers that break things, each packed behind the bare image for the
# test and installed on a fresh machine: members that are discarded, stored,
# or malformed; member counts of 0 and 11; sizes that run past the file;
# long program and temporary paths, and member paths past MAX_PATH. None may crash the
# program or write anything but the expected files in the target folders;
# a container whose members were all read keeps the uninstaller beside them.
#   containers_test.sh BARE_IMAGE PROBE DUMP WORKDIR
image=$1 PROBE=$2 DUMP=$3 work=$4
source "$(dirname "$0")/flow.sh"
make_container="$(dirname "$0")/make_container.py"
mkdir -p "$work"

open_screen containers
kept="file C:\\Program Files\\qmx\\qmxunins.exe $(stat -c %s "$image") 20"
files() { win "$DUMP" files 'C:' | LC_ALL=C sort; }

# What drive C holds now and did not hold in the listing given, less the
# program folder, which every install creates before it reads its container,
# and the copy of the program that the test starts from drive C.
added_since() { LC_ALL=C comm -13 <(echo "$1") <(files) | grep -v -e '^dir .*\\Program Files\\qmx ' -e '^dir C:\\setup ' -e '^file C:\\setup\\' || true; }

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
    check "$name: exit code 1, not complete" 1 "$exit_code"
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

# A program path of about 150 characters installs; a member whose path would
# pass MAX_PATH is skipped, never cut, while one whose path just fits is written.
deep='C:\Documents and Settings\Administrator\Local Settings\Temporary Internet Files\Content.IE5\9ZL1K2V3\a-download-folder-with-a-long-name'
fits=$(printf 'f%.0s' $(seq 234)).dll     # "C:\Program Files\qmx\" and it: 259 characters
too_long=$(printf 't%.0s' $(seq 235)).dll
new_machine containers
mkdir -p "$(unix_path "$deep")"
python3 "$make_container" "$image" "$(unix_path "$deep")/qmxsetup[1].exe" packed:after.dll:10 \
    "packed:$fits:10" "packed:$too_long:10"
before=$(files)
run_setup stays "$(unix_path "$deep")/qmxsetup[1].exe" Return
check "long program path: exit code 1, not complete" 1 "$exit_code"
added=$(added_since "$before")
check "long program path: the members that fit MAX_PATH are written, nothing is cut" \
    "file C:\Program Files\qmx\after.dll 10 20
file C:\Program Files\qmx\\$fits 10 20
$kept" "$added"

# So does a temporary folder of about 150 characters.
new_machine containers
mkdir -p "$(unix_path "$deep")"
for v in TEMP TMP; do wine reg add 'HKCU\Environment' /v $v /d "$deep" /f >/dev/null; done
python3 "$make_container" "$image" "$work/longtemp.exe" packed:after.dll:10
before=$(files)
run_setup stays "$work/longtemp.exe" Return
check "long temporary path: exit code 1, no IME" 1 "$exit_code"
added=$(added_since "$before")
check "long temporary path: installs, and the copy is gone" "file C:\Program Files\qmx\after.dll 10 20
$kept" "$added"

# A temporary folder past MAX_PATH gives no copy, and so no install.
deeper="$deep\\$(printf 'd%.0s' $(seq 120))"
new_machine containers
mkdir -p "$(unix_path "$deeper")"
for v in TEMP TMP; do wine reg add 'HKCU\Environment' /v $v /d "$deeper" /f >/dev/null; done
before=$(files)
run_setup stays "$work/longtemp.exe" Return
check "temporary path past MAX_PATH: exit code 1" 1 "$exit_code"
added=$(added_since "$before")
check "temporary path past MAX_PATH: nothing written, no copy" "" "$added"
finish_checks
