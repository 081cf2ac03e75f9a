#!/usr/bin/env bash
# Builds a debug tree with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test; the last line is ctest's summary. Installs missing packages
# when run as root. With the variable CI set, a test that lacks a tool fails
# instead of being skipped.
#
# Budget: on eight cores, about 20 minutes of ctest after the builds (12 more
# from a clean clone with an empty ccache). Compilation goes
# through ccache (installed by the set-up), so that a second run, or a run
# after a small change, compiles only what changed; every tree is built once;
# each fuzzer runs TORTELUNE_FUZZ_SECONDS (10 by default; tools/fuzz-long.sh
# fuzzes for longer).
set -euo pipefail
cd "$(dirname "$0")"
./tools/setup-deps.sh

JOBS=$(nproc 2>/dev/null || echo 2)
BUILD=build-test
if command -v ccache >/dev/null 2>&1; then
  # CMake takes these as the default launchers of every tree it configures.
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  # Paths below the checkout are hashed as relative ones, so that the copy of
  # the checkout at a deep path (deep_checkout.test_host) reuses this tree's
  # objects instead of compiling them again.
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi

started=$SECONDS
phase() { echo "test.sh: $1 took $((SECONDS - phase_start)) s"; phase_start=$SECONDS; }
phase_start=$SECONDS

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTORTELUNE_SANITIZE=ON \
  -DTORTELUNE_SHARED_AREAS=ON >/dev/null
cmake --build "$BUILD" -j "$JOBS"
phase "the sanitizer tree"

# Optional extra test trees (thread sanitizer, fuzzers) register themselves here.
for extra in tests/scripts/*.sh; do
  [ -e "$extra" ] || continue
  bash "$extra" "$BUILD"
  phase "$(basename "$extra" .sh)"
done

bash tests/scripts/helpers/fuzz_seeds.sh .
echo "test.sh: the builds took $((SECONDS - started)) s; ctest follows"
cd "$BUILD"
ctest --output-on-failure -j "$JOBS"
