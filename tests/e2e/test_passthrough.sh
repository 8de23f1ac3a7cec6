#!/usr/bin/env bash
# The Windows pass-through backend, run under Wine, against simulated drives answering SG_IO:
# passthrough_check.exe checks the answers inside the program; this script checks, across the
# process boundary, exactly which commands reached the drives and what the drive kept.
set -euo pipefail
# shellcheck source=lib/wine_env.sh
source "$(dirname "$0")/lib/wine_env.sh"

wine_use_drive_dir passthrough
wine_place_drive E '# the defaults'
wine_place_drive F disc=tray_open

wine_run "$E2E_WIN64_BUILD/tests/windows/passthrough_check.exe"

fail() {
    echo "FAIL: $*"
    exit 1
}

speed_page="09000101$(printf '%0504d' 0)"
expected_e="cdb=12000000FE00000000000000 len=12 dir=in xfer=254 timeout=2 status=00 sense=00/00/00 in=96
cdb=3C02F1000000000030000000 len=12 dir=in xfer=48 timeout=1 status=00 sense=00/00/00 in=48
cdb=3C01F4000000000100000000 len=12 dir=in xfer=256 timeout=10 status=00 sense=00/00/00 in=256
cdb=3B01FA000000000100000000 len=12 dir=out xfer=256 timeout=10 status=00 sense=00/00/00 out=$speed_page
cdb=3C01F4000000000100000000 len=12 dir=in xfer=256 timeout=10 status=00 sense=00/00/00 in=256
cdb=3C00F4000000000100000000 len=12 dir=in xfer=256 timeout=10 status=00 sense=00/00/00 in=256"
expected_f="cdb=000000000000 len=6 dir=none xfer=0 timeout=10 status=02 sense=02/3A/02"

# The record with Length 44 must not have reached drive E: exactly six commands.
[ "$(cat "$(wine_drive_trace E)")" = "$expected_e" ] ||
    { diff <(echo "$expected_e") "$(wine_drive_trace E)" || true; fail "drive E received other commands"; }
[ "$(cat "$(wine_drive_trace F)")" = "$expected_f" ] || fail "drive F received other commands"
grep -qx 'speed=1' "$(wine_drive_state E)" && grep -qx 'speed_saved=1' "$(wine_drive_state E)" ||
    fail "drive E did not keep the written speed"

# The kept values survive the program: a second run finds speed ON, and its read-back check
# of "both OFF" must fail.
if wine_run "$E2E_WIN64_BUILD/tests/windows/passthrough_check.exe" >"$E2E_WORK/second-run.log"; then
    fail "second run passed although the drive kept speed ON"
fi
grep -q 'FAIL settings page: both supported, speed OFF' "$E2E_WORK/second-run.log" ||
    fail "second run did not see the kept value"
echo "passthrough: all checks passed"
