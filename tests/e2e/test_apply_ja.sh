#!/usr/bin/env bash
# Writing settings end to end, in Japanese (LANG=ja_JP.UTF-8): Apply and Restore Factory Default
# report in Japanese, and message boxes 148 and 149 show their Japanese texts under the
# program's name.
source "$(dirname "$0")/lib/gui_test.sh"
source "$(dirname "$0")/lib/drive_window.sh"

CAPTION='Velmoraドライブユーティリティ'
TITLE='VelmoraDriveUtility'
export GUI_LANG=ja_JP.UTF-8

gui_test_begin
wine_use_drive_dir apply-ja
trap 'dw_unplace_drives; gui_test_cleanup' EXIT
wine_place_drive E speed=0 audio=0

dw_start || gui_test_end
dw_expect_log "E's report" '【現在のドライブの設定】.*'
dw_controls_when '^control id=1025 class=Button enabled=1 ' >/dev/null

gui_auto click "$CAPTION" 1020 >/dev/null
gui_auto click "$CAPTION" 1008 >/dev/null
dw_expect_log "Apply: 設定しました" '設定しました'
expect_line "the drive took ON" "$(head -n 1 "$(wine_drive_state E)")" '^speed=1$'
gui_auto click "$CAPTION" 1009 >/dev/null
dw_expect_log "Restore Factory Default: 出荷時の設定に戻しました" '出荷時の設定に戻しました'
expect_line "the drive is back to OFF" "$(head -n 1 "$(wine_drive_state E)")" '^speed=0$'

wine_set_drive_key E disc present
dw_controls_when '^control id=1023 class=Button enabled=0 ' >/dev/null
gui_auto click "$CAPTION" 1008 >/dev/null
dw_expect_msgbox "message box 148 in Japanese" "$TITLE" \
    'Audio最適記録モードの設定ができませんでした。\\r\\nディスクが入っている場合はディスクを取り出してください。'

wine_set_drive_key E writes_ignored 1
gui_auto click "$CAPTION" 1020 >/dev/null
gui_auto click "$CAPTION" 1008 >/dev/null
dw_expect_msgbox "message box 149 in Japanese" "$TITLE" '最適記録倍速の設定ができませんでした'
dw_expect_msgbox "then 148 again: the disc is still in" "$TITLE" 'Audio最適記録モードの設定ができませんでした。.*'

dw_close
gui_test_end
