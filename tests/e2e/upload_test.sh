#!/usr/bin/env bash
# End to end: the built program uploads its start-up configuration to the MIDI
# output picked with the mouse, through JUCE's ALSA code and the preloaded
# sequencer stand-in, on the display the test run provides (Xvfb with a window
# manager).
# Usage: upload_test.sh <nusk binary> <sequencer stand-in library> <artefact folder>
set -euo pipefail

app="$1"
stand_in="$2"
shots="$3/upload"
expected="$(cd "$(dirname "$0")" && pwd)/upload.expected"
mkdir -p "$shots"
rm -f "$shots"/*.png

home="$(mktemp -d)"
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$home"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

export HOME="$home"
export XDG_CONFIG_HOME="$home/config"
presets="$XDG_CONFIG_HOME/Application Support/Brevanto/nusk/Library/Presets"
outputs="$home/midi-outputs"
log="$home/midi-log"
printf '20:0 Out A\n24:0 Out B\n' >"$outputs"

# The framework's event loop can leave X events that it has already read
# waiting until the next one reaches its connection; a property change on the
# window delivers them and shows nothing.
wake_app() { xprop -id "${window:-}" -f _E2E_WAKE 8s -set _E2E_WAKE 1 2>/dev/null || true; }

# Polls a command every 0.1 s until it succeeds, waking the program every
# second: wait_for <seconds> <what> <command...>
wait_for() {
    local seconds="$1" what="$2" i
    shift 2
    for i in $(seq 1 $((seconds * 10))); do
        "$@" && return 0
        [ $((i % 10)) -ne 0 ] || wake_app
        sleep 0.1
    done
    fail "timed out waiting for $what"
}

app_windows() { xdotool search --all --onlyvisible --pid "$pid" --name "$1" 2>/dev/null || true; }
window_count_is() { [ "$(app_windows "$1" | grep -c .)" -eq "$2" ]; }
file_exists() { [ -f "$1" ]; }
log_lines_are() { [ -f "$log" ] && [ "$(grep -c . "$log")" -eq "$1" ]; }
app_ended() { ! kill -0 "$pid" 2>/dev/null; }
# A close request that arrives while the program is busy can go unanswered,
# so it is repeated until the program has ended.
ended_after_close_request() { app_ended || { wmctrl -i -c "$window" 2>/dev/null; false; }; }
shoot() { timeout 10 import -window "$1" "$2" || fail "no screenshot of window $1"; }

# Only the program gets the stand-in; the tools that drive it do not.
SEQUENCER_STAND_IN_OUTPUTS="$outputs" SEQUENCER_STAND_IN_LOG="$log" LD_PRELOAD="$stand_in" "$app" &
pid=$!

# A starting program briefly maps a first, smaller window that its native
# title bar then replaces, so the window counts once it is the only one, has
# its 800x600 content area and holds still for a moment.
window=""
for _ in $(seq 1 100); do
    before="$(app_windows '^nusk$')"
    sleep 0.3
    after="$(app_windows '^nusk$')"
    if [ -n "$after" ] && [ "$before" = "$after" ] && [ "$(grep -c . <<<"$after")" -eq 1 ] \
        && xwininfo -id "$after" 2>/dev/null | grep -q -e '-geometry 800x600'; then
        window="$after"
        break
    fi
done
[ -n "$window" ] || fail "no window titled nusk with an 800x600 content area"
wait_for 10 "Init.preset" file_exists "$presets/Init.preset"

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# Client-area positions: the output selector is (284, 6, 232, 18) inside the
# top bar, UPLOAD (560, 54, 80, 45).
click "$window" 400 15
wait_for 10 "the output list" window_count_is '^menu$' 1
menu="$(app_windows '^menu$')"
shoot "$menu" "$shots/1-outputs.png"
eval "$(xdotool getwindowgeometry --shell "$menu")"
# Two items of equal height fill the list: the second is in its lower half.
# The list reacts to a button only after it has seen the pointer over an item.
xdotool mousemove --window "$menu" $((WIDTH / 2)) $((HEIGHT * 3 / 4))
sleep 0.5
xdotool click 1
wait_for 10 "the output list to close" window_count_is '^menu$' 0

# The pick opens the output once and closes it again.
wait_for 10 "the pick to open and close an output" log_lines_are 2
printf 'open 24:0 Out B\nclose 24:0 Out B\n' | diff - "$log" || fail "the pick did not open and close Out B alone"
shoot "$window" "$shots/2-picked.png"
rm -f "$log"

click "$window" 600 76
wait_for 10 "the upload" log_lines_are 4
sleep 0.5   # nothing more may follow
diff "$expected" "$log" || fail "the upload differs from $expected"

wait_for 10 "the program to end after the close request" ended_after_close_request
code=0
wait "$pid" || code=$?
pid=""
[ "$code" -eq 0 ] || fail "the program ended with code $code"
echo "PASS: output picked in the pop-up, start-up configuration uploaded to it"
