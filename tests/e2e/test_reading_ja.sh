#!/usr/bin/env bash
# Reading settings end to end, in Japanese (LANG=ja_JP.UTF-8): the real program under Wine with
# simulated drives at E and G shows the drive list, E's report and description, and after
# choosing G and pressing Check setting, G's report once.
source "$(dirname "$0")/lib/gui_test.sh"
source "$(dirname "$0")/lib/drive_window.sh"

CAPTION='Velmoraドライブユーティリティ'
export GUI_LANG=ja_JP.UTF-8
REPORT_E='【現在のドライブの設定】\\r\\n最適記録倍速 ： ON\\r\\nAudio最適記録モード ： 高速再生重視モード'
REPORT_G='【現在のドライブの設定】\\r\\n最適記録倍速 ： OFF\\r\\nAudio最適記録モード ： この機能には対応していない機種です'
HIGH_SPEED_TEXT='再生倍速が高速の環境を重視した記録を行います。\\r\\n高速で再生できるパソコン環境などに適したCD-R記録方式です。'

gui_test_begin
wine_use_drive_dir reading-ja
trap 'dw_unplace_drives; gui_test_cleanup' EXIT
wine_place_drive E speed=1 audio=0
wine_place_drive G 'model=7305KT52    ' speed=0 audio_supported=0

echo "start-up with drives at E and G"
dw_start || gui_test_end
expect_line "the list holds E then G" "$(gui_auto items "$CAPTION" 1000 | tr '\n' '|')" \
    '^item 0 E: VELMORA CD-R DRIVE      1\.00\|item 1 G: VELMORA CD-R DRIVE      1\.00\|$'
dw_expect_log "the log box shows E's three report lines" "$REPORT_E"
out=$(dw_controls_when '^control id=1025 class=Button enabled=1 ')
expect_line "the description explains high speed playback" "$out" "^control id=1027 .* text=$HIGH_SPEED_TEXT$"
expect_line "ON and high speed playback checked" \
    "$(grep -E '^control id=(1020|1023) ' <<<"$out" | grep -c 'checked=1')" '^2$'

echo "choosing G, then Check setting"
gui_auto select "$CAPTION" 1000 1 >/dev/null
dw_expect_log "the log box shows G's three report lines" "$REPORT_G"
gui_auto click "$CAPTION" 1007 >/dev/null
for i in $(seq 50); do
    [ "$(dw_trace_count G "$DW_PAGE_READ")" -ge 3 ] && break
    sleep 0.1
done
sleep 0.5
dw_expect_log "after Check setting the report is there once" "$REPORT_G"

dw_close
gui_test_end
