#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a release build, once built
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"

"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=Release
"$root/scripts/build.sh" build-asan -DCMAKE_BUILD_TYPE=Debug -DNUSK_SANITIZE=ON

# Every test that needs a display starts a private one, so the tests run in
# parallel and need no display here.
run_tests() {
    ctest --test-dir "$root/$1" --output-on-failure --timeout 120 --parallel "$(nproc)"
}

run_tests build

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_tests build-asan
