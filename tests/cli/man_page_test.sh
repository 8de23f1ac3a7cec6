#!/usr/bin/env bash
# The manual page renders with man -l without a warning, and documents every exit code that
# velmora-drive --help lists, with the same meaning.
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
exit $status
