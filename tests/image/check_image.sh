#!/usr/bin/env bash
# Checks that the shipped image loads on Windows 95/98/NT4 and runs on a 486:
# imports only from the allowed list, no instruction newer than the Pentium
# (cmov, fcomi, MMX, SSE), no TLS directory, subsystem and OS version 4.0.
set -uo pipefail
image=$1 allowed=$2
objdump=i686-w64-mingw32-objdump
failed=0
fail() { echo "FAIL: $*"; failed=1; }

headers=$($objdump -p "$image") || { echo "cannot read $image"; exit 1; }

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
tls=$(awk '/Thread Storage Directory/ {print $3}' <<<"$headers")
[ "$tls" = 00000000 ] || fail "the image has a TLS directory ($tls)"

newer=$($objdump -d --no-show-raw-insn "$image" |
    grep -E $'\t(cmov|fcmov|fcomi|fucomi|rdtsc|cmpxchg8b|cpuid|emms|movq|pxor|[a-z]+ps |[a-z]+pd |[a-z]+ss |[a-z]+sd )|%x?mm[0-9]' | head -5)
[ -z "$newer" ] || fail "instructions a 486 lacks:"$'\n'"$newer"

size=$(stat -c %s "$image")
echo "image size: $size bytes"
[ $failed = 0 ] && echo "image check passed"
exit $failed
