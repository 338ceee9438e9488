"""Walks the program's windows as a screen reader sees them, over AT-SPI.

Starts the window program given on the command line, waits for its "ready",
finds it on the AT-SPI desktop by its process id, and walks each window it
announced. A control a person can operate (or one that takes the focus)
without a name or without a role is an offender; each is printed with its
role and its path, and any offender fails the run (exit 1). Exit 2 when the
walk could not be done at all.
"""

import subprocess
import sys
import time
from collections import Counter

import pyatspi

OPERABLE_ROLES = {
    getattr(pyatspi, name)
    for name in (
        "ROLE_PUSH_BUTTON", "ROLE_PUSH_BUTTON_MENU", "ROLE_TOGGLE_BUTTON", "ROLE_CHECK_BOX",
        "ROLE_RADIO_BUTTON", "ROLE_TEXT", "ROLE_ENTRY", "ROLE_PASSWORD_TEXT", "ROLE_EDITBAR",
        "ROLE_DOCUMENT_TEXT", "ROLE_COMBO_BOX", "ROLE_LIST", "ROLE_LIST_BOX", "ROLE_TABLE",
        "ROLE_TREE", "ROLE_TREE_TABLE", "ROLE_MENU", "ROLE_MENU_ITEM", "ROLE_CHECK_MENU_ITEM",
        "ROLE_RADIO_MENU_ITEM", "ROLE_SPIN_BUTTON", "ROLE_SLIDER", "ROLE_PAGE_TAB", "ROLE_LINK",
        "ROLE_CALENDAR",
    )
    if hasattr(pyatspi, name)
}
NO_ROLE = {pyatspi.ROLE_INVALID, pyatspi.ROLE_UNKNOWN}
WINDOW_ROLES = {pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW, pyatspi.ROLE_DIALOG}
MENU_ROLES = {pyatspi.ROLE_MENU, pyatspi.ROLE_POPUP_MENU}
# A window's controls as far down as any of ours go, and a bound on a runaway tree.
MAX_DEPTH = 40
MAX_NODES = 20000
WAIT_SECONDS = 30


def wait_for(what, probe, seen=lambda: "", seconds=WAIT_SECONDS):
    """The bus registers the application and its windows on its own time."""
    deadline = time.monotonic() + seconds
    while True:
        found = probe()
        if found:
            return found
        if time.monotonic() > deadline:
            print(f"accessibility walk: {what} did not appear on the AT-SPI bus within {seconds} s{seen()}")
            sys.exit(2)
        time.sleep(0.1)


def children(node):
    try:
        return [node.getChildAtIndex(i) for i in range(node.childCount)]
    except Exception:  # a control can go away while it is walked
        return []


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(desktop):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def windows(app, titles):
    """The announced windows by title, or None while any is missing."""
    found = {}
    for child in children(app):
        if child is not None and child.name in titles:
            found[child.name] = child
    return found if len(found) == len(titles) else None


def describe(node):
    try:
        role = node.getRoleName() or "no role"
    except Exception:
        role = "?"
    return f"{role} '{node.name}'"


def walk(window):
    """Every offender under a window, as (role, path), and how many controls of each role were checked."""
    offenders = []
    checked = Counter()
    seen = 0
    stack = [(window, [describe(window)], 0, False)]
    while stack:
        node, path, depth, in_menu = stack.pop()
        seen += 1
        if seen > MAX_NODES:
            print(f"accessibility walk: more than {MAX_NODES} objects under {path[0]}, stopped")
            sys.exit(2)
        states = node.getState()
        role = node.getRole()
        # A closed menu's items are reached by opening it. Any other hidden control cannot be
        # reached; the panels the program hides are opened before the walk.
        in_menu = in_menu or role in MENU_ROLES
        if not in_menu and not states.contains(pyatspi.STATE_VISIBLE):
            continue
        if role in OPERABLE_ROLES or states.contains(pyatspi.STATE_FOCUSABLE):
            checked[node.getRoleName() or "no role"] += 1
            if role in NO_ROLE or not node.name.strip():
                offenders.append((node.getRoleName() or "no role", " > ".join(path)))
        if depth < MAX_DEPTH:
            for index, child in reversed(list(enumerate(children(node)))):
                if child is not None:
                    stack.append((child, path + [f"[{index}] {describe(child)}"], depth + 1, in_menu))
    return offenders, checked


def check(program):
    titles = []
    for line in program.stdout:
        line = line.rstrip("\n")
        if line == "ready":
            break
        if line.startswith("window "):
            titles.append(line[len("window "):])
    else:
        print("accessibility walk: the window program ended before it was ready")
        return 2
    if not titles:
        print("accessibility walk: the window program named no window")
        return 2
    app = wait_for("the program", lambda: application(program.pid))
    found = wait_for("its windows " + ", ".join(titles), lambda: windows(app, titles),
                     lambda: "; it shows " + ", ".join(describe(child) for child in children(app)))
    failed = False
    for title in titles:
        window = found[title]
        offenders, checked = walk(window)
        print(f"{title}: {sum(checked.values())} controls checked, {len(offenders)} without a name or role")
        print("  checked: " + ", ".join(f"{count} {role}" for role, count in sorted(checked.items())))
        if window.getRole() not in WINDOW_ROLES:
            print(f"  note: announced as a {window.getRoleName()}, not as a window")
        if not checked:
            print("  no control found: the window's tree did not come through")
            failed = True
        for role, path in offenders:
            print(f"  {role}: {path}")
        failed = failed or bool(offenders)
    return 1 if failed else 0


def main():
    program = subprocess.Popen(sys.argv[1:], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    try:
        result = check(program)
    finally:
        # Closed input ends the program, which then removes its diary.
        program.stdin.close()
        try:
            status = program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            program.kill()
            status = program.wait()
    if status != 0:
        print(f"accessibility walk: the window program failed (exit {status})")
        result = max(result, 1)
    return result


if __name__ == "__main__":
    sys.exit(main())
