#!/usr/bin/env bash
# Runs one libFuzzer program for a bounded time on a copy of its seed corpus,
# with a fixed seed so that a CI run can be repeated.
# (Not a test.sh hook: it lives below tests/scripts on purpose.)
# Usage: run_fuzzer.sh <source dir> <fuzz build dir> <target> <seconds>
# (the variable TORTELUNE_FUZZ_SECONDS, when set, replaces <seconds>)
# Skips (exit 77; with CI set, fails) when the program was not built; a crash fails loudly and
# leaves the input under <fuzz build dir>/artifacts/<target>/ — keep it in
# tests/data/regress/<corpus>/ so that the replay test runs it for ever after.
set -uo pipefail
source_dir=$1
build_dir=$2
target=$3
seconds=${TORTELUNE_FUZZ_SECONDS:-$4}
# Targets that read fixtures find them here (a compiler cache may have made
# their own file name relative).
export TORTELUNE_SOURCE_DIR="$source_dir"
program="$build_dir/fuzz/$target"
corpus_name=${target#fuzz_}
if [ ! -x "$program" ]; then
  source "$(dirname "$0")/missing_tool.sh"
  skip_for_missing_tool "fuzz: $program not built (run ./test.sh, or tests/scripts/fuzz.sh)"
fi
work="$build_dir/corpus/$corpus_name"
artifacts="$build_dir/artifacts/$corpus_name"
mkdir -p "$work" "$artifacts"
seeds=()
[ -d "$source_dir/fuzz/corpus/$corpus_name" ] && seeds+=("$source_dir/fuzz/corpus/$corpus_name")
[ -d "$source_dir/tests/data/regress/$corpus_name" ] && seeds+=("$source_dir/tests/data/regress/$corpus_name")
# A run from nothing would pass while finding little: the seeds belong in
# fuzz/corpus/<target without "fuzz_">.
seed_count=$(find "$source_dir/fuzz/corpus/$corpus_name" -maxdepth 1 -type f ! -name '.*' 2>/dev/null | wc -l)
echo "$target: $seed_count seeds in fuzz/corpus/$corpus_name"
if [ "$seed_count" -eq 0 ]; then
  echo "FAILED: $target has no seeds in fuzz/corpus/$corpus_name/" >&2
  exit 1
fi
"$program" -seed=1 -max_total_time="$seconds" -timeout=25 -error_exitcode=1 -timeout_exitcode=1 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$artifacts/" "$work" "${seeds[@]}" >"$build_dir/$target.log" 2>&1
status=$?
tail -n 15 "$build_dir/$target.log"
if [ $status -ne 0 ]; then
  echo "FUZZ FAILURE in $target: inputs kept in $artifacts/:" >&2
  ls -l "$artifacts" >&2
  echo "Copy each into tests/data/regress/$corpus_name/ and fix the fault." >&2
fi
exit $status
