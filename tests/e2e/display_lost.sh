#!/usr/bin/env bash
# When its X server goes away the program ends within a second, with a non-zero
# status and one line on stderr, and does not spin on the dead connection.
#   display_lost.sh PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/xvfb.sh"

dir=$(mktemp -d)
stop_all() {
    if [ -n "${pid:-}" ]; then kill "$pid" 2>/dev/null || true; fi
    stop_xvfb
    rm -rf "$dir"
}

# In a subshell of its own the program is the only child, so `times` then
# reports the program's CPU time, measured by the kernel to its end.
run_program() {
    "$program" 3000 3 2>"$dir/stderr" && status=0 || status=$?
    times >"$dir/times"
    echo "$status" >"$dir/status"
}

cpu_ms_now() {  # run time so far, from /proc/PID/schedstat
    awk '{printf "%d\n", $1 / 1e6}' /proc/"$pid"/schedstat
}

cpu_ms_at_end() {  # the children's user and system time, as `times` printed them
    tr 'ms' '  ' <"$dir/times" | awk 'NR == 2 {printf "%d\n", (($1 + $3) * 60 + $2 + $4) * 1000}'
}

start_xvfb
trap stop_all EXIT
run_program &
runner=$!
timeout 10 xdotool search --sync --onlyvisible --name 'Nudgewick 1.0' >/dev/null ||
    { echo "FAIL: no window within 10 s" >&2; exit 1; }
pid=$(pgrep -P "$runner")

before=$(cpu_ms_now)
stop_xvfb
lost=$(date +%s%N)
for ((i = 0; i < 20; i++)); do
    [ -s "$dir/status" ] && break
    sleep 0.05
done
took=$((($(date +%s%N) - lost) / 1000000))

if [ ! -s "$dir/status" ]; then
    spent=$(($(cpu_ms_now) - before))
    echo "FAIL: still running 1 s after its X server went away; it used $spent ms of CPU in that second" >&2
    exit 1
fi
pid=
failed=0
status=$(<"$dir/status")
lines=$(grep -c . "$dir/stderr" || true)
spent=$(($(cpu_ms_at_end) - before))
if [ "$status" -eq 0 ] || [ "$status" -gt 125 ]; then
    echo "FAIL: exit status $status, expected an error status (1-125; above is a signal)" >&2
    failed=1
fi
if [ "$lines" -ne 1 ] || [ "$(wc -l <"$dir/stderr")" -ne 1 ]; then
    echo "FAIL: expected one line on stderr, got:" >&2
    cat "$dir/stderr" >&2
    failed=1
fi
if [ "$spent" -gt 50 ]; then
    echo "FAIL: used $spent ms of CPU after its X server went away" >&2
    failed=1
fi
[ "$failed" = 0 ] && echo "display lost: ok (status $status within $took ms, $spent ms of CPU, stderr: $(<"$dir/stderr"))"
exit "$failed"
