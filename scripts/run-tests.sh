#!/usr/bin/env bash
# Builds everything and runs every test; the GUI tests run under a private X server.
#   scripts/run-tests.sh [--sanitize]
# With --sanitize the build and the run use build-asan/, with the address and
# undefined-behaviour sanitizers: any report they make fails the test (leaks
# inside the system's X and font libraries excepted, tests/sanitizers/lsan.supp).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
if [[ "${1:-}" == "--sanitize" ]]; then
    build=build-asan
    export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:fast_unwind_on_malloc=0"
    export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
fi

scripts/build.sh "$@"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" --output-on-failure --no-tests=error -j "$(nproc)"
