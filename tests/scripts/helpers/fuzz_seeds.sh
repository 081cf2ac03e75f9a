#!/usr/bin/env bash
# Lists the seeds each fuzz target starts from: fuzz_<name>.cpp takes those in
# fuzz/corpus/<name>/ (and the kept crash inputs in tests/data/regress/<name>/).
# With --check it fails when a target has no seed or a seed folder has no
# target, since either means a fuzz run that starts from nothing.
# Usage: fuzz_seeds.sh SOURCE_DIR [--check]
set -uo pipefail
source_dir=$1
check=${2:-}
status=0
count_files() {
  [ -d "$1" ] || { echo 0; return; }
  find "$1" -maxdepth 1 -type f ! -name '.*' | wc -l
}
for source in "$source_dir"/fuzz/fuzz_*.cpp; do
  target=$(basename "$source" .cpp)
  corpus=${target#fuzz_}
  seeds=$(count_files "$source_dir/fuzz/corpus/$corpus")
  kept=$(count_files "$source_dir/tests/data/regress/$corpus")
  echo "$target: $seeds seeds in fuzz/corpus/$corpus, $kept kept crash inputs"
  if [ "$seeds" -eq 0 ]; then
    echo "FAILED: $target has no seeds (fuzz/corpus/$corpus/ is missing or empty)" >&2
    status=1
  fi
done
for folder in "$source_dir"/fuzz/corpus/*/ "$source_dir"/tests/data/regress/*/; do
  [ -d "$folder" ] || continue
  corpus=$(basename "$folder")
  if [ ! -e "$source_dir/fuzz/fuzz_$corpus.cpp" ]; then
    echo "FAILED: ${folder#"$source_dir"/} belongs to no fuzz target (no fuzz/fuzz_$corpus.cpp)" >&2
    status=1
  fi
done
[ "$check" = --check ] && exit $status
exit 0
