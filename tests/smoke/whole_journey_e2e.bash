#!/usr/bin/env bash
# Runs whole_journey_e2e.py (both halves of the journey) under a virtual X
# server of the game's own size. Without xvfb-run or a screen grabber for
# Python it is skipped (exit 77), or fails when the variable CI is set.
# Usage: whole_journey_e2e.bash GAME X11_WINDOW_TOOL OUTPUT_FOLDER MAKE_PLAYER SOURCE_DIR
set -u
source "$(dirname "$0")/../scripts/helpers/missing_tool.sh"
source "$(dirname "$0")/desktop_helpers.bash"
if ! command -v xvfb-run >/dev/null 2>&1; then
    skip_for_missing_tool "xvfb-run is not installed"
fi
if ! /usr/bin/python3 -c "from PIL import features; assert features.check('xcb')" 2>/dev/null; then
    skip_for_missing_tool "python3-pil without X screen grabbing"
fi
exec xvfb-run -a -s "$(virtual_screen 800x600)" /usr/bin/python3 "$(dirname "$0")/whole_journey_e2e.py" "$@"
