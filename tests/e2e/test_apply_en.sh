#!/usr/bin/env bash
# Writing settings end to end, in English: the real program under Wine with a simulated drive at
# E. Apply writes the pages the controls describe and reads each back; Restore Factory Default
# writes OFF and high-speed playback, both saved; a disc in the drive stops the audio change with
# message box 148; a drive that never confirms a write gets six attempts and message box 149.
source "$(dirname "$0")/lib/gui_test.sh"
source "$(dirname "$0")/lib/drive_window.sh"

CAPTION='Velmora Drive Utility'
TITLE='VelmoraDriveUtility'
export GUI_LANG=en_US.UTF-8
ZEROS=$(printf '%0504d' 0)

page_write() {  # page_write PAGE_HEAD: the trace line of a WRITE BUFFER of that page, as a regex
    printf '^cdb=%slen=12 dir=out xfer=256 timeout=10 status=00 sense=00/00/00 out=%s%s$' \
        "$DW_PAGE_WRITE" "$1" "$ZEROS"
}
opcodes() {  # the opcodes of the commands on stdin, on one line
    cut -c5-6 | tr '\n' ' '
}
state_is() {  # state_is DESCRIPTION SPEED SPEED_SAVED AUDIO AUDIO_SAVED
    expect_line "$1" "$(tr '\n' ' ' <"$(wine_drive_state E)")" \
        "^speed=$2 speed_saved=$3 audio=$4 audio_saved=$5 \$"
}

gui_test_begin
wine_use_drive_dir apply-en
trap 'dw_unplace_drives; gui_test_cleanup' EXIT
wine_place_drive E speed=0 audio=0

dw_start || gui_test_end
dw_expect_log "E's report: OFF, high speed playback" \
    'Current drive setting\\r\\nOptimal Writing Speed : OFF\\r\\nAudio Optimized Write Mode : High speed playback mode'
dw_controls_when '^control id=1025 class=Button enabled=1 ' >/dev/null

echo "Apply: ON saved, low speed playback not saved"
for id in 1020 1024 1022; do
    gui_auto click "$CAPTION" "$id" >/dev/null
done
mark=$(dw_trace_lines E)
gui_auto click "$CAPTION" 1008 >/dev/null
dw_expect_log "the log box shows complete" 'complete'
sent=$(dw_commands_since E "$mark")
expect_line "probe (no disc), speed page and read-back, audio page and read-back" \
    "$(opcodes <<<"$sent")" '^51 52 51 3B 3C 3B 3C $'
expect_line "the speed page: 9, 0, ON, save" "$sent" "$(page_write 09000101)"
expect_line "the audio page: 2, 80h, low speed, no save" "$sent" "$(page_write 02800100)"
expect_line "each read-back is the settings page" "$(grep -c "^cdb=$DW_PAGE_READ" <<<"$sent")" '^2$'
state_is "the drive keeps ON (saved) and low speed playback (not saved)" 1 1 1 0
out=$(gui_auto controls "$CAPTION")
expect_line "the controls keep the choices" \
    "$(grep -E '^control id=(1020|1022|1024) ' <<<"$out" | grep -c 'checked=1')" '^3$'

echo "Restore Factory Default"
mark=$(dw_trace_lines E)
gui_auto click "$CAPTION" 1009 >/dev/null
dw_expect_log "the log box shows default setting" 'default setting'
sent=$(dw_commands_since E "$mark")
expect_line "probe, then both pages each with its read-back" "$(opcodes <<<"$sent")" \
    '^51 52 51 3B 3C 3B 3C $'
expect_line "the speed page: OFF, save" "$sent" "$(page_write 09000001)"
expect_line "the audio page: high speed, save" "$sent" "$(page_write 02800001)"
state_is "the drive keeps OFF and high speed playback, both saved" 0 0 0 0
out=$(gui_auto controls "$CAPTION")
for id in 1021 1022 1023 1025; do
    expect_line "control $id checked" "$out" "^control id=$id class=Button .* checked=1 "
done

echo "a disc in the drive: the audio mode cannot be changed"
wine_set_drive_key E disc present
dw_controls_when '^control id=1023 class=Button enabled=0 ' >/dev/null
mark=$(dw_trace_lines E)
gui_auto click "$CAPTION" 1008 >/dev/null
dw_expect_msgbox "message box 148 with the program's name as title" "$TITLE" \
    'Cannot setting Audio Optimized Write Mode\\r\\nIf the disc is in the drive, please eject'
sleep 0.5
sent=$(dw_commands_since E "$mark")
expect_line "full probe, the disc stopped (saving asked), speed page and read-back only" \
    "$(opcodes <<<"$sent")" '^51 52 51 52 43 00 4A 1B 3B 3C $'
expect_line "the stop: START STOP UNIT with all fields 0" "$sent" "^cdb=${DW_STOP_DISC}len=6 dir=none "
expect_line "no complete" "$(gui_auto text "$CAPTION" 1006)" '^text 1006 $'

echo "a drive that never takes a write"
wine_set_drive_key E disc none
wine_set_drive_key E writes_ignored 1
dw_controls_when '^control id=1023 class=Button enabled=1 ' >/dev/null
gui_auto click "$CAPTION" 1020 >/dev/null
mark=$(dw_trace_lines E)
gui_auto click "$CAPTION" 1008 >/dev/null
dw_expect_msgbox "message box 149 after the sixth failed read-back" "$TITLE" \
    'Cannot setting optimized write speed'
sleep 0.5
sent=$(dw_commands_since E "$mark")
expect_line "six speed writes, each read back" "$(grep -Ec "$(page_write 09000101)" <<<"$sent") $(opcodes <<<"$sent")" \
    '^6 51 52 51 (3B 3C ){6}3B 3C $'
expect_line "no complete" "$(gui_auto text "$CAPTION" 1006)" '^text 1006 $'
state_is "the drive kept its values" 0 0 0 0

dw_close
gui_test_end
