#!/usr/bin/env bash
# Configures and builds the project (Release). Extra arguments go to cmake --build.
#   scripts/build.sh [--sanitize] [ARGS...]
# With --sanitize it builds into build-asan/ with the address and
# undefined-behaviour sanitizers (VTR_SANITIZE=ON); otherwise into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
sanitize=OFF
if [[ "${1:-}" == "--sanitize" ]]; then
    build=build-asan
    sanitize=ON
    shift
fi

# ccache, where installed, keeps rebuilds short.
launcher=()
if command -v ccache > /dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

scripts/install-packages.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVTR_SANITIZE="$sanitize" "${launcher[@]}" > /dev/null
cmake --build "$build" --parallel "$(nproc)" "$@"
