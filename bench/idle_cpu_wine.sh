#!/usr/bin/env bash
# Idle CPU of the win64 program under Wine: one simulated drive selected, nothing pressed.
# Prints the CPU time (user + system, from /proc/PID/stat) that the program and the wineserver
# spent over a measured interval, as a share of one core. A measurement, not a test.
#   bench/idle_cpu_wine.sh [SECONDS]   (default 60; needs build/native and build/win64)
source "$(dirname "$0")/../tests/e2e/lib/gui_test.sh"
source "$(dirname "$0")/../tests/e2e/lib/drive_window.sh"

seconds=${1:-60}
CAPTION='Velmora Drive Utility'
export GUI_LANG=en_US.UTF-8

cpu_ticks() {  # cpu_ticks PID: utime + stime in clock ticks
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}

gui_test_begin
wine_use_drive_dir idle-cpu
trap 'dw_unplace_drives; gui_test_cleanup' EXIT
wine_place_drive E speed=1
dw_start || exit 1
dw_expect_log "the drive's report is shown" 'Current drive setting.*'
sleep 2  # past start-up
server=$(pgrep -n -x wineserver || pgrep -n -f wineserver64)
hz=$(getconf CLK_TCK)
app0=$(cpu_ticks "$GUI_APP_PID")
server0=$(cpu_ticks "$server")
polls0=$(dw_trace_count E "$DW_READY_POLL")
sleep "$seconds"
app1=$(cpu_ticks "$GUI_APP_PID")
server1=$(cpu_ticks "$server")
polls1=$(dw_trace_count E "$DW_READY_POLL")
dw_close
awk -v a=$((app1 - app0)) -v s=$((server1 - server0)) -v hz="$hz" -v t="$seconds" \
    -v p=$((polls1 - polls0)) 'BEGIN {
    printf "over %d s: program %.2f s CPU (%.2f %% of one core), wineserver %.2f s (%.2f %%), %d ready polls\n",
        t, a / hz, 100 * a / hz / t, s / hz, 100 * s / hz / t, p }'
