#!/usr/bin/env bash
# Files replaced and removed at the next restart through the seam, in a
# machine that reports Windows 98 (WININIT.INI) or XP (PendingFileRenameOperations):
# scheduled while another program holds them, a deletion and a replacement
# taken back, another program's pending operations before and after ours, and
# a real restart (wineboot -r) that carries them out.
#   restart_test.sh RESTART_PROBE HOLDER LAUNCHER VERSION
set -euo pipefail
RESTART_PROBE=$1 HOLDER=$2 LAUNCHER=$3 version=$4
source "$(dirname "$0")/../install/flow.sh"
trap close_machine EXIT

new_machine "restart-$version" "$version"
"$bed" session
drive=$(unix_path 'C:\')
folder="$drive/Program Files/测试 qmx"
wfolder='C:\Program Files\测试 qmx'
mkdir -p "$folder/empty folder" "$drive/other"
printf old >"$folder/held.ime"; printf new >"$folder/held.tmp"
printf mb >"$folder/gone.mb"; printf kept >"$folder/kept.mb"
printf kept >"$folder/kept.ime"; printf other >"$folder/kept.tmp"
printf a >"$drive/other/a.txt"; printf b-old >"$drive/other/b.txt"; printf b-new >"$drive/other/b.new"
read_file() { cat "$1" 2>/dev/null || echo missing; }

family=nt
[ "$version" = win98 ] && family=9x
check "the machine reports its family" "$family" "$(win "$RESTART_PROBE" family)"
check "the launcher reports a whole exit code" "exit 3010" "$(win "$LAUNCHER" cmd /c exit 3010 | tail -1)"

# Another program's pending operations: a repeated deletion, a rename, LF line
# ends, and a last line without one.
wininit=$drive/windows/WININIT.INI
other_wininit=$'[boot]\nshell=Explorer.exe\n[Rename]\nNUL=C:\\OTHER\\A.TXT\nC:\\OTHER\\B.TXT=C:\\OTHER\\B.NEW\nNUL=C:\\OTHER\\A.TXT\n\n[386Enh]\nx=1'
if [ "$family" = 9x ]; then
    printf '%s' "$other_wininit" >"$wininit"
else
    win "$RESTART_PROBE" other-delete 'C:\other\a.txt'
fi

# The files are held as a loaded module is, while the operations are recorded.
hold "$folder/held.ime" "$folder/gone.mb"
win cmd /c del "$wfolder\\gone.mb" >/dev/null 2>&1 || true
check "a held file cannot be deleted" mb "$(read_file "$folder/gone.mb")"

check "the operations are recorded" "exit 0" "$(win "$LAUNCHER" "$RESTART_PROBE" \
    replace "$wfolder\\held.tmp" "$wfolder\\held.ime" delete "$wfolder\\gone.mb" \
    delete "$wfolder\\empty folder" delete "$wfolder\\kept.mb" \
    replace "$wfolder\\kept.tmp" "$wfolder\\kept.ime" | tail -1)"
win "$RESTART_PROBE" cancel "$wfolder\\kept.mb" cancel "$wfolder\\KEPT.IME"
[ "$family" = 9x ] || win "$RESTART_PROBE" other-replace 'C:\other\b.new' 'C:\other\b.txt'

let_go
check "a held file keeps its bytes until the restart" old "$(read_file "$folder/held.ime")"

if [ "$family" = 9x ]; then
    # Short names: our lines, and only ours, hold a "~".
    check "another program's lines are kept byte for byte" "$other_wininit" "$(grep -v '~' "$wininit")"
    check "our lines: the replacement and two deletions" 3 "$(grep -c '~' "$wininit")"
    check "the file keeps its line ends" 0 "$(grep -c $'\r' "$wininit" || true)"
else
    # "-" stands for an empty string: a deletion's target, and the closing one.
    expected=$(printf '%s\n' '\??\C:\other\a.txt' - \
        "\\??\\$wfolder\\held.tmp" "!\\??\\$wfolder\\held.ime" "\\??\\$wfolder\\gone.mb" - \
        "\\??\\$wfolder\\empty folder" - '\??\C:\other\b.new' '!\??\C:\other\b.txt' -)
    check "the pending pairs: another program's and ours, without the cancelled" \
        "$expected" "$(win "$RESTART_PROBE" pending | iconv -f GBK -t UTF-8)"
fi

"$bed" run wineboot -r >/dev/null 2>&1
check "the replacement happened" new "$(read_file "$folder/held.ime")"
check "its temporary file is gone" missing "$(read_file "$folder/held.tmp")"
check "the deletion happened" missing "$(read_file "$folder/gone.mb")"
check "a cancelled deletion did not" kept "$(read_file "$folder/kept.mb")"
check "a cancelled replacement did not" kept "$(read_file "$folder/kept.ime")"
check "another program's deletion happened" missing "$(read_file "$drive/other/a.txt")"
check "another program's rename happened" b-new "$(read_file "$drive/other/b.txt")"
if [ "$family" = nt ]; then
    check "the folder is gone" no "$([ -d "$folder/empty folder" ] && echo yes || echo no)"
    check "nothing is pending" "" "$(win "$RESTART_PROBE" pending)"
else
    # Wine's WININIT.INI pass deletes files only: the folder's line is
    # carried out on Windows 9x alone, and not checked here.
    check "nothing is pending" "missing" "$(read_file "$wininit")"
fi
finish_checks
