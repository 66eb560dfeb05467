#!/usr/bin/env bash
# The desktop program on the simulated keyboard, offscreen, under Xvfb with
# a tray and under weston (Wayland, no tray): start to first frame, resident
# memory 4 s after start, wakeups per second (voluntary context switches
# of every thread over 10 s, from /proc) and the share of one core used over
# those 10 s, idle or with the lighting preview running; the window hidden
# in the tray where there is one. A bare Qt window of the same size and kind
# (BARE_WINDOW) is measured the same way on each, and under Wayland the GL
# libraries the program maps are listed.
# usage: desktop_program.sh TREVOLIN BARE_WINDOW
set -euo pipefail
program=$1
bare=$2

# CPU time of PID so far (user and system), in clock ticks.
cpu_ticks() {
    awk '{print $14 + $15}' /proc/"$1"/stat
}

# Sum of voluntary context switches of every thread of PID.
switches() {
    local total=0 n
    for status in /proc/"$1"/task/*/status; do
        n=$(awk '/^voluntary_ctxt_switches/ {print $2}' "$status" 2>/dev/null || echo 0)
        total=$((total + ${n:-0}))
    done
    echo "$total"
}

# measure LABEL PROGRAM [ARGS...]
measure() {
    local label=$1 run=$2; shift 2
    local work
    work=$(mktemp -d)
    mkdir -m 700 "$work/run"
    if [ -n "${TREVOLIN_BENCH_TOLD_NO_TRAY:-}" ]; then
        # Every start after the first: the user has been told there is no tray.
        mkdir -p "$work/config/trevolin"
        printf '[Software\\Trevolin_Marbeck\\Trevolin\\PROFILES]\nNoTrayTold=sz:1\n' >"$work/config/trevolin/settings.ini"
    fi
    if [ -n "${TREVOLIN_BENCH_LIGHTING_VIEW:-}" ]; then
        # The lighting view on: the preview runs while the window is shown.
        mkdir -p "$work/data/Dravik-RGB_01"
        printf '[KEYCOLOR]\nDengCheck=1\n' >"$work/data/Dravik-RGB_01/wskb.ini"
    fi
    local start end
    start=$(date +%s%3N)
    XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config \
        TREVOLIN_SIM_STATE=$work/sim TREVOLIN_TIMING=1 "$run" "$@" 2>"$work/err" &
    local pid=$!
    sleep 4
    local rss
    rss=$(awk '/^VmRSS/ {print $2}' /proc/$pid/status)
    if [ -n "${WAYLAND_DISPLAY:-}" ]; then
        # The GL dispatch libraries (libEGL, libGLX, libGLdispatch, libOpenGL)
        # come with libQt6Gui on every platform; a driver here would be new.
        gl=$(awk '{print $6}' /proc/$pid/maps | grep -E 'dri/|_mesa|libGL\.so|wayland-egl|decoration' | sort -u |
            xargs -r -n1 basename | tr '\n' ' ' || true)
        echo "   GL drivers and decorations mapped: ${gl:-none}" >"$work/gl"
    fi
    local first
    first=$(grep -o 'first frame at [0-9]*' "$work/err" | grep -o '[0-9]*$' || true)
    local before after ticksBefore ticksAfter
    before=$(switches $pid)
    ticksBefore=$(cpu_ticks $pid)
    sleep 10
    after=$(switches $pid)
    ticksAfter=$(cpu_ticks $pid)
    kill $pid; wait $pid 2>/dev/null || true
    local frame="(window hidden)"
    [ -n "$first" ] && frame="$((first - start)) ms"
    printf '%-40s first frame %-16s resident %6d KiB   wakeups %s/s   cpu %s %%\n' "$label" "$frame" "$rss" \
        "$(awk -v d=$((after - before)) 'BEGIN {printf "%.1f", d / 10}')" \
        "$(awk -v t=$((ticksAfter - ticksBefore)) -v hz="$(getconf CLK_TCK)" 'BEGIN {printf "%.1f", 100 * t / hz / 10}')"
    [ -f "$work/gl" ] && cat "$work/gl"
    rm -rf "$work"
}

if [ "${3:-}" = "--under-xvfb" ]; then
    trayer --edge top --align right --widthtype pixel --width 200 --height 32 &
    tray=$!
    sleep 1
    measure "Xvfb, window shown" "$program" --simulate
    measure "Xvfb, hidden in the tray (--start)" "$program" --simulate --start
    TREVOLIN_BENCH_LIGHTING_VIEW=1 measure "Xvfb, preview running (wave)" "$program" --simulate
    TREVOLIN_BENCH_LIGHTING_VIEW=1 measure "Xvfb, view on, hidden in the tray" "$program" --simulate --start
    measure "Xvfb, bare Qt window" "$bare"
    kill $tray
    exit 0
fi

if [ "${3:-}" = "--under-weston" ]; then
    measure "weston, first start (told: no tray)" "$program" --simulate
    TREVOLIN_BENCH_TOLD_NO_TRAY=1 measure "weston, window shown" "$program" --simulate
    measure "weston, bare Qt window" "$bare"
    exit 0
fi

echo "== the desktop program (simulated keyboard)"
QT_QPA_PLATFORM=offscreen measure "offscreen, window shown" "$program" --simulate
QT_QPA_PLATFORM=offscreen TREVOLIN_BENCH_LIGHTING_VIEW=1 measure "offscreen, preview running (wave)" "$program" --simulate
QT_QPA_PLATFORM=offscreen measure "offscreen, bare Qt window" "$bare"
unset QT_QPA_PLATFORM
if command -v xvfb-run >/dev/null && command -v trayer >/dev/null; then
    xvfb-run -a -s "-screen 0 1400x900x24" "$0" "$program" "$bare" --under-xvfb
fi
if command -v weston >/dev/null; then
    runtime=$(mktemp -d)
    XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --no-config --socket=bench \
        --width=1400 --height=900 >/dev/null 2>&1 &
    weston=$!
    for _ in $(seq 50); do [ -S "$runtime/bench" ] && break; sleep 0.1; done
    (unset DISPLAY; WAYLAND_DISPLAY=$runtime/bench QT_QPA_PLATFORM=wayland \
        "$0" "$program" "$bare" --under-weston)
    kill $weston; wait $weston 2>/dev/null || true
    rm -rf "$runtime"
fi
