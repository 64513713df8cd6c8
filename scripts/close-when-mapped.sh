#!/usr/bin/env bash
# Waits until a window named <title> is mapped, then asks the window manager
# to close it. Started beside a program whose own process is being measured.
# Usage: close-when-mapped.sh <title>
set -euo pipefail
title="$1"
for _ in $(seq 1 2000); do
    window="$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1 || true)"
    if [ -n "$window" ]; then
        wmctrl -i -c "$window"
        exit 0
    fi
    sleep 0.005
done
echo "no window titled $title" >&2
exit 1
