# Sourced by every end-to-end test: . program-driver.sh <nusk binary> [<screenshot folder>]
# Gives a temporary HOME and configuration folder, removed at exit together
# with whatever the test still runs in the background, an emptied screenshot
# folder if one is named, and the steps the tests share. The tests that drive
# the program with the mouse and keyboard do so on the display the test run
# provides (Xvfb with a window manager). Sets: app, here, home, presets,
# shots, pid, window.

app="$(realpath "$1")"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
shots="${2:-}"
if [ -n "$shots" ]; then
    mkdir -p "$shots"
    rm -f "$shots"/*.png
fi

home="$(mktemp -d)"
pid=""
window=""
cleanup() {
    local running
    running="$(jobs -p)"
    if [ -n "$running" ]; then kill $running 2>/dev/null || true; fi
    rm -rf "$home"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

export HOME="$home"
export XDG_CONFIG_HOME="$home/config"
presets="$XDG_CONFIG_HOME/Application Support/Brevanto/nusk/Library/Presets"

# The framework's event loop can leave X events that it has already read
# waiting until the next one reaches its connection (seen with a close request
# right after the save dialog). A user's next mouse move would deliver them;
# here a property change on the window does, which shows nothing.
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
app_ended() { ! kill -0 "$pid" 2>/dev/null; }
# A close request that arrives while the program is busy can go unanswered,
# so it is repeated until the program has ended.
ended_after_close_request() { app_ended || { wmctrl -i -c "$window" 2>/dev/null; false; }; }

# Starts the program with the given command: start_app [env VAR=value...] <binary>
# A starting program briefly maps a first, smaller window that its native
# title bar then replaces, so the window counts once it is the only one, has
# its 800x600 content area and holds still for a moment.
start_app() {
    "$@" &
    pid=$!
    local before after
    for _ in $(seq 1 100); do
        before="$(app_windows '^nusk$')"
        sleep 0.3
        after="$(app_windows '^nusk$')"
        if [ -n "$after" ] && [ "$before" = "$after" ] && [ "$(grep -c . <<<"$after")" -eq 1 ] \
            && xwininfo -id "$after" 2>/dev/null | grep -q -e '-geometry 800x600'; then
            window="$after"
            return 0
        fi
    done
    fail "no window titled nusk with an 800x600 content area"
}

close_app() {
    wait_for 10 "the program to end after the close request" ended_after_close_request
    local code=0
    wait "$pid" || code=$?
    pid=""
    [ "$code" -eq 0 ] || fail "the program ended with code $code"
}

# import can wait for ever when its window has gone.
shoot() { timeout 10 import -window "$1" "$2" || fail "no screenshot of window $1"; }

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
