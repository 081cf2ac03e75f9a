#!/usr/bin/env bash
# Builds the libFuzzer programs of fuzz/ in build-fuzz when clang is present.
# The bounded fuzz runs are ctest tests (tests/scripts/fuzz.cmake), so a crash
# fails the run while ctest's summary stays the last line of test.sh.
set -euo pipefail
cd "$(dirname "$0")/../.."
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ not found; fuzz targets not built"
  exit 0
fi
JOBS=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTORTELUNE_FUZZ=ON -DTORTELUNE_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$JOBS" --target fuzzers
