# Sourced by the tests that need an X server: starts Xvfb on a display
# number it picks itself (-displayfd, so two servers starting at the same
# moment never race for one) and exports DISPLAY. Needs $work (a private
# temporary folder); the caller's EXIT trap kills $xvfb.
start_xvfb() {
    : >"$work/display"
    Xvfb -displayfd 3 -screen 0 1400x900x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do
        if [ -s "$work/display" ]; then
            export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
            return 0
        fi
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.1
    done
    echo "FAILED: Xvfb did not start: $(cat "$work/xvfb.log")" >&2
    exit 1
}
