#!/usr/bin/env bash
# End to end: presets through the real preset bar, name editor, limit slider,
# save dialog and error boxes of the built program, on the display the test
# run provides (Xvfb with a window manager).
# Usage: preset_test.sh <nusk binary> <artefact folder>
set -euo pipefail

. "$(dirname "$0")/program-driver.sh" "$1" "$2/presets"
expected_init="$here/Init.preset.expected"
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
program_focused() { app_windows . | grep -qx "$(xdotool getwindowfocus 2>/dev/null)"; }

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
start_app "$app"
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
start_app "$app"
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
