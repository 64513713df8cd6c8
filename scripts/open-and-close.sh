#!/usr/bin/env bash
# Starts a program, waits until its window named <title> is mapped, asks the
# window manager to close it and waits for the program to end.
# Usage: open-and-close.sh <title> <program> [arguments...]
set -euo pipefail
title="$1"; shift
"$@" &
pid=$!
for _ in $(seq 1 1000); do
    window="$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1 || true)"
    [ -n "$window" ] && break
    sleep 0.005
done
[ -n "$window" ] || { kill "$pid"; echo "no window titled $title" >&2; exit 1; }
wmctrl -i -c "$window"
wait "$pid"
