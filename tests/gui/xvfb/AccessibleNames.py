"""Walks the accessible tree of one application on the AT-SPI bus, as a
screen reader does, and fails listing every control that has no name.

usage: AccessibleNames.py APPLICATION_NAME [REQUIRED_NAME...]
           [--press BUTTON [--keys "KEY..."] REQUIRED_NAME...]

Each REQUIRED_NAME must be the name of some control. With --press, the push
button named BUTTON is then pressed (as a screen reader user would) and the
tree walked again: the window it opens must name every control too, and the
names after it must be among them. With --keys, those keys are then typed
(xdotool): the way to a menu entry, for a menu the bus does not show.
"""
import subprocess
import sys
import time

import pyatspi

NAMED_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON: "push button",
    pyatspi.ROLE_TOGGLE_BUTTON: "toggle button",
    pyatspi.ROLE_CHECK_BOX: "check box",
    pyatspi.ROLE_LIST: "list",
    pyatspi.ROLE_MENU_ITEM: "menu item",
    pyatspi.ROLE_SLIDER: "slider",
    pyatspi.ROLE_COMBO_BOX: "combo box",
    pyatspi.ROLE_ENTRY: "entry",
    pyatspi.ROLE_TEXT: "text",
    pyatspi.ROLE_TREE: "tree",
    pyatspi.ROLE_TREE_TABLE: "tree table",
    pyatspi.ROLE_TABLE: "table",
}


def find_application(name, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for application in desktop:
            if application is not None and (application.name or "").lower() == name.lower():
                return application
        time.sleep(0.5)
    return None


def walk(node, path, found):
    try:
        role = node.getRole()
        name = node.name or ""
        count = node.childCount
    except Exception:  # a node that went away while we looked
        return
    if role in NAMED_ROLES:
        found.append((NAMED_ROLES[role], name, path))
    for index in range(count):
        try:
            child = node.getChildAtIndex(index)
        except Exception:
            continue
        if child is not None:
            walk(child, path + "/" + (child.name or child.getRoleName()), found)


def check(found, required):
    nameless = [(role, path) for role, control_name, path in found if not control_name.strip()]
    for role, path in nameless:
        print(f"FAILED: a {role} without a name: {path}", file=sys.stderr)
    names = {control_name for _, control_name, _ in found}
    missing = [name for name in required if name not in names]
    for name in missing:
        print(f"FAILED: no control named {name!r}", file=sys.stderr)
    return not nameless and not missing


def press(application, name, button, required, keys):
    found = []
    walk(application, name, found)
    target = None

    def find(node):
        nonlocal target
        try:
            if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == button:
                target = node
                return
            for index in range(node.childCount):
                if target is None:
                    find(node.getChildAtIndex(index))
        except Exception:
            return

    find(application)
    if target is None:
        print(f"FAILED: no push button named {button!r} to press", file=sys.stderr)
        return False
    target.queryAction().doAction(0)
    if keys:
        time.sleep(1)
        subprocess.run(["xdotool", "key", "--delay", "200", *keys.split()], check=True)
    # The window it opens comes on the bus a moment later.
    deadline = time.time() + 20
    while time.time() < deadline:
        found = []
        walk(application, name, found)
        names = {control_name for _, control_name, _ in found}
        if all(r in names for r in required):
            break
        time.sleep(0.5)
    print(f"after pressing {button!r}: {len(found)} controls")
    return check(found, required)


def main():
    name = sys.argv[1]
    arguments = sys.argv[2:]
    pressed = []
    if "--press" in arguments:
        at = arguments.index("--press")
        pressed = arguments[at + 1:]
        arguments = arguments[:at]
    keys = ""
    if "--keys" in pressed:
        at = pressed.index("--keys")
        keys = pressed[at + 1]
        del pressed[at:at + 2]
    application = find_application(name, 30)
    if application is None:
        print(f"FAILED: {name} did not appear on the accessibility bus", file=sys.stderr)
        return 1
    # The keys are there once the keyboard has been read: wait for them.
    found = []
    deadline = time.time() + 30
    while time.time() < deadline:
        found = []
        walk(application, name, found)
        if sum(1 for role, _, _ in found if role == "push button") >= 140:
            break
        time.sleep(0.5)
    buttons = sum(1 for role, _, _ in found if role == "push button")
    nameless = [path for _, control_name, path in found if not control_name.strip()]
    print(f"{len(found)} controls, {buttons} push buttons, {len(nameless)} without a name")
    if buttons < 140:
        print(f"FAILED: only {buttons} push buttons on the bus", file=sys.stderr)
        return 1
    ok = check(found, arguments)
    if pressed and not press(application, name, pressed[0], pressed[1:], keys):
        ok = False
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
