"""Reads Tamarin out of process over AT-SPI, as a screen reader does: the
outcome of each evaluation reaches speech while typing, every control says its
role and what it is, a label that shows a value gives it, links are links and
one object has the focus at a time. Keys are typed with xdotool. With --speech
it prints what a screen reader would say: the newly focused object (label or
name, role, value, description), a window's title, and each description change
of the focused object. Run by run-atspi-check.sh; exit status 1 on a failure."""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

SPEECH = "--speech" in sys.argv[2:]
MAIN_TITLE = "Tamarin [PERL<>POSIX Basic<>POSIX Extended]"
DESCRIPTION = "object:property-change:accessible-description"
# Qt 6.8 announces what the description alone cannot tell again (the same
# result twice in a row); a screen reader speaks both kinds.
ANNOUNCEMENT = "object:announcement"
SPOKEN = (DESCRIPTION, ANNOUNCEMENT)
results, events, focus = [], [], [None]  # events: (type, source, any_data)
text_events = []  # the editors' own: (type, source, offset, length, text)


def check(passed, what):
    results.append(bool(passed))
    print(("PASS  " if passed else "FAIL  ") + what, flush=True)


def say(text):
    if SPEECH:
        print("  says: " + text, flush=True)


def pump(seconds=0.6):
    context, end = GLib.MainContext.default(), time.time() + seconds
    while time.time() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def role(node):
    return node.getRoleName()


def has(node, which):
    try:
        return node.getState().contains(which)
    except Exception:
        return False


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for child in list(node):
        yield from walk(child, depth + 1)


def find(root, name=None, role_name=None, description=None):
    """The first showing object with the given name, role and description."""
    for node in walk(root):
        if (has(node, pyatspi.STATE_SHOWING) and name in (None, node.name)
                and role_name in (None, role(node)) and description in (None, node.description)):
            return node
    return None


def labels_of(node):
    return [r.getTarget(i).name for r in node.getRelationSet()
            if r.getRelationType() == pyatspi.RELATION_LABELLED_BY for i in range(r.getNTargets())]


def value_of(node):
    if role(node) in ("text", "entry", "combo box"):
        text = node.queryText()
        return text.getText(0, min(text.characterCount, 80))
    return ""


def attribute_run(node, offset):
    """The run of like text attributes around `offset`: (start, end)."""
    _, start, end = node.queryText().getAttributeRun(offset, False)
    return start, end


def present(node):
    """What a screen reader says for a newly focused object."""
    parts = [" ".join(labels_of(node)) or node.name, role(node)]
    for extra in (value_of(node), node.description):
        if extra and extra not in parts:
            parts.append(extra)
    return ", ".join(p for p in parts if p)


def on_event(event):
    try:
        events.append((event.type, event.source, event.any_data))
        if event.type.startswith(("object:text-changed", "object:text-selection-changed")):
            text_events.append((event.type, event.source, event.detail1, event.detail2, event.any_data))
        if event.type.startswith("focus:") and focus[0] != event.source:
            focus[0] = event.source
            say(present(event.source))
        elif event.type.startswith("window:activate"):
            say("window " + event.source.name)
        elif event.type in SPOKEN and event.source == focus[0] and isinstance(event.any_data, str):
            say(event.any_data)
    except Exception as error:  # an object gone meanwhile
        events.append(("error", None, str(error)))


def keys(*names, text=None):
    """Presses keys, or types `text` one character at a time, each one's
    events read before the next, as a screen reader hears them."""
    for step in ([["type", c] for c in text] if text else [["key", n] for n in names]):
        subprocess.run(["xdotool", *step], check=True)
        pump(0.25)
    pump()


def heard(since, source=None):
    """The descriptions and announcements told since event number `since`,
    for `source` (by default, whatever had the focus)."""
    return [d for k, s, d in events[since:] if k in SPOKEN and s == (source or focus[0])]


def one_focus(root, where):
    """One object says it has the focus, the one the last focus event named.
    A focused item view's current item is its active descendant, not a second focus."""
    focused = [n for n in walk(root) if has(n, pyatspi.STATE_FOCUSED)]
    focused = [n for n in focused if not (role(n) in ("table cell", "tree item") and n.parent in focused)]
    check(len(focused) == 1 and focused[0] == focus[0],
          f"{where}: one object has the focus, the one announced: {[n.name + ' (' + role(n) + ')' for n in focused]}")


def window(title, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        for candidate in pyatspi.Registry.getDesktop(0):
            for shown in (candidate or []):
                if shown is not None and shown.name == title and has(shown, pyatspi.STATE_SHOWING):
                    return shown
        pump(0.1)
    return None


def in_open_menu(node):
    try:
        return role(node) == "menu item" and role(node.parent) in ("menu", "popup menu")
    except Exception:  # gone meanwhile
        return False


def open_from_main(*menu_keys, title):
    # On a busy machine a menu may not yet take its letter when the item's
    # focus is told; a second try (the menu closed first) is what a user
    # does too.
    for attempt in (1, 2):
        pump()
        subprocess.run(["xdotool", "windowfocus", "--sync", main_id], check=True)  # no window manager gives it back
        pump()
        say(f"[{', '.join(menu_keys)}: {title}]")
        keys(menu_keys[0])
        end = time.time() + 15
        # The menu takes the letter only once it is open: an item of the
        # menu itself has the focus (Qt 6.8 may first focus the bar's title).
        while len(menu_keys) > 1 and not in_open_menu(focus[0]) and time.time() < end:
            pump(0.1)
        if len(menu_keys) > 1:
            keys(*menu_keys[1:])
        shown = window(title, timeout=10 if attempt == 1 else 20)
        if shown is not None:
            break
        keys("Escape")
    check(shown is not None, f"{title} opens")
    return shown


for kind in ("focus:", "window:activate", DESCRIPTION, ANNOUNCEMENT, "object:property-change:accessible-name",
             "object:text-changed", "object:text-selection-changed"):
    pyatspi.Registry.registerEventListener(on_event, kind)
program = subprocess.Popen([sys.argv[1]], env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                                                    QT_ACCESSIBILITY="1", QT_QPA_PLATFORM="xcb"))
try:
    main = window(MAIN_TITLE, timeout=20)
    check(main is not None, "the main window is on the accessibility bus")
    if main is None:
        sys.exit(1)
    main_id = subprocess.check_output(["xdotool", "search", "--sync", "--name", r"^Tamarin \["]).split()[0].decode()
    subprocess.run(["xdotool", "windowfocus", "--sync", main_id], check=True)
    pump(1.0)

    algorithm = find(main, role_name="combo box")
    check(algorithm.name == "Algorithm" and value_of(algorithm) == "SEARCH", "read as: " + present(algorithm))
    panels = {n.description: n.name for n in walk(find(main, role_name="status bar")) if role(n) == "label"}
    check(panels["Syntax check"] == "Syntax Check : OFF" and panels["Case"] == "Case InSensitive"
          and panels["Syntax"] == "Syntax : Perl" and panels["Product"].startswith("Tamarin")
          and panels["Date and time"].count(":") == 2, f"status panels read as their values: {panels}")
    line = find(main, role_name="label", name="Nothing evaluated yet")
    check(line is not None and not has(line, pyatspi.STATE_FOCUSABLE), "the outcome line reads as its text, unfocusable")

    pattern, subject = find(main, name="Pattern", role_name="text"), find(main, name="Input string", role_name="text")
    say("[typing the pattern b+]")
    pattern.queryComponent().grabFocus()
    pump()
    one_focus(main, "in the pattern")
    mark = len(events)
    keys(text="b+")
    check(heard(mark) == ["Nothing to do: the input is empty"] * 2, f"pattern: each outcome said once: {heard(mark)}")

    say("[typing the input aab]")
    subject.queryComponent().grabFocus()
    pump()
    mark = len(events)
    keys(text="aab")
    check(heard(mark) == ["No match", "No match", "Match at 2, length 1"], f"input: each outcome said once: {heard(mark)}")
    renamed = [k for k, s, d in events[mark:] if k.endswith("accessible-name") and s == line]
    check(len(renamed) == 3 and line.name.startswith("Match at 2, length 1 \u00b7 "),
          f"the outcome line shows the time and reports each text once: {len(renamed)} for 3 keys")
    check(pattern.description == subject.description == "Match at 2, length 1", "both editors describe the outcome")
    # A screen reader builds the line it speaks from the runs of text attributes.
    runs = [attribute_run(subject, offset) for offset in (0, 2, 3)]
    check(runs == [(0, 3)] * 3, f"the input's text is one run of attributes: {runs}")
    check(all(isinstance(d, str) for k, s, d in events if k == DESCRIPTION), "every description change carries its text")
    say("[Ctrl+Shift+O]")
    mark = len(events)
    keys("ctrl+shift+o")
    check(heard(mark) == ["Match at 2, length 1"], f"Ctrl+Shift+O says the outcome again: {heard(mark)}")

    say("[typing, deleting and selecting in the input: the editor says each]")
    mark = len(text_events)
    keys("End")
    keys(text="x!")
    keys("BackSpace", "shift+Left", "shift+Left", "Delete")
    changes = [(k.split(":")[-1], o, n, t) for k, s, o, n, t in text_events[mark:] if s == subject]
    selected = ("text-selection-changed", 0, 0, "")
    # Two Shift+Left select, the deletion ends the selection.
    expected = [("insert", 3, 1, "x"), ("insert", 4, 1, "!"), ("delete", 4, 1, "!"), selected, selected,
                ("delete", 2, 2, "bx"), selected]
    check(changes == expected,
          f"the input editor tells what is typed, deleted and selected: {changes}")
    keys("ctrl+z", "ctrl+z", "ctrl+z")
    check(subject.queryText().getText(0, -1) == "aab", "undo gives back the input: "
          + subject.queryText().getText(0, -1))

    say("[typing ( at the end of the pattern]")
    pattern.queryComponent().grabFocus()
    keys("End")
    mark = len(events)
    keys(text="(")
    check(heard(mark) == ["The pattern does not compile"], f"a pattern that does not compile: {heard(mark)}")
    keys("BackSpace")

    say("[Tab round the main window]")
    for stop in range(1, 20):
        keys("Tab")
        one_focus(main, f"main window, Tab stop {stop}")
        if focus[0] == pattern:
            break
    check(focus[0] == pattern, "Tab comes round to the pattern")

    about = open_from_main("F1", title="About Tamarin")
    if about:
        version, link = find(about, description="Version"), find(about, role_name="link")
        check(version.name[:1].isdigit() and find(about, description="Product name").name == "Tamarin",
              "About reads its values: " + present(version))
        action = link.queryAction()
        check(link.name == "Tamarin web site" and link.description.startswith("http") and has(
            link, pyatspi.STATE_FOCUSABLE) and "Press" in [action.getName(i) for i in range(action.nActions)],
              "About's address is a link to press: " + present(link))
        for stop in (1, 2):
            keys("Tab")
            one_focus(about, f"About, Tab stop {stop}")
        keys("Escape")

    syntax = open_from_main("alt+t", "r", title="Syntax Error Test")
    if syntax:
        chooser = find(syntax, role_name="combo box")
        check(chooser.name == "Syntax" and value_of(chooser) == "PERL", "read as: " + present(chooser))
        one_focus(syntax, "syntax test")
        say("[Alt+T: Test]")
        mark = len(events)
        keys("alt+t")
        verdict = find(syntax, name="Verdict")
        check(heard(mark) == ["Regular Expression"] and value_of(verdict) == "Regular Expression",
              f"the syntax test's verdict is said where Test was pressed: {heard(mark)}")
        check(attribute_run(verdict, 0) == (0, 18), f"the verdict is one run of attributes: {attribute_run(verdict, 0)}")
        keys("Escape")

    credit = open_from_main("alt+t", "c", title="Credit Card Checker")
    if credit:
        say("[typing 4111 1111 1111 1111]")
        mark = len(events)
        keys(text="4111111111111111")
        # Checked at each digit of the last box, once every box has some.
        check(heard(mark) == ["Invalid Card Number"] * 3 + ["Credit Card Number"]
              and find(credit, description="Verdict").name == "Credit Card Number",
              f"the card verdict reads as its value and is said at each check: {heard(mark)}")
        one_focus(credit, "card checker")
        check(find(credit, role_name="link") is not None, "the card checker's product page is a link")
        keys("Escape")

    settings = open_from_main("alt+s", "s", title="Syntax")
    if settings:
        one_focus(settings, "settings")
        for key in ("Tab", "Down"):
            keys(key)
            one_focus(settings, f"settings, after {key}")
        keys("Escape")

    config = open_from_main("alt+s", "c", title="Config")
    if config:
        one_focus(config, "match options")
        keys("Tab")
        one_focus(config, "match options, after Tab")
        keys("space", "Return")
        case = find(main, description="Case")
        check(case.name == "Case Sensitive", f"the case panel reads its new value: {case.name}")
finally:
    program.terminate()
    program.wait(10)

print(f"{sum(results)} of {len(results)} checks pass")
sys.exit(0 if all(results) else 1)
