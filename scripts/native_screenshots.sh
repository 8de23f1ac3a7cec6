#!/usr/bin/env bash
# Takes the README's screenshots of the native Linux program: the demo's main window with its
# simulated drives, and its About box (opened with Ctrl+I), in English and in Japanese. Runs on a
# private Xvfb display with the Openbox window manager, so the windows have the title bars and
# frames a desktop gives them, on Qt's xcb platform.
#   scripts/native_screenshots.sh [NATIVE_BUILD_DIR]   (default build/native; writes docs/*.png)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/native}")
demo=$build/app/velmora-drive-utility-demo
[ -x "$demo" ] || { echo "no $demo: build the native demo first" >&2; exit 1; }

display=:$((90 + RANDOM % 100))
work=$(mktemp -d)
Xvfb "$display" -screen 0 1024x768x24 -dpi 96 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
cleanup() {
    kill "${app:-}" "${wm:-}" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
sleep 0.5
mkdir -p docs

# crop_frame WINDOW FILE: the window with the frame the window manager put round it.
crop_frame() {
    local x y width height left right top bottom
    x=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left X: *//p')
    y=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left Y: *//p')
    width=$(xwininfo -id "$1" | sed -n 's/.*Width: *//p')
    height=$(xwininfo -id "$1" | sed -n 's/.*Height: *//p')
    read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS |
        sed -n 's/.*= *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\)/\1 \2 \3 \4/p')
    import -window root \
        -crop "$((width + left + right))x$((height + top + bottom))+$((x - left))+$((y - top))" \
        +repage "$2"
}

shoot() {  # shoot LANG SUFFIX MAIN_TITLE ABOUT_TITLE
    LANG=$1 LC_ALL=$1 "$demo" >"$work/demo-$2.log" 2>&1 &
    app=$!
    local main about
    main=$(xdotool search --sync --name "^$3\$" | head -n 1)
    sleep 1.5  # the report reaches the log box and the watcher enables the audio controls
    crop_frame "$main" "docs/native-demo-$2.png"
    xdotool windowactivate --sync "$main" key ctrl+i
    about=$(xdotool search --sync --name "$4" | head -n 1)
    sleep 0.5
    crop_frame "$about" "docs/native-about-$2.png"
    xdotool key Escape
    sleep 0.3
    xdotool windowactivate --sync "$main" key Escape
    wait "$app"
    echo "wrote docs/native-demo-$2.png docs/native-about-$2.png"
}

shoot en_US.UTF-8 en 'Velmora Drive Utility' 'Version Information$'
shoot ja_JP.UTF-8 ja 'Velmoraドライブユーティリティ' 'ﾊﾞｰｼﾞｮﾝ情報$'
