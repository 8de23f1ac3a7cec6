#!/usr/bin/env bash
# Reading settings end to end, in English: the real program under Wine with simulated drives at
# E and G and, at F, a drive whose model identifier is not quite one of ours. Start-up lists E
# and G, shows E's report and controls; choosing G shows G's; Check setting shows the report
# once; each drive's trace shows which commands it received.
source "$(dirname "$0")/lib/gui_test.sh"
source "$(dirname "$0")/lib/drive_window.sh"

CAPTION='Velmora Drive Utility'
export GUI_LANG=en_US.UTF-8
REPORT_E='Current drive setting\\r\\nOptimal Writing Speed : ON\\r\\nAudio Optimized Write Mode : High speed playback mode'
REPORT_G='Current drive setting\\r\\nOptimal Writing Speed : OFF\\r\\nAudio Optimized Write Mode : This function is not supported'
HIGH_SPEED_TEXT='Writing will be prioritized for high speed playback environments\\r\\nCD-R writing method suited for environments that can playback at high speed\(eg\. PC\)'

gui_test_begin
wine_use_drive_dir reading-en
trap 'dw_unplace_drives; gui_test_cleanup' EXIT
# E: inquiry bytes 36.. carry more than the nine that reach the list.
wine_place_drive E 'product=CD-R DRIVE 7315 ' revision=1.18 inquiry_tail=ABCDEFGHIJKL speed=1 audio=0
wine_place_drive F 'model=7315KT52-ABC'
wine_place_drive G 'model=7305KT52    ' 'product=CD-R DRIVE 7305 ' revision=1.02 speed=0 \
    audio_supported=0

echo "start-up with drives at E and G"
dw_start || gui_test_end
expect_line "the list holds E then G: letter, colon, space, INQUIRY bytes 8 to 44" \
    "$(gui_auto items "$CAPTION" 1000 | tr '\n' '|')" \
    '^item 0 E: VELMORA CD-R DRIVE 7315 1\.18ABCDEFGHI\|item 1 G: VELMORA CD-R DRIVE 7305 1\.02\|$'
dw_expect_log "the log box shows E's three report lines" "$REPORT_E"
out=$(dw_controls_when '^control id=1025 class=Button enabled=1 ')
expect_line "E is selected" "$out" '^control id=1000 class=ComboBox enabled=1 visible=1 items=2 selected=0 '
expect_line "ON checked" "$out" '^control id=1020 class=Button enabled=1 visible=1 checked=1 '
expect_line "OFF unchecked" "$out" '^control id=1021 class=Button enabled=1 visible=1 checked=0 '
expect_line "high speed playback checked" "$out" '^control id=1023 class=Button enabled=1 visible=1 checked=1 '
expect_line "low speed playback unchecked" "$out" '^control id=1024 class=Button enabled=1 visible=1 checked=0 '
for id in 1022 1025; do
    expect_line "save box $id enabled and unchecked" "$out" "^control id=$id class=Button enabled=1 visible=1 checked=0 "
done
for id in 1007 1008 1009; do
    expect_line "button $id enabled" "$out" "^control id=$id class=Button enabled=1 "
done
expect_line "the description explains high speed playback" "$out" "^control id=1027 .* text=$HIGH_SPEED_TEXT$"

echo "what discovery and start-up sent"
expect_line "E: the model buffer first, then INQUIRY" \
    "$(head -n 2 "$(wine_drive_trace E)" | cut -d' ' -f1 | tr '\n' ' ')" \
    "^cdb=${DW_MODEL_READ}cdb=${DW_INQUIRY}\$"
# The start-up open confirms that E is still the drive discovery found: its model is read again.
expect_line "E: INQUIRY once, the model buffer once more after the start-up open" \
    "$(dw_trace_count E "$DW_MODEL_READ") $(dw_trace_count E "$DW_INQUIRY")" '^2 1$'
expect_line "E: the settings page read twice (controls, report)" "$(dw_trace_count E "$DW_PAGE_READ")" '^2$'
expect_line "F: the model buffer only, and F is not listed" \
    "$(cut -d' ' -f1 "$(wine_drive_trace F)" | tr '\n' ' ')" "^cdb=$DW_MODEL_READ\$"
expect_line "G: the model buffer, then INQUIRY, nothing more yet" \
    "$(cut -d' ' -f1 "$(wine_drive_trace G)" | tr '\n' ' ')" "^cdb=${DW_MODEL_READ}cdb=${DW_INQUIRY}\$"

echo "choosing G"
gui_auto select "$CAPTION" 1000 1 >/dev/null
dw_expect_log "the log box shows G's three report lines" "$REPORT_G"
out=$(dw_controls_when '^control id=1021 class=Button enabled=1 visible=1 checked=1 ')
expect_line "G is selected" "$out" '^control id=1000 class=ComboBox enabled=1 visible=1 items=2 selected=1 '
expect_line "ON unchecked" "$out" '^control id=1020 class=Button enabled=1 visible=1 checked=0 '
expect_line "OFF checked" "$out" '^control id=1021 class=Button enabled=1 visible=1 checked=1 '
# G has no audio mode: both radio buttons unchecked; the timer enables them by the drive's
# readiness alone, and the description stays E's.
for id in 1023 1024 1025; do
    expect_line "audio control $id unchecked" "$out" "^control id=$id class=Button enabled=1 visible=1 checked=0 "
done
expect_line "the description is left as it was" "$out" "^control id=1027 .* text=$HIGH_SPEED_TEXT$"
sleep 0.5
e_before=$(wc -l <"$(wine_drive_trace E)")
g_polls=$(dw_trace_count G "$DW_READY_POLL")
sleep 1.5
expect_line "E's watcher stopped: E receives nothing more" "$(wc -l <"$(wine_drive_trace E)")" "^$e_before\$"
expect_status "G's watcher polls G" test "$(dw_trace_count G "$DW_READY_POLL")" -gt "$g_polls"
expect_line "G: two settings page reads for the change" "$(dw_trace_count G "$DW_PAGE_READ")" '^2$'
expect_line "G: its model read again at each of the change's two opens" \
    "$(dw_trace_count G "$DW_MODEL_READ")" '^3$'

echo "Check setting"
gui_auto click "$CAPTION" 1007 >/dev/null
for i in $(seq 50); do
    [ "$(dw_trace_count G "$DW_PAGE_READ")" -ge 3 ] && break
    sleep 0.1
done
expect_line "one settings page read" "$(dw_trace_count G "$DW_PAGE_READ")" '^3$'
dw_expect_log "the log box shows G's report" "$REPORT_G"
sleep 0.5
dw_expect_log "and shows it once" "$REPORT_G"
expect_no_line "no WRITE BUFFER anywhere" "$(cat "$SIM_DRIVE_DIR"/trace-*.log)" "^cdb=$DW_WRITE"

dw_close
gui_test_end
