#!/usr/bin/env bash
# The soak: ten minutes of play in the Release game, full screen on a
# virtual X server of 1024 x 768 beside a window manager (openbox), driven
# through the window by bench/soak.py, which prints the report.
# Usage: bench/soak.bash [BUILD_FOLDER [MINUTES [OUTPUT_FOLDER]]]
#   BUILD_FOLDER   the Release tree with TORTELUNE_BENCH=ON (default build-bench):
#                  its tortelune, bench/soak_window_tool and bench/soak_make_player
#   MINUTES        the length of play (default 10)
#   OUTPUT_FOLDER  screenshots, the frame record and the memory samples
#                  (default BUILD_FOLDER/soak)
set -u
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$source_dir/build-bench}" && pwd) || exit 2
minutes=${2:-10}
out=${3:-$build/soak}

if [ "${4:-}" != "--inside" ]; then
    for tool in xvfb-run openbox /usr/bin/python3; do
        command -v "$tool" >/dev/null 2>&1 || { echo "soak: $tool is not installed"; exit 2; }
    done
    for file in "$build/tortelune" "$build/bench/soak_window_tool" "$build/bench/soak_make_player"; do
        [ -x "$file" ] || { echo "soak: $file is missing (build the tree: cmake --build $build)"; exit 2; }
    done
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" "$build" "$minutes" "$out" --inside
fi

mkdir -p "$out"
# openbox with its default configuration, not the developer's.
wm_home=$(mktemp -d)
HOME=$wm_home XDG_CONFIG_HOME=$wm_home openbox --sm-disable >"$out/openbox.log" 2>&1 &
wm_pid=$!
trap 'kill $wm_pid 2>/dev/null; wait $wm_pid 2>/dev/null; rm -rf "$wm_home"' EXIT
sleep 1
SDL_AUDIODRIVER=dummy /usr/bin/python3 "$source_dir/bench/soak.py" "$build/tortelune" \
    "$build/bench/soak_window_tool" "$build/bench/soak_make_player" "$source_dir" "$out" "$minutes"
