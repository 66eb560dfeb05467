"""Walks the accessible tree of one application on the AT-SPI bus, as a
screen reader does, and fails listing every control that has no name.

usage: AccessibleNames.py APPLICATION_NAME [REQUIRED_NAME...]

Each REQUIRED_NAME must be the name of some control.
"""
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


def main():
    name = sys.argv[1]
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
    nameless = [(role, path) for role, control_name, path in found if not control_name.strip()]
    print(f"{len(found)} controls, {buttons} push buttons, {len(nameless)} without a name")
    if buttons < 140:
        print(f"FAILED: only {buttons} push buttons on the bus", file=sys.stderr)
        return 1
    for role, path in nameless:
        print(f"FAILED: a {role} without a name: {path}", file=sys.stderr)
    names = {control_name for _, control_name, _ in found}
    missing = [required for required in sys.argv[2:] if required not in names]
    for required in missing:
        print(f"FAILED: no control named {required!r}", file=sys.stderr)
    return 1 if nameless or missing else 0


if __name__ == "__main__":
    sys.exit(main())
