# Sourced by the tests that start the program as a process: how a step
# fails, and how a step waits for what another process does.
fail() { echo "FAILED: $*" >&2; exit 1; }
# Polls "$@" until it succeeds, 20 seconds at most.
wait_for() {
    for _ in $(seq 100); do
        if "$@"; then return 0; fi
        sleep 0.2
    done
    return 1
}
