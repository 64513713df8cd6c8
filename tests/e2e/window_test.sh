#!/usr/bin/env bash
# End to end: the built program in a real window on the display the test run
# provides (Xvfb with a window manager).
# Usage: window_test.sh <nusk binary> <artefact folder>
set -euo pipefail

app="$1"
artefacts="$2"
mkdir -p "$artefacts"

home="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$home"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

export HOME="$home"
export XDG_CONFIG_HOME="$home/config"
mkdir -p "$XDG_CONFIG_HOME"

# Windows titled nusk with an 800x600 content area. A starting program briefly
# maps a small first window that its native title bar then replaces.
window_ids() {
    local window
    for window in $(xdotool search --onlyvisible --name '^nusk$' 2>/dev/null || true); do
        xwininfo -id "$window" 2>/dev/null | grep -q -E 'Width: 800$' \
            && xwininfo -id "$window" 2>/dev/null | grep -q -E 'Height: 600$' \
            && echo "$window"
    done
    return 0
}

# The list counts only once it holds still for a moment.
wait_for_windows() {
    local wanted="$1" before after
    for _ in $(seq 1 100); do
        before="$(window_ids)"
        sleep 0.3
        after="$(window_ids)"
        [ "$before" = "$after" ] && [ "$(wc -l <<<"$after" | tr -d ' ')" -ge "$wanted" ] && [ -n "$after" ] && return 0
    done
    fail "expected $wanted window(s) titled nusk with an 800x600 content area, found $(window_ids | wc -l)"
}

# Arguments of any kind are ignored.
"$app" --no-such-option -x "$home/missing.preset" &
first=$!
pids+=("$first")
wait_for_windows 1
first_window="$(window_ids | head -n1)"

geometry="$(xwininfo -id "$first_window")"
width="$(awk '/Width:/ {print $2}' <<<"$geometry")"
height="$(awk '/Height:/ {print $2}' <<<"$geometry")"
[ "$width" = 800 ] && [ "$height" = 600 ] || fail "content area is ${width}x${height}, not 800x600"

# Give the first turns of the message loop a moment, then keep a screenshot.
sleep 1
timeout 10 import -window root "$artefacts/nusk.png" || fail "screenshot failed"

# A second instance starts beside the first.
"$app" &
second=$!
pids+=("$second")
wait_for_windows 2
kill -0 "$first" || fail "first instance ended when the second started"

# A close request through the window manager ends each process with code 0.
# JUCE on X11 can leave an event it has read unhandled until more X traffic
# arrives, so the request is repeated each second while the process waits.
close_and_wait() {
    local pid="$1" window="$2"
    for attempt in $(seq 1 100); do
        (( attempt % 20 == 1 )) && wmctrl -i -c "$window" 2>/dev/null
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" && return 0
            fail "process $pid ended with code $?"
        fi
        sleep 0.05
    done
    fail "process $pid still runs 5 seconds after the close request"
}

second_window="$(window_ids | grep -v -x "$first_window" | head -n1)"
close_and_wait "$first" "$first_window"
close_and_wait "$second" "$second_window"
echo "PASS: window, size, second instance, close"
