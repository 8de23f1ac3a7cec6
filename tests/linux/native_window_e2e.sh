#!/usr/bin/env bash
# The native program's real window end to end: velmora-drive-utility on Qt's xcb platform under a
# private Xvfb, its drives simulated behind SG_IO in a fake tree (tests/e2e/lib/native_env.sh),
# its controls read and pressed from outside through the accessibility bus
# (tests/e2e/lib/atspi_auto.py). Discovery and the drive list, the settings report, Apply with
# its read-back, a second start that ends and leaves the first window, a write the kernel refuses
# through a block node, SIGTERM as at log-out (idle, between a write and its read-back, with a box
# of the Apply open: the Apply ends with every read-back and the program as if closed; a second
# one ends it at once), English and Japanese, and a screenshot of each language in
# NATIVE_BUILD_DIR/tests/screenshots/. What a keyboard and a screen reader meet in both dialogs
# and both languages: a name and a role for every control, Tab in drawn order, the arrow keys
# through the radio groups, a message box as an alert.
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

wait_enabled() {  # wait_enabled CAPTION NAME: the control is enabled within 10 s
    local _ out
    for _ in $(seq 50); do
        out=$(native_gui_auto controls "$1")
        grep -q "^control role=[a-z ]* name=$2 enabled=1 " <<<"$out" && return 0
        sleep 0.2
    done
    echo "$out"
    return 1
}

# reach_case LANG CAPTION ABOUT DRIVE SPEED AUDIO ON OFF SAVE_SPEED HIGH LOW SAVE_AUDIO LOG APPLY
#            RESTORE CHECK CLOSE: the controls' names and the drive list's label (DRIVE), the
# group boxes' titles (SPEED, AUDIO) and the About box's caption. The walk finds a role and a name
# to speak for each control of both dialogs, the drive list labelled, the radio buttons in their
# groups; Tab visits the controls as drawn and Shift+Tab goes back, the arrow keys move the check
# round a radio group; none of it reaches the drive.
reach_case() {
    local lang=$1 caption=$2 about=$3 drive=$4 speed=$5 audio=$6 on=$7 off=$8 save_speed=$9
    local high=${10} low=${11} save_audio=${12} log=${13} apply=${14} restore=${15} check=${16}
    local close=${17} list='/dev/sr0 VELMORA CD-R DRIVE 7315 1.00' out seen want mark
    native_use_tree "reach-$lang"
    native_place_drive 0 speed=1 audio=0 'product=CD-R DRIVE 7315 '
    start_window "$lang" "$caption" || return

    echo "what a screen reader and the keyboard meet ($lang)"
    native_gui_auto wait-text "$caption" @text '.+\n.+\n.+' 15000 >/dev/null
    expect_status "the audio mode can be changed (the drive is ready)" wait_enabled "$caption" "$high"
    out=$(native_gui_auto walk "$caption")
    check "the walk of the main window finds nothing wrong" "" "$(grep '^problem' <<<"$out")"
    expect "the drive list is labelled \"$drive\"" "$out" \
        "^focusable role=combo box name=$list label=$drive group=$"
    expect "the log box is named \"$log\"" "$out" "^focusable role=text name=$log label=$log "
    expect "each radio button belongs to its group" \
        "$(grep -c -E "^focusable role=radio button .* group=($speed|$audio)$" <<<"$out")" '^4$'
    mark=$(trace_lines 0)
    out=$(native_gui_auto keys "$caption" Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab shift+Tab \
        Tab Tab Right Right Tab Tab Down Up)
    seen=$(sed -n 's/^focus role=[^=]* name=\(.*\) checked=\([01]\) key=.*/\1:\2/p' <<<"$out")
    want=$(printf '%s\n' "$on:1" "$save_speed:0" "$high:1" "$save_audio:0" "$log:0" "$apply:0" \
        "$restore:0" "$check:0" "$close:0" "$list:0" "$close:0" "$list:0" "$on:1" "$off:1" \
        "$on:1" "$save_speed:0" "$high:1" "$low:1" "$high:1")
    check "Tab in drawn order, Shift+Tab back, the arrows round the radio groups" "$want" "$seen"
    expect "the keys wrote nothing to the drive" "$(commands_since 0 "$mark" | wc -l)" '^0$'

    native_gui_auto keys "$caption" ctrl+i >/dev/null
    expect_status "Ctrl+I opens \"$about\"" native_gui_auto wait-window "$about" 10000
    out=$(native_gui_auto walk "$about")
    check "the walk of the About box finds nothing wrong" "" "$(grep '^problem' <<<"$out")"
    expect "the About box: its OK button" "$out" '^focusable role=push button name=OK label=OK group=$'
    click "$about" OK
    native_gui_auto wait-gone "$about" 10000 >/dev/null
    close_window "$caption" "$close"
}

native_gui_begin

reach_case en_US.UTF-8 'Velmora Drive Utility' 'Velmora Drive Utility Version Information' \
    Drive 'Optimal Writing Speed' 'Audio Optimized Write mode' ON OFF \
    'Save optimal writing speed setting to drive.' 'High speed playback mode' \
    'Low speed playback mode' 'Save audio optimized write mode' 'Status messages' Apply \
    'Restore Factory Default' 'Check setting' Close
reach_case ja_JP.UTF-8 'Velmoraドライブユーティリティ' 'Velmoraドライブユーティリティのﾊﾞｰｼﾞｮﾝ情報' \
    ドライブ 最適記録倍速機能 Audio最適記録モード ON OFF 最適記録倍速機能の設定をドライブに保存する \
    高速再生重視モード 低速再生重視モード Audio最適記録モードの設定をドライブに保存する 状態メッセージ \
    設定する 出荷時の設定に戻す 現在の設定を確認する 閉じる

EN='Velmora Drive Utility'
EN_REPORT='Current drive setting\nOptimal Writing Speed : ON\n'
EN_REPORT+='Audio Optimized Write Mode : High speed playback mode\n?'
apply_case en_US.UTF-8 "$EN" "$EN_REPORT" \
    OFF 'Save optimal writing speed setting to drive.' Apply complete Close native-window-en.png
apply_case ja_JP.UTF-8 'Velmoraドライブユーティリティ' \
    '【現在のドライブの設定】\n最適記録倍速 ： ON\nAudio最適記録モード ： 高速再生重視モード\n?' \
    OFF '最適記録倍速機能の設定をドライブに保存する' 設定する 設定しました 閉じる native-window-ja.png

echo "a second start, with its launcher's tokens, hands them to the first window and ends"
native_use_tree window-second
native_place_drive 0 speed=1
if start_window en_US.UTF-8 "$EN"; then
    first=$NATIVE_GUI_PID
    DESKTOP_STARTUP_ID=e2e-launch_TIME1234 XDG_ACTIVATION_TOKEN=e2e-token \
        native_gui_start en_US.UTF-8 "$program"
    if native_gui_wait_exit 10; then
        echo "  ok   the second start ends by itself"
    else
        echo "  FAIL the second start still runs"
        failures=$((failures + 1))
        kill "$NATIVE_GUI_PID" 2>/dev/null
    fi
    NATIVE_GUI_PID=$first
    expect_status "the first window is still there" native_gui_auto wait-window "$EN" 1000
    close_window "$EN" Close
fi

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
        "$(native_gui_auto msgbox-ok 15000)" \
        "^msgbox title=velmora-drive-utility role=alert text=$REFUSED\$"
    expect "one refused WRITE BUFFER, not retried" \
        "refused=$(grep -c '^system=EPERM cdb=3B' "$(native_drive_trace 0)")" '^refused=1$'
    expect_no "no complete" "$(native_gui_auto text "$EN" @text)" 'complete'
    expect "the drive keeps ON" "$(state_of 0)" '^$|^speed=1 '
    close_window "$EN" Close
fi

echo "the system asks the window to end (SIGTERM, as at log-out) (en_US.UTF-8)"
set_key() {  # set_key N KEY VALUE: one line of drive-srN.conf, replacing the key's
    local conf="$SIM_DRIVE_DIR/drive-sr$1.conf"
    { grep -v "^$2=" "$conf" || true; printf '%s=%s\n' "$2" "$3"; } >"$conf.new"
    mv "$conf.new" "$conf"
}
signal_window() {  # signal_window SIGNAL: to the program itself, not to the timeout around it
    kill "-$1" "$(pgrep -P "$NATIVE_GUI_PID")"
}
instance_socket_left() {  # a single-instance socket beside its lock: its holder did not end
    local lock
    for lock in "$XDG_RUNTIME_DIR"/*.lock; do
        [ -S "${lock%.lock}" ] && return 0
    done
    return 1
}
wait_for_write() {  # wait_for_write MARK: until sr0 has answered a WRITE BUFFER after MARK
    local _
    for _ in $(seq 500); do
        commands_since 0 "$1" | grep -q '^cdb=3B' && return 0
        sleep 0.02
    done
    return 1
}
ended_with() {  # ended_with WHAT STATUS: the program ends within 20 s with that exit status
    if native_gui_wait_exit 20; then
        check "$1: exit status" "$2" "$NATIVE_GUI_STATUS"
    else
        echo "  FAIL $1: the program still runs"
        failures=$((failures + 1))
        kill "$NATIVE_GUI_PID" 2>/dev/null
    fi
}
start_for_signal() {  # start_for_signal TREE [key=value ...]: sr0, the window and its report
    native_use_tree "$1"
    native_place_drive 0 speed=1 "${@:2}"
    start_window en_US.UTF-8 "$EN" &&
        native_gui_auto wait-text "$EN" @text 'Current drive setting\n.*' 15000 >/dev/null
}

if start_for_signal signal-idle; then
    signal_window TERM
    ended_with "SIGTERM with nothing under way" 0
    expect_no "the single-instance socket is gone" "$(instance_socket_left && echo left)" left
fi

if start_for_signal signal-apply; then
    set_key 0 latency_us 300000  # each answer takes 0.3 s: the read-back is under way as long
    mark=$(trace_lines 0)
    click "$EN" OFF
    click "$EN" Apply
    wait_for_write "$mark"
    signal_window TERM
    ended_with "SIGTERM between a write and its read-back" 0
    sent=$(commands_since 0 "$mark")
    expect "the Apply went on to its end: both writes, each read back" "$(opcodes <<<"$sent")" \
        '^51 52 51 3B 3C 3B 3C $'
    expect "the last command is the read-back" "$(tail -n 1 <<<"$sent")" \
        '^cdb=3C01F4000000000100000000 .* status=00 '
    expect "the drive keeps OFF" "$(state_of 0)" '^speed=0 '
    expect_no "the single-instance socket is gone" "$(instance_socket_left && echo left)" left
fi

if start_for_signal signal-box writes_ignored=1; then
    mark=$(trace_lines 0)
    click "$EN" OFF
    click "$EN" Apply
    expect_status "box 149 opens: the speed was not confirmed" \
        native_gui_auto wait-window velmora-drive-utility 20000
    signal_window TERM
    ended_with "SIGTERM with a box of the Apply open, nobody answering it" 0
    sent=$(commands_since 0 "$mark")
    expect "six speed writes and, after the box, the audio mode's: each read back" \
        "$(opcodes <<<"$sent" | grep -o '3B 3C' | wc -l)" '^7$'
    expect "the last write is the audio page" "$(grep '^cdb=3B' <<<"$sent" | tail -n 1)" \
        "$(page_write 02800000)"
    expect "the last command is its read-back" "$(tail -n 1 <<<"$sent")" '^cdb=3C01F4000000000100000000 '
fi

if start_for_signal signal-twice; then
    set_key 0 latency_us 300000
    mark=$(trace_lines 0)
    click "$EN" Apply
    wait_for_write "$mark"
    signal_window TERM
    sleep 0.1
    signal_window TERM
    ended_with "a second SIGTERM ends the program at once" 143
    expect_no "the Apply was cut short" "$(commands_since 0 "$mark" | opcodes)" '3B 3C 3B 3C'
fi

if [ "$failures" -eq 0 ]; then
    rm -rf "$NATIVE_WORK"
    echo "native window e2e: all passed"
else
    echo "native window e2e: $failures failed (work files in $NATIVE_WORK)"
fi
[ "$failures" -eq 0 ]
