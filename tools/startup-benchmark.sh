#!/usr/bin/env bash
# Builds the editor and its start-up benchmark, then measures start-up time to
# the first painted window, against a bare framework window in the same run,
# and peak resident memory on a private X server.
#   tools/startup-benchmark.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target vtr_startup_benchmark -j "$(nproc)" >/dev/null
echo "font files installed: $(fc-list 2>/dev/null | wc -l)"
"$build/vtr_startup_benchmark" "${2:-10}"
