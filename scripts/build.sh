#!/usr/bin/env bash
# Configures and builds the project into build/ (Release). Extra arguments go to cmake --build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build --parallel "$(nproc)" "$@"
