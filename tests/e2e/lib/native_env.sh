# Simulated drives for the native Linux program, as Linux would list them: a fake sysfs tree and
# fake device nodes under $SIM_ROOT, the drives' set-up in $SIM_DRIVE_DIR. Programs started with
# native_run carry the SG_IO preload library, which moves the program's look-ups of
# /sys/class/block and /dev/sgN, /dev/srN into $SIM_ROOT and answers SG_IO on the fake nodes
# (sim/README.md). Source it with NATIVE_BUILD set to the native build directory.
#
#   native_use_tree NAME                  a fresh, empty tree and drive directory of the caller's
#   native_place_drive N [--no-sg] [--sg M] [key=value ...]
#                                         a drive at /dev/srN (peripheral type 5) with its SCSI
#                                         generic node /dev/sgM (M = N + 1 unless given), or none
#                                         with --no-sg; each key=value is a line of drive-srN.conf
#   native_place_block NAME TYPE          another block device (sda 0, ...), with no drive behind it
#   native_set_node NODE KEY VALUE        one line of node-NODE.conf: open=ERRNO, io=ERRNO,
#                                         filter=0|1 (read afresh by every open and SG_IO)
#   native_drive_trace N                  the path of drive srN's command trace
#   native_drive_state N                  the path of the setting values drive srN keeps
#   native_run PROGRAM [ARG...]           runs it with the preload (NATIVE_RUN_TIMEOUT, 60 s) and
#                                         the tree's own runtime directory (XDG_RUNTIME_DIR, where
#                                         the single-instance name lives), so that a program or
#                                         demo open elsewhere on the machine never takes its place

native_use_tree() {  # native_use_tree NAME
    local base="${NATIVE_WORK:-${TMPDIR:-/tmp}}/native-$1"
    rm -rf "$base"
    export SIM_ROOT="$base/root" SIM_DRIVE_DIR="$base/drives" NATIVE_RUNTIME_DIR="$base/runtime"
    mkdir -p "$SIM_ROOT/sys/class/block" "$SIM_ROOT/dev" "$SIM_DRIVE_DIR"
    mkdir -m 700 "$NATIVE_RUNTIME_DIR"
}

_native_block() {  # _native_block NAME TYPE
    mkdir -p "$SIM_ROOT/sys/class/block/$1/device"
    printf '%s\n' "$2" >"$SIM_ROOT/sys/class/block/$1/device/type"
    : >"$SIM_ROOT/dev/$1"
}

native_place_drive() {  # native_place_drive N [--no-sg] [--sg M] [key=value ...]
    local n=$1 sg=$(($1 + 1)) line
    shift
    while [ $# -gt 0 ]; do
        case $1 in
            --no-sg) sg=; shift ;;
            --sg) sg=$2; shift 2 ;;
            *) break ;;
        esac
    done
    _native_block "sr$n" 5
    if [ -n "$sg" ]; then
        mkdir -p "$SIM_ROOT/sys/class/block/sr$n/device/scsi_generic/sg$sg"
        : >"$SIM_ROOT/dev/sg$sg"
    fi
    rm -f "$SIM_DRIVE_DIR/drive-sr$n.state" "$SIM_DRIVE_DIR/trace-sr$n.log"
    : >"$SIM_DRIVE_DIR/drive-sr$n.conf"
    for line in "$@"; do
        printf '%s\n' "$line" >>"$SIM_DRIVE_DIR/drive-sr$n.conf"
    done
}

native_place_block() {  # native_place_block NAME TYPE
    _native_block "$1" "$2"
}

native_set_node() {  # native_set_node NODE KEY VALUE
    local conf="$SIM_DRIVE_DIR/node-$1.conf"
    { [ -e "$conf" ] && grep -v "^$2=" "$conf"; printf '%s=%s\n' "$2" "$3"; } >"$conf.new"
    mv "$conf.new" "$conf"
}

native_drive_trace() {  # native_drive_trace N
    printf '%s/trace-sr%s.log' "$SIM_DRIVE_DIR" "$1"
}

native_drive_state() {  # native_drive_state N
    printf '%s/drive-sr%s.state' "$SIM_DRIVE_DIR" "$1"
}

native_run() {  # native_run PROGRAM [ARG...]
    XDG_RUNTIME_DIR="${NATIVE_RUNTIME_DIR:?native_use_tree first}" \
        LD_PRELOAD="$NATIVE_BUILD/sim/libsim_sg_io_preload.so" \
        timeout "${NATIVE_RUN_TIMEOUT:-60}" "$@"
}
