#!/usr/bin/env bash
# GUI pieces of the end-to-end tests, sourced by tests/e2e/test_*.sh:
#   gui_start_xvfb / gui_stop_xvfb   a private X display on a free number
#   gui_map_fonts                    dialog fonts and unmanaged windows in $WINEPREFIX
#   gui_screenshot FILE              the screen cropped to the windows on it
#   gui_app_start [LANG]             starts the program under Wine (pid in $GUI_APP_PID)
#   gui_auto ARGS...                 runs winauto under Wine
#   expect_line / expect_no_line     grep-based assertions that count failures
# Expects WINEPREFIX, E2E_WIN64_BUILD and E2E_WORK (tests/e2e/run-all.sh exports them).

source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/lib/wine_fonts.sh"

GUI_WINE=${GUI_WINE:-/usr/lib/wine/wine64}
GUI_APP_EXE=${GUI_APP_EXE:-$E2E_WIN64_BUILD/app/VelmoraDriveUtility.exe}
GUI_WINAUTO=${GUI_WINAUTO:-$E2E_WIN64_BUILD/tests/windows/winauto.exe}
GUI_FAILURES=0
export WINEDEBUG=${WINEDEBUG:--all}

gui_start_xvfb() {
    local n
    for n in $(seq 90 190); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        GUI_XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 50); do
            if xdpyinfo >/dev/null 2>&1; then
                return 0
            fi
            kill -0 "$GUI_XVFB_PID" 2>/dev/null || break  # lost the race for this number
            sleep 0.1
        done
        kill "$GUI_XVFB_PID" 2>/dev/null
        wait "$GUI_XVFB_PID" 2>/dev/null
    done
    echo "no free X display" >&2
    return 1
}

gui_stop_xvfb() {
    if [ -n "${GUI_XVFB_PID:-}" ]; then
        kill "$GUI_XVFB_PID" 2>/dev/null
        wait "$GUI_XVFB_PID" 2>/dev/null
        GUI_XVFB_PID=
    fi
}

# Fonts for the dialogs (see scripts/lib/wine_fonts.sh), and no window manager handling: under
# Xvfb without a window manager Wine otherwise waits about 2 s whenever a dialog closes.
gui_map_fonts() {
    wine_map_fonts "$WINEPREFIX"
    local reg="$E2E_WORK/unmanaged.reg"
    mkdir -p "$E2E_WORK"
    printf '%s\r\n' 'REGEDIT4' '' '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' \
        '"Managed"="N"' '' >"$reg"
    "$GUI_WINE" regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
}

winepath_of() {  # the Z: path Wine gives a Unix file
    printf 'Z:%s' "$(echo "$1" | tr / '\\')"
}

gui_screenshot() {  # gui_screenshot FILE: the screen, cropped to the windows (black around)
    import -window root -trim +repage "$1"
}

# With SIM_DRIVE_DIR set (tests/e2e/lib/wine_env.sh), the program runs with the SG_IO preload
# library, so the simulated drives placed there answer its pass-through commands.
gui_app_start() {  # gui_app_start [LANG]
    local preload=
    [ -n "${SIM_DRIVE_DIR:-}" ] && preload="$E2E_NATIVE_BUILD/sim/libsim_sg_io_preload.so"
    LD_PRELOAD=$preload LANG=${1:-en_US.UTF-8} LC_ALL= "$GUI_WINE" "$GUI_APP_EXE" \
        >"$E2E_WORK/app.log" 2>&1 &
    GUI_APP_PID=$!
}

gui_app_wait_exit() {  # gui_app_wait_exit PID SECONDS: 0 when the process ended in time
    local i
    for i in $(seq $(($2 * 10))); do
        kill -0 "$1" 2>/dev/null || { wait "$1" 2>/dev/null; return 0; }
        sleep 0.1
    done
    return 1
}

gui_auto() {  # winauto under the same locale as the program, so captions compare as text
    LANG=${GUI_LANG:-en_US.UTF-8} LC_ALL= "$GUI_WINE" "$GUI_WINAUTO" "$@" 2>/dev/null | tr -d '\r'
}

expect_line() {  # expect_line DESCRIPTION TEXT ERE
    if grep -Eq -- "$3" <<<"$2"; then
        echo "  ok   $1"
    else
        echo "  FAIL $1: no line matches /$3/ in:"
        sed 's/^/         /' <<<"$2"
        GUI_FAILURES=$((GUI_FAILURES + 1))
    fi
}

expect_no_line() {  # expect_no_line DESCRIPTION TEXT ERE
    if grep -Eq -- "$3" <<<"$2"; then
        echo "  FAIL $1: unexpected /$3/ in:"
        sed 's/^/         /' <<<"$2"
        GUI_FAILURES=$((GUI_FAILURES + 1))
    else
        echo "  ok   $1"
    fi
}

expect_status() {  # expect_status DESCRIPTION COMMAND...: the command must succeed
    if "${@:2}" >/dev/null 2>&1; then
        echo "  ok   $1"
    else
        echo "  FAIL $1"
        GUI_FAILURES=$((GUI_FAILURES + 1))
    fi
}
