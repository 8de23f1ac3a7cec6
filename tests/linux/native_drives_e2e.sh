#!/usr/bin/env bash
# The native program end to end, without a GUI and without a SCSI kernel: its real sysfs listing
# and SG_IO transport against simulated drives in a fake tree (tests/e2e/lib/native_env.sh), its
# window printed by tests/linux/native_window_probe.
#   native_drives_e2e.sh NATIVE_BUILD_DIR
set -uo pipefail
NATIVE_BUILD=$(realpath "${1:?usage: $0 NATIVE_BUILD_DIR}")
NATIVE_WORK=$(mktemp -d "${TMPDIR:-/tmp}/native-e2e.XXXXXX")
export NATIVE_BUILD NATIVE_WORK
# shellcheck source=../e2e/lib/native_env.sh
source "$(dirname "$0")/../e2e/lib/native_env.sh"
probe="$NATIVE_BUILD/tests/native_window_probe"
# shellcheck source=../e2e/lib/checks.sh
source "$(dirname "$0")/../e2e/lib/checks.sh"

count() { grep -Ec -- "$2" "$1" 2>/dev/null || true; }
lib="$(realpath "$(dirname "$0")/../e2e/lib/native_env.sh")"
# A shell command for the probe's exec: action, with the helpers of native_env.sh at hand.
helper() { printf "bash -c '. %s && %s'" "$lib" "$1"; }
check_count() {  # check_count WHAT WANTED ACTUAL
    if [ "$2" = "$3" ]; then
        echo "  ok   $1"
    else
        echo "  FAIL $1: $3, not $2"
        failures=$((failures + 1))
    fi
}
# The trace's opcodes in order, the watchers' ready-byte polls (READ BUFFER F4h mode 0) as P; an
# apply to a drive without a disc is 51 52 51 (the probe ends at "no medium") 3B 3C 3B 3C.
opcodes() {
    sed -E 's/^system=[A-Z]+ //' "$1" | grep '^cdb=' |
        sed -E 's/^cdb=3C00F4.*/P/; s/^cdb=(..).*/\1/' | tr '\n' ' '
}
state_of() { grep -E "^$2=" "$(native_drive_state "$1")" 2>/dev/null | cut -d= -f2; }

echo "listing: sg node, block node only, a block device of another type"
native_use_tree listing
native_place_drive 0 speed=0
native_place_drive 1 --no-sg 'model=7305KT52    '
native_place_drive 2 --sg 7
printf '0\n' >"$SIM_ROOT/sys/class/block/sr2/device/type"  # sr2: not an optical device
native_place_block sda 0
out=$(native_run "$probe" speed-on apply select:1 speed-on apply)
expect "sr0 listed and selected" "$out" '^list> /dev/sr0 VELMORA CD-R DRIVE      1\.00$'
expect "sr1 (no sg node) listed" "$out" '^list: /dev/sr1 VELMORA'
expect_no "sr2 (type 0) not listed" "$out" 'sr2'
[ -e "$(native_drive_trace 2)" ] && { echo "  FAIL sr2 was sent commands"; failures=$((failures + 1)); }

echo "a write through the sg node (sg1 of sr0), read back"
section=$(sed -n '/^== apply$/,/^== /p' <<<"$out" | head -n -1)
expect "Apply shows complete" "$section" '^log: complete$'
trace=$(native_drive_trace 0)
expect "the speed page went out" "$(cat "$trace")" '^cdb=3B01FA000000000100000000 .* out=09000100'
expect "and was read back" "$(sed -n '/^cdb=3B/,$p' "$trace")" '^cdb=3C01F4'
[ "$(state_of 0 speed)" = 1 ] && echo "  ok   the drive keeps speed=1" ||
    { echo "  FAIL the drive does not keep speed=1"; failures=$((failures + 1)); }

echo "a write through the block node, refused by the kernel's filter"
section=$(sed -n '/^== select:1$/,$p' <<<"$out" | sed -n '/^== apply$/,$p')
expect "one box: the sg module or an administrator" "$section" \
    '^box: Writing the settings was refused: .*Load the sg module \(sudo modprobe sg\) or run as administrator\.$'
expect "and only that box" "boxes=$(grep -c '^box:' <<<"$section")" '^boxes=1$'
expect_no "no complete" "$section" '^log: .*complete'
trace=$(native_drive_trace 1)
[ "$(count "$trace" '^system=EPERM cdb=3B')" = 1 ] && echo "  ok   one refused WRITE BUFFER, not retried" ||
    { echo "  FAIL refused WRITE BUFFER lines: $(count "$trace" '^system=EPERM cdb=3B')"; failures=$((failures + 1)); }
expect "the refused write was read back" "$(sed -n '/^system=EPERM/,$p' "$trace")" '^cdb=3C01F4'
[ "$(state_of 1 speed)" != 1 ] && echo "  ok   the drive's speed is unchanged" ||
    { echo "  FAIL the drive took the refused value"; failures=$((failures + 1)); }

echo "a node the user may not open"
native_use_tree denied
native_place_drive 0
native_set_node sg1 open EACCES
out=$(native_run "$probe")
expect "the log names the node and the cdrom group" "$out" \
    '^log: Permission denied opening /dev/sg1: add your user to the cdrom group'
expect_no "nothing listed" "$out" '^list'

echo "a drive gone between discovery and Apply: the first failed command ends it"
native_use_tree vanish
native_place_drive 0
trace=$(native_drive_trace 0)
out=$(native_run "$probe" exec:"printf 'io=ENODEV\n' >$SIM_DRIVE_DIR/node-sg1.conf" speed-on \
    exec:"wc -l <$trace >$NATIVE_WORK/mark" apply exec:"sleep 2")
section=$(sed -n '/^== apply$/,$p' <<<"$out")
expect "the drive is no longer there" "$section" \
    '^box: /dev/sg1 is no longer there: the drive was disconnected or switched off\. Nothing more'
expect_no "not the box of six failed writes" "$section" 'Cannot setting'
expect_no "no complete" "$section" 'complete'
check_count "the apply sent one command, no watcher polled after it" \
    "system=ENODEV cdb=51" "$(tail -n +"$(($(cat "$NATIVE_WORK/mark") + 1))" "$trace" |
        sed -E 's/^(system=ENODEV cdb=..).*/\1/' | tr '\n' ' ' | sed 's/ $//')"

echo "the node re-pointed to another drive (model 7325KT52) before a reopen"
native_use_tree repointed
native_place_drive 0 speed=0
native_place_drive 3 --sg 4 'model=7325KT52    '
out=$(native_run "$probe" exec:"$(helper 'native_repoint_drive 0 3')" select:0 speed-on apply)
section=$(sed -n '/^== select:0$/,$p' <<<"$out")
expect "box 118" "$section" '^box: device open failed$'
expect "and the line" "$section" '^log: unexpected error / device open failed$'
check_count "the other drive got no WRITE BUFFER" 0 "$(count "$(native_drive_trace 3)" 'cdb=3B')"
check_count "nor the listed one" 0 "$(count "$(native_drive_trace 0)" 'cdb=3B')"

echo "re-pointed to a drive of the other supported model at the same address: the model read tells"
native_use_tree repointed-same
native_place_drive 0 speed=0
native_place_drive 3 --sg 4 'model=7305KT52    '
out=$(native_run "$probe" exec:"$(helper 'native_repoint_drive 0 3 --keep-address')" select:0 apply)
expect "box 118" "$(sed -n '/^== select:0$/,$p' <<<"$out")" '^box: device open failed$'
check_count "one model read reached the other drive at the reopen" 2 \
    "$(count "$(native_drive_trace 3)" '^cdb=3C02F1')"
check_count "and no WRITE BUFFER" 0 "$(count "$(native_drive_trace 3)" 'cdb=3B')"

echo "the drive claimed by another program, then its disc mounted: nothing is sent"
native_use_tree claimed
native_place_drive 0 speed=0 disc=present
native_set_node sr0 excl EBUSY
trace=$(native_drive_trace 0)
out=$(native_run "$probe" speed-on save-speed exec:"wc -l <$trace >$NATIVE_WORK/mark" apply \
    exec:"$(helper 'native_mount_disc 0 /media/user/MY_DISC')" apply)
expect "in use by another program" "$(sed -n '/^== apply$/,/^== exec/p' <<<"$out")" \
    '^box: /dev/sr0 is in use by another program \(a burning program, say\)\. Nothing was written'
expect "mounted, and where" "$(sed -n '/^== exec:bash/,$p' <<<"$out")" \
    '^box: The disc in the drive is mounted at /media/user/MY_DISC\. Nothing was written'
check_count "neither apply sent a probe, START STOP UNIT or WRITE BUFFER" "" \
    "$(tail -n +"$(($(cat "$NATIVE_WORK/mark") + 1))" "$trace" | grep -E 'cdb=(51|1B|3B)')"

echo "two windows apply to one drive at once: their commands do not interleave"
native_use_tree two
native_place_drive 0 speed=0 latency_us=15000
barrier() { printf 'exec:touch %s/%s; while [ ! -e %s/%s ]; do sleep 0.01; done' \
    "$NATIVE_WORK" "$1" "$NATIVE_WORK" "$2"; }
native_run "$probe" "$(barrier a b)" speed-on apply >"$NATIVE_WORK/a.out" &
first=$!
native_run "$probe" "$(barrier b a)" speed-off apply >"$NATIVE_WORK/b.out"
wait "$first"
for side in a b; do
    expect "window $side: complete" "$(sed -n '/^== apply$/,$p' "$NATIVE_WORK/$side.out")" \
        '^log: complete$'
done
applies=$(opcodes "$(native_drive_trace 0)" | grep -o '51 52 51 3B 3C 3B 3C' | wc -l)
check_count "two whole applies in the trace, nothing between their commands" 2 "$applies"

echo "no drive listed: none at all, none supported"
native_use_tree empty
out=$(native_run "$probe")
expect "no optical drive" "$out" '^log: No optical drive found$'
native_use_tree other
native_place_drive 0 'model=7315KT53    '
out=$(native_run "$probe")
expect "none supported" "$out" '^log: Optical drives found, but none of them is a supported model$'

if [ "$failures" -eq 0 ]; then
    rm -rf "$NATIVE_WORK"
    echo "native e2e: all passed"
else
    echo "native e2e: $failures failed (work files in $NATIVE_WORK)"
fi
[ "$failures" -eq 0 ]
