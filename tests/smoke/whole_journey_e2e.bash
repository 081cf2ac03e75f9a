#!/usr/bin/env bash
# Runs whole_journey_e2e.py under a virtual X server of the game's own size.
# Exits 77 (skipped) without xvfb-run or without a screen grabber for Python.
# Usage: whole_journey_e2e.bash GAME X11_WINDOW_TOOL OUTPUT_FOLDER MAKE_PLAYER SOURCE_DIR
set -u
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run is not installed: skipped"
    exit 77
fi
if ! /usr/bin/python3 -c "from PIL import features; assert features.check('xcb')" 2>/dev/null; then
    echo "python3-pil without X screen grabbing: skipped"
    exit 77
fi
exec xvfb-run -a -s "-screen 0 800x600x24" /usr/bin/python3 "$(dirname "$0")/whole_journey_e2e.py" "$@"
