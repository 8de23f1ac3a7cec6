#!/usr/bin/python3
"""Drives a native program's windows from outside through the desktop's accessibility bus
(AT-SPI), as winauto drives the Windows build's windows under Wine: find a window by its
caption, list its controls, press or toggle a control by its name, read a control's text, answer
a message box. Debian's python3-gi and gir1.2-atspi-2.0; the program must have its accessibility
bridge on (Qt: QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1) and share the session bus.

  atspi_auto.py wait-window CAPTION MS     the window, once it exists (exit 1 if not in time):
      window caption=CAPTION role=ROLE enabled=0|1 size=WIDTHxHEIGHT
  atspi_auto.py wait-gone CAPTION MS       exit 0 once no window has the caption
  atspi_auto.py controls CAPTION           the window and one line per control, in child order:
      control role=ROLE name=NAME enabled=0|1 visible=0|1 checked=0|1 [items=N] text=TEXT
  atspi_auto.py click CAPTION NAME         presses a button, or toggles a check box or radio
                                           button, whose name is NAME (exactly one must have it)
  atspi_auto.py text CAPTION SELECTOR      the control's text: "text TEXT"
  atspi_auto.py wait-text CAPTION SELECTOR REGEX MS
                                           waits until the text matches REGEX as a whole
  atspi_auto.py msgbox-ok MS               waits for a message box, prints
                                           "msgbox title=TITLE role=ROLE text=TEXT", presses its
                                           OK button
  atspi_auto.py walk CAPTION               every control of the window that takes the focus,
                                           however deep, in tree order:
      focusable role=ROLE name=NAME label=LABEL group=GROUP
      where LABEL is what a screen reader speaks as its name (for a combo box, whose name is
      its current entry, the label it is labelled by) and GROUP the setting it belongs to (the
      named panel around it, or its description); exit 1, after a "problem" line for each,
      when a control has no LABEL, a role that is no control's, or is a radio button without
      GROUP
  atspi_auto.py keys CAPTION KEY...        gives the window the keyboard focus and presses each
                                           key (xdotool's names: Tab, shift+Tab, Down, ...),
                                           printing after each where the focus is:
      focus role=ROLE name=NAME checked=0|1

A SELECTOR is a control's name, or "@ROLE" for the one control of that role (@text, the log box).
Texts are printed with backslash, carriage return and line feed as \\\\, \\r and \\n, one control
a line; REGEX is matched against the text itself (Python's re, DOTALL).
"""
import re
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

POLL_S = 0.05
MESSAGE_BOX_ROLES = ("alert", "dialog")
CONTROL_ROLES = ("push button", "radio button", "check box", "combo box", "text")
FOCUS_SETTLE_MS = 1000


class Failure(Exception):
    pass


def escape(text):
    return text.replace("\\", "\\\\").replace("\r", "\\r").replace("\n", "\\n")


def states_of(node):
    return {s.value_nick for s in node.get_state_set().get_states()}


def text_of(node):
    """What a control shows: its text for text controls, its name otherwise."""
    if "Text" in node.get_interfaces():
        return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))
    return node.get_name() or ""


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def top_windows():
    """Every application's top-level windows, read afresh."""
    desktop = Atspi.get_desktop(0)
    desktop.clear_cache()
    found = []
    for app in children(desktop):
        if app is None:
            continue
        try:
            app.clear_cache()
            found.extend(w for w in children(app) if w is not None)
        except GLib.Error:
            continue  # an application that went away while we looked
    return found


def find_window(caption):
    for window in top_windows():
        try:
            if window.get_name() == caption:
                return window
        except GLib.Error:
            continue
    return None


def window_or_fail(caption):
    window = find_window(caption)
    if window is None:
        raise Failure(f"no window \"{caption}\"")
    return window


def wait(condition, ms):
    """condition() until it returns something other than None, or None after ms."""
    deadline = time.monotonic() + ms / 1000.0
    while True:
        try:
            result = condition()
        except GLib.Error:
            result = None  # the window changes under us: look again
        if result is not None or time.monotonic() >= deadline:
            return result
        time.sleep(POLL_S)


def combo_items(node):
    for child in children(node):
        if child.get_role_name() == "list":
            return [item.get_name() for item in children(child)]
    return []


def control_line(node):
    role = node.get_role_name()
    states = states_of(node)
    fields = [
        f"role={role}",
        f"name={escape(node.get_name() or '')}",
        f"enabled={int('enabled' in states)}",
        f"visible={int('showing' in states)}",
        f"checked={int('checked' in states)}",
    ]
    if role == "combo box":
        fields.append(f"items={len(combo_items(node))}")
    fields.append(f"text={escape(text_of(node))}")
    return "control " + " ".join(fields)


def window_line(window, caption):
    states = states_of(window)
    box = Atspi.Component.get_extents(window, Atspi.CoordType.SCREEN)
    return (f"window caption={caption} role={window.get_role_name()} "
            f"enabled={int('enabled' in states)} size={box.width}x{box.height}")


def select(window, selector):
    window.clear_cache()
    if selector.startswith("@"):
        matches = [c for c in children(window) if c.get_role_name() == selector[1:]]
    else:
        matches = [c for c in children(window) if c.get_name() == selector]
    if len(matches) != 1:
        raise Failure(f"{len(matches)} controls match \"{selector}\"")
    return matches[0]


def action_index(node, names):
    if "Action" not in node.get_interfaces():
        return None
    with warnings.catch_warnings():
        # Debian 12's binding marks get_action_name deprecated and has no successor yet.
        warnings.simplefilter("ignore", DeprecationWarning)
        for i in range(Atspi.Action.get_n_actions(node)):
            if Atspi.Action.get_action_name(node, i) in names:
                return i
    return None


def press(node, what):
    index = action_index(node, ("Press", "Toggle"))
    if index is None:
        raise Failure(f"\"{what}\" cannot be pressed or toggled now (disabled?)")
    if not Atspi.Action.do_action(node, index):
        raise Failure(f"\"{what}\" refused its action")


def message_box():
    """The first top-level window that is a message box: a label and an OK button."""
    for window in top_windows():
        try:
            if window.get_role_name() not in MESSAGE_BOX_ROLES:
                continue
            parts = children(window)
            labels = [c for c in parts if c.get_role_name() == "label" and c.get_name()]
            buttons = [c for c in descendants(window) if c.get_role_name() == "push button"
                       and c.get_name() == "OK"]
            if labels and buttons:
                return window, labels[0], buttons[0]
        except GLib.Error:
            continue
    return None


def descendants(node):
    for child in children(node):
        yield child
        yield from descendants(child)


def focusable_controls(node):
    """The controls that take the focus, not looking inside one (a combo box's list)."""
    for child in children(node):
        if "focusable" in states_of(child):
            yield child
        else:
            yield from focusable_controls(child)


def relation_targets(node, nick):
    return [relation.get_target(i) for relation in node.get_relation_set()
            if relation.get_relation_type().value_nick == nick
            for i in range(relation.get_n_targets())]


def spoken_label(node):
    """Its own name, or the labels it is labelled by (a combo box's name is its entry)."""
    if node.get_role_name() != "combo box" and node.get_name():
        return node.get_name()
    labels = [target.get_name() or "" for target in relation_targets(node, "labelled-by")]
    return " ".join(label for label in labels if label)


def group_of(node):
    """The setting a control belongs to: the named panel around it, or its description."""
    parent = node.get_parent()
    if parent is not None and parent.get_role_name() in ("panel", "grouping") \
            and parent.get_name():
        return parent.get_name()
    return node.get_description() or ""


def walk(window):
    """The window's focusable controls, one line each, and what is wrong with them."""
    lines, problems = [], []
    for node in focusable_controls(window):
        role, label, group = node.get_role_name(), spoken_label(node), group_of(node)
        lines.append(f"focusable role={role} name={escape(node.get_name() or '')} "
                     f"label={escape(label)} group={escape(group)}")
        if not label:
            problems.append(f"problem: a {role} has no name a screen reader can speak")
        if role not in CONTROL_ROLES:
            problems.append(f"problem: \"{label}\" has the role {role}")
        if role == "radio button" and not group:
            problems.append(f"problem: the radio button \"{label}\" says no setting")
    return lines, problems


def focused_control(window):
    window.clear_cache()
    for node in focusable_controls(window):
        if "focused" in states_of(node):
            return node
    return None


def focus_line(node):
    if node is None:
        return "focus none"
    return (f"focus role={node.get_role_name()} name={escape(node.get_name() or '')} "
            f"checked={int('checked' in states_of(node))}")


def press_keys(caption, keys):
    """Each key through the X server, as the keyboard sends it, to the window's own X window."""
    window = window_or_fail(caption)
    subprocess.run(["xdotool", "search", "--sync", "--limit", "1", "--name",
                    "^" + re.escape(caption) + "$", "windowfocus", "--sync"],
                   check=True, stdout=subprocess.DEVNULL, timeout=10)
    for key in keys:
        before = focus_line(focused_control(window))

        def moved():
            line = focus_line(focused_control(window))
            return None if line == before else line

        subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True, timeout=10)
        # The focus moves once the program has had the key: wait for the change, or settle.
        print(f"{wait(moved, FOCUS_SETTLE_MS) or before} key={key}")


def run(argv):
    command, args = argv[0], argv[1:]
    if command == "wait-window" and len(args) == 2:
        window = wait(lambda: find_window(args[0]), int(args[1]))
        if window is None:
            raise Failure(f"no window \"{args[0]}\" within {args[1]} ms")
        print(window_line(window, args[0]))
    elif command == "wait-gone" and len(args) == 2:
        gone = wait(lambda: True if find_window(args[0]) is None else None, int(args[1]))
        if gone is None:
            raise Failure(f"the window \"{args[0]}\" is still there after {args[1]} ms")
        print(f"gone {args[0]}")
    elif command == "controls" and len(args) == 1:
        window = window_or_fail(args[0])
        window.clear_cache()
        print(window_line(window, args[0]))
        for child in children(window):
            print(control_line(child))
    elif command == "click" and len(args) == 2:
        press(select(window_or_fail(args[0]), args[1]), args[1])
        print(f"clicked {args[1]}")
    elif command == "text" and len(args) == 2:
        print("text " + escape(text_of(select(window_or_fail(args[0]), args[1]))))
    elif command == "wait-text" and len(args) == 4:
        caption, selector, pattern, ms = args
        expected = re.compile(pattern, re.DOTALL)
        seen = [None]

        def matches():
            seen[0] = text_of(select(window_or_fail(caption), selector))
            return True if expected.fullmatch(seen[0]) else None

        if wait(matches, int(ms)) is None:
            last = "(none)" if seen[0] is None else escape(seen[0])
            raise Failure(f"the text never matched within {ms} ms; last: {last}")
        print("text " + escape(seen[0]))
    elif command == "msgbox-ok" and len(args) == 1:
        found = wait(message_box, int(args[0]))
        if found is None:
            raise Failure(f"no message box within {args[0]} ms")
        window, label, ok = found
        print(f"msgbox title={escape(window.get_name() or '')} role={window.get_role_name()} "
              f"text={escape(label.get_name())}")
        press(ok, "OK")
    elif command == "walk" and len(args) == 1:
        lines, problems = walk(window_or_fail(args[0]))
        print("\n".join(lines + problems))
        if problems:
            raise Failure(f"{len(problems)} problem(s) in \"{args[0]}\"")
    elif command == "keys" and len(args) >= 2:
        press_keys(args[0], args[1:])
    else:
        raise Failure("usage: see the head of " + sys.argv[0])


def main():
    sys.stdout.reconfigure(encoding="utf-8")
    Atspi.set_timeout(10000, 15000)  # a program that stops answering fails the call, not the test
    try:
        run(sys.argv[1:] or ["?"])
    except Failure as failure:
        print(f"atspi_auto: {failure}")
        return 1
    except GLib.Error as error:
        print(f"atspi_auto: the accessibility bus failed: {error.message}")
        return 1
    except Exception as error:  # noqa: BLE001: any other fault is reported, not a traceback
        print(f"atspi_auto: {type(error).__name__}: {error}")
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
