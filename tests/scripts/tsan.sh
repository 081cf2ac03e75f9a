#!/usr/bin/env bash
# Builds the test programs that start threads again with ThreadSanitizer in
# build-tsan (only those programs and what they link); tests/scripts/tsan.cmake
# runs them as ctest tests. Both read the one list, tests/scripts/tsan_programs.txt.
set -euo pipefail
cd "$(dirname "$0")/../.."
mapfile -t TSAN_TARGETS < <(grep -v '^[[:space:]]*\(#\|$\)' tests/scripts/tsan_programs.txt | awk '{print $1}')
echo "tsan: ${#TSAN_TARGETS[@]} programs: ${TSAN_TARGETS[*]}"
JOBS=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTORTELUNE_TSAN=ON \
  -DTORTELUNE_SHARED_AREAS=ON >/dev/null
cmake --build build-tsan -j "$JOBS" --target "${TSAN_TARGETS[@]}"
