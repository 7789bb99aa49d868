#!/usr/bin/env bash
# Installs what is missing, builds the game in build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target game
cd build/game
exec ./korvelin "$@"
