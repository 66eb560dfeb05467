#!/usr/bin/env bash
# The program for real under a Wayland compositor (weston, headless, drawing
# with pixman): it starts on the simulated keyboard with no tray, shows its
# window, tells once that there is no tray, hands a second start over to the
# running one, and ends with "/Kill" leaving no socket or event behind. A
# screenshot of the window is left in SCREENSHOT_FOLDER.
# usage: WaylandTest.sh TREVOLIN SCREENSHOT_FOLDER   (run by ctest)
set -euo pipefail
program=$1
shots=$2
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; [ -z "${weston:-}" ] || { kill "$weston"; wait "$weston"; } 2>/dev/null || true; rm -rf "$work"' EXIT
source "$here/../TestSteps.sh"

export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config TREVOLIN_SIM_STATE=$work/sim
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY QT_QPA_PLATFORM TREVOLIN_SCREENSHOT QT_WAYLAND_DISABLE_WINDOWDECORATION
export WAYLAND_DISPLAY=trevolin-test XDG_SESSION_TYPE=wayland
# --debug lets weston-screenshooter take pictures.
weston --backend=headless-backend.so --use-pixman --debug --no-config --socket="$WAYLAND_DISPLAY" \
    --width=1400 --height=900 >"$work/weston.log" 2>&1 &
weston=$!
wait_for test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "weston did not start: $(cat "$work/weston.log")"

screenshot() {
    rm -f "$work"/shots/wayland-screenshot-*.png
    mkdir -p "$work/shots"
    (cd "$work/shots" && weston-screenshooter) || fail "no screenshot"
    mv "$work"/shots/wayland-screenshot-*.png "$1"
}
# The desktop as it is without the program, to see what the window changes.
sleep 1
screenshot "$work/desktop.png"

events_of_this_run() {
    local owner
    owner=$(/usr/bin/python3 -c 'import os, sys
d = 2166136261
for c in sys.argv[1].encode():
    d = ((d ^ c) * 16777619) & 0xFFFFFFFF
print(f"{os.getuid()}-{d:08x}")' "$XDG_RUNTIME_DIR/trevolin")
    ls /dev/shm | grep -c "^sem\.Trevolin_Event_.*\.$owner\$" || true
}
shown() { grep -q 'first frame at' "$work/err"; }
told_no_tray() { grep -qi '^NoTrayTold=sz:1' "$XDG_CONFIG_HOME/trevolin/settings.ini" 2>/dev/null; }

# The first start: no tray, so the window is shown and the user is told.
TREVOLIN_TIMING=1 "$program" --simulate 2>"$work/err" &
pid=$!
wait_for shown || fail "the window was not shown: $(cat "$work/err")"
wait_for told_no_tray || fail "the user was not told that there is no tray"
"$program" /Kill --simulate || fail "/Kill did not reach the program"
wait "$pid" || fail "the program ended with exit code $?: $(tail -40 "$work/err")"
pid=

# The second start is told nothing: the window alone.
TREVOLIN_TIMING=1 "$program" --simulate 2>"$work/err" &
pid=$!
wait_for shown || fail "the window was not shown the second time: $(cat "$work/err")"
[ "$(events_of_this_run)" -gt 0 ] || fail "the running program has no events"
sleep 1
mkdir -p "$shots"
screenshot "$shots/wayland-main-window.png"
changed=$(/usr/bin/python3 "$here/ScreenDiff.py" "$work/desktop.png" "$shots/wayland-main-window.png")
# The main window is about 1000 by 420 pixels.
[ "$changed" -gt 200000 ] || fail "the window changed only $changed pixels of the screen"

# A further start hands over to the running one and ends at once; its
# launcher's activation token goes with it, and the running one takes it.
# (The running one is held still meanwhile, so the token is seen waiting.)
token=$XDG_RUNTIME_DIR/trevolin/VSDRAVIK.activation
kill -STOP "$pid"
XDG_ACTIVATION_TOKEN=launcher-token-1 "$program" --simulate &
second=$!
token_left() { [ "$(cat "$token" 2>/dev/null)" = launcher-token-1 ]; }
wait_for token_left || { kill -CONT "$pid"; fail "the second start left no activation token"; }
kill -CONT "$pid"
wait "$second" || fail "a second start ended with exit code $?"
kill -0 "$pid" 2>/dev/null || fail "a second start ended the running program"
token_taken() { [ ! -e "$token" ]; }
wait_for token_taken || fail "the running program did not take the second start's activation token"
"$program" /Kill --simulate || fail "/Kill did not reach the program"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "the program ended with exit code $status: $(tail -40 "$work/err")"
[ ! -e "$XDG_RUNTIME_DIR/trevolin/VSDRAVIK.socket" ] || fail "the instance socket was left behind"
[ "$(events_of_this_run)" -eq 0 ] || fail "the named events were left behind"
echo "Shown under weston without a tray, told once, handed over, and ended by /Kill."
