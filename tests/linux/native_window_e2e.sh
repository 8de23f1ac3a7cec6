#!/usr/bin/env bash
# The native program's real window end to end: velmora-drive-utility on Qt's xcb platform under a
# private Xvfb, its drives simulated behind SG_IO in a fake tree (tests/e2e/lib/native_env.sh),
# its controls read and pressed from outside through the accessibility bus
# (tests/e2e/lib/atspi_auto.py). Discovery and the drive list, the settings report, Apply with
# its read-back, a write the kernel refuses through a block node, English and Japanese, and a
# screenshot of each language in NATIVE_BUILD_DIR/tests/screenshots/.
#   native_window_e2e.sh NATIVE_BUILD_DIR
set -uo pipefail
NATIVE_BUILD=$(realpath "${1:?usage: $0 NATIVE_BUILD_DIR}")
export NATIVE_BUILD
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/e2e/lib/native_env.sh
source "$here/../e2e/lib/native_env.sh"
# shellcheck source=tests/e2e/lib/native_gui_env.sh
source "$here/../e2e/lib/native_gui_env.sh"
native_gui_session "$@"

program="$NATIVE_BUILD/app/velmora-drive-utility"
shots="$NATIVE_BUILD/tests/screenshots"
ZEROS=$(printf '%0504d' 0)
# shellcheck source=tests/e2e/lib/checks.sh
source "$here/../e2e/lib/checks.sh"

expect_status() {  # expect_status WHAT COMMAND...: the command succeeds; its output shown if not
    local out
    if out=$("${@:2}"); then
        echo "  ok   $1"
    else
        echo "  FAIL $1: $out"
        failures=$((failures + 1))
    fi
}
trace_lines() { wc -l 2>/dev/null <"$(native_drive_trace "$1")" || echo 0; }
commands_since() {  # commands_since N MARK: srN's commands after the first MARK, no ready polls
    tail -n +"$(($2 + 1))" "$(native_drive_trace "$1")" | grep -v '^cdb=3C00F4'
}
opcodes() { cut -c5-6 | tr '\n' ' '; }
state_of() { tr '\n' ' ' 2>/dev/null <"$(native_drive_state "$1")"; }
page_write() {  # page_write HEAD: the trace line of a WRITE BUFFER of that settings page
    printf '^cdb=3B01FA000000000100000000 len=12 dir=out xfer=256 .* status=00 .* out=%s%s$' \
        "$1" "$ZEROS"
}

click() {  # click CAPTION NAME: presses or toggles the control; a failure counts
    local out
    out=$(native_gui_auto click "$1" "$2") ||
        { echo "  FAIL click \"$2\": $out"; failures=$((failures + 1)); }
}

start_window() {  # start_window LANG CAPTION: the program, and its window once it shows
    native_gui_start "$1" "$program"
    expect_status "the window \"$2\" appears" native_gui_auto wait-window "$2" 30000
}

close_window() {  # close_window CAPTION CLOSE_BUTTON
    click "$1" "$2"
    if native_gui_wait_exit 10; then
        echo "  ok   $2 ends the program"
    else
        echo "  FAIL $2 did not end the program"
        failures=$((failures + 1))
        kill "$NATIVE_GUI_PID" 2>/dev/null
    fi
}

# apply_case LANG CAPTION REPORT_RE OFF SAVE_SPEED APPLY COMPLETE CLOSE SHOT: drive sr0 (ON, high
# speed playback) is listed and reported; OFF with save is applied and read back; screenshot.
apply_case() {
    local lang=$1 caption=$2 report=$3 off=$4 save=$5 apply=$6 complete=$7 close=$8 shot=$9
    local out mark sent size window
    native_use_tree "window-$lang"
    native_place_drive 0 speed=1 audio=0 'product=CD-R DRIVE 7315 '
    start_window "$lang" "$caption" || return

    echo "discovery and the settings report ($lang)"
    expect_status "the log box shows the drive's settings" \
        native_gui_auto wait-text "$caption" @text "$report" 15000
    out=$(native_gui_auto controls "$caption")
    expect "the drive list shows /dev/sr0 with the INQUIRY text" "$out" \
        '^control role=combo box name=/dev/sr0 VELMORA CD-R DRIVE 7315 1\.00 enabled=1 .* items=1 '
    expect "the trace starts with the model read, then INQUIRY" \
        "$(head -n 2 "$(native_drive_trace 0)" | cut -d' ' -f1 | tr '\n' ' ')" \
        '^cdb=3C02F1000000000030000000 cdb=12000000FE00000000000000 $'
    expect "ON checked, a radio button" "$out" \
        '^control role=radio button name=ON enabled=1 visible=1 checked=1 '
    expect "OFF not checked" "$out" \
        '^control role=radio button name=OFF enabled=1 visible=1 checked=0 '

    echo "Apply: OFF, saved ($lang)"
    click "$caption" "$off"
    click "$caption" "$save"
    out=$(native_gui_auto controls "$caption")
    expect "OFF checked" "$out" "^control role=radio button name=OFF enabled=1 visible=1 checked=1 "
    expect "save checked" "$out" "^control role=check box name=$save enabled=1 visible=1 checked=1 "
    mark=$(trace_lines 0)
    click "$caption" "$apply"
    expect_status "the log box shows \"$complete\"" \
        native_gui_auto wait-text "$caption" @text "$complete(\r?\n)?" 15000
    sent=$(commands_since 0 "$mark")
    expect "probe (no disc), speed page and read-back, audio page and read-back" \
        "$(opcodes <<<"$sent")" '^51 52 51 3B 3C 3B 3C $'
    expect "the speed page: 9, 0, OFF, save" "$sent" "$(page_write 09000001)"
    expect "the audio page: 2, 80h, high speed, no save" "$sent" "$(page_write 02800000)"
    expect "each read-back is the settings page" \
        "$(grep -c '^cdb=3C01F4000000000100000000 ' <<<"$sent")" '^2$'
    expect "the drive keeps OFF, saved" "$(state_of 0)" \
        '^speed=0 speed_saved=0 audio=0 audio_saved=0 $'
    out=$(native_gui_auto controls "$caption")
    expect "the controls keep OFF and save" \
        "$(grep -E "^control role=(radio button name=OFF|check box name=$save) " <<<"$out" |
            grep -c ' checked=1 ')" '^2$'

    # With no window manager the window has no frame: cropped to what is drawn, the screen is
    # the window itself, as large as the accessibility bus says it is.
    window=$(native_gui_auto wait-window "$caption" 1000 | grep -o 'size=[0-9]*x[0-9]*')
    if size=$(native_gui_screenshot "$shots/$shot"); then
        expect "screenshot $shots/$shot: the whole window" "size=$size" \
            "^${window:-no window size}\$"
    else
        echo "  FAIL no screenshot $shots/$shot"
        failures=$((failures + 1))
    fi
    close_window "$caption" "$close"
}

native_gui_begin

EN='Velmora Drive Utility'
EN_REPORT='Current drive setting\nOptimal Writing Speed : ON\n'
EN_REPORT+='Audio Optimized Write Mode : High speed playback mode\n?'
apply_case en_US.UTF-8 "$EN" "$EN_REPORT" \
    OFF 'Save optimal writing speed setting to drive.' Apply complete Close native-window-en.png
apply_case ja_JP.UTF-8 'Velmoraドライブユーティリティ' \
    '【現在のドライブの設定】\n最適記録倍速 ： ON\nAudio最適記録モード ： 高速再生重視モード\n?' \
    OFF '最適記録倍速機能の設定をドライブに保存する' 設定する 設定しました 閉じる native-window-ja.png

echo "a write through the block node, refused by the kernel's filter, naming the node (en_US.UTF-8)"
native_use_tree window-block
native_place_drive 0 --no-sg speed=1
REFUSED='Writing the settings was refused: this drive has no SCSI generic node \(/dev/sg\*\), and '
REFUSED+='through /dev/sr0 Linux lets only an administrator write\.(\\r)?\\n'
REFUSED+='Load the sg module \(sudo modprobe sg\) or run as administrator\.'
if start_window en_US.UTF-8 "$EN"; then
    native_gui_auto wait-text "$EN" @text 'Current drive setting\n.*' 15000 >/dev/null
    click "$EN" OFF
    click "$EN" Apply
    expect "a message box: the sg module or an administrator" \
        "$(native_gui_auto msgbox-ok 15000)" "^msgbox title=velmora-drive-utility text=$REFUSED\$"
    expect "one refused WRITE BUFFER, not retried" \
        "refused=$(grep -c '^system=EPERM cdb=3B' "$(native_drive_trace 0)")" '^refused=1$'
    expect_no "no complete" "$(native_gui_auto text "$EN" @text)" 'complete'
    expect "the drive keeps ON" "$(state_of 0)" '^$|^speed=1 '
    close_window "$EN" Close
fi

if [ "$failures" -eq 0 ]; then
    rm -rf "$NATIVE_WORK"
    echo "native window e2e: all passed"
else
    echo "native window e2e: $failures failed (work files in $NATIVE_WORK)"
fi
[ "$failures" -eq 0 ]
