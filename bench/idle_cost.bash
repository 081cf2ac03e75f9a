#!/usr/bin/env bash
# Runs idle_cost.py under a virtual X server of 1024 x 768 beside a window
# manager (openbox with its default configuration), as a player's desktop
# would have it. Run by hand; see README "Benchmarks".
# Usage: idle_cost.bash GAME X11_WINDOW_TOOL MAKE_PLAYER SOURCE_DIR OUTPUT_FOLDER [SECONDS]
set -u
if [ "${7:-}" != "--inside" ]; then
    for tool in xvfb-run openbox; do
        command -v $tool >/dev/null 2>&1 || { echo "$tool is not installed"; exit 1; }
    done
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" "$1" "$2" "$3" "$4" "$5" "${6:-10}" --inside
fi
wm_home=$(mktemp -d)
HOME=$wm_home XDG_CONFIG_HOME=$wm_home openbox --sm-disable >"$wm_home/log" 2>&1 &
wm_pid=$!
trap 'kill $wm_pid 2>/dev/null; wait $wm_pid 2>/dev/null; rm -rf "$wm_home"' EXIT
sleep 1
/usr/bin/python3 "$(dirname "$0")/idle_cost.py" "$@"
