# Sourced by the tests that need an X server: starts Xvfb on a display
# number it picks itself (-displayfd, so two servers starting at the same
# moment never race for one) and exports DISPLAY once a client can connect
# to it: a server that says its number can still lose its socket to another
# one that is ending. -noreset: by default the server resets when its last
# client leaves (the probe below, for one) and refuses connections while it
# does, so a program started right after a probe could not connect. Needs $work (a private temporary folder); the caller's
# EXIT trap calls stop_xvfb.
start_xvfb() {
    : >"$work/display"
    Xvfb -displayfd 3 -screen 0 1400x900x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do
        if [ -s "$work/display" ]; then
            export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
            for _ in $(seq 50); do
                xdpyinfo >/dev/null 2>&1 && return 0
                sleep 0.1
            done
            echo "FAILED: Xvfb on $DISPLAY takes no connection: $(cat "$work/xvfb.log")" >&2
            exit 1
        fi
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.1
    done
    echo "FAILED: Xvfb did not start: $(cat "$work/xvfb.log")" >&2
    exit 1
}

# Ends the server and waits until it is gone, so that the next test's server
# never meets this one's socket or lock.
stop_xvfb() {
    [ -n "${xvfb:-}" ] || return 0
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
}
