#!/usr/bin/env bash
# Runs a command on a private virtual display (Xvfb) with a window manager
# (openbox): JUCE needs an X display for any window, and top-level windows
# without a title bar need a window manager.
set -euo pipefail

workdir="$(mktemp -d)"
# Each process gets 5 seconds to end before it is killed outright.
stop_display() {
    local child
    for child in ${wm_pid:-} ${xvfb_pid:-}; do
        kill "$child" 2>/dev/null || continue
        for _ in $(seq 1 50); do kill -0 "$child" 2>/dev/null || continue 2; sleep 0.1; done
        kill -9 "$child" 2>/dev/null || true
    done
    wm_pid="" xvfb_pid=""
}
cleanup() {
    stop_display
    rm -rf "$workdir"
}
trap cleanup EXIT

# Polls for up to 30 seconds while the process lives: until_ready <pid> <command...>
until_ready() {
    local pid="$1"
    shift
    for _ in $(seq 1 600); do
        "$@" && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}

display_named() { [ -s "$workdir/display" ]; }
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Windows made before the window manager runs fail with X errors. Servers
# starting side by side (tests in parallel) can race for a display number, and
# a busy machine can take seconds, so a failed start is tried again.
start_display() {
    : >"$workdir/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$workdir/display" 2>"$workdir/xvfb.log" &
    xvfb_pid=$!
    until_ready "$xvfb_pid" display_named || return 1
    export DISPLAY=":$(head -n1 "$workdir/display")"

    HOME="$workdir" openbox --sm-disable >"$workdir/openbox.log" 2>&1 &
    wm_pid=$!
    until_ready "$wm_pid" wm_ready
}

for attempt in 1 2 3; do
    start_display && break
    stop_display
    if [ "$attempt" -eq 3 ]; then
        echo "no virtual display with a window manager could be started" >&2
        cat "$workdir/xvfb.log" "$workdir/openbox.log" >&2
        exit 1
    fi
done

"$@"
