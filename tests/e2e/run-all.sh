#!/usr/bin/env bash
# Runs the end-to-end tests of the Windows build under Wine: run-all.sh NATIVE_BUILD WIN64_BUILD
# Every tests/e2e/test_*.sh runs in its own bash with WINEPREFIX (one prefix for the whole run),
# E2E_NATIVE_BUILD, E2E_WIN64_BUILD and E2E_WORK exported. Exits non-zero when any test fails.
# E2E_ONLY=REGEX runs only the tests whose name matches.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -ne 2 ]; then
    echo "usage: $0 NATIVE_BUILD_DIR WIN64_BUILD_DIR" >&2
    exit 2
fi
E2E_NATIVE_BUILD=$(realpath "$1")
E2E_WIN64_BUILD=$(realpath "$2")
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/e2e.XXXXXX")
WINEPREFIX="$E2E_WORK/prefix"
export E2E_NATIVE_BUILD E2E_WIN64_BUILD E2E_WORK WINEPREFIX

# shellcheck source=lib/wine_env.sh
source "$here/lib/wine_env.sh"

finish() {
    wine_stop_server
    if [ "${failed:-1}" -eq 0 ]; then
        rm -rf "$E2E_WORK"
    else
        echo "e2e: work files kept in $E2E_WORK"
    fi
}
trap finish EXIT

passed=0
failed=0
if ! wine_create_prefix; then
    echo "e2e: cannot create the Wine prefix (see $E2E_WORK/wineboot.log)"
    failed=1
    echo "e2e: 0 passed, 1 failed"
    exit 1
fi

for test in "$here"/test_*.sh; do
    [ -e "$test" ] || continue
    name=$(basename "$test" .sh)
    [[ -z "${E2E_ONLY:-}" || $name =~ $E2E_ONLY ]] || continue
    log="$E2E_WORK/$name.log"
    if timeout "${E2E_TEST_TIMEOUT:-600}" bash "$test" >"$log" 2>&1; then
        echo "PASS $name"
        passed=$((passed + 1))
    else
        echo "FAIL $name"
        tail -n 40 "$log" | sed 's/^/    /'
        failed=$((failed + 1))
    fi
done

echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
