#!/usr/bin/env bash
# Sets up, builds and starts nusk. Without an X display it runs on a virtual one.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=Release
app="$root/build/nusk_artefacts/Release/nusk"

if [ -z "${DISPLAY:-}" ]; then
    echo "No X display found: starting nusk on a virtual display (Xvfb). Close it with Ctrl+C."
    exec "$root/scripts/with-display.sh" "$app" "$@"
fi
exec "$app" "$@"
