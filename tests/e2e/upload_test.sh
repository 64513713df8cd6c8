#!/usr/bin/env bash
# End to end: the built program uploads its start-up configuration to the MIDI
# output picked with the mouse, through JUCE's ALSA code and the preloaded
# sequencer stand-in, on the display the test run provides (Xvfb with a window
# manager).
# Usage: upload_test.sh <nusk binary> <sequencer stand-in library> <artefact folder>
set -euo pipefail

. "$(dirname "$0")/program-driver.sh" "$1" "$3/upload"
stand_in="$2"
expected="$here/upload.expected"
outputs="$home/midi-outputs"
log="$home/midi-log"
printf '20:0 Out A\n24:0 Out B\n' >"$outputs"
log_lines_are() { [ -f "$log" ] && [ "$(grep -c . "$log")" -eq "$1" ]; }

# Only the program gets the stand-in; the tools that drive it do not.
start_app env SEQUENCER_STAND_IN_OUTPUTS="$outputs" SEQUENCER_STAND_IN_LOG="$log" LD_PRELOAD="$stand_in" "$app"
wait_for 10 "Init.preset" file_exists "$presets/Init.preset"

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

close_app
echo "PASS: output picked in the pop-up, start-up configuration uploaded to it"
