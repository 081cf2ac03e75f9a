#!/usr/bin/env bash
# The game on a desktop that does not play along. Scenarios:
#   nodisplay    DISPLAY unset, then naming a display nobody serves, with no
#                video driver named: exit code 1 within 2 s, and the reason on
#                standard error and in the log.
#   nowindowmanager  five starts on a bare virtual X server (no window
#                manager), full screen, each ended by SIGTERM once its window
#                shows: exit code 0 within 0.5 s each; the starts log no WARNING.
#   hangup       SIGHUP in the middle of a level (level_interrupt_e2e.py).
#   displaylost  the X server killed in the middle of a level (the same script,
#                on a server of this script's own so that it can be killed).
#   pipesettings a named pipe in place of the settings file (on SDL's dummy
#                driver): the start goes on past it (the log is opened within
#                10 s), and SIGTERM ends the game with 0.
#   boxes        the damaged-players notice and the full-disk box at the start,
#                on bare 800 x 600 and 1024 x 768 servers, and at 800 x 600
#                with the wide 100-dpi fonts: inside the screen, and closed by
#                SIGTERM, SIGINT or SIGHUP (message_box_e2e.py).
#   fulldisk     the data disk fills up in the middle of a level: SIGTERM ends
#                the game within a second, the players file untouched.
# boxes and fulldisk mount a small memory disk in a mount namespace of their own.
# Exits 77 (skipped) without xvfb-run / Xvfb or a screen grabber for Python,
# or fails when the variable CI is set.
# Usage: hostile_desktop_e2e.bash GAME X11_WINDOW_TOOL SCENARIO OUTPUT_FOLDER [MAKE_PLAYER SOURCE_DIR]
set -u
game=$1
tool=$2
scenario=$3
out=$4
here=$(dirname "$0")
source "$here/../scripts/helpers/missing_tool.sh"
source "$here/desktop_helpers.bash"

# A fresh home with the game's folders; settings asking for full screen.
home=
make_home() {
    home=$(mktemp -d)
    mkdir -p "$home/config/Quillmark/Games/Tortelune" "$home/data"
    mkdir -m 700 "$home/run"
    printf '<?xml version="1.0" encoding="UTF-8" ?>\n<settings>\n  <value key="" name="fullscreen" type="number" data="1" />\n</settings>\n' \
        >"$home/config/Quillmark/Games/Tortelune/settings.xml"
}
need_xvfb_run_and_screen_grabs() {
    command -v xvfb-run >/dev/null 2>&1 || skip_for_missing_tool "xvfb-run is not installed"
    /usr/bin/python3 -c "from PIL import features; assert features.check('xcb')" 2>/dev/null ||
        skip_for_missing_tool "python3-pil without X screen grabbing"
}
# Runs "$@" in a mount namespace of its own (as root, or as a user namespace's root).
in_own_mounts() {
    if unshare --mount --propagation private true 2>/dev/null; then
        unshare --mount --propagation private "$@"
    elif unshare --map-root-user --mount true 2>/dev/null; then
        unshare --map-root-user --mount "$@"
    else
        fail "no mount namespace can be made for a small disk (unshare)"
        return 1
    fi
}
# Started in the background, the game itself is the background process.
run_game() {
    XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run exec "$@"
}
# The log lines at WARNING or ERROR (the one saying a virtual server has no sound card left out).
logged_problems() {
    cat "$home"/data/Quillmark/Games/Tortelune/_temp/log/* 2>/dev/null | grep -E ' (WARNING|ERROR) ' |
        grep -v 'No audio device'
}

case "$scenario" in
nodisplay)
    unset SDL_VIDEODRIVER WAYLAND_DISPLAY
    for display in unset :97531; do
        make_home
        if [ "$display" = unset ]; then
            (unset DISPLAY && run_game "$game" 2>"$home/stderr") &
        else
            (DISPLAY=$display run_game "$game" 2>"$home/stderr") &
        fi
        wait_for_end $! 2000
        [ "$status" = 1 ] || fail "DISPLAY $display: exit code $status within $took ms, not 1 within 2 s"
        grep -qi 'no display' "$home/stderr" || fail "DISPLAY $display: standard error does not say there is no display"
        logged_problems | grep -qi 'no display' || fail "DISPLAY $display: the log does not say there is no display"
        echo "DISPLAY $display: exit code $status after $took ms; standard error: $(head -c 300 "$home/stderr")"
        rm -rf "$home"
    done
    ;;
nowindowmanager)
    if [ "${5:-}" != "--inside" ]; then
        command -v xvfb-run >/dev/null 2>&1 || skip_for_missing_tool "xvfb-run is not installed"
        exec xvfb-run -a -s "$(virtual_screen 1024x768)" bash "$0" "$game" "$tool" "$scenario" "$out" --inside
    fi
    export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
    for start in 1 2 3 4 5; do
        make_home
        run_game "$game" 2>"$home/stderr" &
        pid=$!
        "$tool" Tortelune 20000 any geometry >/dev/null 2>&1 || fail "start $start: no window within 20 s"
        # The splash is up and the window settled.
        sleep 1.5
        kill -TERM "$pid"
        wait_for_end "$pid" 10000
        echo "start $start: SIGTERM ended the game after $took ms with exit code $status"
        [ "$status" = 0 ] || fail "start $start: exit code $status after SIGTERM"
        [ "$took" -lt 500 ] || fail "start $start: SIGTERM took $took ms to end the game, not under 500"
        problems=$(logged_problems)
        [ -z "$problems" ] || fail "start $start: the start without a window manager logs problems: $problems"
        rm -rf "$home"
    done
    ;;
hangup)
    need_xvfb_run_and_screen_grabs
    xvfb-run -a -s "$(virtual_screen 800x600)" /usr/bin/python3 "$here/level_interrupt_e2e.py" "$game" "$tool" "$out" \
        "$5" "$6" hangup || failures=1
    ;;
displaylost)
    command -v Xvfb >/dev/null 2>&1 || skip_for_missing_tool "Xvfb is not installed"
    /usr/bin/python3 -c "from PIL import features; assert features.check('xcb')" 2>/dev/null ||
        skip_for_missing_tool "python3-pil without X screen grabbing"
    # A server of our own (the first free display number) that the run may kill.
    numbers=$(mktemp)
    Xvfb -displayfd 3 $(virtual_screen 800x600) -nolisten tcp 3>"$numbers" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$numbers" ] && break
        sleep 0.05
    done
    display=$(head -1 "$numbers")
    rm -f "$numbers"
    if [ -z "$display" ]; then
        fail "the virtual X server did not start"
    else
        DISPLAY=:$display XVFB_PID=$xvfb_pid /usr/bin/python3 "$here/level_interrupt_e2e.py" "$game" "$tool" "$out" \
            "$5" "$6" displaylost || failures=1
    fi
    kill -9 "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    # A killed server leaves its socket file behind.
    [ -n "$display" ] && rm -f "/tmp/.X11-unix/X$display"
    ;;
pipesettings)
    export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
    make_home
    settings=$home/config/Quillmark/Games/Tortelune/settings.xml
    rm -f "$settings"
    mkfifo "$settings"
    run_game "$game" 2>"$home/stderr" &
    pid=$!
    begin=$(now_ms)
    until grep -qs 'log started' "$home"/data/Quillmark/Games/Tortelune/_temp/log/*; do
        [ $(($(now_ms) - begin)) -lt 10000 ] || break
        sleep 0.05
    done
    grep -qs 'log started' "$home"/data/Quillmark/Games/Tortelune/_temp/log/* ||
        fail "with a pipe as the settings file the start did not reach its log within 10 s"
    kill -TERM "$pid"
    wait_for_end "$pid" 10000
    echo "pipe as the settings file: SIGTERM ended the game after $took ms with exit code $status"
    [ "$status" = 0 ] || fail "exit code $status after SIGTERM"
    rm -rf "$home"
    ;;
boxes)
    need_xvfb_run_and_screen_grabs
    for size in 800x600 1024x768; do
        in_own_mounts xvfb-run -a -s "$(virtual_screen "$size")" /usr/bin/python3 "$here/message_box_e2e.py" \
            "$game" "$tool" "$out" "$size" || failures=$((failures + 1))
    done
    # A desktop at 100 dpi whose message-box font is the wide 100-dpi one.
    large_fonts=/usr/share/fonts/X11/100dpi
    [ -e "$large_fonts/fonts.dir" ] || skip_for_missing_tool "xfonts-100dpi is not installed"
    in_own_mounts xvfb-run -a -s "$(virtual_screen 800x600) -dpi 100 -fp $large_fonts/,/usr/share/fonts/X11/misc/" \
        /usr/bin/python3 "$here/message_box_e2e.py" "$game" "$tool" "$out" 800x600 large-font ||
        failures=$((failures + 1))
    ;;
fulldisk)
    need_xvfb_run_and_screen_grabs
    in_own_mounts xvfb-run -a -s "$(virtual_screen 800x600)" /usr/bin/python3 "$here/level_interrupt_e2e.py" \
        "$game" "$tool" "$out" "$5" "$6" fulldisk || failures=$((failures + 1))
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
echo "hostile desktop run $scenario passed"
