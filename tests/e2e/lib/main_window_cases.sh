#!/usr/bin/env bash
# The main-window cases, run once per language by test_main_window_en.sh and _ja.sh.
# Sourced after gui_env.sh; the caller sets these and calls main_window_cases:
#   MW_LANG        LANG for Wine (en_US.UTF-8, ja_JP.UTF-8)
#   MW_CAPTION     the main window's caption
#   MW_ABOUT       the About box's caption
#   MW_TEXTS       associative array: control id -> expected text
#   MW_STATICS     the texts of the controls without id, in template order
#   MW_ORDER       control ids in template (tab) order, -1 for those without id
#   MW_NOT_FOUND   the "Target is not found" status line
#   MW_ABOUT_LINE  the About box's version line

WAIT_MS=60000  # start-up looks for drives twice, 3.5 s apart, before the window shows

mw_start() {
    gui_app_start "$MW_LANG"
    if ! gui_auto wait-window "$MW_CAPTION" "$WAIT_MS" >/dev/null; then
        echo "  FAIL the window \"$MW_CAPTION\" did not appear"
        GUI_FAILURES=$((GUI_FAILURES + 1))
        return 1
    fi
}

mw_expect_ended() {  # mw_expect_ended DESCRIPTION
    if gui_app_wait_exit "$GUI_APP_PID" 20 && gui_auto wait-gone "$MW_CAPTION" 5000 >/dev/null; then
        echo "  ok   $1"
    else
        echo "  FAIL $1: the program still runs"
        GUI_FAILURES=$((GUI_FAILURES + 1))
        kill "$GUI_APP_PID" 2>/dev/null
    fi
}

mw_check_controls() {
    local out id order
    out=$(gui_auto controls "$MW_CAPTION")
    expect_line "caption and class" "$out" "^window caption=$MW_CAPTION class=#32770 enabled=1$"
    order=$(grep -o '^control id=-\?[0-9]*' <<<"$out" | cut -d= -f2 | tr '\n' ' ')
    expect_line "controls in tab order" "$order" "^${MW_ORDER}$"
    expect_line "Close enabled" "$out" "^control id=2 class=Button enabled=1 visible=1 .* text=${MW_TEXTS[2]}$"
    expect_line "drive list empty and disabled" "$out" \
        "^control id=1000 class=ComboBox enabled=0 visible=1 items=0 selected=-1 "
    expect_line "log shows the missing drive" "$out" \
        "^control id=1006 class=Edit enabled=1 visible=1 .* text=${MW_NOT_FOUND}(\\\\r\\\\n)?$"
    for id in 1007 1008 1009 1020 1021 1022 1023 1024 1025; do
        expect_line "control $id disabled, unchecked, with its text" "$out" \
            "^control id=$id class=Button enabled=0 visible=1 checked=0 .* text=${MW_TEXTS[$id]}$"
    done
    expect_line "description empty" "$out" "^control id=1027 class=Static .* text=$"
    local statics
    statics=$(grep '^control id=-1 ' <<<"$out" | sed 's/.* text=//' | tr '\n' '|')
    expect_line "group boxes and static texts" "$statics" "^${MW_STATICS}$"
    expect_no_line "no default push button" "$out" "^control .*class=Button .*style=0x[0-9a-f]{7}1 "
}

mw_check_about() {
    gui_auto key "$MW_CAPTION" f1 >/dev/null
    gui_auto syscommand "$MW_CAPTION" 0xF120 >/dev/null  # SC_RESTORE: some other command
    sleep 1.5
    expect_line "F1 and other commands open nothing" "$(gui_auto count "$MW_ABOUT")" "^count 0$"
    gui_auto syscommand "$MW_CAPTION" 16 >/dev/null
    local out
    if ! out=$(gui_auto wait-window "$MW_ABOUT" 10000); then
        expect_line "About box opens from the system-menu command" "$out" "^window "
        return
    fi
    echo "  ok   About box opens from the system-menu command"
    out=$(gui_auto controls "$MW_ABOUT")
    expect_line "About icon" "$out" "^control id=-1 class=Static .*style=0x50000003 text=<icon>$"
    expect_line "About version line" "$out" "^control id=-1 class=Static .* text=${MW_ABOUT_LINE}$"
    expect_line "About OK is the default button" "$out" \
        "^control id=1 class=Button enabled=1 visible=1 .*style=0x5003000[01] text=OK$"
    expect_line "main window disabled under the About box" "$(gui_auto controls "$MW_CAPTION")" \
        "^window caption=$MW_CAPTION class=#32770 enabled=0$"
    gui_auto click "$MW_ABOUT" 1 >/dev/null
    expect_status "OK closes the About box" gui_auto wait-gone "$MW_ABOUT" 10000
    expect_line "main window usable again" "$(gui_auto controls "$MW_CAPTION")" \
        "^window caption=$MW_CAPTION class=#32770 enabled=1$"
}

main_window_cases() {
    export GUI_LANG=$MW_LANG
    echo "window, controls and About box ($MW_LANG)"
    if mw_start; then
        mw_check_controls
        mw_check_about
        gui_auto key "$MW_CAPTION" esc >/dev/null
        mw_expect_ended "Esc ends the program"
    fi
    if mw_start; then
        gui_auto click "$MW_CAPTION" 2 >/dev/null
        mw_expect_ended "the Close button ends the program"
    fi
    if mw_start; then
        gui_auto close "$MW_CAPTION" >/dev/null
        mw_expect_ended "Close on the window menu ends the program"
    fi
}
