"""Reads Tamarin out of process over AT-SPI, as a screen reader does, and
checks what one needs: the outcome of each evaluation reaches speech while the
user types, every control says its role and what it is, a label that shows a
value gives that value, links are links and one object has the focus at a time.

Run by run-atspi-check.sh (virtual display, private D-Bus and accessibility
bus). Keys are typed with xdotool, as a user types them. With --speech it also
prints what each step makes a screen reader say: the focused object's name,
role, value and description, a new window's title, and every description
change of the focused object.

Exit status 0 when every check passes, 1 otherwise.
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PROGRAM = sys.argv[1]
SPEECH = "--speech" in sys.argv[2:]

results = []  # (passed, what)
speech = []   # what a screen reader would say, in order
events = []   # every event received: (type, source, any_data)


def check(passed, what):
    results.append((bool(passed), what))
    print(("PASS  " if passed else "FAIL  ") + what, flush=True)
    return passed


def say(text):
    speech.append(text)
    if SPEECH:
        print("  says: " + text, flush=True)


def pump(seconds):
    """Lets events arrive for `seconds`."""
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def settle(seconds=0.6):
    pump(seconds)


def role(node):
    return node.getRoleName()


def state(node, which):
    try:
        return node.getState().contains(which)
    except Exception:
        return False


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    try:
        children = list(node)
    except Exception:
        return
    for child in children:
        yield from walk(child, depth + 1)


def find(root, name=None, role_name=None, showing=True):
    for node in walk(root):
        try:
            if name is not None and node.name != name:
                continue
            if role_name is not None and role(node) != role_name:
                continue
            if showing and not state(node, pyatspi.STATE_SHOWING):
                continue
            return node
        except Exception:
            continue
    return None


def labels_of(node):
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def spoken_name(node):
    """The name a screen reader says: its label where it has one, else its name."""
    labels = labels_of(node)
    return " ".join(labels) if labels else node.name


def value_of(node):
    if role(node) == "combo box":
        return node.name
    if role(node) in ("text", "entry"):
        try:
            text = node.queryText()
            return text.getText(0, min(text.characterCount, 80))
        except NotImplementedError:
            return ""
    return ""


def present(node):
    """What a screen reader says for a newly focused object."""
    parts = [spoken_name(node), role(node)]
    value = value_of(node)
    if value and value != parts[0]:
        parts.append(value)
    if node.description and node.description not in parts:
        parts.append(node.description)
    return ", ".join(p for p in parts if p)


focused_now = [None]


def on_event(event):
    try:
        source = event.source
        events.append((event.type, source, event.any_data))
        if event.type.startswith("focus:") or (
                event.type.startswith("object:state-changed:focused") and event.detail1 == 1):
            if focused_now[0] is None or focused_now[0] != source:
                focused_now[0] = source
                say(present(source))
        elif event.type.startswith("window:activate"):
            say("window " + source.name)
        elif event.type == "object:property-change:accessible-description":
            if source == focused_now[0] and isinstance(event.any_data, str) and event.any_data:
                say(event.any_data)
    except Exception as error:  # an object gone meanwhile
        events.append(("error", None, str(error)))


for kind in ("focus:", "object:state-changed:focused", "window:activate",
             "object:property-change:accessible-description",
             "object:property-change:accessible-name"):
    pyatspi.Registry.registerEventListener(on_event, kind)


def xdo(*args):
    subprocess.run(["xdotool", *args], check=True)


def type_keys(text):
    # One key at a time, the events of each read before the next, as a
    # screen reader hears them.
    for character in text:
        xdo("type", character)
        pump(0.25)
    settle()


def key(*keys):
    xdo("key", "--delay", "120", *keys)
    settle()


def back_to_main():
    """The main window gets the keyboard again (there is no window manager
    to give it back when a dialog closes)."""
    settle()
    xdo("windowfocus", "--sync", MAIN_WINDOW)
    settle()


def focused_objects(root):
    return [n for n in walk(root) if state(n, pyatspi.STATE_FOCUSED)]


def description_events(source, since):
    return [data for kind, src, data in events[since:]
            if kind == "object:property-change:accessible-description" and src == source]


def active_descendant(node, focused):
    """A focused item view's current item: the view's active descendant, not
    a second focus."""
    if role(node) not in ("table cell", "tree item", "list item"):
        return False
    parent = node.parent
    while parent is not None:
        if role(parent) in ("tree", "tree table", "table", "list") and parent in focused:
            return True
        parent = parent.parent
    return False


def one_focus(root, where):
    focused = focused_objects(root)
    focused = [n for n in focused if not active_descendant(n, focused)]
    names = [f"{n.name} ({role(n)})" for n in focused]
    return check(len(focused) == 1, f"{where}: one object has the focus: {names}")


def window_named(app, title, timeout=5):
    end = time.time() + timeout
    while time.time() < end:
        for window in app:
            if window is not None and window.name == title and state(window, pyatspi.STATE_SHOWING):
                return window
        pump(0.1)
    return None


# --- start ---

environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                   QT_QPA_PLATFORM="xcb")
program = subprocess.Popen([PROGRAM], env=environment)
app = None
try:
    for _ in range(150):
        pump(0.1)
        for candidate in pyatspi.Registry.getDesktop(0):
            if candidate is not None and candidate.name.startswith("Tamarin"):
                app = candidate
        if app is not None and window_named(app, "Tamarin [PERL<>POSIX Basic<>POSIX Extended]", 0.1):
            break
    if not check(app is not None, "the program appears on the accessibility bus"):
        sys.exit(1)
    main = window_named(app, "Tamarin [PERL<>POSIX Basic<>POSIX Extended]")
    settle(1.0)
    MAIN_WINDOW = subprocess.check_output(
        ["xdotool", "search", "--sync", "--name", r"^Tamarin \["]).split()[0].decode()
    xdo("windowfocus", "--sync", MAIN_WINDOW)
    settle()

    # --- the main window's controls ---
    algorithm = find(main, role_name="combo box")
    check(algorithm is not None and labels_of(algorithm) == ["Algorithm"] and algorithm.name == "SEARCH",
          "algorithm selector: labelled 'Algorithm', value SEARCH: "
          + (present(algorithm) if algorithm else "missing"))
    panels = {n.description: n.name for n in walk(find(main, role_name="status bar")) if role(n) == "label"}
    check(panels.get("Syntax check") == "Syntax Check : OFF" and panels.get("Case") == "Case InSensitive"
          and panels.get("Syntax") == "Syntax : Perl" and panels.get("Product", "").startswith("Tamarin")
          and panels.get("Date and time", "").count(":") == 2,
          f"status panels read as their values, described: {panels}")
    outcome_line = find(main, name="Nothing evaluated yet", role_name="label")
    check(outcome_line is not None and not state(outcome_line, pyatspi.STATE_FOCUSABLE),
          "the outcome line reads as its text and takes no focus")

    pattern = find(main, name="Pattern", role_name="text")
    subject = find(main, name="Input string", role_name="text")

    # --- typing a pattern, then an input that matches ---
    say("[typing the pattern b+]")
    pattern.queryComponent().grabFocus()
    settle()
    one_focus(main, "in the pattern editor")
    mark = len(events)
    type_keys("b+")
    heard = description_events(pattern, mark)
    check(heard == ["Nothing to do: the input is empty"] * 2,
          f"pattern: each keystroke's outcome spoken once, as text: {heard}")

    say("[typing the input aab]")
    subject.queryComponent().grabFocus()
    settle()
    one_focus(main, "in the input editor")
    mark = len(events)
    type_keys("aab")
    heard = description_events(subject, mark)
    check(heard == ["No match", "No match", "Match at 2, length 1"],
          f"input: each keystroke's outcome spoken once, as text: {heard}")
    renamed = [k for k, s, d in events[mark:] if k == "object:property-change:accessible-name" and s == outcome_line]
    check(len(renamed) == 3, f"the outcome line reports each new text once: {len(renamed)} for 3 keystrokes")
    check(subject.description == "Match at 2, length 1" and pattern.description == "Match at 2, length 1",
          "both editors describe the last outcome")
    check(find(main, role_name="label", name=None) is not None
          and any(n.name.startswith("Match at 2, length 1 \u00b7 ") for n in walk(main) if role(n) == "label"),
          "the outcome line still shows the outcome with its time")
    check(all(isinstance(d, str) for k, s, d in events
              if k == "object:property-change:accessible-description"),
          "every description change carries its text")

    say("[Ctrl+Shift+O: the outcome again]")
    mark = len(events)
    key("ctrl+shift+o")
    check(description_events(subject, mark) == ["Match at 2, length 1"],
          "Ctrl+Shift+O says the outcome again")

    # --- a pattern that does not compile ---
    say("[typing ( at the end of the pattern]")
    pattern.queryComponent().grabFocus()
    settle()
    key("End")
    mark = len(events)
    type_keys("(")
    heard = description_events(pattern, mark)
    check(heard == ["The pattern does not compile"], f"a pattern that does not compile is spoken: {heard}")
    key("BackSpace")

    # --- Tab through the main window: one focused object at each stop ---
    say("[Tab through the main window]")
    for stop in range(8):
        key("Tab")
        one_focus(main, f"main window, Tab stop {stop + 1}")
    tabs = [n for n in walk(main) if role(n) == "page tab"]
    check(tabs and not any(state(t, pyatspi.STATE_FOCUSED) for t in tabs) or
          any(state(t, pyatspi.STATE_FOCUSED) and t == focused_now[0] for t in tabs),
          "the 'Input String' tab claims the focus only when it has it")

    # --- the About box ---
    say("[F1: About]")
    key("F1")
    about = window_named(app, "About Tamarin")
    if check(about is not None, "About opens"):
        version = next((n for n in walk(about) if role(n) == "label" and n.description == "Version"), None)
        check(version is not None and version.name[:1].isdigit(),
              "About: the version reads as its value: " + (present(version) if version else "missing"))
        product = next((n for n in walk(about) if role(n) == "label" and n.description == "Product name"), None)
        check(product is not None and product.name == "Tamarin", "About: the product name reads as its value")
        link = find(about, role_name="link")
        actions = []
        if link is not None:
            action = link.queryAction()
            actions = [action.getName(i) for i in range(action.nActions)]
        check(link is not None and link.name == "Tamarin web site" and link.description.startswith("http")
              and "Press" in actions and state(link, pyatspi.STATE_FOCUSABLE),
              "About: the web address is a link that can be pressed: "
              + (present(link) + f" {actions}" if link else "missing"))
        for stop in range(2):
            key("Tab")
            one_focus(about, f"About, Tab stop {stop + 1}")
        key("Escape")

    # --- the syntax test ---
    back_to_main()
    say("[Tools > RegExp Syntax Test]")
    key("alt+t")
    key("r")
    syntax = window_named(app, "Syntax Error Test")
    if check(syntax is not None, "the syntax test opens"):
        chooser = find(syntax, role_name="combo box")
        check(chooser is not None and labels_of(chooser) == ["Syntax"] and chooser.name == "PERL",
              "syntax test: selector labelled 'Syntax', value PERL: "
              + (present(chooser) if chooser else "missing"))
        one_focus(syntax, "syntax test, opened")
        say("[Alt+T: Test]")
        mark = len(events)
        key("alt+t")
        verdict = find(syntax, name="Verdict")
        shown = value_of(verdict) if verdict else ""
        heard = [d for k, s, d in events[mark:]
                 if k == "object:property-change:accessible-description" and s == focused_now[0]]
        check(shown == "Regular Expression" and heard == ["Regular Expression"],
              f"syntax test: the verdict is spoken where Test was pressed: {heard}, shown {shown!r}")
        one_focus(syntax, "syntax test, after Test")
        key("Escape")

    # --- the credit card checker ---
    back_to_main()
    say("[Tools > Credit Card Checker]")
    key("alt+t")
    key("c")
    credit = window_named(app, "Credit Card Checker")
    if check(credit is not None, "the credit card checker opens"):
        say("[typing 4111 1111 1111 1111]")
        mark = len(events)
        type_keys("4111111111111111")
        verdict = next((n for n in walk(credit) if role(n) == "label" and n.description == "Verdict"), None)
        heard = [d for k, s, d in events[mark:]
                 if k == "object:property-change:accessible-description" and s == focused_now[0]]
        # The number is checked at each digit of the last box once all boxes have some.
        check(verdict is not None and verdict.name == "Credit Card Number"
              and heard == ["Invalid Card Number"] * 3 + ["Credit Card Number"],
              f"credit card: the verdict reads as its value and is spoken at each check: {heard}")
        one_focus(credit, "credit card checker")
        links = [n for n in walk(credit) if role(n) == "link"]
        check(len(links) == 1, "credit card: the product page is a link")
        key("Escape")

    # --- the settings dialog ---
    back_to_main()
    say("[Settings > Syntax]")
    key("alt+s")
    key("s")
    settings = window_named(app, "Syntax")
    if check(settings is not None, "the settings dialog opens"):
        one_focus(settings, "settings, opened")
        pages = [n for n in walk(settings) if role(n) == "page tab"]
        check(len(pages) == 2 and all(p.name for p in pages), f"settings: page tabs {[p.name for p in pages]}")
        say("[Tab, Down, Escape]")
        key("Tab")
        one_focus(settings, "settings, after Tab")
        key("Down")
        one_focus(settings, "settings, after Down")
        key("Escape")

    # --- the match options dialog ---
    back_to_main()
    say("[Settings > Config, Tab, Space, Enter]")
    key("alt+s")
    key("c")
    config = window_named(app, "Config")
    if check(config is not None, "the match options dialog opens"):
        one_focus(config, "match options, opened")
        key("Tab")
        one_focus(config, "match options, after Tab")
        key("space")
        key("Return")
        settle()
        panels = {n.description: n.name for n in walk(find(main, role_name="status bar")) if role(n) == "label"}
        check(panels.get("Case") == "Case Sensitive",
              f"the case panel reads its new value after the dialog: {panels.get('Case')}")
finally:
    program.terminate()
    try:
        program.wait(10)
    except subprocess.TimeoutExpired:
        program.kill()

failed = [what for passed, what in results if not passed]
print(f"{len(results) - len(failed)} of {len(results)} checks pass")
sys.exit(1 if failed else 0)
