#!/usr/bin/env bash
# The shell completions of velmora-drive: bash's run on partial command lines as bash-completion
# runs it (COMP_WORDS and COMP_CWORD set, the function called, COMPREPLY read), fish's through its
# own `complete -C`, and zsh's parsed. The drives offered are the demo's, from the program itself.
# usage: completion_test.sh VELMORA_DRIVE
set -uo pipefail
program=$(realpath "$1")
here=$(dirname "$0")
scripts="$here/../../cli/completion"
# shellcheck source=../e2e/lib/checks.sh
source "$here/../e2e/lib/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$program" "$work/velmora-drive"  # the name the completions are for, first on PATH
export PATH="$work:$PATH"

# shellcheck source=../../cli/completion/velmora-drive.bash
source "$scripts/velmora-drive.bash"
offered() {  # offered WORD...: the completions of the last word (bash splits "=" off as a word)
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _velmora_drive velmora-drive "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd ' '
}
echo "bash"
check "the commands" "list restore set show" "$(offered velmora-drive '')"
check "the commands by their start" "set show" "$(offered velmora-drive s)"
check "the options before a command" "--demo --help --json --trace --version -h -j" \
    "$(offered velmora-drive -)"
check "list's options" "--all --demo --help --json --trace" "$(offered velmora-drive list --)"
check "the drives list would look at" "E: G:" "$(offered velmora-drive --demo show '')"
check "an option's values" "off on" "$(offered velmora-drive set E: --optimal-speed '')"
check "a value after =" "low" "$(offered velmora-drive set E: --audio-mode = l)"
check "set's options after its values" "--save" \
    "$(offered velmora-drive set E: --optimal-speed on --s)"
check "no second drive" "--demo --dry-run" "$(offered velmora-drive restore E: --d)"

echo "fish"
fish_offered() {  # fish_offered LINE: the completions fish gives, without their descriptions
    fish --no-config -c "source '$scripts/velmora-drive.fish'; complete -C '$1'" | cut -f1 |
        LC_ALL=C sort | paste -sd ' '
}
check "the commands by their start" "set show" "$(fish_offered 'velmora-drive s')"
check "an option's values" "high low" "$(fish_offered 'velmora-drive set E: --audio-mode ')"
check "the drives list would look at" "E: G:" "$(fish_offered 'velmora-drive --demo show ')"

echo "zsh"
check "the script parses" "" "$(zsh -n "$scripts/_velmora-drive" 2>&1)"

[ "$failures" -eq 0 ]
