#!/usr/bin/env bash
# While it ticks, the program writes nothing to the file system, talks to
# nothing but its X display, starts no process and runs on one thread.
# It is traced from exec on a private X server.
#   footprint.sh PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/xvfb.sh"

fail() {
    echo "FAIL: $*" >&2
    failed=1
}

# Waits until the pointer has been nudged $1 times, 20 s at most.
wait_for_nudges() {
    local wanted=$1 seen=0 last now i
    last=$(xdotool getmouselocation)
    for ((i = 0; i < 100 && seen < wanted; i++)); do
        sleep 0.2
        now=$(xdotool getmouselocation)
        [ "$now" != "$last" ] && seen=$((seen + 1))
        last=$now
    done
    [ "$seen" -ge "$wanted" ] || { echo "FAIL: $seen nudges in 20 s, expected $wanted" >&2; exit 1; }
}

# strace, the program and anything it started share one process group.
stop_traced() {
    if [ -n "${tracer:-}" ]; then
        kill -- -"$tracer" 2>/dev/null || true
        wait "$tracer" 2>/dev/null || true
        tracer=
    fi
}

stop_all() {
    stop_traced
    stop_xvfb
    rm -f "$log"
}

start_xvfb
log=$(mktemp)
trap stop_all EXIT
xdotool mousemove 1000 740  # parked: every tick nudges

traced=open,openat,openat2,creat,mkdir,mkdirat,unlink,unlinkat,rename,renameat,renameat2
traced+=,socket,connect,clone,clone3,fork,vfork,execve,execveat
setsid strace -f -qq -o "$log" -e trace="$traced" "$program" 3000 3 &
tracer=$!
for ((i = 0; i < 50; i++)); do
    pid=$(pgrep -P "$tracer" || true)
    [ -n "$pid" ] && break
    sleep 0.1
done
[ -n "$pid" ] || { echo "FAIL: the program did not start under strace" >&2; exit 1; }

wait_for_nudges 3
threads=$(awk '/^Threads:/ {print $2}' /proc/"$pid"/status)
stop_traced

failed=0
[ "$threads" = 1 ] || fail "runs $threads threads, expected 1 (/proc status)"

# Opening for writing, creating, or removing anything.
writes=$(grep -E '(open|openat|openat2)\(.*O_(WRONLY|RDWR|CREAT|TRUNC)|(creat|mkdir|mkdirat|unlink|unlinkat|rename|renameat|renameat2)\(' "$log" || true)
[ -z "$writes" ] || fail "touches the file system:"$'\n'"$writes"

# Xlib may try the display's abstract socket, then its path; nothing else.
display_number=${DISPLAY#:}
display_socket=/tmp/.X11-unix/X${display_number%.*}
other_sockets=$(grep -E '\bsocket\(' "$log" | grep -v 'socket(AF_UNIX' || true)
[ -z "$other_sockets" ] || fail "creates a socket other than AF_UNIX:"$'\n'"$other_sockets"
other_peers=$(grep -E '\bconnect\(' "$log" | grep -vF -e "sun_path=@\"$display_socket\"" -e "sun_path=\"$display_socket\"" || true)
[ -z "$other_peers" ] || fail "connects to something other than $DISPLAY:"$'\n'"$other_peers"
connected=$(grep -cE '\bconnect\(.*\) = 0$' "$log" || true)
[ "$connected" = 1 ] || fail "made $connected connections to the X server, expected 1"

threads_started=$(grep -E '\bclone3?\(.*CLONE_THREAD' "$log" || true)
[ -z "$threads_started" ] || fail "starts a thread:"$'\n'"$threads_started"
processes=$(grep -E '\b(clone3?|fork|vfork|execve|execveat)\(' "$log" | grep -v CLONE_THREAD | tail -n +2 || true)
[ -z "$processes" ] || fail "starts a process (the link was not clicked):"$'\n'"$processes"

[ "$failed" = 0 ] && echo "footprint: ok"
exit "$failed"
