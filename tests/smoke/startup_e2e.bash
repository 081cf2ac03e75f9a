#!/usr/bin/env bash
# Runs startup_e2e.py under a virtual X server of the given size (no window manager).
# Exits 77 (skipped) without xvfb-run or without a screen grabber for Python,
# or fails when the variable CI is set.
# Usage: startup_e2e.bash GAME X11_WINDOW_TOOL OUTPUT_FOLDER WIDTHxHEIGHT MODE SCENARIO
set -u
source "$(dirname "$0")/../scripts/helpers/missing_tool.sh"
source "$(dirname "$0")/desktop_helpers.bash"
if ! command -v xvfb-run >/dev/null 2>&1; then
    skip_for_missing_tool "xvfb-run is not installed"
fi
if ! /usr/bin/python3 -c "from PIL import features; assert features.check('xcb')" 2>/dev/null; then
    skip_for_missing_tool "python3-pil without X screen grabbing"
fi
exec xvfb-run -a -s "$(virtual_screen "$4")" /usr/bin/python3 "$(dirname "$0")/startup_e2e.py" "$@"
