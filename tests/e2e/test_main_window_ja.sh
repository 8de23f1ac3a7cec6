#!/usr/bin/env bash
# The Japanese main window (LANG=ja_JP.UTF-8) under Wine: caption, controls, About box, and
# the three ways out.
source "$(dirname "$0")/lib/gui_test.sh"
source "$(dirname "$0")/lib/main_window_cases.sh"

MW_LANG=ja_JP.UTF-8
MW_CAPTION='Velmoraドライブユーティリティ'
MW_ABOUT='Velmoraドライブユーティリティのﾊﾞｰｼﾞｮﾝ情報'
MW_NOT_FOUND='対応ドライブが接続されていません'
MW_ABOUT_LINE='Velmoraドライブユーティリティ version 1\.18'
MW_ORDER='2 1000 1006 1007 1008 1009 -1 -1 1020 1021 1022 -1 -1 1023 1024 1025 1027 '
MW_STATICS='最適記録倍速機能\|最適な書き込み速度に自動調整し、記録品質を向上させる機能です。\|Audio最適記録モード\|記録されるCD-Rの再生速度に応じた記録方式を設定します\|'
declare -A MW_TEXTS=(
    [2]='閉じる' [1007]='現在の設定を確認する' [1008]='設定する' [1009]='出荷時の設定に戻す'
    [1020]='ON' [1021]='OFF' [1022]='最適記録倍速機能の設定をドライブに保存する'
    [1023]='高速再生重視モード' [1024]='低速再生重視モード'
    [1025]='Audio最適記録モードの設定をドライブに保存する'
)

gui_test_begin
main_window_cases
gui_test_end
