#!/usr/bin/env bash
# Times nusk from start until its window is mapped and closed again, beside a
# minimal JUCE window built with the same flags, over several runs each, and
# reports median wall time, peak memory and the ratios.
# Usage: bench-startup.sh [runs]   (needs an X display; without one it makes one)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-10}"

if [ -z "${DISPLAY:-}" ]; then
    exec "$root/scripts/with-display.sh" "$0" "$@"
fi

"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=Release >/dev/null
nusk="$root/build/nusk_artefacts/Release/nusk"
bare="$root/build/nusk_bare_window_artefacts/Release/nusk_bare_window"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch" XDG_CONFIG_HOME="$scratch/config"

measure() { # name title program -> appends "seconds kilobytes" lines
    # The shell replaces itself with the program, so time measures the
    # program's own process; the closer runs beside it.
    /usr/bin/time -f "%e %M" -a -o "$scratch/$1" \
        sh -c '"$1" "$2" & exec "$3"' sh "$root/scripts/close-when-mapped.sh" "$2" "$3" >/dev/null 2>&1
}

for _ in $(seq 1 "$runs"); do
    measure nusk nusk "$nusk"
    measure bare bare "$bare"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
report() {
    local seconds kilobytes
    seconds="$(cut -d' ' -f1 "$scratch/$1" | median)"
    kilobytes="$(cut -d' ' -f2 "$scratch/$1" | sort -n | tail -n1)"
    echo "$seconds $kilobytes"
}

read -r nusk_s nusk_kb <<<"$(report nusk)"
read -r bare_s bare_kb <<<"$(report bare)"
echo "runs: $runs each (open until mapped, then closed)"
echo "nusk: median ${nusk_s} s, peak ${nusk_kb} KiB"
echo "bare: median ${bare_s} s, peak ${bare_kb} KiB"
awk -v a="$nusk_s" -v b="$bare_s" -v c="$nusk_kb" -v d="$bare_kb" \
    'BEGIN { printf "ratio nusk/bare: time %.2f, memory %.2f\n", a / b, c / d }'
