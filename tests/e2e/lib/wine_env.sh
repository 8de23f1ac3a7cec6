# Shared set-up of the end-to-end tests: the Wine prefix and the simulated drives behind drive
# letters. Source it; run-all.sh creates the prefix once per run and exports WINEPREFIX,
# E2E_NATIVE_BUILD, E2E_WIN64_BUILD and E2E_WORK for the tests.
#
# A simulated drive at letter X is three things: $SIM_DRIVE_DIR/drive-X.conf (its set-up, keys in
# sim/README.md), the file $SIM_DRIVE_DIR/drive-X.dev and the prefix's dosdevices/x:: symlink to
# that file. Programs started with wine_run carry the SG_IO preload library, which answers the
# pass-through commands sent to such a file and appends one line per command to trace-X.log.

WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEDEBUG=${WINEDEBUG:--all}

# Creates and prepares the prefix named by WINEPREFIX (about 13 s): once per run.
wine_create_prefix() {
    mkdir -p "$WINEPREFIX" &&
        timeout 180 "$WINE64" wineboot -i >"$E2E_WORK/wineboot.log" 2>&1 &&
        # No window manager under Xvfb: unmanaged windows spare the 2 s wait on every close.
        timeout 60 "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
            >>"$E2E_WORK/wineboot.log" 2>&1 &&
        timeout 60 "$WINESERVER" -w
}

wine_stop_server() {
    timeout 30 "$WINESERVER" -k 2>/dev/null || true
}

# Gives the calling test a drive directory of its own, with no drive placed at any letter.
wine_use_drive_dir() {  # wine_use_drive_dir NAME
    export SIM_DRIVE_DIR="$E2E_WORK/drives-$1"
    rm -rf "$SIM_DRIVE_DIR"
    mkdir -p "$SIM_DRIVE_DIR"
    local letter
    for letter in d e f g h i j k l m n o p q r s t u v w x y z; do
        rm -f "$WINEPREFIX/dosdevices/$letter::"
    done
}

_wine_lower() { printf '%s' "$1" | tr 'A-Z' 'a-z'; }
_wine_upper() { printf '%s' "$1" | tr 'a-z' 'A-Z'; }

# Places a simulated drive at a letter; each further argument is one line of its conf file.
wine_place_drive() {  # wine_place_drive LETTER [key=value ...]
    local upper lower line
    upper=$(_wine_upper "$1")
    lower=$(_wine_lower "$1")
    shift
    rm -f "$SIM_DRIVE_DIR/drive-$upper.state" "$SIM_DRIVE_DIR/trace-$upper.log"
    : >"$SIM_DRIVE_DIR/drive-$upper.conf"
    for line in "$@"; do
        printf '%s\n' "$line" >>"$SIM_DRIVE_DIR/drive-$upper.conf"
    done
    : >"$SIM_DRIVE_DIR/drive-$upper.dev"
    ln -sfn "$SIM_DRIVE_DIR/drive-$upper.dev" "$WINEPREFIX/dosdevices/$lower::"
}

wine_remove_drive() {  # wine_remove_drive LETTER
    local upper
    upper=$(_wine_upper "$1")
    rm -f "$WINEPREFIX/dosdevices/$(_wine_lower "$1")::" "$SIM_DRIVE_DIR/drive-$upper".*
}

# Changes one key of a placed drive while programs use it (disc, ready, fail, ... see README).
# fail lines accumulate; wine_clear_drive_key removes every line of a key.
wine_set_drive_key() {  # wine_set_drive_key LETTER KEY VALUE
    local conf="$SIM_DRIVE_DIR/drive-$(_wine_upper "$1").conf"
    local rest
    rest=$(grep -v "^$2=" "$conf" || true)
    { [ -n "$rest" ] && printf '%s\n' "$rest"; printf '%s=%s\n' "$2" "$3"; } >"$conf.new"
    mv "$conf.new" "$conf"
}

wine_clear_drive_key() {  # wine_clear_drive_key LETTER KEY
    local conf="$SIM_DRIVE_DIR/drive-$(_wine_upper "$1").conf"
    { grep -v "^$2=" "$conf" || true; } >"$conf.new"
    mv "$conf.new" "$conf"
}

wine_drive_trace() {  # wine_drive_trace LETTER: the path of the drive's command trace
    printf '%s/trace-%s.log' "$SIM_DRIVE_DIR" "$(_wine_upper "$1")"
}

wine_drive_state() {  # wine_drive_state LETTER: the path of the drive's kept setting values
    printf '%s/drive-%s.state' "$SIM_DRIVE_DIR" "$(_wine_upper "$1")"
}

# Runs a Windows program with the SG_IO preload library; WINE_RUN_TIMEOUT bounds it (60 s).
wine_run() {  # wine_run PROGRAM.exe [arguments ...]
    LD_PRELOAD="$E2E_NATIVE_BUILD/sim/libsim_sg_io_preload.so" \
        timeout "${WINE_RUN_TIMEOUT:-60}" "$WINE64" "$@"
}
