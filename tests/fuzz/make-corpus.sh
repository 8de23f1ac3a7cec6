#!/usr/bin/env bash
# Writes the fuzz targets' hand-made starting inputs into tests/fuzz/corpus/<target>/, in the
# input formats described at the top of each target (the drive's answers: fuzz_transport.h). The
# files are kept in the tree beside the inputs that fuzzing found and -merge=1 kept; run this
# again after changing a format.
set -euo pipefail
export LC_ALL=C  # lengths in bytes
corpus="$(dirname "$0")/corpus"
out="$corpus/drive_reply"
mkdir -p "$out"

bytes() { for b in "$@"; do printf "\\x$b"; done; }
zeros() { head -c "$1" /dev/zero; }
word() { bytes "$(printf %02x $(($1 & 255)))" "$(printf %02x $(($1 >> 8)))"; }

ok() { bytes 00; }                    # GOOD, no data
good_in() { bytes 00; word "$1"; }    # GOOD, then the reply of $1 bytes follows
sense() { bytes 12 70 00 "$1" 00 00 00 00 0a 00 00 00 00 "$2" "$3" 00 00 00 00; }
failed() { bytes 02; sense "$@"; }    # CHECK CONDITION with sense key, ASC, ASCQ
failed_in() { failed "$@"; word 0; }  # the same for a command that reads data

model_reply() { good_in 48; zeros 16; printf '7305KT52    '; zeros 20; }
inquiry_reply() {
    good_in 36; bytes 05 80 00 32 1f 00 00 00; printf 'VELMORA CD-R RECORDER   1.00'
}
page() { good_in 24; zeros 18; bytes "$@"; }  # settings page bytes 18 to 23
ready() { good_in 25; zeros 24; bytes "$1"; }

# D refused, E a supported drive, F rejects the model buffer read.
three_letters() { bytes 01; bytes 00; model_reply; inquiry_reply; bytes 00; failed_in 05 24 00; }
# The disc-presence probe: the tray is closed and empty.
no_disc() { good_in 0; good_in 0; failed_in 02 3a 01; }
# The probe finds a disc: every command succeeds and the media event says media present.
disc() {
    good_in 0; good_in 0; good_in 0; good_in 0; good_in 0; ok
    good_in 8; bytes 00 06 04 00 00 02 00 00
}

# A drive that does everything right: OFF and high speed playback, both saved, then the factory
# values, each write confirmed by its read-back.
{
    bytes 2c
    three_letters
    bytes 00
    page 01 01 01 01 01 01
    page 01 01 01 01 01 01
    ready 01
    no_disc; ok; page 01 00 00 01 00 00; ok; page 01 00 00 01 00 00
    ready 01
    no_disc; ok; page 01 00 00 01 00 00; ok; page 01 00 00 01 00 00
} >"$out/well-behaved-drive"

# Settings replies that stop before byte 23 and a ready poll that stops before byte 24; the rest
# of the input is empty, so every later command comes back GOOD with no data.
{
    bytes 00
    three_letters
    bytes 00
    good_in 20; zeros 18; bytes 01 01
    good_in 20; zeros 18; bytes 01 01
    good_in 10; zeros 10
} >"$out/short-replies"

# A disc still being set up refuses to stop (CHECK CONDITION 02/04/01) during Apply; Restore
# Factory Default stops it, and every read-back fails with sense.
{
    bytes 26
    three_letters
    bytes 00
    page 01 00 00 01 01 01
    page 01 00 00 01 01 01
    ready 01
    disc; failed 02 04 01
    ready 01
    disc; ok
    for _ in 1 2 3 4 5 6; do ok; failed_in 05 24 00; done
    ok; failed_in 04 08 01
} >"$out/check-condition-with-sense"

# A drive that takes each new value but keeps its old saved one: all six Optimal Writing Speed
# read-backs and the audio read-back show the saved byte unchanged, though saving was asked.
{
    bytes 26
    three_letters
    bytes 00
    page 01 00 00 01 01 01
    page 01 00 00 01 01 01
    ready 01
    no_disc
    for _ in 1 2 3 4 5 6; do ok; page 01 01 00 01 00 01; done
    ok; page 01 01 00 01 00 01
} >"$out/saved-value-not-taken"

# The Japanese window (code page 932): a model text behind a two-byte character, and an INQUIRY
# with no zero byte whose text ends on a lone lead byte.
{
    bytes 01
    bytes 01
    bytes 00; good_in 48; zeros 16; bytes 83 41; printf '7315KT52    '; zeros 18
    good_in 60; bytes 05 80 00 32 1f 00 00 00; printf 'VELMORA CD-R RECORDER   1.00ABCDEFGH'
    bytes 83; printf 'IJKLMNOPQRSTUV'; bytes 81
} >"$out/japanese-inquiry-without-zero"

# The tray is open: the probe of each apply ends at the READ DISC INFORMATION that says so
# (02/3A/02), and the writes go on as with no disc.
{
    bytes 2c
    three_letters
    bytes 00
    page 01 01 01 01 01 01
    page 01 01 01 01 01 01
    ready 01
    good_in 0; good_in 0; failed_in 02 3a 02; ok; page 01 00 00 01 00 00; ok; page 01 00 00 01 00 00
} >"$out/tray-open"

# velmora-drive's commands (cli_output_fuzzer.cpp): two bytes of command line, then the answers.
out="$corpus/cli_output"
mkdir -p "$out"
supported_probe() { bytes 00; model_reply; inquiry_reply; }

# show /dev/sr0 of a drive with both settings, the audio mode changeable now.
{
    bytes 09 00
    supported_probe
    bytes 00; page 01 01 00 01 01 00; ready 01
} >"$out/show-named"

# show --trace /dev/sr0 whose ready poll the system fails (EIO): the trace line says so.
{
    bytes 49 00
    supported_probe
    bytes 00; page 01 01 00 01 01 00; bytes fd
} >"$out/show-trace-poll-io-error"

# set /dev/sr0 --optimal-speed on --save with a disc that is still being set up: it refuses to
# stop (CHECK CONDITION 02/04/01), and nothing is written.
{
    bytes 22 01
    supported_probe
    bytes 00; page 01 00 00 01 00 00
    disc; failed 02 04 01
    page 01 00 00 01 00 00
} >"$out/set-saved-disc-becoming-ready"

# list --all of three devices: one the system refuses, a supported drive, one without the model
# buffer.
{
    bytes 08 20
    bytes 01
    supported_probe; bytes 00; page 01 00 00 00 00 00
    bytes 00; failed_in 05 24 00
} >"$out/list-all"

# set /dev/sr0 --optimal-speed off --audio-mode low --save, in Japanese; each write confirmed.
{
    bytes 26 0a
    supported_probe
    bytes 00; page 01 01 01 01 00 00; ready 01
    no_disc; ok; page 01 00 00 01 00 00; ok; page 01 00 00 01 01 01
    page 01 00 00 01 01 01
} >"$out/set-both-saved"

# restore /dev/sr0 through a block node: the system refuses WRITE BUFFER, and the read-backs show
# the old values.
{
    bytes 83 00
    supported_probe
    bytes 00; page 01 01 01 01 01 01; ready 01
    no_disc
    for _ in 1 2 3 4 5 6; do bytes ff; page 01 01 01 01 01 01; done
    bytes ff; page 01 01 01 01 01 01
    page 01 01 01 01 01 01
} >"$out/restore-refused"

# set /dev/sr0 --audio-mode high --dry-run --trace with a disc in the drive that is not ready.
{
    bytes 52 04
    supported_probe
    bytes 00; page 01 00 00 01 01 01; ready 00
    disc
    page 01 00 00 01 01 01
} >"$out/set-dry-run-not-ready"

# The Linux drive list (sysfs_reader_fuzzer.cpp): entries of a scratch sysfs and /dev tree.
out="$corpus/sysfs_reader"
mkdir -p "$out"
counted() { bytes "$(printf %02x ${#1})"; printf '%s' "$1"; }  # a length byte, then the text
numbered() { bytes 00 "$(printf %02x "$1")"; }                   # "sr" or "sg" and one digit
# entry NUMBER SHAPE TYPE DEV [SG-COUNT, then each sg: its name and its /dev node]
entry() { numbered "$1"; bytes "$2"; counted "$3"; counted "$4"; }

# As a system shows them: sr0 linked with its sg node, sr1 without the sg module, a disk.
{
    bytes 03
    entry 0 05 $'5\n' $'11:0\n'; bytes 01; numbered 1; bytes 00
    entry 1 40 $'5\n' $'11:1\n'
    bytes 03 00 00; counted $'0\n'; counted $'8:0\n'; bytes 01; numbered 0; bytes 00
} >"$out/system-tree"

# Types that are long, without a newline, padded or zero-led; sg nodes missing from /dev or
# leading out of the tree; a four-digit drive number.
{
    bytes 05
    entry 0 40 "5$(printf '%70s' '')4" ''
    entry 2 40 '5' '11:2'
    entry 3 00 $' 5 \r\n' $'11:3\n'; bytes 02; numbered 3; bytes 01; numbered 4; bytes 03
    entry 4 40 $'05\n' $'11:4\n'
    bytes 01 e8 03 00; counted $'5\n'; counted $'11:5\n'; bytes 00
} >"$out/odd-values"

# Every broken shape: an entry that is a file, a dangling link, no device, a device that is a
# file, a type that is a folder, no type, scsi_generic a file, scsi_generic a link.
{
    bytes 07
    entry 0 02 $'5\n' ''
    entry 1 03 $'5\n' ''
    entry 2 08 $'5\n' ''
    entry 3 0c $'5\n' ''
    entry 4 10 $'5\n' ''; bytes 00
    entry 5 a0 $'5\n' ''
    entry 7 c0 $'5\n' ''; bytes 01; bytes 02; counted sg7; bytes 02
} >"$out/broken-shapes"

# velmora-drive's command line and locale (command_line_fuzzer.cpp): which of LC_ALL, LC_MESSAGES
# and LANG are set, their values, then the arguments, each ended by NUL.
out="$corpus/command_line"
mkdir -p "$out"
strings() { printf '%s\0' "$@"; }
{ bytes 00; strings list --all; } >"$out/list-all"
{ bytes 04; strings ja_JP.UTF-8 --json show e:; } >"$out/show-json-japanese"
{ bytes 03; strings '' ja list --trace; } >"$out/empty-lc-all"
{ bytes 01; strings C set E: --optimal-speed off --audio-mode low --save; } >"$out/set-saved"
{ bytes 00; strings restore G: --dry-run --demo; } >"$out/restore-dry-run"
{ bytes 00; strings --json set E: --optimal-speed maybe; } >"$out/bad-value-json"
{ bytes 00; strings show list; } >"$out/command-as-device"
{ bytes 00; strings set --help; } >"$out/set-help"
{ bytes 00; strings --version; } >"$out/version"
