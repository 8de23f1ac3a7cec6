#!/usr/bin/env bash
# The native Qt program's real window, driven from outside: a private X display (Xvfb), a D-Bus
# session of its own with the accessibility bus, the program on Qt's xcb platform with its
# accessibility bridge on, and atspi_auto.py to find its windows, press its buttons and read its
# texts. Sourced after native_env.sh (NATIVE_BUILD set); the drives come from native_env.sh.
#
#   native_gui_session "$@"        first thing a test does: runs the test script again inside a
#                                  D-Bus session of its own (dbus-run-session; what the bus and
#                                  the services it starts print goes to $NATIVE_WORK/session.log),
#                                  with NATIVE_WORK and the programs' runtime directory made
#                                  (XDG_RUNTIME_DIR, private to the test: the accessibility bus
#                                  and the programs' single-instance name live there, so no
#                                  program or demo open elsewhere can take their place)
#   native_gui_begin               starts the X display; the cleanup runs at exit
#   native_gui_start LANG PROGRAM  starts the program with the preload (pid in NATIVE_GUI_PID)
#   native_gui_wait_exit SECONDS   0 once the program has ended (its exit status in
#                                  NATIVE_GUI_STATUS)
#   native_gui_auto ARGS...        atspi_auto.py (wait-window, controls, click, wait-text, ...)
#   native_gui_screenshot FILE     the screen cropped to the window; prints WIDTHxHEIGHT

NATIVE_GUI_AUTO="$(dirname "${BASH_SOURCE[0]}")/atspi_auto.py"
NATIVE_GUI_PYTHON=/usr/bin/python3  # Debian's, which has the gi bindings
NATIVE_GUI_PID=
NATIVE_GUI_STATUS=
NATIVE_GUI_XVFB_PID=

native_gui_session() {
    if [ -n "${NATIVE_GUI_SESSION:-}" ]; then
        exec 1>&3 2>&1 3>&-  # the test's own output again
        return 0
    fi
    local missing=
    command -v dbus-run-session >/dev/null || missing+=" dbus-run-session(dbus)"
    command -v Xvfb >/dev/null || missing+=" Xvfb(xvfb)"
    command -v import >/dev/null || missing+=" import(imagemagick)"
    [ -x /usr/libexec/at-spi-bus-launcher ] || missing+=" at-spi-bus-launcher(at-spi2-core)"
    "$NATIVE_GUI_PYTHON" -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
        missing+=" python3-gi,gir1.2-atspi-2.0"
    if [ -n "$missing" ]; then
        echo "FAIL: missing$missing (scripts/install-deps.sh installs them)"
        exit 1
    fi
    unset AT_SPI_BUS_ADDRESS  # a desktop's own accessibility bus, never the test's
    NATIVE_WORK=$(mktemp -d "${TMPDIR:-/tmp}/native-gui.XXXXXX")
    # Set before the session bus starts, so the accessibility bus it starts puts its socket here:
    # with no XDG_RUNTIME_DIR that is ~/.cache/at-spi/bus, which the next session of the same
    # user takes over, and this test's programs lose their bus.
    export XDG_RUNTIME_DIR="$NATIVE_WORK/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    export NATIVE_WORK NATIVE_GUI_SESSION=1
    exec 3>&1
    exec dbus-run-session -- bash "$0" "$@" >"$NATIVE_WORK/session.log" 2>&1
}

native_gui_begin() {
    local fifo="$NATIVE_WORK/display" number=
    trap native_gui_cleanup EXIT
    # Xvfb picks a free display number and writes it once it accepts connections.
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>"$NATIVE_WORK/xvfb.log" &
    NATIVE_GUI_XVFB_PID=$!
    read -r -t 20 number <"$fifo"
    if [ -z "$number" ]; then
        echo "FAIL: Xvfb did not start:"
        sed 's/^/     /' "$NATIVE_WORK/xvfb.log"
        exit 1
    fi
    export DISPLAY=":$number"
}

native_gui_cleanup() {
    if [ -n "$NATIVE_GUI_PID" ] && kill -0 "$NATIVE_GUI_PID" 2>/dev/null; then
        kill "$NATIVE_GUI_PID" 2>/dev/null
        wait "$NATIVE_GUI_PID" 2>/dev/null
    fi
    if [ -n "$NATIVE_GUI_XVFB_PID" ]; then
        kill "$NATIVE_GUI_XVFB_PID" 2>/dev/null
        wait "$NATIVE_GUI_XVFB_PID" 2>/dev/null
    fi
    return 0
}

native_gui_start() {  # native_gui_start LANG PROGRAM [ARG...]
    local lang=$1
    shift
    LANG=$lang LC_ALL='' LC_MESSAGES='' QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
        LD_PRELOAD="$NATIVE_BUILD/sim/libsim_sg_io_preload.so" \
        timeout "${NATIVE_RUN_TIMEOUT:-60}" "$@" \
        >>"$NATIVE_WORK/program.log" 2>&1 &
    NATIVE_GUI_PID=$!
}

native_gui_wait_exit() {  # native_gui_wait_exit SECONDS
    local _
    for _ in $(seq $(($1 * 20))); do
        if ! kill -0 "$NATIVE_GUI_PID" 2>/dev/null; then
            wait "$NATIVE_GUI_PID" 2>/dev/null
            # shellcheck disable=SC2034  # read by the scripts that source this
            NATIVE_GUI_STATUS=$?
            return 0
        fi
        sleep 0.05
    done
    return 1
}

native_gui_auto() {
    PYTHONUTF8=1 "$NATIVE_GUI_PYTHON" "$NATIVE_GUI_AUTO" "$@" 2>&1
}

native_gui_screenshot() {  # native_gui_screenshot FILE: the window on the black screen, cropped
    mkdir -p "$(dirname "$1")"
    import -window root -trim +repage "$1" && identify -format '%wx%h\n' "$1"
}
