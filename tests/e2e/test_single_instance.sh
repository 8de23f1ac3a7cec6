#!/usr/bin/env bash
# One program at a time: a second start ends at once without a window and brings the first to
# the front; once the first has ended, a new start runs normally.
source "$(dirname "$0")/lib/gui_test.sh"

CAPTION='Velmora Drive Utility'
OTHER='.*Notepad'
export GUI_LANG=en_US.UTF-8

gui_test_begin
echo "single instance"
gui_app_start
first=$GUI_APP_PID
gui_auto wait-window "$CAPTION" 60000 >/dev/null || { echo "  FAIL first start shows no window"; exit 1; }

# Another program's window in front, so bringing the first one forward is visible.
"$GUI_WINE" notepad >/dev/null 2>&1 &
notepad=$!
gui_auto wait-window "$OTHER" 30000 >/dev/null
expect_line "another window is in front" "$(gui_auto foreground)" "caption=$OTHER class="

gui_app_start
second=$GUI_APP_PID
if gui_app_wait_exit "$second" 15; then
    echo "  ok   the second start ends by itself"
else
    echo "  FAIL the second start still runs"
    GUI_FAILURES=$((GUI_FAILURES + 1))
    kill "$second" 2>/dev/null
fi
expect_line "no second window" "$(gui_auto count "$CAPTION")" "^count 1$"
expect_line "the first window is brought to the front" "$(gui_auto foreground)" \
    "^foreground window caption=$CAPTION class=#32770"
expect_status "the first program still runs" kill -0 "$first"

gui_auto close "$OTHER" >/dev/null
gui_app_wait_exit "$notepad" 10 || kill "$notepad" 2>/dev/null
gui_auto close "$CAPTION" >/dev/null
expect_status "the first program ends" gui_app_wait_exit "$first" 20

gui_app_start
expect_status "a new start after the first ended runs normally" \
    gui_auto wait-window "$CAPTION" 60000
gui_auto close "$CAPTION" >/dev/null
expect_status "and ends normally" gui_app_wait_exit "$GUI_APP_PID" 20
gui_test_end
