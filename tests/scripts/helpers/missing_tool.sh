#!/usr/bin/env bash
# Leaves a test that needs something the set-up (tools/setup-deps.sh) installs.
# Sourced: skip_for_missing_tool "what is missing" exits 77, ctest's "skipped",
# on a developer's machine; with the variable CI set it exits 1, so that a CI
# run cannot pass without the check. Run as a script, it does the same with
# its arguments as the reason (for tests the build could not even register).
skip_for_missing_tool() {
    if [ -n "${CI:-}" ]; then
        echo "FAILED: $*; CI is set, so a missing tool fails the test (run tools/setup-deps.sh)" >&2
        exit 1
    fi
    echo "$*: skipped"
    exit 77
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    skip_for_missing_tool "$@"
fi
