#!/usr/bin/env bash
# Builds everything and runs every test; the GUI tests run under a private X server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure --no-tests=error -j "$(nproc)"
