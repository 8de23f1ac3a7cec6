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

echo "a drive gone between discovery and Apply"
native_use_tree vanish
native_place_drive 0
out=$(native_run "$probe" exec:"printf 'io=ENODEV\n' >$SIM_DRIVE_DIR/node-sg1.conf" speed-on apply)
section=$(sed -n '/^== apply$/,$p' <<<"$out")
expect "the usual box" "$section" '^box: Cannot setting optimized write speed$'
expect_no "no complete" "$section" 'complete'
expect "the commands failed in the system" "$(cat "$(native_drive_trace 0)")" '^system=ENODEV cdb=3B'

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
