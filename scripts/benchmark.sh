#!/usr/bin/env bash
# Builds the benchmarks in a release build and runs them on a virtual display.
# Extra arguments go to the benchmark runner, e.g. --benchmark_repetitions=5.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=Release -DNUSK_BENCHMARKS=ON
exec "$root/scripts/with-display.sh" "$root/build/benchmarks/nusk_benchmarks" "$@"
