#!/bin/sh
# Runs a test program with XDG folders of its own, under the test scratch
# space TEST_HOME: test programs run side by side, and two that save the same
# player (the fixtures all call theirs "Tester") must not read each other's
# saved games or settings. The folders are removed afterwards.
# Usage: own_folders.sh TEST_HOME PROGRAM [ARGUMENTS...]
home_root=$1
shift
mkdir -p "$home_root/proc"
home=$(mktemp -d "$home_root/proc/XXXXXX") || exit 1
mkdir -p "$home/config" "$home/data" "$home/run"
chmod 700 "$home/run"
XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run "$@"
status=$?
rm -rf "$home"
exit $status
