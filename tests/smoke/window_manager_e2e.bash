#!/usr/bin/env bash
# The game beside a window manager (openbox) under a virtual X server of
# 1024 x 768, as an autostart at login starts both in the same instant.
# Scenarios:
#   race        20 starts, every other one full screen, openbox started with
#               each, 0 to 0.95 s after the game in steps of 50 ms (so that some
#               start while the game makes its window): each shows the splash
#               within 10 s of the start, full screen over the whole screen;
#               each then ends on SIGTERM with exit code 0.
#   sigterm     SIGTERM at 0 to 1 s into a start (counted from its first
#               step) beside a starting openbox: exit code 0, and the files a
#               quit writes are written.
#   modeswitch  MODE_SWITCH_RUN (twenty switches of the real window between
#               full screen and a window, none stalling its frames for more
#               than a second) beside openbox, which ends and starts anew
#               every second or so; then the window shows its frames, as a
#               window of 800 x 600.
# Exits 77 (skipped) without xvfb-run or openbox, or fails when the variable CI is set.
# The race run leaves a screenshot of a windowed and of a full-screen start in
# OUTPUT_FOLDER ("window-manager-race-*.png").
# Usage: window_manager_e2e.bash GAME X11_WINDOW_TOOL SCENARIO OUTPUT_FOLDER [MODE_SWITCH_RUN]
set -u
game=$1
tool=$2
scenario=$3
out=$4
switcher=${5:-}
source "$(dirname "$0")/desktop_helpers.bash"

if [ "${6:-}" != "--inside" ]; then
    source "$(dirname "$0")/../scripts/helpers/missing_tool.sh"
    command -v xvfb-run >/dev/null 2>&1 || skip_for_missing_tool "xvfb-run is not installed"
    command -v openbox >/dev/null 2>&1 || skip_for_missing_tool "openbox is not installed"
    exec xvfb-run -a -s "$(virtual_screen 1024x768)" bash "$0" "$game" "$tool" "$scenario" "$out" "$switcher" --inside
fi

export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
scratch=$(mktemp -d)
game_pid=
wm_pid=
cleanup() {
    [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

# openbox with its default configuration, not the developer's.
start_window_manager() {
    mkdir -p "$scratch/wm"
    HOME=$scratch/wm XDG_CONFIG_HOME=$scratch/wm openbox --sm-disable >>"$scratch/wm/log" 2>&1 &
    wm_pid=$!
}
stop_window_manager() {
    kill "$wm_pid" 2>/dev/null
    wait "$wm_pid" 2>/dev/null
    wm_pid=
}

# A new player's folders, with the settings asking for full screen (1) or not (0).
home=
make_home() {
    home=$(mktemp -d -p "$scratch")
    mkdir -p "$home/config/Quillmark/Games/Tortelune" "$home/data"
    mkdir -m 700 "$home/run"
    printf '<?xml version="1.0" encoding="UTF-8" ?>\n<settings>\n  <value key="" name="fullscreen" type="number" data="%d" />\n</settings>\n' \
        "$1" >"$home/config/Quillmark/Games/Tortelune/settings.xml"
}
# Started from another folder than its own (see start_has_begun).
start_game() {
    (cd "$scratch" && XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run \
        exec "$game" 2>"$home/stderr") &
    game_pid=$!
}


# Whether the game's own start has begun: its first step moves it into its
# own folder (it is started from another). A signal before it would end the
# process before a line of its own ran.
game_folder=$(cd "$(dirname "$game")" && pwd -P)
start_has_begun() {
    [ "$(readlink "/proc/$1/cwd" 2>/dev/null)" = "$game_folder" ]
}

# What a game that did not come up was doing: its log, its threads' states
# and, where a debugger is at hand, their stacks.
describe_game() {
    if ! kill -0 "$1" 2>/dev/null; then
        echo "  the game has ended"
    else
        for task in /proc/"$1"/task/*; do
            echo "  thread $(cat "$task/comm" 2>/dev/null): state $(awk '{print $3}' "$task/stat" 2>/dev/null)," \
                "waiting in $(cat "$task/wchan" 2>/dev/null)"
        done
        if command -v gdb >/dev/null 2>&1; then
            timeout 60 gdb -p "$1" -batch -ex "thread apply all bt 25" 2>/dev/null | grep -E '^(#|Thread)' | sed 's/^/  /'
        fi
    fi
    echo "  its log ends:"
    tail -15 "$home/stderr" | sed 's/^/  /'
}

case "$scenario" in
race)
    for start in $(seq 0 19); do
        full=$((start % 2))
        offset_ms=$((start * 50))
        make_home "$full"
        begin=$(now_ms)
        start_game
        sleep "$(printf '0.%03d' "$offset_ms")"
        start_window_manager
        # The splash within 10 s of the start; full screen covers the screen
        # once the window manager has made it so.
        shown=
        geometry=
        while :; do
            left=$((10000 - ($(now_ms) - begin)))
            [ $left -gt 0 ] || break
            geometry=$("$tool" Tortelune "$left" any geometry 2>/dev/null | awk '/^GEOMETRY/ {print $2, $3, $4, $5}')
            if [ -n "$geometry" ]; then
                [ -n "$shown" ] || shown=$(($(now_ms) - begin))
                if [ $full -eq 0 ] || [ "$geometry" = "0 0 1024 768" ]; then
                    break
                fi
                sleep 0.1
            fi
        done
        mode=$([ $full -eq 1 ] && echo "full screen" || echo "windowed")
        if [ -z "$shown" ]; then
            fail "start $start ($mode, openbox after $offset_ms ms): no splash within 10 s"
            describe_game "$game_pid"
        elif [ $full -eq 1 ] && [ "$geometry" != "0 0 1024 768" ]; then
            fail "start $start ($mode, openbox after $offset_ms ms): the window is at $geometry, not over the screen"
        else
            echo "start $start ($mode, openbox after $offset_ms ms): splash after $shown ms"
            if [ $start -lt 2 ]; then
                # The splash's first picture fades in over the cover meanwhile.
                sleep 1.5
                mkdir -p "$out"
                /usr/bin/python3 -c 'import os, sys; from PIL import ImageGrab
ImageGrab.grab(xdisplay=os.environ["DISPLAY"]).save(sys.argv[1])' \
                    "$out/window-manager-race-$([ $full -eq 1 ] && echo fullscreen || echo windowed).png" ||
                    echo "(no screenshot: $?)"
            fi
        fi
        kill -TERM "$game_pid"
        wait_for_end "$game_pid" 20000
        [ "$status" = 0 ] || fail "start $start: the game ended with $status after SIGTERM"
        game_pid=
        stop_window_manager
    done
    ;;
sigterm)
    for start in $(seq 0 5); do
        full=$((start % 2))
        delay_ms=$((start * 200))
        make_home "$full"
        start_game
        start_window_manager
        tries=0
        while ! start_has_begun "$game_pid" && [ $tries -lt 2000 ]; do
            sleep 0.005
            tries=$((tries + 1))
        done
        sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
        kill -TERM "$game_pid"
        wait_for_end "$game_pid" 30000
        game_pid=
        folder=$home/data/Quillmark/Games/Tortelune
        if [ "$status" != 0 ]; then
            fail "SIGTERM $delay_ms ms into start $start: the game ended with $status"
            tail -5 "$home/stderr"
        else
            for file in players/players.plrs.! players/scores.xml.! _temp/gd.xml; do
                [ -f "$folder/$file" ] || fail "SIGTERM $delay_ms ms into start $start: $file is not written"
            done
            grep -q totalplayingtime "$home/config/Quillmark/Games/Tortelune/settings.xml" ||
                fail "SIGTERM $delay_ms ms into start $start: the settings are not written"
            echo "SIGTERM $delay_ms ms into start $start: exit code 0, files written"
        fi
        stop_window_manager
    done
    ;;
modeswitch)
    start_window_manager
    sleep 1
    make_home 0
    XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run \
        "$switcher" 20 4000 >"$scratch/switches" 2>&1 &
    game_pid=$!
    # Now and then the window manager ends and starts anew, so that some
    # switches meet one that is starting. A switch reports within a second;
    # five without a report are a stall.
    tries=0
    quiet=0
    reports=0
    while ! grep -q '^SETTLED' "$scratch/switches" 2>/dev/null && kill -0 "$game_pid" 2>/dev/null; do
        sleep 0.05
        tries=$((tries + 1))
        if [ $((tries % 23)) -eq 0 ]; then
            stop_window_manager
            start_window_manager
        fi
        lines=$(wc -l <"$scratch/switches" 2>/dev/null || echo 0)
        if [ "$lines" = "$reports" ]; then
            quiet=$((quiet + 1))
        else
            reports=$lines
            quiet=0
        fi
        if [ $quiet -ge 100 ]; then
            fail "the switches stalled after $reports reports"
            break
        fi
    done
    # Twenty switches end in a window again; it shows the frames.
    geometry=$("$tool" Tortelune 5000 3080c0 geometry 2>/dev/null | awk '/^GEOMETRY/ {print $4, $5}')
    [ "$geometry" = "800 600" ] || fail "after the switches the window is not an 800 x 600 window showing its frames ($geometry)"
    wait_for_end "$game_pid" 30000
    game_pid=
    cat "$scratch/switches"
    [ "$status" = 0 ] || fail "the switching program ended with $status"
    stop_window_manager
    ;;
*)
    echo "unknown scenario $scenario"
    exit 2
    ;;
esac

if [ $failures -gt 0 ]; then
    echo "$failures failures"
    exit 1
fi
echo "window manager run $scenario passed"
