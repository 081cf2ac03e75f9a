# Shared by the desktop end-to-end scripts: the virtual X server's options,
# failures counted, times in milliseconds, and a bounded wait for the game to end.

# The options of every virtual X server the scripts start, for a screen of
# $1 (800x600). -noreset: by default the server resets when its last client
# leaves (a screen grab, the window tool), and a reset drops every connection
# still being set up, so a game starting in that instant finds no display.
virtual_screen() {
    echo "-screen 0 ${1}x24 -noreset"
}
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
now_ms() {
    echo $(($(date +%s%N) / 1000000))
}
# Waits up to $2 milliseconds for process $1 to end; sets `status` (its exit
# code, or "running" after killing it) and `took` (milliseconds).
status=
took=
wait_for_end() {
    local begin
    begin=$(now_ms)
    while kill -0 "$1" 2>/dev/null && [ $(($(now_ms) - begin)) -lt "$2" ]; do
        sleep 0.01
    done
    took=$(($(now_ms) - begin))
    if kill -0 "$1" 2>/dev/null; then
        status=running
        kill -9 "$1"
        wait "$1" 2>/dev/null
        return
    fi
    wait "$1"
    status=$?
}
