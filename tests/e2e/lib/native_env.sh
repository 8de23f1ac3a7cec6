# Simulated drives for the native Linux program, as Linux would list them: a fake sysfs tree and
# fake device nodes under $SIM_ROOT, the drives' set-up in $SIM_DRIVE_DIR. Programs started with
# native_run carry the SG_IO preload library, which moves the program's look-ups of
# /sys/class/block, /sys/dev/{char,block}, /dev/sgN, /dev/srN and /proc/self/mountinfo into
# $SIM_ROOT and answers SG_IO and fstat on the fake nodes (sim/README.md). Source it with
# NATIVE_BUILD set to the native build directory.
#
#   native_use_tree NAME                  a fresh, empty tree and drive directory of the caller's
#   native_place_drive N [--no-sg] [--sg M] [key=value ...]
#                                         a drive at /dev/srN (peripheral type 5, device number
#                                         11:N, SCSI address N+2:0:0:0) with its SCSI generic node
#                                         /dev/sgM (21:M; M = N + 1 unless given), or none with
#                                         --no-sg; each key=value is a line of drive-srN.conf
#   native_place_block NAME TYPE          another block device (sda 0, ...), with no drive behind it
#   native_set_node NODE KEY VALUE        one line of node-NODE.conf: open=ERRNO, excl=ERRNO,
#                                         io=ERRNO, filter=0|1 (read afresh by every open and SG_IO)
#   native_repoint_drive N K [--keep-address]
#                                         srN's nodes (and its sg node) now lead to the drive placed
#                                         as srK, and sysfs gives srN srK's SCSI address (unless
#                                         --keep-address): a device plugged in under a freed name
#   native_add_sg N M                     srN gets the generic node sgM, as loading sg does
#   native_mount_disc N MOUNT_POINT       the mount table names srN's disc mounted there
#   native_place_chain N usb|ahci         hangs drive srN (placed before) where Linux puts it: its
#                                         SCSI device under a host behind a USB adapter
#                                         (152d:2339, usb-storage) or on an AHCI port, and
#                                         class/block/srN a link to it, as sysfs has them
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
    local block="$SIM_ROOT/sys/class/block/sr$n"
    _native_block "sr$n" 5
    printf '11:%s\n' "$n" >"$block/dev"
    mkdir -p "$block/device/scsi_device/$((n + 2)):0:0:0" "$SIM_ROOT/sys/dev/block" \
        "$SIM_ROOT/sys/dev/char"
    ln -sfn "../../class/block/sr$n" "$SIM_ROOT/sys/dev/block/11:$n"
    [ -n "$sg" ] && native_add_sg "$n" "$sg"
    rm -f "$SIM_DRIVE_DIR/drive-sr$n.state" "$SIM_DRIVE_DIR/trace-sr$n.log"
    : >"$SIM_DRIVE_DIR/drive-sr$n.conf"
    for line in "$@"; do
        printf '%s\n' "$line" >>"$SIM_DRIVE_DIR/drive-sr$n.conf"
    done
}

native_add_sg() {  # native_add_sg N M: srN gets the generic node sgM (as loading the sg module does)
    local block="$SIM_ROOT/sys/class/block/sr$1"
    mkdir -p "$block/device/scsi_generic/sg$2"
    printf '21:%s\n' "$2" >"$block/device/scsi_generic/sg$2/dev"
    ln -sfn ../.. "$block/device/scsi_generic/sg$2/device"
    ln -sfn "../../class/block/sr$1/device/scsi_generic/sg$2" "$SIM_ROOT/sys/dev/char/21:$2"
    : >"$SIM_ROOT/dev/sg$2"
}

native_place_block() {  # native_place_block NAME TYPE
    _native_block "$1" "$2"
}

_native_device() {  # _native_device PATH [UEVENT-LINE...]: a device directory under sys/devices
    local directory="$SIM_ROOT/sys/devices/$1"
    shift
    mkdir -p "$directory"
    printf '%s\n' "$@" >"$directory/uevent"
}

native_place_chain() {  # native_place_chain N usb|ahci
    local n=$1 host=$((10 + $1)) parent attribute
    local address="$host:0:0:0"
    _native_device pci0000:00
    case $2 in
        usb)
            _native_device pci0000:00/0000:00:14.0 DRIVER=xhci_hcd
            parent=pci0000:00/0000:00:14.0/usb2/2-$n
            _native_device pci0000:00/0000:00:14.0/usb2 DRIVER=usb
            _native_device "$parent" DRIVER=usb DEVTYPE=usb_device
            for attribute in idVendor=152d idProduct=2339 manufacturer=JMicron \
                'product=USB to ATA/ATAPI Bridge' serial=E2E0SERIAL0NUMBER; do
                printf '%s\n' "${attribute#*=}" >"$SIM_ROOT/sys/devices/$parent/${attribute%%=*}"
            done
            parent=$parent/2-$n:1.0
            _native_device "$parent" DRIVER=usb-storage DEVTYPE=usb_interface
            printf '08\n' >"$SIM_ROOT/sys/devices/$parent/bInterfaceClass"
            ;;
        ahci)
            _native_device pci0000:00/0000:00:1f.2 DRIVER=ahci
            parent=pci0000:00/0000:00:1f.2/ata$n
            _native_device "$parent" DEVTYPE=ata_port
            ;;
    esac
    _native_device "$parent/host$host" DEVTYPE=scsi_host
    mkdir -p "$SIM_ROOT/sys/devices/$parent/host$host/scsi_host/host$host"
    local driver=ahci
    [ "$2" = usb ] && driver=usb-storage
    printf '%s\n' "$driver" >"$SIM_ROOT/sys/devices/$parent/host$host/scsi_host/host$host/proc_name"
    local device="$parent/host$host/target$host:0:0/$address"
    _native_device "${device%/*}" DEVTYPE=scsi_target
    _native_device "$device" DRIVER=sr DEVTYPE=scsi_device
    mv "$SIM_ROOT/sys/class/block/sr$n/device/"* "$SIM_ROOT/sys/devices/$device/"
    printf 'VELMORA \n' >"$SIM_ROOT/sys/devices/$device/vendor"
    printf 'CD-R DRIVE      \n' >"$SIM_ROOT/sys/devices/$device/model"
    printf '1.00\n' >"$SIM_ROOT/sys/devices/$device/rev"
    mkdir -p "$SIM_ROOT/sys/devices/$device/scsi_device/$address"
    _native_device "$device/block/sr$n" DEVTYPE=disk
    ln -s "../../../$address" "$SIM_ROOT/sys/devices/$device/block/sr$n/device"
    rm -rf "$SIM_ROOT/sys/class/block/sr$n"
    ln -s "../../devices/$device/block/sr$n" "$SIM_ROOT/sys/class/block/sr$n"
}

native_set_node() {  # native_set_node NODE KEY VALUE
    local conf="$SIM_DRIVE_DIR/node-$1.conf"
    { [ -e "$conf" ] && grep -v "^$2=" "$conf"; printf '%s=%s\n' "$2" "$3"; } >"$conf.new"
    mv "$conf.new" "$conf"
}

_native_sg_of() {  # _native_sg_of N: the sg node of srN, if it has one
    local entry
    for entry in "$SIM_ROOT/sys/class/block/sr$1/device/scsi_generic"/sg*; do
        [ -e "$entry" ] && basename "$entry" && return
    done
}

native_repoint_drive() {  # native_repoint_drive N K [--keep-address]
    local n=$1 k=$2 sg sgk address
    sg=$(_native_sg_of "$n")
    sgk=$(_native_sg_of "$k")
    ln -f "$SIM_ROOT/dev/sr$k" "$SIM_ROOT/dev/sr$n"
    if [ -n "$sg" ] && [ -n "$sgk" ]; then
        ln -f "$SIM_ROOT/dev/$sgk" "$SIM_ROOT/dev/$sg"
    fi
    if [ "${3:-}" != --keep-address ]; then
        address="$SIM_ROOT/sys/class/block/sr$n/device/scsi_device"
        rm -rf "${address:?}"/*
        mkdir -p "$address/$((k + 2)):0:0:0"
    fi
}

native_mount_disc() {  # native_mount_disc N MOUNT_POINT
    mkdir -p "$SIM_ROOT/proc/self"
    printf '36 22 11:%s / %s ro,nosuid,nodev shared:2 - iso9660 /dev/sr%s ro\n' "$1" "$2" "$1" \
        >>"$SIM_ROOT/proc/self/mountinfo"
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
