#!/usr/bin/env bash
# Started by a program's shell just before that shell replaces itself with
# the program (sh -c 'close-when-mapped.sh TITLE & exec PROGRAM'): waits until
# a window named TITLE is mapped, then asks the window manager to close it,
# again and again until the program has ended. Repeating matters: a JUCE
# window that switches to the native title bar replaces its first X window,
# and a request sent to that first one is lost.
set -euo pipefail
title="$1"
program=$PPID

for _ in $(seq 1 3000); do
    kill -0 "$program" 2>/dev/null || exit 0
    for window in $(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null || true); do
        wmctrl -i -c "$window" 2>/dev/null || true
    done
    sleep 0.01
done
echo "the program with a window titled $title did not end" >&2
exit 1
