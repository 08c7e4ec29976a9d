#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and runs it from the
# repository root, where Content/ is.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

build=build/release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DGAME_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target Game

exec "$build/Game"
