#!/usr/bin/env bash
# The program for real on an X server (Xvfb) with a tray (trayer): it starts
# on the simulated keyboard, shows its window, its tray icon is embedded, a
# screenshot is taken, and it ends through the tray menu's Exit.
# usage: TrayExitTest.sh TREVOLIN SCREENSHOT_FOLDER   (run by ctest)
set -euo pipefail
program=$1
shots=$2

work=$(mktemp -d)
trap 'kill "${tray:-}" "${pid:-}" 2>/dev/null || true; stop_xvfb; rm -rf "$work"' EXIT
source "$(dirname "$0")/XvfbDisplay.sh"
start_xvfb
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config TREVOLIN_SIM_STATE=$work/sim
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM TREVOLIN_SCREENSHOT

source "$(dirname "$0")/../TestSteps.sh"

trayer --edge top --align right --widthtype pixel --width 200 --height 32 &
tray=$!
wait_for xdotool search --name '^panel$' >/dev/null || fail "the tray did not come up"

"$program" --simulate &
pid=$!
wait_for xdotool search --onlyvisible --name '^Trevolin$' >/dev/null || fail "the window was not shown"
# The icon is embedded in the tray's panel: a small 'Trevolin' window at the
# origin of the slot the tray made for it.
icon_window() {
    xwininfo -root -tree | grep -E '"Trevolin": \("trevolin" "Trevolin"\) +[0-9]{1,2}x[0-9]{1,2}\+0\+0 ' | tail -1 |
        grep .
}
wait_for icon_window >/dev/null || fail "no tray icon"
mkdir -p "$shots"
xwd -root -silent >"$shots/xvfb-main-window.xwd" || fail "no screenshot"

# Right click on the icon opens its menu; Exit is its last item.
where=$(icon_window | grep -oE '\+[0-9]+\+[0-9]+$')
x=$(echo "$where" | cut -d+ -f2)
y=$(echo "$where" | cut -d+ -f3)
xdotool mousemove $((x + 8)) $((y + 8)) click 3
# The menu: a window of the program's own, smaller than the main window and
# taller than the icon or a tooltip. Keys sent before it is up would be lost.
menu_open() {
    local w WIDTH HEIGHT
    for w in $(xdotool search --onlyvisible --class trevolin); do
        eval "$(xdotool getwindowgeometry --shell "$w" | grep -E '^(WIDTH|HEIGHT)=')"
        if [ "$HEIGHT" -gt 40 ] && [ "$HEIGHT" -lt 400 ] && [ "$WIDTH" -lt 600 ]; then return 0; fi
    done
    return 1
}
wait_for menu_open || fail "the tray menu did not open"
xdotool key Up Return
gone() { ! kill -0 "$pid" 2>/dev/null; }
wait_for gone || fail "the program did not end through the tray menu's Exit"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
[ ! -e "$XDG_RUNTIME_DIR/trevolin/VSDRAVIK.socket" ] || fail "the instance socket was left behind"
echo "Started, shown, in the tray, and ended through the tray menu."
