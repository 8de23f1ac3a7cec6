#!/usr/bin/env bash
# The native program's single-instance name against what else shares the machine: the real
# program's start-up (tests/linux/native_window_probe, with a name given) beside a running copy,
# a socket file left by a crash, a holder that never accepts, and another user (nobody) squatting
# the old abstract name, the runtime directory or the fallback under TMPDIR, or holding the socket
# itself. None of it may end or freeze a start; only a running copy of the same user ends one.
# The cases with another user need root (setpriv); they are skipped with a message otherwise.
#   single_instance_e2e.sh NATIVE_BUILD_DIR
set -uo pipefail
NATIVE_BUILD=$(realpath "${1:?usage: $0 NATIVE_BUILD_DIR}")
NATIVE_WORK=$(mktemp -d "${TMPDIR:-/tmp}/single-instance-e2e.XXXXXX")
chmod 755 "$NATIVE_WORK"  # the other user reaches the places made for it below
export NATIVE_BUILD NATIVE_WORK
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/lib/native_env.sh
source "$here/../e2e/lib/native_env.sh"
# shellcheck source=../e2e/lib/checks.sh
source "$here/../e2e/lib/checks.sh"
probe="$NATIVE_BUILD/tests/native_window_probe"
NAME=VelmoraSingleInstanceE2E
WINDOW='^== start-up$'
PYTHON=/usr/bin/python3  # Debian's: the one another user may run
squatters=()
trap 'kill "${squatters[@]}" 2>/dev/null; wait 2>/dev/null' EXIT

native_use_tree single-instance
native_place_drive 0 speed=1  # a listed drive: the window is up at once
runtime=$NATIVE_RUNTIME_DIR
export HOME="$NATIVE_WORK/home" TMPDIR="$NATIVE_WORK/tmp"
mkdir -p "$HOME" && mkdir -m 1777 "$TMPDIR" && chmod 1777 "$TMPDIR"
fallback="$TMPDIR/velmora-drive-utility-$(id -u)"

# start RUNTIME|- [ACTION...]: the probe with that XDG_RUNTIME_DIR (- unset); output in $out,
# exit status in $status, seconds taken in $took
start() {
    local place=$1 began=$SECONDS
    shift
    if [ "$place" = - ]; then
        out=$(NATIVE_RUNTIME_DIR=unused native_run env -u XDG_RUNTIME_DIR \
            "$probe" --instance "$NAME" "$@" 2>&1)
    else
        out=$(NATIVE_RUNTIME_DIR=$place NATIVE_RUN_TIMEOUT=20 native_run \
            "$probe" --instance "$NAME" "$@" 2>&1)
    fi
    status=$?
    took=$((SECONDS - began))
}

# squat USER ARGS...: socket_squatter.py hold ARGS as USER (root: as it is), in place before this
# returns
squat() {
    local user=$1 ready="$NATIVE_WORK/ready.$RANDOM"
    shift
    : >"$ready" && chmod 666 "$ready"
    if [ "$user" = root ]; then
        "$PYTHON" "$here/socket_squatter.py" hold "$1" "$ready" "${@:2}" &
    else
        setpriv --reuid="$user" --regid=nogroup --clear-groups \
            "$PYTHON" "$here/socket_squatter.py" hold "$1" "$ready" "${@:2}" &
    fi
    squatters+=($!)
    for _ in $(seq 100); do [ -s "$ready" ] && return 0; sleep 0.05; done
    echo "  FAIL the squatter ($user $*) is not in place"
    failures=$((failures + 1))
}
unsquat() { kill "${squatters[@]}" 2>/dev/null; wait "${squatters[@]}" 2>/dev/null; squatters=(); }

runs_window() {  # runs_window WHAT: the last start showed its window and ended by itself
    expect "$1: the window runs" "$out" "$WINDOW"
    check "$1: ends by itself, exit 0, within 10 s" "0 yes" "$status $([ "$took" -le 10 ] && echo yes)"
}

echo "one copy per user"
(start "$runtime" exec:'sleep 4' && printf '%s\n' "$out" >"$NATIVE_WORK/first.out") &
first=$!
for _ in $(seq 100); do [ -S "$runtime/$NAME" ] && break; sleep 0.05; done
check "the name is a socket in the runtime directory, the user's" "socket $(id -u)" \
    "$(stat -c '%F %u' "$runtime/$NAME" 2>&1)"
start "$runtime"
check "a second start ends at once, exit 0, without a window" "0 " "$status $out"
wait "$first"
expect "the first copy ran on" "$(cat "$NATIVE_WORK/first.out")" '^== exec:sleep 4$'

echo "a socket file left by a copy that died"
"$PYTHON" "$here/socket_squatter.py" stale "$runtime/$NAME"
start "$runtime"
runs_window "stale socket"

echo "a copy of the same user that holds the name and never accepts (a full backlog, or not)"
squat root "$runtime/$NAME" --lock "$runtime/$NAME.lock" --fill
start "$runtime"
runs_window "frozen holder"
unsquat
squat root "$runtime/$NAME" --lock "$runtime/$NAME.lock"
start "$runtime"
runs_window "a holder that takes the request and never answers"
unsquat

if [ "$(id -u)" -ne 0 ] || ! id nobody >/dev/null 2>&1; then
    echo "SKIP the cases with another user: they need root (setpriv) and the user nobody"
else
    echo "another user squats the abstract name the program used to take"
    squat nobody "@$NAME.$(id -u)" --no-listen
    start "$runtime"
    runs_window "abstract name bound"
    unsquat
    squat nobody "@$NAME.$(id -u)" --fill
    start "$runtime"
    runs_window "abstract name with a full backlog"
    unsquat

    echo "another user's runtime directory, a squatted fallback"
    others="$NATIVE_WORK/nobody-runtime"
    mkdir -m 700 "$others" && chown nobody "$others"
    squat nobody "$others/$NAME" --fill
    start "$others" exec:"test -S '$fallback/$NAME'"
    runs_window "another user's runtime directory"
    expect "the socket is in the fallback, not in theirs" "$out" "^== exec:test -S '$fallback/$NAME'\$"
    unsquat
    rm -rf "$fallback"
    setpriv --reuid=nobody --regid=nogroup --clear-groups mkdir -m 777 "$fallback"
    squat nobody "$fallback/$NAME" --fill
    cache="$HOME/.cache/velmora-drive-utility"
    start - exec:"test -S '$cache/$NAME'"
    runs_window "squatted fallback"
    expect "then the cache in the home" "$out" "^== exec:test -S '$cache/$NAME'\$"
    unsquat

    echo "another user's process holding the socket in the user's own place"
    : >"$NATIVE_WORK/heard" && chmod 666 "$NATIVE_WORK/heard"
    squat root "$runtime/$NAME" --lock "$runtime/$NAME.lock" --as nobody --heard "$NATIVE_WORK/heard"
    start "$runtime"
    runs_window "a holder of another user"
    check "it is told nothing (no activation token reaches it)" "" "$(cat "$NATIVE_WORK/heard")"
    unsquat
fi

if [ "$failures" -eq 0 ]; then
    rm -rf "$NATIVE_WORK"
    echo "single instance e2e: all passed"
else
    echo "single instance e2e: $failures failed (work files in $NATIVE_WORK)"
fi
[ "$failures" -eq 0 ]
