#!/usr/bin/env bash
# The product in the list of installed programs, and its removal from there
# after the downloaded setup is gone, in a machine that reports Windows 98
# or XP, in one Wine session with real restarts (wineboot -r):
#  - /S writes the entry: Wine's own uninstaller lists it by its name, every
#    value reads back as it should, the kept uninstaller is the bare image;
#    a reinstall rewrites a value that was taken away; the logs of an
#    install, of one that cannot write a file, and of an uninstall;
#  - the setup file is deleted, the entry's QuietUninstallString runs as a
#    deployment tool runs it (through the launcher, which sees whole exit
#    codes): 0 once it has ended, the entry gone; after the restart that the
#    uninstaller's own file waits for, the machine is as before the install;
#  - once more through UninstallString, driven by keys: the window opens with
#    the install button greyed and the focus on the uninstall button, Enter
#    uninstalls, and after the restart the machine is as before again.
#   entry_test.sh SETUP BARE_IMAGE PROBE DUMP LAUNCHER PRODUCT_HEADER SAMPLE_DIR VERSION
SETUP=$1 image=$2 PROBE=$3 DUMP=$4 LAUNCHER=$5 header=$6 samples=$7 version=$8
source "$(dirname "$0")/flow.sh"

name=entry-$version
open_screen "$name"
new_machine "$name" "$version"
"$bed" session  # a new Wine session would carry out what waits for the restart
family=nt
[ "$version" = win98 ] && family=9x
product_version=$(sed -n 's/^#define QMX_VERSION_TEXT "\(.*\)"$/\1/p' "$header")
key=QumoIME

run_launched() {  # run_launched WINDOWS_PATH ARG...; sets exit_code
    exit_code=$(win "$LAUNCHER" "$@" | awk '$1 == "exit" {code = $2} END {print code}') || true
}
restart() { "$bed" run wineboot -r >/dev/null 2>&1; }

# One value of the product's entry: "sz TEXT" or "dword NUMBER", as UTF-8.
entry_value() {
    win "$DUMP" programs | iconv -f GBK -t UTF-8 |
        awk -v k="$key" -v n="$1" '$2 == k && $3 == n {sub(/^[^ ]+ [^ ]+ [^ ]+ /, ""); print}'
}
entry_lines() { win "$DUMP" programs | awk -v k="$key" '$2 == k' | wc -l; }

# The deployment tool's way: the quoted program and its switches, as the
# entry holds them, handed whole to CreateProcess by the launcher.
run_entry_command() {  # run_entry_command VALUE_NAME
    local command
    command=$(entry_value "$1")
    command=${command#sz }
    if [[ $command =~ ^\"([^\"]*)\"\ (.*)$ ]]; then
        # shellcheck disable=SC2086  # the switches are words of their own
        run_launched "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]}
    else
        fail "$1 is no quoted path with switches: $command"
    fi
}

# Wine carries out no folder's line of WININIT.INI: on 9x the emptied program
# folder stays after the restart there. Windows 9x, and Wine, keep the
# WININIT.INI that was carried out as WININIT.BAK.
state_after_restart() {  # state_after_restart LABEL
    local file
    file=$(record_state "$1")
    if [ "$family" = 9x ]; then
        sed -i -e '/^file C:\\windows\\wininit\.bak /Id' -e '/^dir C:\\program files\\qmx /Id' "$file"
    fi
    echo "$file"
}

seed_preload 1=00000409 2=00000804
find "$(folder windows)" -maxdepth 1 -iname help -type d -empty -delete
before=$(record_state before)
sed -i '/^file C:\\setup\\qmxsetup\.exe /d' "$before"  # the downloaded setup, deleted on purpose
setup_unix=$(on_drive_c "$SETUP")
setup_win=$(winepath -w "$setup_unix" | tr -d '\r')

# The administrator's log: the blank in the quoted word no end of it. (wine
# quotes a word with a blank whole; /LOG="FILE" is tested natively.)
drive=$(unix_path 'C:\')
mkdir -p "$drive/log dir"
log_lines() {  # log_lines FILE: the log as UTF-8 lines, after a check of its line ends
    local lone
    lone=$(tr -d '\n' <"$1" | tr '\r' '\n' | wc -l)
    [ "$lone" = "$(wc -l <"$1")" ] || fail "$1 has a line end that is not CR LF"
    iconv -f GBK -t UTF-8 <"$1" | tr -d '\r'
}
member_results() {  # member_results LOG: "NAME:RESULT" for each file line
    sed -n 's/^file .*\\\([^\\]*\), [0-9]* bytes: \([a-z]*\).*/\1:\2/p' "$1" | sort | tr '\n' ' '
}
run_launched "$setup_win" /S "/LOG=C:\log dir\install.log"
check "the install exits 0" 0 "$exit_code"
check_installed "$samples"
log_lines "$drive/log dir/install.log" >"$drive/log dir/install.txt"
check "the log names every file written" \
    "click.wav:written error.wav:written qmx.hlp:written qmx.ime:written qmx.mb:written qmxpin.mb:written qmxunins.exe:written zub.exe:written " \
    "$(member_results "$drive/log dir/install.txt")"
check "the log opens with the program and its version" "输入法安装程序 $product_version (智能Qumo输入法)" \
    "$(head -1 "$drive/log dir/install.txt")"
check "the log gives the command line" 1 \
    "$(grep -c '^command line: .*qmxsetup\.exe /S "/LOG=C:\\log dir\\install\.log"$' "$drive/log dir/install.txt")"
check "the log gives the code page" 1 "$(grep -c '^Windows .*, code page 936$' "$drive/log dir/install.txt")"
check "the log gives the layout" 1 "$(grep -c '^keyboard layout: [0-9a-fA-F]\{8\}$' "$drive/log dir/install.txt")"
check "the log gives the preload list before and after" 2 "$(grep -c '^preload list \(before\|after\): ' "$drive/log dir/install.txt")"
check "the log gives the uninstall entry" 1 "$(grep -c "^uninstall entry written: HKLM.*\\\\$key\$" "$drive/log dir/install.txt")"
check "the log ends with the exit code" "end, exit code 0" "$(tail -1 "$drive/log dir/install.txt")"
check "Wine's uninstaller lists the product by its name" "$key|||智能Qumo输入法" \
    "$(win uninstaller --list | iconv -f GBK -t UTF-8 | grep -F "$key|||" || true)"
kept='C:\Program Files\qmx\qmxunins.exe'
check "DisplayName" "sz 智能Qumo输入法" "$(entry_value DisplayName)"
check "UninstallString" "sz \"$kept\" /U" "$(entry_value UninstallString)"
check "QuietUninstallString" "sz \"$kept\" /U /S" "$(entry_value QuietUninstallString)"
check "DisplayIcon" "sz $kept,0" "$(entry_value DisplayIcon)"
check "DisplayVersion, the resource's version" "sz $product_version" "$(entry_value DisplayVersion)"
check "Publisher" "sz Qumo" "$(entry_value Publisher)"
check "URLInfoAbout, the panel's support line" "sz http://www.qumo-shurufa.cn" "$(entry_value URLInfoAbout)"
find_folders
bytes=$(cat "$samples"/{qmx.mb,qmxpin.mb,qmx.ime,qmx.hlp,click.wav,error.wav,zub.exe} "$image" | wc -c)
check "EstimatedSize, the KiB written" "dword $(((bytes + 1023) / 1024))" "$(entry_value EstimatedSize)"
check "NoModify" "dword 1" "$(entry_value NoModify)"
check "NoRepair" "dword 1" "$(entry_value NoRepair)"
check "every text ends with its NUL" 0 "$(win "$DUMP" programs | grep -c " $key [^ ]* sz-unended" || true)"
check "the kept uninstaller is the bare image" same \
    "$(cmp -s "$program/qmxunins.exe" "$image" && echo same || echo differs)"

# A target that cannot be written (a folder in its place; Wine run as root
# writes a read-only file): the install fails there, and its log says so.
rm "$program/zub.exe" && mkdir "$program/zub.exe"
run_launched "$setup_win" "/LOG=C:\log dir\read-only.log" /S
check "an install over a file that cannot be written exits 1" 1 "$exit_code"
log_lines "$drive/log dir/read-only.log" >"$drive/log dir/read-only.txt"
check "its log names the file that failed" \
    "click.wav:written error.wav:written qmx.hlp:written qmx.ime:written qmx.mb:written qmxpin.mb:written qmxunins.exe:written zub.exe:failed " \
    "$(member_results "$drive/log dir/read-only.txt")"
check "the file's error is access denied" 1 "$(grep -c '\\zub\.exe, [0-9]* bytes: failed, error 5$' "$drive/log dir/read-only.txt")"
check "its log ends with the exit code" "end, exit code 1" "$(tail -1 "$drive/log dir/read-only.txt")"
rmdir "$program/zub.exe"

wine reg delete "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$key" /v DisplayVersion /f >/dev/null 2>&1
run_launched "$setup_win" /S
check "a reinstall exits 0" 0 "$exit_code"
check "a reinstall rewrites the entry" "sz $product_version" "$(entry_value DisplayVersion)"
check "one entry, ten values" 10 "$(entry_lines)"

# The uninstall's log names every removal.
run_launched "$setup_win" /U /S "/LOG=C:\log dir\uninstall.log"
check "an uninstall with a log exits 0" 0 "$exit_code"
log_lines "$drive/log dir/uninstall.log" >"$drive/log dir/uninstall.txt"
check "its log names every removal" \
    "Qumo帮助.lnk Zubino.lnk click.wav error.wav qmx qmx.hlp qmx.ime qmx.mb qmxpin.mb qmxunins.exe zub.exe " \
    "$(sed -n 's/^remove .*\\\([^\\]*\): removed$/\1/p' "$drive/log dir/uninstall.txt" | LC_ALL=C sort | tr '\n' ' ')"
check "its log gives the entry's removal" 1 "$(grep -c "^uninstall entry removed: HKLM.*\\\\$key\$" "$drive/log dir/uninstall.txt")"
check "its log ends with the exit code" "end, exit code 0" "$(tail -1 "$drive/log dir/uninstall.txt")"
rm -rf "$drive/log dir"
run_launched "$setup_win" /S
check "the install after it exits 0" 0 "$exit_code"

rm -f "$setup_unix"
run_entry_command QuietUninstallString
check "QuietUninstallString exits 0 once the uninstall is done" 0 "$exit_code"
check "the entry is gone" 0 "$(entry_lines)"
check "Wine's uninstaller lists the product no more" "" \
    "$(win uninstaller --list | grep -F "$key|||" || true)"
check "no layout entry names qmx.ime" "" "$(ime_layouts)"
if [ "$family" = nt ]; then
    check "the program folder is gone at once" no "$([ -e "$program" ] && echo yes || echo no)"
else
    check "only the uninstaller waits in the program folder" qmxunins.exe "$(ls "$program" | tr 'A-Z' 'a-z')"
fi
restart
same_state "after the restart the machine is as before the install" "$before" "$(state_after_restart after)"

# Once more, through UninstallString with the window and real keys.
setup_unix=$(on_drive_c "$SETUP")
run_launched "$setup_win" /S
check "the install before the keyed uninstall exits 0" 0 "$exit_code"
rm -f "$setup_unix"
command=$(entry_value UninstallString)
command=${command#sz }
[[ $command =~ ^\"([^\"]*)\"\ /U$ ]] || fail "UninstallString is no quoted path and /U: $command"
"$bed" run "${BASH_REMATCH[1]}" /U &
pid=$!
if win "$PROBE" window 30 >/dev/null; then
    check "the kept uninstaller greys the install button" "install no uninstall yes" "$(win "$PROBE" enabled)"
    check "the focus is on the uninstall button" uninstall "$(win "$PROBE" focus)"
    xdotool mousemove 500 300
    xdotool key Return
else
    fail "the kept uninstaller opens no window"
fi
for _ in $(seq 120); do kill -0 "$pid" 2>/dev/null || break; sleep 1; done
collect_exit "$pid" "the keyed uninstall did not end" || true
check "the keyed uninstall ends with 0" 0 "$exit_code"
check "the entry is gone after the keyed uninstall" 0 "$(entry_lines)"
restart
same_state "after the keyed uninstall and the restart the machine is as before" "$before" \
    "$(state_after_restart again)"
finish_checks
