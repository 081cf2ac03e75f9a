#!/usr/bin/env bash
# Lays a copy of the checkout (what git tracks, changed or not yet added files
# included, build folders left out) at a path over 150 characters long under
# WORK_DIR, builds the host layer's test program there, configured like the
# tree that asks, and runs its tests there. Places like ~/projects/games/...
# make paths of that length, past what a socket address holds.
# Usage: deep_checkout.sh SOURCE_DIR BUILD_DIR BUILD_TYPE SANITIZE SHARED_AREAS
set -euo pipefail
source_dir=$(cd "$1" && pwd)
build_dir=$(cd "$2" && pwd)
build_type=$3
sanitize=$4
shared_areas=${5:-OFF}
program=test_host

checkout=$build_dir/deep-checkout
while [ ${#checkout} -lt 150 ]; do
  checkout=$checkout/projects-kept-in-a-deep-folder
done
checkout=$checkout/tortelune
echo "deep checkout (${#checkout} characters): $checkout"
mkdir -p "$checkout"
# Everything but its build folder goes, then comes back from the source with
# its times kept, so that the build redoes only what changed.
find "$checkout" -mindepth 1 -maxdepth 1 ! -name build-test -exec rm -rf {} +
if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # A build folder that git does not ignore (this one holds the copy) stays out.
  inside_build=
  case "$build_dir/" in
    "$source_dir"/*) inside_build=${build_dir#"$source_dir"/}/ ;;
  esac
  (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
     { if [ -n "$inside_build" ]; then grep -z -v -F -e "$inside_build" || true; else cat; fi; } |
     tar --null --ignore-failed-read --warning=no-failed-read -T - -cf -) | tar -xf - -C "$checkout"
else
  (cd "$source_dir" && tar --exclude='./build*' --exclude=./.git -cf - .) | tar -xf - -C "$checkout"
fi

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$checkout" -B "$checkout/build-test" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" \
  -DTORTELUNE_SANITIZE="$sanitize" -DTORTELUNE_SHARED_AREAS="$shared_areas" >/dev/null
cmake --build "$checkout/build-test" -j "$jobs" --target "$program"
cd "$checkout/build-test"
ctest -L "^$program\$" -j 2 --output-on-failure
