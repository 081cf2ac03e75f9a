#!/usr/bin/env bash
# Two copies of the real game on one data folder, started with different
# runtime folders (as two sessions of one user may be): the second is refused
# with exit code 1 and writes nothing, the first runs on and saves on SIGTERM.
# Runs under SDL's dummy video driver, so no display is needed.
# Usage: second_copy_e2e.bash GAME
set -u
game=$1

home=$(mktemp -d "${TMPDIR:-/tmp}/tortelune-second-copy-XXXXXX") || exit 1
mkdir -p "$home/config" "$home/data" "$home/run-first" "$home/run-second"
chmod 700 "$home/run-first" "$home/run-second"
first=""
cleanup() {
    [ -n "$first" ] && kill -9 "$first" 2>/dev/null
    rm -rf "$home"
}
trap cleanup EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
game_folder=$home/data/Quillmark/Games/Tortelune

fail() {
    echo "FAILED: $1"
    for log in "$game_folder"/_temp/log/*.log; do
        [ -f "$log" ] && tail -n 20 "$log"
    done
    exit 1
}

# Waits up to $1 tenths of a second for process $2 to end; its exit code goes to $exit_code.
wait_for_exit() {
    for _ in $(seq 1 "$1"); do
        kill -0 "$2" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$2" 2>/dev/null && return 1
    wait "$2"
    exit_code=$?
    return 0
}

# The players folder, byte for byte.
snapshot() {
    (cd "$game_folder" 2>/dev/null && find players -type f -exec md5sum {} + 2>/dev/null | sort)
}

XDG_RUNTIME_DIR=$home/run-first "$game" > "$home/first.out" 2>&1 &
first=$!
# The first copy holds the lock once it has opened its log file.
for _ in $(seq 1 600); do
    compgen -G "$game_folder/_temp/log/*.log" > /dev/null && break
    kill -0 "$first" 2>/dev/null || fail "the first copy ended at start-up: $(cat "$home/first.out")"
    sleep 0.1
done
compgen -G "$game_folder/_temp/log/*.log" > /dev/null || fail "the first copy did not start within 60 s"
sleep 1
before=$(snapshot)

XDG_RUNTIME_DIR=$home/run-second "$game" > "$home/second.out" 2>&1 &
second=$!
if ! wait_for_exit 300 "$second"; then
    kill -9 "$second" 2>/dev/null
    wait "$second" 2>/dev/null
    fail "the second copy kept running beside the first on one data folder"
fi
[ "$exit_code" -eq 1 ] || fail "the second copy ended with $exit_code, not 1: $(cat "$home/second.out")"
[ "$(snapshot)" = "$before" ] || fail "the refused copy changed the players folder"
kill -0 "$first" 2>/dev/null || fail "the first copy ended when the second started"

kill -TERM "$first"
wait_for_exit 300 "$first" || fail "the first copy did not end within 30 s of SIGTERM"
first=""
[ "$exit_code" -eq 0 ] || fail "the first copy ended with $exit_code after SIGTERM"
[ -f "$game_folder/players/players.plrs.!" ] || fail "the first copy saved no players on SIGTERM"
echo "second copy refused with 1; first copy saved and ended with 0"
