#!/usr/bin/env bash
# velmora-drive (native) end to end: its real sysfs listing and SG_IO transport against simulated
# drives in a fake tree (tests/e2e/lib/native_env.sh): list, show, set and restore, their stdout
# and JSON (checked against the schema), exit codes, the commands each drive received (its trace)
# and kept (its state), the words a user gets when Linux says no, the other names of a drive
# (udev's links, its SCSI address and sysfs path; DEVICE as users type it), and the diagnostic
# report.
#   native_cli_e2e.sh NATIVE_BUILD_DIR
set -uo pipefail
NATIVE_BUILD=$(realpath "${1:?usage: $0 NATIVE_BUILD_DIR}")
NATIVE_WORK=$(mktemp -d "${TMPDIR:-/tmp}/native-cli-e2e.XXXXXX")
export NATIVE_BUILD NATIVE_WORK LANG=C.UTF-8 LC_ALL= LC_MESSAGES=
# shellcheck source=../e2e/lib/native_env.sh
source "$(dirname "$0")/../e2e/lib/native_env.sh"
exe="$NATIVE_BUILD/app/velmora-drive"
# shellcheck source=../e2e/lib/checks.sh
source "$(dirname "$0")/../e2e/lib/checks.sh"

vd() {  # vd ARGS...: runs the program; sets out, err and code
    native_run "$exe" "$@" >"$NATIVE_WORK/cli.out" 2>"$NATIVE_WORK/cli.err"
    code=$?
    out=$(cat "$NATIVE_WORK/cli.out")
    err=$(cat "$NATIVE_WORK/cli.err")
    keep_json_if_asked "$NATIVE_WORK/json" "$out" "$@"
}
json() { jq -r "$1" <<<"$out"; }
lines() { [ -e "$(native_drive_trace "$1")" ] && wc -l <"$(native_drive_trace "$1")" || echo 0; }
opcodes() {  # opcodes N FROM-LINE: the opcodes drive srN received after that line
    tail -n +"$(($2 + 1))" "$(native_drive_trace "$1")" | sed -E 's/^system=[A-Z]+ //' |
        cut -c5-6 | tr '\n' ' '
}
kept() {  # kept N: the speed values drive srN keeps, on one line
    grep -E '^speed' "$(native_drive_state "$1")" | tr '\n' ' ' | sed 's/ $//'
}
set_key() {  # set_key N KEY VALUE: one line of drive-srN.conf, replacing the key's
    local conf="$SIM_DRIVE_DIR/drive-sr$1.conf"
    { grep -v "^$2=" "$conf" || true; printf '%s=%s\n' "$2" "$3"; } >"$conf.new"
    mv "$conf.new" "$conf"
}

[ -x "$exe" ] || { echo "FAIL: missing $exe"; exit 1; }
native_use_tree cli
native_place_drive 0 speed=1 'product=CD-R DRIVE 7315 '
native_place_drive 1 --no-sg 'model=7305KT52    ' audio_supported=0 speed=1
native_place_drive 2 'model=7325KT52    '
native_place_block sda 0
# sr0 as the kernel and udev lay it out: its sysfs entry a link to its block device under its SCSI
# device in /sys/devices, which has its address, and udev's links to its node.
scsi_device=sys/devices/pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0
mkdir -p "$SIM_ROOT/$scsi_device/block" "$SIM_ROOT/dev/disk/by-id" "$SIM_ROOT/dev/disk/by-path"
mv "$SIM_ROOT/sys/class/block/sr0" "$SIM_ROOT/$scsi_device/block/sr0"
mv "$SIM_ROOT/$scsi_device/block/sr0/device/"* "$SIM_ROOT/$scsi_device/"
rmdir "$SIM_ROOT/$scsi_device/block/sr0/device"
ln -s ../.. "$SIM_ROOT/$scsi_device/block/sr0/device"
mkdir -p "$SIM_ROOT/$scsi_device/scsi_device/2:0:0:0"
ln -s "../../${scsi_device#sys/}/block/sr0" "$SIM_ROOT/sys/class/block/sr0"
ln -s sr0 "$SIM_ROOT/dev/cdrom"
ln -s ../../sr0 "$SIM_ROOT/dev/disk/by-id/ata-VELMORA_CD-R_DRIVE_7315_0001"
ln -s ../../sr0 "$SIM_ROOT/dev/disk/by-path/pci-0000:00:17.0-ata-3"

echo "list"
vd list --json
check "list: exit code" 0 "$code"
check "list: the two supported drives, each by its node" \
    "/dev/sr0 /dev/sg1 7315KT52 true /dev/sr1 /dev/sr1 7305KT52 false" \
    "$(json '[.devices[] | .name, .path, .model, .audio_optimized_write_mode.supported] | join(" ")')"
vd list --all
check "list --all: exit code" 0 "$code"
contains "list --all: sr2 shown as another model" "$out" "/dev/sr2"
check "list --all: sda is no optical drive and is not named" 0 "$(grep -c sda <<<"$out")"

echo "show"
mark=$(lines 0)
vd show /dev/sr0
check "show: exit code" 0 "$code"
check "show: the report" "/dev/sr0  VELMORA CD-R DRIVE 7315 1.00
Current drive setting
Optimal Writing Speed : ON
    Saved in the drive : ON
Audio Optimized Write Mode : High speed playback mode
    Saved in the drive : High speed playback mode
    Can be changed now : yes" "$out"
check "show: model read, INQUIRY, settings page, ready byte" "3C 12 3C 3C " "$(opcodes 0 "$mark")"
vd show
check "show without a device: two supported drives is an error" 3 "$code"

echo "DEVICE as users type it, and the names a script keeps"
for form in /dev/cdrom /dev/disk/by-id/ata-VELMORA_CD-R_DRIVE_7315_0001 \
    /dev/disk/by-path/pci-0000:00:17.0-ata-3 /dev/sr0/ //dev/sr0 /dev/sg1; do
    vd show "$form"
    check "show $form: /dev/sr0" "0 /dev/sr0  VELMORA CD-R DRIVE 7315 1.00" "$code $(head -n 1 <<<"$out")"
done
vd -j show /dev/cdrom
check "show -j: the drive's lasting names" \
    "/dev/disk/by-id/ata-VELMORA_CD-R_DRIVE_7315_0001 2:0:0:0 /$scsi_device/block/sr0" \
    "$(json '[.device.by_id[], .device.scsi_address, .device.sysfs_path] | join(" ")')"
vd -j show /dev/sr1
check "show -j: a drive udev made no link to, its sysfs entry no link" \
    "[] 3:0:0:0 /sys/class/block/sr1" \
    "$(json '[(.device.by_id | tojson), .device.scsi_address, .device.sysfs_path] | join(" ")')"
vd __complete-devices
check "the devices the shell completions offer, found without opening any" \
    "/dev/sr0 /dev/sr1 /dev/sr2" "$(paste -sd ' ' <<<"$out")"
LANG=ja_JP.UTF-8 vd show /dev/sr0 --json
check "show --json: saved values" "on on high high" \
    "$(json '[.optimal_writing_speed.current, .optimal_writing_speed.saved,
              .audio_optimized_write_mode.current, .audio_optimized_write_mode.saved] | join(" ")')"

echo "set through the sg node, a disc in the drive, saved"
set_key 0 disc present
mark=$(lines 0)
vd set /dev/sr0 --optimal-speed off --save --json
check "set: exit code" 0 "$code"
check "set: identify, read, probe, stop, write, read back, read" \
    "3C 12 3C 51 52 51 52 43 00 4A 1B 3B 3C 3C " "$(opcodes 0 "$mark")"
check "set: the page written: 9, 0, OFF, save" 1 \
    "$(grep -c "out=09000001$(printf '%0504d' 0)\$" "$(native_drive_trace 0)")"
check "set: outcome and values read back" "stopped confirmed off off" \
    "$(json '[.write.disc_stop, .write.optimal_writing_speed.outcome,
              .optimal_writing_speed.current, .optimal_writing_speed.saved] | join(" ")')"
check "set: the drive keeps OFF, saved" "speed=0 speed_saved=0" "$(kept 0)"
vd set /dev/sr0 --audio-mode low
check "set: the audio mode with a disc in: not ready" 7 "$code"
check "set: no audio page was sent" 0 "$(grep -c 'out=0280' "$(native_drive_trace 0)")"
set_key 0 disc none
mark=$(lines 0)
vd set /dev/sr0 --optimal-speed on --dry-run
check "dry run: exit code" 0 "$code"
check "dry run: no WRITE BUFFER reached the drive" 0 "$(opcodes 0 "$mark" | grep -c 3B)"

echo "restore"
vd set /dev/sr0 --audio-mode low --save
check "set the audio mode low: exit code" 0 "$code"
vd restore /dev/sr0 --json
check "restore: exit code" 0 "$code"
check "restore: both factory values, confirmed" "off high confirmed confirmed" \
    "$(json '[.optimal_writing_speed.current, .audio_optimized_write_mode.current,
              .write.optimal_writing_speed.outcome,
              .write.audio_optimized_write_mode.outcome] | join(" ")')"
check "restore: the drive keeps them saved" "audio=0 audio_saved=0" \
    "$(grep -E '^audio' "$(native_drive_state 0)" | tr '\n' ' ' | sed 's/ $//')"

echo "a block node only: the kernel's filter refuses WRITE BUFFER"
mark=$(lines 1)
vd set /dev/sr1 --optimal-speed off --save
check "refused: exit code" 4 "$code"
contains "refused: the sg words" "$err" "Load the sg module (sudo modprobe sg) or run as administrator."
check "refused: not the cdrom group, which would not help" 0 "$(grep -c 'cdrom group' <<<"$err")"
check "refused: one WRITE BUFFER, refused, not retried" 1 \
    "$(tail -n +"$((mark + 1))" "$(native_drive_trace 1)" | grep -c '^system=EPERM cdb=3B')"
check "refused: the drive was never written" "" "$(kept 1 2>/dev/null)"

echo "a node the user may not open"
native_set_node sg1 open EACCES
vd show /dev/sr0
check "no access: exit code" 4 "$code"
contains "no access: which node" "$err" "/dev/sg1"
contains "no access: the cdrom group" "$err" "cdrom group"
native_set_node sg1 open 0

echo "input that reaches no drive"
mark=$(lines 0)
vd set /dev/sr0 --optimal-speed fast
check "a bad value: exit code" 2 "$code"
vd show /dev/sda
check "a disk that is no optical drive: exit code" 3 "$code"
contains "a disk that is no optical drive: says so" "$err" "/dev/sda is not one of the drives"
vd -j show /dev/sr9
check "no such device: exit code and code" "3 no_such_device" \
    "$code $(json '.velmora_drive.messages[0].code')"
check "nothing was sent for them" "" "$(opcodes 0 "$mark")"

echo "a node another program holds (EBUSY)"
native_set_node sg1 open EBUSY
vd list
check "busy: list exit code" 9 "$code"
contains "busy: list names the node" "$err" "/dev/sg1 is in use by another program"
vd show /dev/sr0
check "busy: show exit code" 9 "$code"
native_set_node sg1 open 0

echo "a dry run through a block node, without CAP_SYS_RAWIO"
nocap=()
[ "$(id -u)" = 0 ] && nocap=(setpriv --bounding-set -sys_rawio --)
mark=$(lines 1)
native_run "${nocap[@]}" "$exe" set /dev/sr1 --optimal-speed off --dry-run >"$NATIVE_WORK/cli.out" \
    2>"$NATIVE_WORK/cli.err"
check "dry run refused: the exit code of the real run" 4 "$?"
contains "dry run refused: says so" "$(cat "$NATIVE_WORK/cli.out")" "Would be refused by the system"
check "dry run refused: no WRITE BUFFER was tried" 0 "$(opcodes 1 "$mark" | grep -c 3B)"

echo "output that cannot be written"
native_run "$exe" --demo list >/dev/full 2>"$NATIVE_WORK/cli.err"
check "stdout full: exit code" 11 "$?"
contains "stdout full: says so on stderr" "$(cat "$NATIVE_WORK/cli.err")" "could not be written"
# The reader is gone before the program writes: its write meets a closed pipe.
{ sleep 0.3; native_run "$exe" --demo list 2>/dev/null; echo $? >"$NATIVE_WORK/pipe.code"; } | true
check "closed pipe: exit code, not SIGPIPE" 11 "$(cat "$NATIVE_WORK/pipe.code")"

echo "a signal between a write and its read-back"
set_key 0 latency_us 400000  # each answer takes 0.4 s: the read-back is under way for as long
mark=$(lines 0)
LD_PRELOAD="$NATIVE_BUILD/sim/libsim_sg_io_preload.so" "$exe" set /dev/sr0 --optimal-speed on \
    --audio-mode high >"$NATIVE_WORK/cli.out" 2>"$NATIVE_WORK/cli.err" &
pid=$!
for _ in $(seq 200); do  # until the speed page has been answered: the drive has changed
    opcodes 0 "$mark" | grep -q 3B && break
    sleep 0.02
done
kill -INT "$pid"
wait "$pid"
code=$?
set_key 0 latency_us 0
check "signal: exit code" 10 "$code"
check "signal: the write read back, no second write" "3B 3C 3C" \
    "$(opcodes 0 "$mark" | grep -o '3B.*' | sed 's/ $//')"
contains "signal: the speed confirmed" "$(cat "$NATIVE_WORK/cli.out")" "Confirmed by read-back"
contains "signal: says what it did" "$(cat "$NATIVE_WORK/cli.err")" "stopped before the next write"

echo "the drive to itself: another program's claim, a mounted disc, another writer's lock"
native_set_node sr0 excl EBUSY
mark=$(lines 0)
vd set /dev/sr0 --optimal-speed off --save
check "claim refused: exit code" 9 "$code"
contains "claim refused: says it is in use" "$err" "/dev/sr0 is in use by another program"
check "claim refused: no stop, no write" "" "$(opcodes 0 "$mark" | grep -oE '1B|3B')"
native_mount_disc 0 /media/user/MY_DISC
vd set /dev/sr0 --optimal-speed off --save
contains "mounted: names the mount point" "$err" "mounted at /media/user/MY_DISC"
native_set_node sr0 excl 0
rm -f "$SIM_ROOT/proc/self/mountinfo"
flock "$SIM_ROOT/dev/sr0" sleep 13 &
holder=$!
sleep 0.2
mark=$(lines 0)
vd set /dev/sr0 --optimal-speed off
check "another writer's lock past the wait: exit code" 9 "$code"
contains "another writer's lock: says so" "$err" "in use by another program of this utility"
check "another writer's lock: no write" "" "$(opcodes 0 "$mark" | grep -oE '3B')"
kill "$holder" 2>/dev/null
wait "$holder" 2>/dev/null

echo "two writers at once: one has the drive from its identification to its last read-back"
set_key 0 latency_us 50000
mark=$(lines 0)
native_run "$exe" set /dev/sr0 --optimal-speed on --audio-mode low >/dev/null 2>&1 &
first=$!
sleep 0.05
native_run "$exe" set /dev/sr0 --optimal-speed off --audio-mode high >/dev/null 2>&1
second=$?
wait "$first"
check "two writers: both succeed" "0 0" "$? $second"
set_key 0 latency_us 0
# Each run: identification (READ BUFFER F1h), settings read, disc probe, two writes each with its
# read-back. One run's commands all come before the other's first: the writes' pages come in
# pairs, and no identification comes between a run's own identification and its last write.
pages=$(tail -n +"$((mark + 1))" "$(native_drive_trace 0)" |
    sed -nE 's/^cdb=3B.* out=(........).*/\1/p' | tr '\n' ' ')
case "$pages" in
    "09000100 02800100 09000000 02800000 " | "09000000 02800000 09000100 02800100 ")
        check "two writers: each run's writes together" ok ok ;;
    *) check "two writers: each run's writes together" "two pairs" "$pages" ;;
esac
check "two writers: the second identification only after the first run's writes" 1 \
    "$(tail -n +"$((mark + 1))" "$(native_drive_trace 0)" |
        awk '/^cdb=3C02/ { ids++ } /^cdb=3B/ { if (ids == 2 && writes < 2) bad = 1; writes++ }
             END { print bad ? 0 : 1 }')"

echo "a drive that goes while it is written"
set_key 0 latency_us 200000
mark=$(lines 0)
native_run "$exe" set /dev/sr0 --optimal-speed off >"$NATIVE_WORK/cli.out" 2>"$NATIVE_WORK/cli.err" &
pid=$!
for _ in $(seq 200); do  # unplugged once the disc probe has begun
    opcodes 0 "$mark" | grep -q 51 && break
    sleep 0.02
done
native_set_node sg1 io ENODEV
wait "$pid"
code=$?
native_set_node sg1 io 0
set_key 0 latency_us 0
check "gone: exit code" 3 "$code"
contains "gone: says so" "$(cat "$NATIVE_WORK/cli.err")" "is no longer there"
check "gone: the first failure ends it" 1 \
    "$(tail -n +"$((mark + 1))" "$(native_drive_trace 0)" | grep -c '^system=ENODEV')"
check "gone: no write" "" "$(opcodes 0 "$mark" | grep -oE '3B')"

echo "report: the system, its drives' chains and a recording of reads only"
native_use_tree report
native_place_drive 0 speed=1
native_place_chain 0 usb
native_place_drive 1 --no-sg 'model=7305KT52    ' audio_supported=0
native_place_chain 1 ahci
native_place_drive 2 answers_model_buffer=0  # behind an adapter that passes no vendor command
vd report --trace
check "report: exit code" 0 "$code"
check "report: valid against its schema" "" \
    "$(/usr/bin/python3 "$(dirname "$0")/../cli/validate_json.py" \
        "$(dirname "$0")/../../cli/velmora-drive.schema.json" "$NATIVE_WORK/cli.out")"
check "report: every optical drive sysfs lists" "/dev/sr0 /dev/sr1 /dev/sr2" \
    "$(json '[.optical_drives[].name] | join(" ")')"
check "report: sr0 behind the USB adapter" \
    "10:0:0:0 host10 usb-storage 152d:2339 USB to ATA/ATAPI Bridge /dev/sr0 /dev/sg1" \
    "$(json '.optical_drives[0] | [.scsi_address, .host.name, .host.driver,
        .usb.id_vendor + ":" + .usb.id_product, .usb.product, .nodes[].path] | join(" ")')"
check "report: sr1 on the AHCI port, its block node alone" "ahci null 1" \
    "$(json '.optical_drives[1] | [.host.driver, (.usb | tostring), (.nodes | length)] | join(" ")')"
check "report: the adapter's serial is not in it" 0 "$(grep -c E2E0SERIAL <<<"$out")"
check "report: the recordings" "supported supported no_model_reply" \
    "$(json '[.recordings[].probe] | join(" ")')"
check "report: sr2's identification failed 05/24/00, then its INQUIRY" "3C:70000500 12:" \
    "$(json '[.recordings[2].commands[] | .cdb[0:2] + ":" + .sense[0:8]] | join(" ")')"
check "report: --trace told every command" \
    "$(json '[.recordings[].commands[]] | length')" "$(grep -c '^cdb=' <<<"$err")"
check "report: the drives received reads only" "" \
    "$(cat "$(native_drive_trace 0)" "$(native_drive_trace 1)" "$(native_drive_trace 2)" |
        grep -E '^cdb=(3B|1B)')"
vd report /dev/sr1 -o "$NATIVE_WORK/report.json"
check "report -o: exit code" 0 "$code"
check "report -o: the one drive named" "/dev/sr1" \
    "$(jq -r '[.recordings[].device.name] | join(" ")' "$NATIVE_WORK/report.json")"

check_json_documents "$NATIVE_WORK/json"

if [ "$failures" -eq 0 ]; then
    rm -rf "$NATIVE_WORK"
    echo "native velmora-drive e2e: all passed"
else
    echo "native velmora-drive e2e: $failures failed (work files in $NATIVE_WORK)"
fi
[ "$failures" -eq 0 ]
