#!/usr/bin/env bash
# Checks that the shipped image loads on Windows 95/98/NT4 and runs on a 486:
# imports only from the allowed list, no instruction newer than the Pentium
# (cmov, fcomi, MMX, SSE), no TLS directory, subsystem and OS version 4.0,
# the preferred base where Windows 9x loads a program; that it imports from
# no library that Windows might take from the program's own folder; and that
# later Windows may place it anywhere and keep its data from running (ASLR
# and DEP: the two header bits and the relocations they need).
#   check_image.sh IMAGE ALLOWED_IMPORTS   every check
#   check_image.sh --libraries IMAGE       the imported libraries only (the build runs this)
set -uo pipefail
objdump=i686-w64-mingw32-objdump
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# Windows always takes these six from the System folder ("known DLLs" on
# every version the program serves). Any other imported library is looked
# for first in the program's own folder, a download folder where a web page
# may have put a file of that name; the program loads such libraries itself
# by full path. The list of functions cannot widen this set.
system_libraries="advapi32.dll gdi32.dll kernel32.dll ole32.dll shell32.dll user32.dll"

check_libraries() {
    local imported
    imported=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers" | LC_ALL=C sort -u | tr '\n' ' ')
    [ "$imported" = "$system_libraries " ] ||
        fail "the image imports from '${imported% }', not exactly from '$system_libraries'"
}

only_libraries=0
if [ "${1:-}" = --libraries ]; then
    only_libraries=1
    shift
fi
image=$1
headers=$($objdump -p "$image") || { echo "cannot read $image"; exit 1; }
check_libraries
if [ $only_libraries = 1 ]; then
    [ $failed = 0 ] && echo "the image imports only from the System folder's known libraries"
    exit $failed
fi
allowed=$2

# DLL names compare without case: the loader ignores it.
imports=$(awk '/DLL Name:/ {dll=tolower($3); next}
               dll && /^\t[0-9a-f]+\t/ {print dll, $NF; next}
               /^$/ {dll=""}' <<<"$headers" | sort -u)
[ -n "$imports" ] || fail "no imports found"
allowed_list=$(grep -v '^#' "$allowed" | sed '/^$/d' | awk '{print tolower($1), $2}' | sort -u)
unexpected=$(comm -23 <(echo "$imports") <(echo "$allowed_list"))
[ -z "$unexpected" ] || fail "imports not on the allowed list:"$'\n'"$unexpected"

field() { awk -v k="$1" '$1 == k {print $2}' <<<"$headers"; }
for k in MajorOSystemVersion MajorSubsystemVersion; do
    v=$(field $k)
    [ "$v" = 4 ] || fail "$k is '$v', not 4"
done
for k in MinorOSystemVersion MinorSubsystemVersion; do
    v=$(field $k)
    [ "$v" = 0 ] || fail "$k is '$v', not 0"
done
# Windows 9x loads a program only at its preferred base and ignores the
# relocations; NT 4.0 ignores the two bits.
base=$(field ImageBase)
[ "$base" = 00400000 ] || fail "ImageBase is '$base', not 00400000"
characteristics=$(field DllCharacteristics)
(( 16#${characteristics:-0} & 0x40 )) || fail "DYNAMIC_BASE is not set (DllCharacteristics $characteristics)"
(( 16#${characteristics:-0} & 0x100 )) || fail "NX_COMPAT is not set (DllCharacteristics $characteristics)"
grep -q 'relocations stripped' <<<"$headers" && fail "the image's relocations are stripped"
relocations=$(awk '/Base Relocation Directory/ {print $4}' <<<"$headers")
[ -n "$relocations" ] && [ "$((16#$relocations))" -gt 0 ] || fail "the image has no base relocations ($relocations)"
tls=$(awk '/Thread Storage Directory/ {print $3}' <<<"$headers")
[ "$tls" = 00000000 ] || fail "the image has a TLS directory ($tls)"

newer=$($objdump -d --no-show-raw-insn "$image" |
    grep -E $'\t(cmov|fcmov|fcomi|fucomi|rdtsc|cmpxchg8b|cpuid|emms|movq|pxor|[a-z]+ps |[a-z]+pd |[a-z]+ss |[a-z]+sd )|%x?mm[0-9]' | head -5)
[ -z "$newer" ] || fail "instructions a 486 lacks:"$'\n'"$newer"

size=$(stat -c %s "$image")
echo "image size: $size bytes"
[ $failed = 0 ] && echo "image check passed"
exit $failed
