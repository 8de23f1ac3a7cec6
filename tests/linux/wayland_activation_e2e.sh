#!/usr/bin/env bash
# A later start on Wayland hands its launcher's activation token to the running window, which
# presents it to the compositor: the demo on Qt's wayland platform under a headless sway (run as
# the user nobody: sway refuses root), the client's protocol log showing
# xdg_activation_v1.activate with the second start's token and sway's log showing it received.
# (The token is made up, so sway rejects it as unknown: a real one comes from a launcher.)
# Exits 77 (skipped) without root, sway or Qt's wayland plugin.
#   wayland_activation_e2e.sh NATIVE_BUILD_DIR
set -uo pipefail
NATIVE_BUILD=$(realpath "${1:?usage: $0 NATIVE_BUILD_DIR}")
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/lib/checks.sh
source "$here/../e2e/lib/checks.sh"
demo="$NATIVE_BUILD/app/velmora-drive-utility-demo"
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
if [ "$(id -u)" -ne 0 ] || ! command -v sway >/dev/null ||
    [ ! -e "$plugins/platforms/libqwayland-generic.so" ]; then
    echo "SKIP: needs root, sway and qt6-wayland (scripts/install-deps.sh installs both)"
    exit 77
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/wayland-e2e.XXXXXX")
chmod 755 "$work"
mkdir -m 700 "$work/runtime" "$work/sway" && chown nobody "$work/sway"
printf 'output HEADLESS-1 resolution 1024x768\n' >"$work/config"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null' EXIT

env -i PATH=/usr/bin:/bin HOME="$work/sway" XDG_RUNTIME_DIR="$work/sway" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    setpriv --reuid=nobody --regid=nogroup --clear-groups sway -d -c "$work/config" \
    >"$work/sway.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -S "$work/sway/wayland-1" ] && break; sleep 0.05; done
run_demo() {  # run_demo VAR=VALUE...: the demo on the headless sway, in the test's runtime dir
    env WAYLAND_DISPLAY="$work/sway/wayland-1" QT_QPA_PLATFORM=wayland \
        XDG_RUNTIME_DIR="$work/runtime" "$@" timeout 60 "$demo"
}

echo "a second start's activation token reaches the compositor through the first window"
run_demo WAYLAND_DEBUG=client >"$work/first.log" 2>&1 &
pids+=($!)
bound='bind([0-9]*, "xdg_activation_v1"'  # once its window is made
for _ in $(seq 200); do grep -q "$bound" "$work/first.log" && break; sleep 0.05; done
check "the first window runs on Wayland, with xdg-activation offered" "1" \
    "$(grep -c "$bound" "$work/first.log")"
token="e2e-token-$RANDOM"
run_demo XDG_ACTIVATION_TOKEN="$token"
check "the second start ends, exit 0" "0" "$?"
for _ in $(seq 100); do grep -q "activate(\"$token\"" "$work/first.log" && break; sleep 0.05; done
expect "the first window presents that token" "$(cat "$work/first.log")" \
    "xdg_activation_v1@[0-9]+\\.activate\\(\"$token\", wl_surface@[0-9]+\\)"
expect "sway receives it" "$(cat "$work/sway.log")" 'Rejecting activate request: unknown token'

if [ "$failures" -eq 0 ]; then
    rm -rf "$work"
    echo "wayland activation e2e: all passed"
else
    echo "wayland activation e2e: $failures failed (work files in $work)"
fi
[ "$failures" -eq 0 ]
