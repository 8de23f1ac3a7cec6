#!/usr/bin/env bash
# The native velmora-drive as a whole process, against the demo's simulated drives: each command's
# JSON document (checked against the schema), exit code and human output, also in the codesets of
# Japanese locales that are not UTF-8. A smoke test: the same program against SG_IO drives comes
# with the Linux drive enumeration.
# usage: demo_smoke_test.sh VELMORA_DRIVE
set -uo pipefail
program=$1
# shellcheck source=../e2e/lib/checks.sh
source "$(dirname "$0")/../e2e/lib/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {  # run ARGS...: sets out and code
    out=$("$program" "$@" 2>/dev/null)
    code=$?
    keep_json_if_asked "$work/json" "$out" "$@"
}

run --demo list --json
check "list: exit code" 0 "$code"
check "list: both drives" "E: 7315KT52 G: 7305KT52" \
    "$(jq -r '[.devices[] | .name, .model] | join(" ")' <<<"$out")"

run --demo show G: -j
check "show: exit code" 0 "$code"
check "show: speed of G" "off off false" \
    "$(jq -r '[.optimal_writing_speed.current, .optimal_writing_speed.saved,
               .audio_optimized_write_mode.supported] | join(" ")' <<<"$out")"

run --demo set E: --optimal-speed off --audio-mode low --save --json
check "set: exit code" 0 "$code"
check "set: confirmed and held" "confirmed confirmed off low low" \
    "$(jq -r '[.write.optimal_writing_speed.outcome, .write.audio_optimized_write_mode.outcome,
               .optimal_writing_speed.saved, .audio_optimized_write_mode.current,
               .audio_optimized_write_mode.saved] | join(" ")' <<<"$out")"

run --demo restore E: --json
check "restore: exit code" 0 "$code"
check "restore: message" "default setting" "$(jq -r '.velmora_drive.messages[0].string' <<<"$out")"

# Values last for one run only: the next run finds the demo drive as it starts.
run --demo show E:
check "show: the demo's values again" "Optimal Writing Speed : ON" "$(sed -n 3p <<<"$out")"

out=$(LC_ALL= LC_MESSAGES= LC_CTYPE= LANG=ja_JP.UTF-8 "$program" --demo show E: 2>/dev/null)
check "show: Japanese" "最適記録倍速 ： ON" "$(sed -n 3p <<<"$out")"

"$program" --demo set E: --optimal-speed sometimes >/dev/null 2>&1
check "bad value: exit code" 2 "$?"
run --demo set E: --optimal-speed sometimes --json
check "bad value in JSON: its code" "usage" "$(jq -r '.velmora_drive.messages[0].code' <<<"$out")"

# A Japanese locale whose codeset is not UTF-8 gets its own bytes, installed or not; one that
# cannot show Japanese gets English.
for codeset in eucJP SJIS; do
    out=$(LC_ALL=ja_JP.$codeset "$program" --demo show E: 2>/dev/null | iconv -f "$codeset" -t UTF-8)
    check "show: Japanese in $codeset" "最適記録倍速 ： ON" "$(sed -n 3p <<<"$out")"
done
out=$(LC_ALL= LC_MESSAGES= LC_CTYPE=C LANG=ja_JP.UTF-8 "$program" --demo show E: 2>/dev/null)
check "show: Japanese asked in an ASCII locale: English" "Optimal Writing Speed : ON" \
    "$(sed -n 3p <<<"$out")"

check_json_documents "$work/json"

[ "$failures" -eq 0 ]
