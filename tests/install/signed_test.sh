#!/usr/bin/env bash
# A setup signed after packing, as a vendor signs it before publishing: once
# and once more with a nested signature, by osslsigncode with a throwaway
# key. Each signature verifies, the packer lists and verifies the signed
# file as the unsigned one (its checksum holds), and the unattended round
# trip installs every member byte for byte and leaves the machine as before. The packer refuses
# a signed image, and fails a signed file with no container to install.
#   signed_test.sh SETUP BARE_IMAGE PROBE DUMP QMXPACK SAMPLE_DIR WORKDIR
set -euo pipefail
setup=$1 bare=$2 probe=$3 dump=$4 qmxpack=$5 samples=$6 work=$7
here=$(dirname "$0")
source "$here/../wine/checks.sh"
rm -rf "$work"
mkdir -p "$work"

samples_in_order=()
for f in qmx.mb qmxpin.mb qmx.ime qmx.hlp click.wav error.wav zub.exe; do samples_in_order+=("$samples/$f"); done

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Qumo test signer" \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
sign() {  # sign IN OUT [OPTION...]
    osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -n "Qumo setup" "${@:3}" \
        -in "$1" -out "$2" >/dev/null
}
sign "$setup" "$work/signed.exe"
sign "$work/signed.exe" "$work/nested.exe" -nest -h sha1
sign "$bare" "$work/bare-signed.exe"

"$qmxpack" list "$setup" > "$work/unsigned.list"
status=0
for file in signed nested; do
    program=$work/$file.exe
    check "$file: osslsigncode verifies the signature" 0 \
        "$(osslsigncode verify -CAfile "$work/cert.pem" -in "$program" >"$work/$file.verify" 2>&1; echo $?)"
    check "$file: the file grew by a certificate table" yes \
        "$([ "$(stat -c %s "$program")" -gt "$(stat -c %s "$setup")" ] && echo yes || echo no)"
    status=0
    "$qmxpack" list "$program" > "$work/$file.list" || status=$?
    check "$file: qmxpack list exits 0" 0 "$status"
    check "$file: qmxpack list shows the seven members" 7 \
        "$(grep -cE '^[0-9]+ +[^ ]+ +(stored|compressed) ' "$work/$file.list" || true)"
    check "$file: the list is the unsigned setup's" "$(cat "$work/unsigned.list")" "$(cat "$work/$file.list")"
    status=0
    "$qmxpack" verify "$program" "${samples_in_order[@]}" > "$work/$file.qmxverify" || status=$?
    check "$file: qmxpack verify passes against the sample files" 0 "$status"
    check "$file: qmxpack verify says the file is signed" 1 "$(grep -c ': signed: ' "$work/$file.qmxverify" || true)"
    check "$file: qmxpack verify says the checksum matches" 1 "$(grep -c '^checksum: CRC-32 .* matches$' "$work/$file.qmxverify" || true)"
done

status=0
"$qmxpack" pack --image "$work/signed.exe" --out "$work/repacked.exe" "$samples/qmx.mb" \
    2> "$work/repack.err" || status=$?
check "pack refuses a signed image" 1 "$status"
check "pack says why" 1 "$(grep -c 'is signed already' "$work/repack.err" || true)"
check "pack wrote nothing" no "$([ -e "$work/repacked.exe" ] && echo yes || echo no)"

status=0
"$qmxpack" verify "$work/bare-signed.exe" > "$work/bare-signed.qmxverify" || status=$?
check "verify fails a signed image with no container" 1 "$status"

# The unattended round trip of each signed setup on a fresh machine of its own.
for file in signed nested; do
    status=0
    "$here/silent_test.sh" "$work/$file.exe" "$probe" "$dump" "$samples" "" "$file" || status=$?
    check "$file: /S installs every member, /u /S leaves the machine as before" 0 "$status"
done
finish_checks
