#!/usr/bin/env bash
# Builds an optimised game and starts it. Installs missing packages when run as root.
set -euo pipefail
cd "$(dirname "$0")"
./tools/setup-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTORTELUNE_TESTS=OFF >/dev/null
cmake --build build-release --target tortelune
cd build-release
exec ./tortelune "$@"
