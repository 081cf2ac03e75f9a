#!/usr/bin/env bash
# Builds the threaded test programs again with ThreadSanitizer in build-tsan;
# tests/scripts/tsan.cmake runs them as ctest tests. Add a program to
# TSAN_TARGETS to have it checked too.
set -euo pipefail
cd "$(dirname "$0")/../.."
TSAN_TARGETS=(test_framework_resources test_framework_core)
JOBS=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTORTELUNE_TSAN=ON >/dev/null
cmake --build build-tsan -j "$JOBS" --target "${TSAN_TARGETS[@]}"
