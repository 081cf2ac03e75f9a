#!/usr/bin/env bash
# Long fuzzing, outside ./test.sh's budget: builds the libFuzzer programs
# (tests/scripts/fuzz.sh) and runs each for SECONDS (default 600) on its
# corpus, one after another. A crash input is left in build-fuzz/artifacts/;
# keep it in tests/data/regress/<corpus>/ so that every test run replays it.
# Usage: tools/fuzz-long.sh [SECONDS] [TARGET...]   (targets: fuzz_saved_game ...)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
bash tests/scripts/fuzz.sh
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/fuzz_*.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi
status=0
for target in "${targets[@]}"; do
  echo "fuzzing $target for $seconds s"
  bash tests/scripts/helpers/run_fuzzer.sh "$PWD" "$PWD/build-fuzz" "$target" "$seconds" || status=1
done
exit $status
