#!/usr/bin/env bash
# The demo runs beside the real program without touching what the program relies on: it asks for
# no administrator rights, and while it runs the program's drive-access mutex "mutex" does not
# exist (the demo holds one of its own name), so a demo left open with a message box can never
# block the program's drive commands.
source "$(dirname "$0")/lib/gui_test.sh"

CAPTION='Velmora Drive Utility'
export GUI_LANG=en_US.UTF-8
DEMO_EXE="$E2E_WIN64_BUILD/app/VelmoraDriveUtilityDemo.exe"

gui_test_begin
echo "manifests"
expect_status "the demo asks to run as the invoking user" \
    grep -aq 'requestedExecutionLevel level="asInvoker"' "$DEMO_EXE"
expect_status "the demo asks for no administrator rights" \
    bash -c "! grep -aq 'level=\"requireAdministrator' '$DEMO_EXE'"
expect_status "the program still asks for administrator rights" \
    grep -aq 'requestedExecutionLevel level="requireAdministrator"' "$GUI_APP_EXE"

echo "the demo's mutex"
GUI_APP_EXE=$DEMO_EXE gui_app_start
demo=$GUI_APP_PID
gui_auto wait-window "$CAPTION" 60000 >/dev/null || { echo "  FAIL the demo shows no window"; exit 1; }
expect_line "the demo holds a mutex of its own" \
    "$(gui_auto mutex VelmoraDriveUtilityDemo.mutex)" '^mutex VelmoraDriveUtilityDemo\.mutex exists$'
expect_line "the program's mutex does not exist while only the demo runs" \
    "$(gui_auto mutex mutex)" '^mutex mutex absent$'
gui_auto close "$CAPTION" >/dev/null
expect_status "the demo ends" gui_app_wait_exit "$demo" 20
gui_test_end
