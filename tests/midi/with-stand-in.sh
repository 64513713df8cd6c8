#!/usr/bin/env bash
# Runs a command with the sequencer stand-in preloaded into it alone.
# Usage: with-stand-in.sh <stand-in library> <command...>
# A preloaded library comes before the sanitizer's runtime, which the
# sanitizer accepts only when told not to check the order.
set -euo pipefail
stand_in="$1"; shift
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
LD_PRELOAD="$stand_in" exec "$@"
