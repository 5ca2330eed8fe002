# Sourced by the test scripts: named checks that count what failed, and the
# closing line that sums them up and gives the script's exit status.
failures=0

fail() {  # fail WHAT...
    echo "FAIL: $*"
    failures=$((failures + 1))
}

check() {  # check WHAT EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        echo "ok: $1"
    else
        fail "$(printf '%s\n  expected: %s\n  actual:   %s' "$1" "$2" "$3")"
    fi
}

finish_checks() {
    echo "$failures failed"
    [ "$failures" = 0 ]
}
