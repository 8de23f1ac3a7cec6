# The checks of the end-to-end scripts: each prints "  ok   WHAT" or "  FAIL WHAT" with what was
# seen, and counts a failure in $failures, which the script reads at its end.
failures=0

check() {  # check WHAT EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        echo "  ok   $1"
    else
        echo "  FAIL $1"
        echo "       expected: $2"
        echo "       actual:   $3"
        failures=$((failures + 1))
    fi
}

contains() {  # contains WHAT TEXT FIXED-STRING
    if grep -Fq -- "$3" <<<"$2"; then
        echo "  ok   $1"
    else
        echo "  FAIL $1: no \"$3\" in:"
        sed 's/^/         /' <<<"$2"
        failures=$((failures + 1))
    fi
}

expect() {  # expect WHAT TEXT EXTENDED-REGEX: a line matches
    if grep -Eq -- "$3" <<<"$2"; then
        echo "  ok   $1"
    else
        echo "  FAIL $1: no line matching /$3/ in:"
        sed 's/^/         /' <<<"$2"
        failures=$((failures + 1))
    fi
}

expect_no() {  # expect_no WHAT TEXT EXTENDED-REGEX: no line matches
    if grep -Eq -- "$3" <<<"$2"; then
        echo "  FAIL $1: a line matches /$3/:"
        grep -E -- "$3" <<<"$2" | sed 's/^/         /'
        failures=$((failures + 1))
    else
        echo "  ok   $1"
    fi
}
