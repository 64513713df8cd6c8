#!/usr/bin/env bash
# End to end: presets through the real preset bar, name editor, limit slider,
# save dialog and error boxes of the built program, on the display the test
# run provides (Xvfb with a window manager).
# Usage: preset_test.sh <nusk binary> <artefact folder>
set -euo pipefail

app="$1"
shots="$2/presets"
expected_init="$(cd "$(dirname "$0")" && pwd)/Init.preset.expected"
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
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
program_focused() { app_windows . | grep -qx "$(xdotool getwindowfocus 2>/dev/null)"; }
app_ended() { ! kill -0 "$pid" 2>/dev/null; }
# A close request that arrives while the program is busy can go unanswered,
# so it is repeated until the program has ended.
ended_after_close_request() { app_ended || { wmctrl -i -c "$window" 2>/dev/null; false; }; }

# A starting program briefly maps a first, smaller window that its native
# title bar then replaces, so the window counts once it is the only one, has
# its 800x600 content area and holds still for a moment.
start_app() {
    "$app" &
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

# import can wait for ever when its window has gone.
shoot() { timeout 10 import -window "$1" "$2" || fail "no screenshot of window $1"; }

close_app() {
    wait_for 10 "the program to end after the close request" ended_after_close_request
    local code=0
    wait "$pid" || code=$?
    pid=""
    [ "$code" -eq 0 ] || fail "the program ended with code $code"
}

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# Client-area positions: the preset bar is (0, 2, 280, 26) inside the top bar;
# fader 1's name editor is at (40, 359, 80, 22) and its limit slider at
# (40, 458, 80, 113), with the MAX and MIN labels beside it.
preset_box=(140 15)
next_button=(228 15)
save_button=(262 15)
name_editor=(80 370)
limit_slider_upper_half=(80 495)
fader1_controls="128x212+16+359"

# The mouse goes off the window first, so no hover look ends up in the picture;
# crops are taken until two in a row agree.
crop_controls() {
    xdotool mousemove 1 1
    local previous="$home/previous.png"
    shoot "$window" "$home/window.png"
    convert "$home/window.png" -crop "$fader1_controls" +repage "$previous"
    for _ in $(seq 1 50); do
        sleep 0.2
        shoot "$window" "$home/window.png"
        convert "$home/window.png" -crop "$fader1_controls" +repage "$1"
        [ "$(pixels_apart "$previous" "$1")" -eq 0 ] && return 0
        cp "$1" "$previous"
    done
    fail "the window does not settle"
}

pixels_apart() { compare -metric AE -fuzz 5% "$1" "$2" null: 2>&1 | cut -d' ' -f1 || true; }

# 1. First start with an empty folder writes the defaults as Init.preset.
start_app
wait_for 10 "Init.preset" file_exists "$presets/Init.preset"
cmp "$expected_init" "$presets/Init.preset" || fail "Init.preset differs from $expected_init"
crop_controls "$shots/1-start.png"

# 2. Move fader 1's upper limit and name it through the controls, then save.
# The name is stored when the editor reports its focus loss, one message-loop
# turn after Return; a limit change before that would refresh the editor from
# the store and drop the typed name, as it would for a very quick user.
click "$window" "${limit_slider_upper_half[@]}"
click "$window" "${name_editor[@]}"
wait_for 10 "keyboard focus" focused "$window"
xdotool key ctrl+a
xdotool type --delay 30 Kick
xdotool key Return
crop_controls "$shots/2-edited.png"
[ "$(pixels_apart "$shots/1-start.png" "$shots/2-edited.png")" -gt 50 ] || fail "the edits do not show"

click "$window" "${save_button[@]}"
wait_for 10 "the save dialog" window_count_is '^Choose a file to save\.\.\.$' 1
dialog="$(app_windows '^Choose a file to save\.\.\.$')"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
shoot "$dialog" "$shots/2-save-dialog.png"
click "$dialog" $((WIDTH / 2)) $((HEIGHT - 63))   # the file name box above the buttons
wait_for 10 "keyboard focus in the save dialog" focused "$dialog"
xdotool key ctrl+a
xdotool type --delay 30 Mine.preset
xdotool key Return
wait_for 10 "the save dialog to close" window_count_is '^Choose a file to save\.\.\.$' 0
wait_for 10 "Mine.preset" file_exists "$presets/Mine.preset"
grep -q '<A id="fader1_text" value="Kick"/>' "$presets/Mine.preset" || fail "Mine.preset lacks the name Kick"
if grep -q '<A id="max1_msb" value="127' "$presets/Mine.preset"; then fail "Mine.preset keeps the upper limit 127"; fi
close_app

# 3. After a restart, choosing Mine in the box shows the saved controls again.
printf 'this is not XML\n' >"$presets/Zz.preset"   # the list is read at start-up
start_app
crop_controls "$shots/3-start.png"
[ "$(pixels_apart "$shots/3-start.png" "$shots/2-edited.png")" -gt 50 ] || fail "the start shows the saved controls already"

click "$window" "${preset_box[@]}"
wait_for 10 "the preset menu" window_count_is '^menu$' 1
xdotool key Down Right   # onto "User Presets", into its sub-menu (Init, Mine, Zz)
wait_for 10 "the User Presets sub-menu" window_count_is '^menu$' 2
xdotool key Down Return  # from Init to Mine
wait_for 10 "the menu to close" window_count_is '^menu$' 0
crop_controls "$shots/3-mine.png"
apart="$(pixels_apart "$shots/2-edited.png" "$shots/3-mine.png")"
[ "$apart" -le 10 ] || fail "Mine shows $apart pixels apart from the controls it was saved from"

# 4. Next onto the broken Zz.preset: two error boxes, the controls unchanged.
click "$window" "${next_button[@]}"
# One box from the step itself, one from the load that its re-selection starts.
wait_for 10 "two boxes titled Error while Loading XML" window_count_is '^Error while Loading XML$' 2
shoot root "$shots/4-error.png"
# Both boxes are modal, and only the one opened last takes input: Return, on
# whichever of the program's windows has the keyboard focus, presses its OK.
for left in 1 0; do
    wait_for 10 "keyboard focus on the program" program_focused
    xdotool key Return
    wait_for 10 "an error box to close" window_count_is '^Error while Loading XML$' "$left"
done
crop_controls "$shots/4-after-error.png"
apart="$(pixels_apart "$shots/2-edited.png" "$shots/4-after-error.png")"
[ "$apart" -le 10 ] || fail "the failed load changed the controls ($apart pixels)"
close_app
echo "PASS: Init.preset, edit and save, choose from the menu, broken preset"
