#!/usr/bin/env bash
# End to end: the built program in a real window on the display the test run
# provides (Xvfb with a window manager).
# Usage: window_test.sh <nusk binary> <artefact folder>
set -euo pipefail

. "$(dirname "$0")/program-driver.sh" "$1" "$2"

# Arguments of any kind are ignored; the window counts once its content area
# is 800x600.
start_app "$app" --no-such-option -x "$home/missing.preset"
first="$pid" first_window="$window"

# Give the first turns of the message loop a moment, then keep a screenshot.
sleep 1
shoot root "$shots/nusk.png"

# A second instance starts beside the first.
start_app "$app"
second="$pid" second_window="$window"
kill -0 "$first" || fail "first instance ended when the second started"

# A close request through the window manager ends each process with code 0.
pid="$first" window="$first_window"
close_app
pid="$second" window="$second_window"
close_app
echo "PASS: window, size, second instance, close"
