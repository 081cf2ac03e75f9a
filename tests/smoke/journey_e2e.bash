#!/usr/bin/env bash
# Runs journey_e2e.py under a virtual X server of the game's own size.
# Exits 77 (skipped) without xvfb-run or without a screen grabber for Python,
# or fails when the variable CI is set.
# Usage: journey_e2e.bash GAME X11_WINDOW_TOOL OUTPUT_FOLDER [level MAKE_PLAYER SOURCE_DIR]
set -u
source "$(dirname "$0")/../scripts/helpers/missing_tool.sh"
source "$(dirname "$0")/desktop_helpers.bash"
if ! command -v xvfb-run >/dev/null 2>&1; then
    skip_for_missing_tool "xvfb-run is not installed"
fi
if ! /usr/bin/python3 -c "from PIL import features; assert features.check('xcb')" 2>/dev/null; then
    skip_for_missing_tool "python3-pil without X screen grabbing"
fi
# With "level" as the fourth argument the returning player's run around a
# level (level_e2e.py) is run instead of the first visit.
script=journey_e2e.py
if [ "${4:-}" = level ]; then
    script=level_e2e.py
    set -- "$1" "$2" "$3" "${@:5}"
fi
exec xvfb-run -a -s "$(virtual_screen 800x600)" /usr/bin/python3 "$(dirname "$0")/$script" "$@"
