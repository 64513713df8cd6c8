#!/usr/bin/env bash
# End to end: the built program started where no X display can be opened
# (none named, none answering, or one that refuses it) ends at once with code 1
# and one line on standard error that says why, and leaves the configuration
# folder alone. Brings the one X server it needs.
# Usage: no_display_test.sh <nusk binary>
set -euo pipefail

. "$(dirname "$0")/program-driver.sh" "$1"

# A free display number: no socket for it, so nothing can answer there.
unused_display() {
    local number
    for number in $(seq 987 1087); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || { echo ":$number"; return 0; }
    done
    fail "no unused display number"
}

# An X server that wants a cookie the program lacks: it answers, then refuses.
# Sets refusing to its display name.
start_refusing_server() {
    : >"$home/cookie"
    xauth -q -f "$home/cookie" add :0 . "$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')"
    Xvfb -displayfd 3 -auth "$home/cookie" -nolisten tcp 3>"$home/number" 2>"$home/xvfb.log" &
    wait_for 10 "an X server" test -s "$home/number"
    refusing=":$(cat "$home/number")"
}

# start_without_display <case> <expected display and reason in the message> <env arguments...>
# Runs the program in a folder of its own, so a core dump would show there.
start_without_display() {
    local name="$1" shown="$2"
    shift 2
    local run="$home/$name"
    mkdir -p "$run"
    local code=0
    (cd "$run" && exec timeout --kill-after=2 10 env "$@" "$app" >"$run/out" 2>"$run/err") || code=$?

    [ "$code" -ne 124 ] && [ "$code" -ne 137 ] || fail "$name: still running after 10 seconds"
    [ "$code" -eq 1 ] || fail "$name: ended with code $code, not 1: $(cat "$run/err")"
    [ ! -s "$run/out" ] || fail "$name: wrote to standard output: $(cat "$run/out")"
    [ "$(wc -l <"$run/err")" -eq 1 ] || fail "$name: standard error is not one line: $(cat "$run/err")"
    grep -q -F "X display $shown" "$run/err" || fail "$name: the message does not say $shown: $(cat "$run/err")"
    grep -q -F "nusk needs an X11 display" "$run/err" || fail "$name: the message does not say why: $(cat "$run/err")"
    [ -z "$(ls -A "$run" | grep -v -x -e out -e err)" ] || fail "$name: left files behind: $(ls -A "$run")"
    [ ! -e "$XDG_CONFIG_HOME" ] || fail "$name: created $(find "$XDG_CONFIG_HOME")"
}

# Core dumps on, so a crash would leave one behind where the core pattern allows.
ulimit -c unlimited 2>/dev/null || true

missing="$(unused_display)"
start_without_display unset '"" (DISPLAY is empty or not set)' -u DISPLAY
start_without_display empty '"" (DISPLAY is empty or not set)' DISPLAY=
start_without_display unreachable "\"$missing\": no X server answers" DISPLAY="$missing"
start_refusing_server
start_without_display refused "\"$refusing\": the server refused the connection (Authorization required" \
    DISPLAY="$refusing" XAUTHORITY="$home/no-cookie"
echo "PASS: no display, none answering, one refusing: code 1, one line on standard error, nothing written"
