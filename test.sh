#!/usr/bin/env bash
# Builds a debug tree with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test; the last line is ctest's summary. Installs missing packages
# when run as root.
set -euo pipefail
cd "$(dirname "$0")"
./tools/setup-deps.sh

JOBS=$(nproc 2>/dev/null || echo 2)
BUILD=build-test

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTORTELUNE_SANITIZE=ON >/dev/null
cmake --build "$BUILD" -j "$JOBS"

# Optional extra test trees (thread sanitizer, fuzzers) register themselves here.
for extra in tests/scripts/*.sh; do
  [ -e "$extra" ] || continue
  bash "$extra" "$BUILD"
done

cd "$BUILD"
ctest --output-on-failure -j "$JOBS"
