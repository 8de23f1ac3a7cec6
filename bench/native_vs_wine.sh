#!/usr/bin/env bash
# The native Linux demo beside the win64 demo under Wine, in one run on one private X display,
# both with the demo's two simulated drives:
#   start-up   from launch until the drives' report is complete in the log box (native: measured
#              inside the process by bench/qt_startup_bench; Wine: winauto's waits for the
#              window, started with the program, then for the text; what one winauto call costs
#              is printed too), median of RUNS starts; Wine's first, cold start apart;
#              and the native process's CPU time until then, which the machine's load does not
#              stretch as it stretches wall time;
#   idle CPU   drive E selected, nothing pressed, over SECONDS (native: the process, and its GUI
#              thread alone; Wine: the program and the wineserver), from utime + stime in
#              /proc/PID/stat;
#   memory     resident set (VmRSS) once the report is shown (Wine: program + wineserver).
# Prints each figure and Wine's as a multiple of the native one. A measurement, not a test.
#   bench/native_vs_wine.sh [SECONDS] [RUNS]   (defaults 60 and 5; needs build/native with Qt,
#                                              and build/win64)
source "$(dirname "$0")/../tests/e2e/lib/gui_test.sh"

seconds=${1:-60}
runs=${2:-5}
native_build=$E2E_NATIVE_BUILD
NATIVE_DEMO=$native_build/app/velmora-drive-utility-demo
NATIVE_BENCH=$native_build/bench/qt_startup_bench
WINE_DEMO=$E2E_WIN64_BUILD/app/VelmoraDriveUtilityDemo.exe
CAPTION='Velmora Drive Utility'
REPORT_RE='.*\\r\\n.*\\r\\n.+'
export GUI_LANG=en_US.UTF-8 LANG=en_US.UTF-8 LC_ALL= QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$E2E_WORK}
for f in "$NATIVE_DEMO" "$NATIVE_BENCH" "$WINE_DEMO"; do
    [ -x "$f" ] || { echo "missing $f: build the native (Qt) and win64 targets first" >&2; exit 1; }
done

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
hz=$(getconf CLK_TCK)

gui_test_begin
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)"

# --- native start-up
native_starts=()
native_cpus=()
for _ in $(seq "$runs"); do
    line=$("$NATIVE_BENCH" "$(date +%s%N)") || { echo "native start-up failed" >&2; exit 1; }
    native_starts+=("$(sed -n 's/.*report in the log box \([0-9.]*\) ms.*/\1/p' <<<"$line")")
    native_cpus+=("$(sed -n 's/.*CPU used \([0-9.]*\) ms.*/\1/p' <<<"$line")")
    echo "native: $line"
done
native_start=$(printf '%s\n' "${native_starts[@]}" | median)
native_start_cpu=$(printf '%s\n' "${native_cpus[@]}" | median)

# --- native idle CPU and memory
"$NATIVE_DEMO" >"$E2E_WORK/native.log" 2>&1 &
native_pid=$!
sleep 3  # well past the report
native_rss=$(rss_kib "$native_pid")
c0=$(cpu_ticks "$native_pid")
g0=$(cpu_ticks "$native_pid/task/$native_pid")
sleep "$seconds"
c1=$(cpu_ticks "$native_pid")
g1=$(cpu_ticks "$native_pid/task/$native_pid")
kill "$native_pid"
wait "$native_pid" 2>/dev/null
native_cpu=$(awk -v c=$((c1 - c0)) -v hz="$hz" -v t="$seconds" 'BEGIN { printf "%.3f", 100 * c / hz / t }')
native_gui_cpu=$(awk -v c=$((g1 - g0)) -v hz="$hz" -v t="$seconds" 'BEGIN { printf "%.3f", 100 * c / hz / t }')

# --- Wine start-up
export GUI_APP_EXE=$WINE_DEMO
wine_starts=()
for run in $(seq "$runs"); do
    t0=$(now_ms)
    gui_app_start en_US.UTF-8
    gui_auto wait-window "$CAPTION" 30000 >/dev/null &&
        gui_auto wait-text "$CAPTION" 1006 "$REPORT_RE" 30000 >/dev/null ||
        { echo "the Wine demo's report never came" >&2; exit 1; }
    t1=$(now_ms)
    echo "wine: run $run, report in the log box $((t1 - t0)) ms"
    if [ "$run" = 1 ]; then
        wine_cold=$((t1 - t0))
    else
        wine_starts+=($((t1 - t0)))
    fi
    if [ "$run" -lt "$runs" ]; then
        gui_auto close "$CAPTION" >/dev/null
        gui_app_wait_exit "$GUI_APP_PID" 20
    fi
done
wine_start=$(printf '%s\n' "${wine_starts[@]:-$wine_cold}" | median)
# The second winauto call starts a Wine process of its own once the window is there; what one
# such start costs tells how much of the Wine figure is the measuring.
probes=()
for _ in 1 2 3; do
    t0=$(now_ms)
    gui_auto count "$CAPTION" >/dev/null
    probes+=($(($(now_ms) - t0)))
done
winauto_start=$(printf '%s\n' "${probes[@]}" | median)

# --- Wine idle CPU and memory (the last start stays open)
sleep 2
server=$(pgrep -n -x wineserver || pgrep -n -f wineserver64)
wine_rss=$(($(rss_kib "$GUI_APP_PID") + $(rss_kib "$server")))
a0=$(cpu_ticks "$GUI_APP_PID")
s0=$(cpu_ticks "$server")
sleep "$seconds"
a1=$(cpu_ticks "$GUI_APP_PID")
s1=$(cpu_ticks "$server")
gui_auto close "$CAPTION" >/dev/null
gui_app_wait_exit "$GUI_APP_PID" 20
wine_cpu=$(awk -v c=$((a1 - a0 + s1 - s0)) -v hz="$hz" -v t="$seconds" 'BEGIN { printf "%.3f", 100 * c / hz / t }')
wine_program_cpu=$(awk -v c=$((a1 - a0)) -v hz="$hz" -v t="$seconds" 'BEGIN { printf "%.3f", 100 * c / hz / t }')

echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
printf '%-34s %12s %12s %10s\n' "" native wine "wine/native"
ratio() { awk -v w="$1" -v n="$2" 'BEGIN { if (n > 0) printf "%.1f", w / n; else print "-" }'; }
printf '%-34s %9.1f ms %9.1f ms %10s\n' "start-up to the report (median)" "$native_start" "$wine_start" \
    "$(ratio "$wine_start" "$native_start")"
printf '%-34s %9.1f ms\n' "  native CPU time of it (median)" "$native_start_cpu"
printf '%-34s %12s %9d ms\n' "Wine's first (cold) start" "" "$wine_cold"
printf '%-34s %12s %9d ms\n' "  one winauto call (measuring)" "" "$winauto_start"
printf '%-34s %10s %% %10s %% %10s\n' "idle CPU over ${seconds} s (one core)" "$native_cpu" "$wine_cpu" \
    "$(ratio "$wine_cpu" "$native_cpu")"
printf '%-34s %10s %%\n' "  of which the native GUI thread" "$native_gui_cpu"
printf '%-34s %12s %10s %%\n' "  of which the Wine program" "" "$wine_program_cpu"
printf '%-34s %8d KiB %8d KiB %10s\n' "resident memory" "$native_rss" "$wine_rss" \
    "$(ratio "$wine_rss" "$native_rss")"
