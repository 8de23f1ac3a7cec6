#!/usr/bin/env bash
# Takes the screenshots of the README, from the win64 build running under Wine on a private X
# display, in English and in Japanese: the program's main window and About box with no drive,
# and the demo's main window with its simulated drives, in English also after a successful Apply.
#   scripts/screenshots.sh [WIN64_BUILD_DIR]   (default build/win64; writes docs/*.png)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export E2E_WIN64_BUILD=$(realpath "${1:-build/win64}")
export E2E_WORK=$(mktemp -d)
export WINEPREFIX=${WINEPREFIX:-$E2E_WORK/prefix}
trap 'gui_stop_xvfb; /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$E2E_WORK"' EXIT
source tests/e2e/lib/gui_env.sh

[ -x "$GUI_APP_EXE" ] || { echo "no $GUI_APP_EXE: build the win64 target first" >&2; exit 1; }
[ -e "$WINEPREFIX/system.reg" ] || "$GUI_WINE" wineboot -i >/dev/null 2>&1
gui_map_fonts
gui_start_xvfb
mkdir -p docs

crop_window() {  # crop_window CAPTION_RE FILE: a screenshot of just that window
    local rect
    rect=$(gui_auto rect "$1")
    read -r _ x y w h <<<"$rect"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

shoot() {  # shoot LANG SUFFIX MAIN_CAPTION ABOUT_CAPTION_RE
    export GUI_LANG=$1
    gui_app_start "$1"
    gui_auto wait-window "$3" 30000 >/dev/null
    sleep 1  # let the first paint finish
    crop_window "$3" "docs/screenshot-$2.png"
    gui_auto syscommand "$3" 16 >/dev/null
    gui_auto wait-window "$4" 10000 >/dev/null
    sleep 0.5
    gui_screenshot "docs/about-$2.png"
    gui_auto key "$4" esc >/dev/null
    gui_auto wait-gone "$4" 10000 >/dev/null
    gui_auto close "$3" >/dev/null
    gui_app_wait_exit "$GUI_APP_PID" 20
    echo "wrote docs/screenshot-$2.png docs/about-$2.png"
}

# The demo once its report is in the log box and the watcher has enabled the audio controls.
shoot_demo() {  # shoot_demo LANG SUFFIX MAIN_CAPTION [COMPLETE_TEXT]
    export GUI_LANG=$1
    GUI_APP_EXE=$E2E_WIN64_BUILD/app/VelmoraDriveUtilityDemo.exe gui_app_start "$1"
    gui_auto wait-window "$3" 30000 >/dev/null
    gui_auto wait-text "$3" 1006 '.*\\r\\n.*\\r\\n.+' 10000 >/dev/null
    sleep 1.5
    crop_window "$3" "docs/demo-$2.png"
    echo "wrote docs/demo-$2.png"
    if [ -n "${4:-}" ]; then  # then Apply: Optimal Writing Speed OFF, saved
        gui_auto click "$3" 1021 >/dev/null
        gui_auto click "$3" 1022 >/dev/null
        gui_auto click "$3" 1008 >/dev/null
        gui_auto wait-text "$3" 1006 "$4" 10000 >/dev/null
        sleep 0.5
        crop_window "$3" "docs/demo-apply-$2.png"
        echo "wrote docs/demo-apply-$2.png"
    fi
    gui_auto close "$3" >/dev/null
    gui_app_wait_exit "$GUI_APP_PID" 20
}

[ -x "$E2E_WIN64_BUILD/app/VelmoraDriveUtilityDemo.exe" ] ||
    { echo "no VelmoraDriveUtilityDemo.exe: build the win64 demo first" >&2; exit 1; }
shoot en_US.UTF-8 en 'Velmora Drive Utility' '.*Version Information'
shoot ja_JP.UTF-8 ja 'Velmoraドライブユーティリティ' '.*ﾊﾞｰｼﾞｮﾝ情報'
shoot_demo en_US.UTF-8 en 'Velmora Drive Utility' complete
shoot_demo ja_JP.UTF-8 ja 'Velmoraドライブユーティリティ'
