#!/usr/bin/env bash
# Settings reads that cannot be trusted, end to end under Wine: a drive whose settings page comes
# back GOOD but short is reported as an error, never with values it did not send; and one failed
# read does not take Check setting away once a drive reads correctly again.
source "$(dirname "$0")/lib/gui_test.sh"
source "$(dirname "$0")/lib/drive_window.sh"

CAPTION='Velmora Drive Utility'
export GUI_LANG=en_US.UTF-8
REPORT_G='Current drive setting\\r\\nOptimal Writing Speed : OFF\\r\\nAudio Optimized Write Mode : High speed playback mode'

gui_test_begin
wine_use_drive_dir unreliable-reads
trap 'dw_unplace_drives; gui_test_cleanup' EXIT

echo "a settings page that stops at byte 19"
# Byte 19 and on would come from whatever the reply buffer held before.
wine_place_drive E speed=1 audio=1 'short_reply=3C:F4:1 always 19'
dw_start || gui_test_end
dw_expect_log "the report is an error, not the stale bytes" '^unexpected error$'
out=$(dw_controls_when '^control id=1008 class=Button enabled=0 ')
for id in 1007 1008 1009 1020 1021 1022; do
    expect_line "control $id disabled" "$out" "^control id=$id class=Button enabled=0 "
done
expect_line "no setting shown as checked" "$out" '^control id=1020 class=Button enabled=0 visible=1 checked=0 '
dw_close

echo "one failed read, then a drive that reads"
wine_place_drive E 'fail=3C:F4:1 times:1 05/24/00'
wine_place_drive G speed=0 audio=0
dw_start || gui_test_end
dw_expect_log "E's report follows the failed read of its controls" \
    'Current drive setting\\r\\nOptimal Writing Speed : OFF\\r\\nAudio Optimized Write Mode : High speed playback mode'
out=$(dw_controls_when '^control id=1007 class=Button enabled=0 ')
expect_line "Check setting is off after the failed read" "$out" '^control id=1007 class=Button enabled=0 '
gui_auto select "$CAPTION" 1000 1 >/dev/null
out=$(dw_controls_when '^control id=1007 class=Button enabled=1 ')
expect_line "choosing G, which reads, gives Check setting back" "$out" '^control id=1007 class=Button enabled=1 '
gui_auto click "$CAPTION" 1007 >/dev/null
dw_expect_log "and it reports G" "$REPORT_G"
dw_close
gui_test_end
