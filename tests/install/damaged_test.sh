#!/usr/bin/env bash
# A setup file with one byte changed installs nothing. Single bytes changed
# across the container (the start, middle and end of each member, stored
# and compressed, of the size table and of the count) and in the image (its
# code, the icon, the logo, the checksum slot and its section's name), each
# run with /S on one machine: each ends with exit code 1, its log says why,
# and drive C and the registry stay as they were. One of them, with a
# window, shows the damaged message and installs nothing. The packer's
# verify fails every one and says where the container begins.
#   damaged_test.sh SETUP PROBE DUMP QMXPACK RESOURCES_DIR WORKDIR
SETUP=$1 PROBE=$2 DUMP=$3 qmxpack=$4 resources=$5 work=$6
source "$(dirname "$0")/flow.sh"
rm -rf "$work"
mkdir -p "$work"

# "NAME OFFSET" for each place to change.
python3 - "$SETUP" "$resources/logo.bmp" "$resources/qmx.ico" >"$work/places" <<'PLACES'
import struct, sys
data = open(sys.argv[1], 'rb').read()
count = struct.unpack_from('<H', data, len(data) - 2)[0]
table = len(data) - 2 - 4 * count
sizes = struct.unpack_from('<%dI' % count, data, table)
offset = table - sum(sizes)
for k, size in enumerate(sizes):
    for where, at in (('start', offset), ('middle', offset + size // 2), ('end', offset + size - 1)):
        print('member%d-%s %d' % (k, where, at))
    offset += size
print('size-table-start %d\nsize-table-middle %d\nsize-table-end %d' % (table, table + 2 * count, table + 4 * count - 1))
print('count-low %d\ncount-high %d' % (len(data) - 2, len(data) - 1))

def inside(name, piece):  # the middle of bytes that the image holds as they stand
    at = data.find(piece[:64])
    assert at > 0, name
    print('%s %d' % (name, at + len(piece) // 2))
logo = open(sys.argv[2], 'rb').read()
inside('logo', logo[14:])
icon = open(sys.argv[3], 'rb').read()
size, at = struct.unpack_from('<II', icon, 6 + 8)
inside('icon', icon[at:at + size])
inside('dos-stub', b'This program cannot be run in DOS mode')
pe = struct.unpack_from('<I', data, 0x3C)[0]
sections = pe + 24 + struct.unpack_from('<H', data, pe + 20)[0]
for header in range(sections, sections + 40 * struct.unpack_from('<H', data, pe + 6)[0], 40):
    if data[header:header + 8] == b'.qmxsum\0':
        slot = struct.unpack_from('<I', data, header + 20)[0]
        print('slot-marker %d\nslot-sum %d\nslot-section-name %d' % (slot + 1, slot + 13, header + 2))
PLACES
check "every place is found: 26 in the container, 6 in the image" 32 "$(wc -l <"$work/places")"

open_screen damaged
new_machine damaged
drive=$(unix_path 'C:\')
mkdir -p "$drive/setup"
while read -r name at; do
    cp "$SETUP" "$drive/setup/$name.exe"
    printf "$(printf '\\x%02x' $(($(od -An -tu1 -j "$at" -N1 "$SETUP") ^ 1)))" |
        dd of="$drive/setup/$name.exe" bs=1 seek="$at" conv=notrunc status=none
    status=0
    "$qmxpack" verify "$drive/setup/$name.exe" >"$work/$name.verify" 2>&1 || status=$?
    check "$name: qmxpack verify fails on the checksum" "1 said" \
        "$status $(grep -qE '^fault: .*(checksum does not match|checksum slot|checksum covers)' "$work/$name.verify" && echo said)"
done <"$work/places"
check "the damaged setups differ from the packed one by one byte each" "$(wc -l <"$work/places")" \
    "$(for f in "$drive"/setup/*.exe; do cmp -l "$SETUP" "$f" | wc -l; done | grep -c '^1$')"

before=$(record_state before)
logs=$(winepath -w "$work" | tr -d '\r')
while read -r name at; do
    run_unattended "$drive/setup/$name.exe" /S "/LOG=$logs\\$name.log"
    check "$name: /S ends with exit code 1" 1 "$exit_code"
    check "$name: the log says the file is damaged" 1 \
        "$(tr -d '\r' <"$work/$name.log" | grep -c '^setup file: its bytes do not match its checksum: damaged, nothing installed$')"
    cmp -s "$before" "$(record_state "$name")" || fail "$name: drive C or the registry changed"
done <"$work/places"

# With a window, the middle of the compressed code table, the first member.
start_setup "$drive/setup/member0-middle.exe"
press Return
box=$(message)
check "window: the box says the setup file is damaged" yesyes "$(has "$box" 安装文件已经损坏)$(has "$box" 请重新下载)"
press Return
press Escape
ended "window: Esc after the damaged box"
cmp -s "$before" "$(record_state window)" || fail "window: drive C or the registry changed"
finish_checks
