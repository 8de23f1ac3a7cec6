#!/usr/bin/env bash
# Starts a demo program as a desktop would and waits until its main window is there and its drive
# list holds the demo's drives, read from outside through the accessibility bus:
#   check_demo_window.sh PROGRAM [DRIVES]        (DRIVES: how many the list must hold; 2)
# It runs on a private X display and D-Bus session (tests/e2e/lib/native_gui_env.sh). Exits 0
# with the window and the drive list it saw; 1 with what it saw instead and the program's output,
# whether the program ended, hung before its window, or showed a window without the drives.
set -uo pipefail
program=$(realpath "${1:?usage: $0 PROGRAM [DRIVES]}")
drives=${2:-2}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/e2e/lib/native_gui_env.sh
source "$here/../../tests/e2e/lib/native_gui_env.sh"
native_gui_session "$@"
native_gui_begin

caption="Velmora Drive Utility"
window_ms=20000
list_polls=40  # a quarter of a second each

fail() {
    echo "$1"
    if [ -s "$NATIVE_WORK/program.log" ]; then
        echo "the program said:"
        sed 's/^/    /' "$NATIVE_WORK/program.log"
    fi
    exit 1
}

LANG=en_US.UTF-8 LC_ALL='' LC_MESSAGES='' QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    timeout 60 "$program" >"$NATIVE_WORK/program.log" 2>&1 &
NATIVE_GUI_PID=$!

window=$(native_gui_auto wait-window "$caption" "$window_ms") ||
    fail "no window \"$caption\" within $((window_ms / 1000)) s ($window)"
list=
for _ in $(seq "$list_polls"); do
    controls=$(native_gui_auto controls "$caption")
    list=$(grep '^control role=combo box ' <<<"$controls" | head -n 1)
    if [[ $list == *" items=$drives "* ]]; then
        echo "$window"
        echo "$list"
        exit 0
    fi
    kill -0 "$NATIVE_GUI_PID" 2>/dev/null || break
    sleep 0.25
done
fail "the window's drive list does not hold $drives drives; last seen: ${list:-no drive list}"
