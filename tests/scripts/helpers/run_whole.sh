#!/usr/bin/env bash
# Runs a test program whole: every case in one process, in an order shuffled
# with SEED (the variable TORTELUNE_SHUFFLE_SEED, when set, replaces it; 0
# picks one at random). Prints the seed and the command that repeats the
# order when the run fails.
# Usage: run_whole.sh PROGRAM SEED
set -uo pipefail
program=$1
seed=${TORTELUNE_SHUFFLE_SEED:-$2}
if [ "$seed" = 0 ]; then
  # Picked here rather than by the program, whose brief output never names it.
  seed=$((RANDOM % 99999 + 1))
fi
# Scratch folders of its own (tests/support/TestFolders.cpp): ctest runs the
# program's single cases beside this run, under the same test names.
export TORTELUNE_TEST_SCRATCH=test-scratch-whole
# The parameterised batches (every level won by the scripted player, every
# arcade set, the shards of killed saves) are each a long run on its own with
# nothing shared between its cases; ctest runs them case by case, and the
# whole run leaves them out to stay within the suite's time.
"$program" --gtest_shuffle --gtest_random_seed="$seed" --gtest_brief=1 \
  --gtest_filter='-Career/*:Arcade/*:Shards/*'

status=$?
if [ $status -ne 0 ]; then
  echo "FAILED: the whole run of $(basename "$program") in the order of shuffle seed $seed (exit $status);" \
       "repeat it with: $program --gtest_shuffle --gtest_random_seed=$seed" >&2
fi
exit $status
