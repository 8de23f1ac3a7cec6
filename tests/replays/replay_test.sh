#!/usr/bin/env bash
# Every diagnostic report kept in tests/replays, replayed through velmora-drive: the drives the
# report says were supported are listed, shown and written (the optimal writing speed turned over
# and confirmed by read-back); an optical drive whose identification failed is named with the
# reason in both languages. Then the round trip: a report of the demo's drives, replayed, shows
# them byte for byte as the demo does, argv apart.
# usage: replay_test.sh VELMORA_DRIVE SCHEMA
set -uo pipefail
program=$1
schema=$2
here=$(dirname "$0")
# shellcheck source=../e2e/lib/checks.sh
source "$here/../e2e/lib/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

replay() {  # replay FILE ARGS...: sets out and code
    local file=$1
    shift
    out=$(LC_ALL=C.UTF-8 "$program" --replay "$file" "$@" 2>/dev/null)
    code=$?
}

check_supported() {  # check_supported FILE NAME MODEL INQUIRY
    local file=$1 name=$2 model=$3 inquiry=$4 base
    base=$(basename "$file")
    replay "$file" show "$name" --json
    check "$base: show $name" "0 $model $inquiry" \
        "$(jq -r '[.velmora_drive.exit_status, .device.model, .device.inquiry] | join(" ")' <<<"$out")"
    local now turned
    now=$(jq -r '.optimal_writing_speed.current' <<<"$out")
    turned=$([ "$now" = on ] && echo off || echo on)
    replay "$file" set "$name" --optimal-speed "$turned" --json
    check "$base: set $name to $turned" "0 confirmed $turned" \
        "$(jq -r '[.velmora_drive.exit_status, .write.optimal_writing_speed.outcome,
                   .optimal_writing_speed.current] | join(" ")' <<<"$out")"
}

check_unidentified() {  # check_unidentified FILE NAME: named with the reason, in both languages
    local file=$1 name=$2 base
    base=$(basename "$file")
    replay "$file" list --all --json
    expect "$base: $name named with its reason" \
        "$(jq -r '.velmora_drive.messages[].code' <<<"$out")" \
        '^(identification_not_answered|model_reply_short)$'
    replay "$file" report
    expect "$base: the report names $name with its reason" \
        "$(jq -r '.velmora_drive.messages[].code' <<<"$out")" \
        '^(identification_not_answered|model_reply_short)$'
    out=$(LC_ALL=ja_JP.UTF-8 "$program" --replay "$file" list --all 2>&1)
    contains "$base: the reason in Japanese" "$out" "$name は光学ドライブですが"
    contains "$base: the adapter named" "$out" "USB アダプター"
}

for file in "$here"/*.json; do
    base=$(basename "$file")
    python3 "$here/../cli/validate_json.py" "$schema" "$file" >/dev/null
    check "$base: a report as the schema says" 0 "$?"
    replay "$file" list --all --json
    check "$base: the drives the report found supported are listed" \
        "$(jq -r '[.recordings[] | select(.probe == "supported") | .device.name, .model] | join(" ")' "$file")" \
        "$(jq -r '[.devices[] | select(.supported_drive) | .name, .model] | join(" ")' <<<"$out")"
    while IFS=$'\t' read -r name model inquiry; do
        check_supported "$file" "$name" "$model" "$inquiry"
    done < <(jq -r '.recordings[] | select(.probe == "supported") | [.device.name, .model, .inquiry] | @tsv' "$file")
    while read -r name; do
        check_unidentified "$file" "$name"
    done < <(jq -r '.recordings[] | select(.probe == "no_model_reply") | .device.name' "$file")
done

# The round trip.
"$program" --demo report -o "$work/demo.json" >/dev/null 2>&1
for name in E: G:; do
    "$program" --demo show "$name" --json 2>/dev/null | jq 'del(.velmora_drive.argv)' >"$work/demo-$name"
    "$program" --replay "$work/demo.json" show "$name" --json 2>/dev/null |
        jq 'del(.velmora_drive.argv)' >"$work/replay-$name"
    check "round trip: show $name --json as the demo's" "" \
        "$(diff "$work/demo-$name" "$work/replay-$name")"
done

replay "$here/no-such-report.json" list
check "a report that cannot be read: a usage error" 2 "$code"

[ "$failures" -eq 0 ]
