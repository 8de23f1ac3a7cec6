#!/usr/bin/env bash
# The main window with simulated drives behind it, for tests/e2e/test_reading_*.sh and the
# like. Sourced after gui_test.sh; uses wine_env.sh for the drives. The caller sets CAPTION
# (the main window's caption) and GUI_LANG.
#   dw_start                          starts the program and waits for its window
#   dw_expect_log DESCRIPTION TEXT_RE the log box comes to match TEXT_RE as a whole (\r\n as
#                                     printed by winauto: '\\r\\n' in the pattern)
#   dw_controls_when REGEX            the controls, once a line matches REGEX (5 s at most)
#   dw_trace_count LETTER CDB_RE      how many commands of the drive's trace match
#   dw_close                          Close, and the program ends
#   dw_unplace_drives                 takes the drive letters out of the shared prefix again
#   dw_trace_lines LETTER             the number of commands the drive has received so far
#   dw_commands_since LETTER N        the commands after the first N, the watcher's polls left out
#   dw_expect_msgbox DESCRIPTION TITLE TEXT_RE
#                                     a message box shows them (as winauto prints, \r\n escaped);
#                                     its OK button is pressed
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"

DW_START_MS=60000
DW_LOG_MS=15000

dw_start() {
    gui_app_start "$GUI_LANG"
    if ! gui_auto wait-window "$CAPTION" "$DW_START_MS" >/dev/null; then
        echo "  FAIL the window \"$CAPTION\" did not appear"
        GUI_FAILURES=$((GUI_FAILURES + 1))
        return 1
    fi
}

dw_expect_log() {
    local out
    if out=$(gui_auto wait-text "$CAPTION" 1006 "$2" "$DW_LOG_MS"); then
        echo "  ok   $1"
    else
        echo "  FAIL $1: the log box never matched /$2/; $out"
        GUI_FAILURES=$((GUI_FAILURES + 1))
    fi
}

dw_controls_when() {
    local out i
    for i in $(seq 25); do
        out=$(gui_auto controls "$CAPTION")
        grep -Eq -- "$1" <<<"$out" && break
        sleep 0.2
    done
    printf '%s\n' "$out"
}

dw_trace_count() {
    local trace
    trace=$(wine_drive_trace "$1")
    [ -e "$trace" ] || { echo 0; return; }
    grep -Ec -- "^cdb=$2" "$trace"
}

dw_close() {
    gui_auto click "$CAPTION" 2 >/dev/null
    if gui_app_wait_exit "$GUI_APP_PID" 20; then
        echo "  ok   Close ends the program"
    else
        echo "  FAIL Close did not end the program"
        GUI_FAILURES=$((GUI_FAILURES + 1))
        kill "$GUI_APP_PID" 2>/dev/null
    fi
}

dw_unplace_drives() {
    local letter
    for letter in d e f g h i j k l m n o p q r s t u v w x y z; do
        rm -f "$WINEPREFIX/dosdevices/$letter::"
    done
}

dw_trace_lines() {
    local trace
    trace=$(wine_drive_trace "$1")
    [ -e "$trace" ] || { echo 0; return; }
    wc -l <"$trace"
}

dw_commands_since() {
    tail -n +"$(($2 + 1))" "$(wine_drive_trace "$1")" | grep -v "^cdb=$DW_READY_POLL"
}

dw_expect_msgbox() {
    local out
    out=$(gui_auto msgbox-ok 15000)
    expect_line "$1" "$out" "^msgbox title=$2 text=$3\$"
}

# The standard CDBs of reading, as the trace shows them.
DW_MODEL_READ='3C02F1000000000030000000 '
DW_INQUIRY='12000000FE00000000000000 '
DW_PAGE_READ='3C01F4000000000100000000 '
DW_READY_POLL='3C00F4000000000100000000 '
DW_WRITE='3B'
DW_PAGE_WRITE='3B01FA000000000100000000 '
DW_STOP_DISC='1B0000000000 '
