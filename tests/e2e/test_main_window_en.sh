#!/usr/bin/env bash
# The English main window under Wine: caption, controls, About box, and the three ways out.
source "$(dirname "$0")/lib/gui_test.sh"
source "$(dirname "$0")/lib/main_window_cases.sh"

MW_LANG=en_US.UTF-8
MW_CAPTION='Velmora Drive Utility'
MW_ABOUT='Velmora Drive Utility Version Information'
MW_NOT_FOUND='Target is not found'
MW_ABOUT_LINE='Velmora Drive Utility Version 1\.18'
MW_ORDER='2 1000 1006 1007 1008 1009 -1 1020 1021 1022 -1 -1 1023 1024 1025 1027 '
MW_STATICS='The self adjustment at the writing speed to improve writing quality\.\|Optimal Writing Speed\|Audio Optimized Write mode\|'
declare -A MW_TEXTS=(
    [2]='Close' [1007]='Check setting' [1008]='Apply' [1009]='Restore Factory Default'
    [1020]='ON' [1021]='OFF' [1022]='Save optimal writing speed setting to drive\.'
    [1023]='High speed playback mode' [1024]='Low speed playback mode'
    [1025]='Save audio optimized write mode'
)

gui_test_begin
main_window_cases
gui_test_end
