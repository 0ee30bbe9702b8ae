#!/usr/bin/env bash
# Builds the editor and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh --target VantorRilo
app="build/VantorRilo_artefacts/Release/Vantor Rilo"
if [[ ! -x "$app" ]]; then
    echo "The editor is not built yet." >&2
    exit 1
fi
exec "$app"
