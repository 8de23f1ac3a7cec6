#!/usr/bin/env bash
# velmora-drive.exe (win64, console) under Wine, reaching simulated drives through its real
# pass-through code and the SG_IO preload library: list, show, set, restore and report, their
# stdout and JSON (checked against the schema), exit codes, and the commands each drive received
# (its trace) and kept (its state).
set -uo pipefail
# shellcheck source=lib/wine_env.sh
source "$(dirname "$0")/lib/wine_env.sh"

exe="$E2E_WIN64_BUILD/app/velmora-drive.exe"
# shellcheck source=lib/checks.sh
source "$(dirname "$0")/lib/checks.sh"
vd() {  # vd ARGS...: runs the program; sets out (CR removed), err and code
    wine_run "$exe" "$@" >"$E2E_WORK/cli.out" 2>"$E2E_WORK/cli.err"
    code=$?
    out=$(tr -d '\r' <"$E2E_WORK/cli.out")
    err=$(tr -d '\r' <"$E2E_WORK/cli.err")
    keep_json_if_asked "$E2E_WORK/cli-json" "$out" "$@"
}
json() {  # json FILTER: the filter applied to the last run's JSON document
    jq -r "$1" <<<"$out"
}
opcodes() {  # the opcodes of a drive's trace since line N: opcodes LETTER N
    tail -n +"$(($2 + 1))" "$(wine_drive_trace "$1")" | cut -c5-6 | tr '\n' ' '
}
lines() { [ -e "$(wine_drive_trace "$1")" ] && wc -l <"$(wine_drive_trace "$1")" || echo 0; }

[ -x "$exe" ] || { echo "FAIL: missing $exe"; exit 1; }
check "the manifest asks for no elevation" 1 \
    "$(grep -ac 'requestedExecutionLevel level="asInvoker"' "$exe")"

wine_use_drive_dir velmora-drive
wine_place_drive E speed=1 audio=0 'product=CD-R DRIVE 7315 '
wine_place_drive F 'model=7325KT52    '
wine_place_drive G 'model=7305KT52    ' audio_supported=0 speed=1

echo "list"
vd list --json
check "list: exit code" 0 "$code"
check "list: valid JSON" 0 "$(jq empty <<<"$out" >/dev/null 2>&1; echo $?)"
check "list: the two supported drives" "E: 7315KT52 true G: 7305KT52 false" \
    "$(json '[.devices[] | .name, .model, .audio_optimized_write_mode.supported] | join(" ")')"
check "list: F answered the model read and was not listed" "3C" \
    "$(cut -c5-6 "$(wine_drive_trace F)" | tr -d '\n')"
vd list --all -j
check "list --all: F marked" "F: other_model false" \
    "$(json '.devices[] | select(.name == "F:") | [.name, .probe, .supported_drive] | join(" ")')"
check "list: no Linux names on Windows" "[] null null" \
    "$(json '.devices[0] | [(.by_id | tojson), (.scsi_address | tojson), (.sysfs_path | tojson)] | join(" ")')"

echo "show"
mark=$(lines E)
vd show E:
check "show: exit code" 0 "$code"
check "show: the report" "E:  VELMORA CD-R DRIVE 7315 1.00
Current drive setting
Optimal Writing Speed : ON
    Saved in the drive : ON
Audio Optimized Write Mode : High speed playback mode
    Saved in the drive : High speed playback mode
    Can be changed now : yes" "$out"
check "show: model read, INQUIRY, settings page, ready byte" "3C 12 3C 3C " "$(opcodes E "$mark")"
check "show: the ready byte is READ BUFFER F4h mode 0" "cdb=3C00F4000000000100000000" \
    "$(tail -n 1 "$(wine_drive_trace E)" | cut -d' ' -f1)"
LANG=ja_JP.UTF-8 vd show E:
check "show: Japanese" "最適記録倍速 ： ON" "$(sed -n 3p <<<"$out")"
vd show 'e:\'
check "show e:\\: the drive at E" "E:  VELMORA CD-R DRIVE 7315 1.00" "$(head -n 1 <<<"$out")"

echo "set, with a disc in the drive"
wine_set_drive_key E disc present
mark=$(lines E)
vd set E: --optimal-speed off --save --json
check "set: exit code" 0 "$code"
# Model read, INQUIRY, settings page; the disc probe (a disc: all five of its commands); the
# stop; the speed page and its read-back; the page read for the report.
check "set: identify, read, probe, stop, write, read back, read" \
    "3C 12 3C 51 52 51 52 43 00 4A 1B 3B 3C 3C " "$(opcodes E "$mark")"
check "set: the stop neither starts nor ejects" 1 \
    "$(grep -c '^cdb=1B0000000000 len=6 ' "$(wine_drive_trace E)")"
check "set: the page written: 9, 0, OFF, save" 1 \
    "$(grep -c "out=09000001$(printf '%0504d' 0)\$" "$(wine_drive_trace E)")"
check "set: outcome and values read back" "stopped confirmed off off" \
    "$(json '[.write.disc_stop, .write.optimal_writing_speed.outcome,
              .optimal_writing_speed.current, .optimal_writing_speed.saved] | join(" ")')"
check "set: the drive keeps OFF, saved" "speed=0 speed_saved=0" \
    "$(grep -E '^speed' "$(wine_drive_state E)" | tr '\n' ' ' | sed 's/ $//')"
vd set E: --audio-mode low
check "set: the audio mode with a disc in: not ready" 7 "$code"
check "set: the window's message" \
    "velmora-drive: Cannot setting Audio Optimized Write Mode" "$(head -n 1 <<<"$err")"
check "set: no audio page was sent" 0 "$(grep -c 'out=0280' "$(wine_drive_trace E)")"

echo "dry run"
mark=$(lines E)
vd set E: --optimal-speed on --save --dry-run
check "dry run: exit code" 0 "$code"
check "dry run: only reads reached the drive" "3C 12 3C 51 52 51 52 43 00 4A 3C 3C " \
    "$(opcodes E "$mark")"
check "dry run: the commands it would send" "    START STOP UNIT  cdb=1B0000000000
    WRITE BUFFER     cdb=3B01FA000000000100000000  data=09000101" \
    "$(grep -E '^    (START|WRITE)' <<<"$out")"

echo "a drive that never confirms"
wine_set_drive_key E disc none
wine_set_drive_key E writes_ignored 1
mark=$(lines E)
vd set E: --optimal-speed on --json
check "never confirmed: exit code" 6 "$code"
check "never confirmed: six writes" "6 not_confirmed" \
    "$(echo "$(opcodes E "$mark" | grep -o 3B | wc -l)" \
        "$(json .write.optimal_writing_speed.outcome)")"
wine_clear_drive_key E writes_ignored

echo "restore"
vd restore G: --json
check "restore G: exit code" 0 "$code"
check "restore G: only the speed, saved" "true false default setting" \
    "$(json '[.write.optimal_writing_speed.save, .write.audio_optimized_write_mode.requested,
              .velmora_drive.messages[0].string] | join(" ")')"
check "restore G: the drive keeps OFF" "speed=0 speed_saved=0" \
    "$(grep -E '^speed' "$(wine_drive_state G)" | tr '\n' ' ' | sed 's/ $//')"

echo "input that reaches no drive"
mark=$(lines E)
vd set E: --optimal-speed fast
check "bad value: exit code" 2 "$code"
vd show A: --json
check "a letter where no drive is looked for: exit code and code" "3 no_such_device" \
    "$code $(json '.velmora_drive.messages[0].code')"
check "nothing was sent for them" "" "$(opcodes E "$mark")"

echo "report"
wine_place_drive F answers_model_buffer=0  # a drive behind an adapter that passes no vendor command
mark=$(lines E)
vd report
check "report: exit code" 0 "$code"
printf '%s\n' "$out" >"$E2E_WORK/report.json"
check "report: valid against its schema" "" \
    "$(/usr/bin/python3 "$(dirname "$0")/../cli/validate_json.py" \
        "$(dirname "$0")/../../cli/velmora-drive.schema.json" "$E2E_WORK/report.json")"
check "report: built for Windows, run under Wine" "windows-x86_64 true" \
    "$(json '[.velmora_drive.built_for, (.system.wine != null)] | join(" ")')"
check "report: the supported drives recorded" "E: supported G: supported" \
    "$(json '[.recordings[] | .device.name, .probe] | join(" ")')"
# No disc: the probe's second round stops at the first read that says so.
check "report: E's session, reads only" "3C 12 3C 3C 51 52 51 " "$(opcodes E "$mark")"
check "report: each described by the storage stack, as far as Wine answers" "E: G:" \
    "$(json '[.optical_drives[] | select(.source == "storage_query") | .name] | join(" ")')"
vd report F: -o 'C:\report.json'
check "report F: exit code" 0 "$code"
check "report F: the model read refused 05/24/00, then the INQUIRY" "no_model_reply 3C:70000500 12:" \
    "$(jq -r '.recordings[0] | [.probe, (.commands[] | .cdb[0:2] + ":" + .sense[0:8])] |
        join(" ")' "$WINEPREFIX/drive_c/report.json")"
check "report F: only discovery's model read, then the named one's with its INQUIRY" \
    "3C 3C 12 " "$(opcodes F 0)"

check_json_documents "$E2E_WORK/cli-json"

echo "velmora-drive: $failures check(s) failed"
[ "$failures" -eq 0 ]
