#!/usr/bin/env bash
# Starts the game under a virtual X server with SDL's X11 driver, waits until
# its window shows the splash, closes it like a window manager would,
# checks that no 3D driver was loaded to show it, and expects exit code 0.
# Exits 77 (skipped) without xvfb-run, or fails
# when the variable CI is set.
# Usage: window_smoke.bash GAME X11_WINDOW_TOOL [COLOUR [MODE]]
# COLOUR is the expected centre pixel as RRGGBB, or "any" for any but black.
# MODE "fullscreen" starts the game full screen on the 1024 x 768 screen, so
# that the frame is scaled; it must cover the whole screen.
set -u
game=$1
tool=$2
colour=${3:-any}
mode=${4:-windowed}

if [ "${5:-}" != "--inside" ]; then
    source "$(dirname "$0")/../scripts/helpers/missing_tool.sh"
    source "$(dirname "$0")/desktop_helpers.bash"
    if ! command -v xvfb-run >/dev/null 2>&1; then
        skip_for_missing_tool "xvfb-run is not installed"
    fi
    exec xvfb-run -a -s "$(virtual_screen 1024x768)" bash "$0" "$game" "$tool" "$colour" "$mode" --inside
fi

export SDL_VIDEODRIVER=x11
# The mode comes from a settings file of our own (the first start is full
# screen otherwise).
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir -p "$config/Quillmark/Games/Tortelune"
cat > "$config/Quillmark/Games/Tortelune/settings.xml" <<XML
<?xml version="1.0" encoding="UTF-8" ?>
<settings>
  <value key="" name="fullscreen" type="number" data="$([ "$mode" = fullscreen ] && echo 1 || echo 0)" />
</settings>
XML
export XDG_CONFIG_HOME=$config
# Its own data and lock folders too, so that no other test's game is taken
# for a running copy (the instance lock lives in the data folder).
mkdir -m 700 "$config/run" "$config/data"
export XDG_RUNTIME_DIR=$config/run XDG_DATA_HOME=$config/data
"$game" &
pid=$!

fail() {
    echo "$1"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    exit 1
}

"$tool" Tortelune 20000 "$colour" none
tool_status=$?
[ $tool_status -eq 0 ] || fail "window check failed ($tool_status)"

if [ "$mode" = fullscreen ]; then
    geometry=$("$tool" Tortelune 20000 "$colour" geometry | awk '/^GEOMETRY/ {print $2, $3, $4, $5}')
    [ "$geometry" = "0 0 1024 768" ] || fail "the full-screen window is at $geometry, not over the screen"
fi

# Frames go into the window's own surface, scaled or not: no 3D driver (whose
# libraries alone would hold tens of megabytes) may have been loaded.
drivers=$(grep -oE '/[^ ]*(/dri/|libLLVM|libGLX_|libEGL_)[^ ]*' "/proc/$pid/maps" | sort -u)
[ -z "$drivers" ] || fail "the game loaded a 3D driver to show its frames: $drivers"

"$tool" Tortelune 20000 "$colour"
tool_status=$?
[ $tool_status -eq 0 ] || fail "closing the window failed ($tool_status)"

for _ in $(seq 1 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
if kill -0 "$pid" 2>/dev/null; then
    echo "the game did not end after the close request"
    kill -9 "$pid"
    exit 1
fi
wait "$pid"
status=$?
echo "game exit code: $status"
[ $status -eq 0 ]
