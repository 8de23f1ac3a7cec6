#!/usr/bin/env bash
# The manual page renders with man -l without a warning, and documents every exit code that
# velmora-drive --help lists, with the same meaning; and every word the JSON output can give (each
# outcome, disc stop and probe of cli/report_vocabulary.cpp, each message code of
# cli/run_verdict.cpp) is both in the manual page and in the JSON Schema, which names no other.
# usage: man_page_test.sh VELMORA_DRIVE MAN_PAGE
set -euo pipefail
program=$1
page=$2

warnings=$(MANWIDTH=100 man --warnings -l "$page" 2>&1 >/dev/null || echo "man failed")
if [ -n "$warnings" ]; then
    echo "FAIL: man -l warns:"
    echo "$warnings"
    exit 1
fi
rendered=$(MANWIDTH=400 man -l "$page" 2>/dev/null | sed 's/^ *//' | tr -s ' ')
status=0
# Each "  N  text" line of the help's exit code table must appear in the manual's EXIT STATUS
# section as the code and the same text (capitalised there, with a full stop).
while read -r code text; do
    grep -qiF -- "${text}" <<<"$rendered" || { echo "FAIL: exit code $code not documented: $text"; status=1; }
done < <("$program" --help | sed -nE 's/^ {1,2}([0-9]{1,2})  (.*)$/\1 \2/p')
[ "$("$program" --help | grep -cE '^ {1,2}[0-9]{1,2}  ')" -eq 12 ] ||
    { echo "FAIL: --help lists no 12 codes"; status=1; }

cli=$(dirname "$page")
schema="$cli/velmora-drive.schema.json"
words() {  # words ARRAY: the words of one of report_vocabulary.cpp's tables, sorted
    awk -v table="$1" 'index($0, table "[] = {") { on = 1 } on { print } on && /};/ { exit }' \
        "$cli/report_vocabulary.cpp" | grep -oE '"[a-z_]+"' | tr -d '"' | sort
}
codes() {  # the message codes the verdict gives: its lower-case string literals
    grep -oE '"[a-z][a-z_]+"' "$cli/run_verdict.cpp" | tr -d '"' | sort -u
}
schema_words() {  # schema_words JQ_PATH: an enumeration of the schema, sorted
    jq -r "$1 | .[]" "$schema" | sort
}
documented() {  # documented WHAT WORD...: each word is in the manual page as a word
    local what=$1 word
    shift
    for word in "$@"; do
        grep -qw -- "$word" <<<"$rendered" || { echo "FAIL: $what $word not in the manual page"; status=1; }
    done
}
same() {  # same WHAT EXPECTED ACTUAL
    [ "$2" = "$3" ] || { echo "FAIL: the schema's $1 are not the program's:"; diff <(echo "$2") <(echo "$3"); status=1; }
}
documented outcome $(words kOutcomeWords)
documented "disc stop" $(words kDiscStopWords)
documented probe $(words kProbeWords)
documented code $(codes)
documented option -j
same outcomes "$(words kOutcomeWords)" "$(schema_words '.["$defs"].setting_write.properties.outcome.enum')"
same "disc stops" "$(words kDiscStopWords)" "$(schema_words '.["$defs"].write.properties.disc_stop.enum')"
same probes "$(words kProbeWords)" "$(schema_words '.["$defs"].device.properties.probe.enum')"
same codes "$(codes)" "$(schema_words '.["$defs"].message.properties.code.enum')"
exit $status
