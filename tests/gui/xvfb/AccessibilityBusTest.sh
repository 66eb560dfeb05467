#!/usr/bin/env bash
# The program as a screen reader meets it: under Xvfb, on a private D-Bus
# session with the accessibility bus (AT-SPI) running, every push button,
# toggle, check box, list and menu item of the window must have a name.
# usage: AccessibilityBusTest.sh TREVOLIN   (run by ctest)
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${TREVOLIN_IN_SESSION_BUS:-}" ]; then
    exec dbus-run-session -- env TREVOLIN_IN_SESSION_BUS=1 "$0" "$@"
fi

work=$(mktemp -d)
trap 'kill "${pid:-}" "${bus:-}" 2>/dev/null || true; stop_xvfb; rm -rf "$work"' EXIT
source "$here/XvfbDisplay.sh"
start_xvfb
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config TREVOLIN_SIM_STATE=$work/sim
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM TREVOLIN_SCREENSHOT
# Qt registers with the accessibility bus whether or not a screen reader
# has asked for it.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
# The program starts once the accessibility bus answers and the X server
# takes connections.
a11y_bus() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress 2>/dev/null |
        grep -q 'unix:'
}
for _ in $(seq 100); do
    a11y_bus && break
    sleep 0.1
done
a11y_bus || { echo "FAILED: the accessibility bus did not start" >&2; exit 1; }
if ! xdpyinfo >/dev/null 2>&1; then
    echo "FAILED: the X server on $DISPLAY takes no connection now: $(cat "$work/xvfb.log")" >&2
    exit 1
fi
# The lighting view on, so that the panel's effect controls are shown.
mkdir -p "$XDG_DATA_HOME/Dravik-RGB_01"
printf '[KEYCOLOR]\nDengCheck=1\n' >"$XDG_DATA_HOME/Dravik-RGB_01/wskb.ini"
"$program" --simulate &
pid=$!
# Debian's pyatspi is for the system's Python. The panel's controls of the
# first effect (wave) are named too.
# Then the macro button opens the key assignment dialog's macro editor,
# whose controls are named too.
/usr/bin/python3 "$here/AccessibleNames.py" Trevolin "Show the lighting on the keys" "Lighting effect" \
    "Brightness" "Speed" "Left" "Right" "Color" "Multicolor" "Preset color Orange" "Red value" \
    --press Macros "Add a macro" "Delete the macro" "Events of the macro" "Record delays" "Repeat" "Record"
end_program() {
    "$program" /Kill --simulate
    status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq 0 ] || { echo "FAILED: the program ended with exit code $status" >&2; exit 1; }
}
end_program
# Started again: the profile-name button opens the profile manager.
"$program" --simulate &
pid=$!
/usr/bin/python3 "$here/AccessibleNames.py" Trevolin --press Profiles "Add" "Load" "Delete" "Apply"
end_program
# And again: the firmware update dialog, from the menu's next-to-last entry.
"$program" --simulate &
pid=$!
/usr/bin/python3 "$here/AccessibleNames.py" Trevolin --press Menu --keys "Up Up Return" \
    "Choose…" "Back up" "Cancel" "Update"
end_program
echo "Every control the accessibility bus shows has a name."
