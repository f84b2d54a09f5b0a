"""Walks every screen of pikotel-screenshots --hold through the AT-SPI bus and lists every
button, text box, list, combo box and grid without an accessible name, and every grid
without column headers. Exit status 1 when it finds any, 2 when the walk itself fails."""

import subprocess
import sys
import time

import pyatspi

CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON: "button",
    pyatspi.ROLE_TOGGLE_BUTTON: "button",
    pyatspi.ROLE_CHECK_BOX: "check box",
    pyatspi.ROLE_RADIO_BUTTON: "option button",
    pyatspi.ROLE_TEXT: "text box",
    pyatspi.ROLE_ENTRY: "text box",
    pyatspi.ROLE_PASSWORD_TEXT: "text box",
    pyatspi.ROLE_COMBO_BOX: "combo box",
    pyatspi.ROLE_LIST: "list",
    pyatspi.ROLE_LIST_BOX: "list",
    pyatspi.ROLE_TABLE: "grid",
    pyatspi.ROLE_TREE_TABLE: "grid",
}
GRIDS = {pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE}
# A loaded machine may take long to start the buses and show a screen; the walk polls.
PATIENCE = 60.0


def showing(node):
    states = node.getState()
    return states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_VISIBLE)


def controls(node, path, found):
    """Appends (role, name, path, node) of every shown control under node. The text box
    inside an editable combo box is the combo box's own; cells are not walked."""
    for child in node:
        if child is None or not showing(child):
            continue
        role = child.getRole()
        here = f"{path}/{child.getRoleName()}"
        if role in CONTROLS:
            found.append((role, child.name or "", here, child))
            if role in GRIDS or role == pyatspi.ROLE_COMBO_BOX:
                continue
        controls(child, here, found)


def grid_faults(grid):
    try:
        table = grid.queryTable()
    except NotImplementedError:
        return ["exposes no table"]
    if table.nColumns == 0:
        return ["exposes no columns"]
    def header(c):
        cell = table.getColumnHeader(c)
        return (cell.name if cell is not None else "") or table.getColumnDescription(c)

    missing = [c for c in range(table.nColumns) if not header(c).strip()]
    faults = [f"column {c} has no header" for c in missing]
    if table.nRows > 0 and table.getAccessibleAt(0, 0) is None:
        faults.append("exposes no cells")
    return faults


def application(pid, deadline):
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.clearCache()
        for app in desktop:
            if app is not None and app.get_process_id() == pid:
                return app
        time.sleep(0.2)
    return None


def walk_screen(app, expected, deadline):
    """Polls the shown windows until they expose the screen's controls."""
    found = []
    while time.monotonic() < deadline:
        app.clearCache()
        found = []
        for window in app:
            if window is not None and showing(window):
                controls(window, window.getRoleName(), found)
        if len(found) >= expected:
            return found, True
        time.sleep(0.2)
    return found, False


def main():
    tool, folder = sys.argv[1], sys.argv[2]
    proc = subprocess.Popen([tool, "--hold", folder], stdin=subprocess.PIPE,
                            stdout=subprocess.PIPE, text=True)
    faults = []
    screens = 0
    try:
        app = application(proc.pid, time.monotonic() + PATIENCE)
        if app is None:
            print("FAIL: the program never appeared on the accessibility bus")
            return 2
        for line in proc.stdout:
            words = line.split()
            if len(words) != 3 or words[0] != "shown":
                continue
            name, expected = words[1], int(words[2])
            found, complete = walk_screen(app, expected, time.monotonic() + PATIENCE)
            if not complete:
                faults.append(f"{name}: exposes {len(found)} of its {expected} controls")
            for role, label, path, node in found:
                if not label.strip():
                    faults.append(f"{name}: unnamed {CONTROLS[role]} at {path}")
                if role in GRIDS:
                    faults.extend(f"{name}: grid {label} {f}" for f in grid_faults(node))
            screens += 1
            proc.stdin.write("next\n")
            proc.stdin.flush()
    finally:
        try:
            proc.stdin.close()
        except BrokenPipeError:
            pass
        try:
            proc.wait(timeout=PATIENCE)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    if proc.returncode != 0:
        faults.append(f"the screens ended with status {proc.returncode}")
    if screens == 0:
        faults.append("no screen was shown")
    for fault in faults:
        print(f"FAIL: {fault}")
    print(f"{screens} screens walked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
