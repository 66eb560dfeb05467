#!/usr/bin/env bash
# The desktop program on the simulated keyboard, offscreen and under Xvfb
# with a tray: start to first frame, resident memory 4 s after start, and
# wakeups per second while idle (voluntary context switches of every thread
# over 10 s, from /proc), the window hidden in the tray where there is one.
# usage: desktop_program.sh TREVOLIN
set -euo pipefail
program=$1

# Sum of voluntary context switches of every thread of PID.
switches() {
    local total=0 n
    for status in /proc/"$1"/task/*/status; do
        n=$(awk '/^voluntary_ctxt_switches/ {print $2}' "$status" 2>/dev/null || echo 0)
        total=$((total + ${n:-0}))
    done
    echo "$total"
}

measure() {
    local label=$1; shift
    local work
    work=$(mktemp -d)
    mkdir -m 700 "$work/run"
    local start end
    start=$(date +%s%3N)
    XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config \
        TREVOLIN_SIM_STATE=$work/sim TREVOLIN_TIMING=1 "$program" --simulate "$@" 2>"$work/err" &
    local pid=$!
    sleep 4
    local rss
    rss=$(awk '/^VmRSS/ {print $2}' /proc/$pid/status)
    local first
    first=$(grep -o 'first frame at [0-9]*' "$work/err" | grep -o '[0-9]*$' || true)
    local before after
    before=$(switches $pid)
    sleep 10
    after=$(switches $pid)
    kill $pid; wait $pid 2>/dev/null || true
    local frame="(window hidden)"
    [ -n "$first" ] && frame="$((first - start)) ms"
    printf '%-34s first frame %-16s resident %6d KiB   idle wakeups %s/s\n' "$label" "$frame" "$rss" \
        "$(awk -v d=$((after - before)) 'BEGIN {printf "%.1f", d / 10}')"
    rm -rf "$work"
}

if [ "${2:-}" = "--under-xvfb" ]; then
    trayer --edge top --align right --widthtype pixel --width 200 --height 32 &
    tray=$!
    sleep 1
    measure "Xvfb, window shown"
    measure "Xvfb, hidden in the tray (--start)" --start
    kill $tray
    exit 0
fi

echo "== the desktop program (simulated keyboard)"
QT_QPA_PLATFORM=offscreen measure "offscreen, window shown"
if command -v xvfb-run >/dev/null && command -v trayer >/dev/null; then
    unset QT_QPA_PLATFORM
    xvfb-run -a -s "-screen 0 1400x900x24" "$0" "$program" --under-xvfb
fi
