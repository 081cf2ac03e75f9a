# Shared by the desktop end-to-end scripts: failures counted, times in
# milliseconds, and a bounded wait for the game to end.
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
