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

# The JSON documents a script's runs printed, kept in a folder and checked at once against
# velmora-drive's schema (cli/velmora-drive.schema.json) with Debian's python3-jsonschema.
json_documents=0

keep_json_if_asked() {  # keep_json_if_asked FOLDER DOCUMENT ARGS...: when ARGS ask for --json or -j
    local folder=$1 document=$2 argument
    shift 2
    for argument in "$@"; do
        if [ "$argument" = --json ] || [ "$argument" = -j ]; then
            mkdir -p "$folder"
            json_documents=$((json_documents + 1))
            printf '%s\n' "$document" >"$folder/$json_documents.json"
            return
        fi
    done
}

check_json_documents() {  # check_json_documents FOLDER
    local lib source
    lib=$(dirname "${BASH_SOURCE[0]}")
    source=$(cd "$lib/../../.." && pwd)
    check "all $json_documents JSON documents match the schema" "" \
        "$(/usr/bin/python3 "$source/tests/cli/validate_json.py" \
            "$source/cli/velmora-drive.schema.json" "$1"/*.json 2>&1)"
}
