#!/usr/bin/env bash
# Common start of the GUI tests: sourced first by tests/e2e/test_*.sh that need a display.
# Uses WINEPREFIX, E2E_WIN64_BUILD and E2E_WORK when run-all.sh gave them; otherwise makes its
# own under a temporary directory, so a test can also be run by hand.
set -uo pipefail
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
repo_dir=$(cd "$e2e_dir/../.." && pwd)
: "${E2E_WIN64_BUILD:=$repo_dir/build/win64}"
: "${E2E_NATIVE_BUILD:=$repo_dir/build/native}"
if [ -z "${E2E_WORK:-}" ]; then
    E2E_WORK=$(mktemp -d)
    gui_own_work=1
fi
export E2E_WIN64_BUILD E2E_NATIVE_BUILD E2E_WORK
: "${WINEPREFIX:=$E2E_WORK/prefix}"
export WINEPREFIX
source "$e2e_dir/lib/gui_env.sh"

gui_test_begin() {
    if [ ! -x "$GUI_APP_EXE" ] || [ ! -x "$GUI_WINAUTO" ]; then
        echo "FAIL: missing $GUI_APP_EXE or $GUI_WINAUTO (build the win64 targets)"
        exit 1
    fi
    [ -e "$WINEPREFIX/system.reg" ] || "$GUI_WINE" wineboot -i >/dev/null 2>&1
    gui_map_fonts
    gui_start_xvfb || exit 1
    trap gui_test_cleanup EXIT
}

gui_test_cleanup() {
    [ -n "${GUI_APP_PID:-}" ] && kill "$GUI_APP_PID" 2>/dev/null
    gui_stop_xvfb
    [ -n "${gui_own_work:-}" ] && { /usr/lib/wine/wineserver -k 2>/dev/null; rm -rf "$E2E_WORK"; }
    return 0
}

gui_test_end() {  # exit status: the number of failed checks, 0 when all passed
    if [ "$GUI_FAILURES" -eq 0 ]; then
        echo "all checks passed"
    else
        echo "$GUI_FAILURES check(s) failed"
    fi
    exit "$((GUI_FAILURES > 0 ? 1 : 0))"
}
