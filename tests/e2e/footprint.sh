# Under strace, following a process and running a command, with a watcher taking the icon and the accessibility
# switch off but its bus up and named in AT_SPI_BUS_ADDRESS: the program must not connect to that bus.
source "$(dirname "$0")/common.sh"
start_xvfb
start_accessibility --a11y=0 --screen-reader=0
address=$(gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress)
export AT_SPI_BUS_ADDRESS; AT_SPI_BUS_ADDRESS=$(sed -E "s/^\('(.*)',\)$/\1/" <<<"$address")
/usr/bin/python3 "$(dirname "$0")/sni_host.py" watcher >"$SCRATCH/watcher" & WATCHER_PID=$!
sleep 120 & FOLLOWED_PID=$!
at_exit 'stop_pid WATCHER_PID; stop_pid FOLLOWED_PID; stop_pid COMMAND_PID'
xdotool mousemove 1000 740  # parked: every tick nudges
log=$SCRATCH/log err=$SCRATCH/stderr home=$SCRATCH/home
mkdir -p "$home/.fltk/fltk.org"
# Three lines of comments, then a group FLTK would name [./options]: its reader crashes on the entry.
printf ';\n;\n;\n[options]\nVisibleFocus:1\n' >"$home/.fltk/fltk.org/fltk.prefs"

(
    HOME=$home strace -f -qq -tt -o "$log" -e trace="$TRACED,pselect6" \
        "$PROGRAM" --pid "$FOLLOWED_PID" 3000 3 -- sleep 120 2>"$err" && status=0 || status=$?
    echo "$status" >"$SCRATCH/status"
) &
runner=$!
[ "$(track_pointer 20 3 | wc -l)" = 4 ] || fail "the pointer was not nudged 3 times in 20 s"
from=$(date +%T.%6N)
[ "$(track_pointer 8 2 | wc -l)" = 3 ] || fail "the pointer was not nudged 2 more times in 8 s"
to=$(date +%T.%6N)
grep -q '^registered' "$SCRATCH/watcher" || fail "the icon did not register with the watcher"
APP_PID=$(pgrep -P "$(pgrep -P "$runner")") COMMAND_PID=$(pgrep -P "$APP_PID")
stop_pid FOLLOWED_PID
sleep 0.5
expect_still 5

stop_pid XVFB_PID
for _ in {1..20}; do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.05; done
kill -0 "$APP_PID" 2>/dev/null && fail "still running 1 s after its X server went away"
stop_pid COMMAND_PID  # strace ends with it
wait_until "strace did not end" '[ -s "$SCRATCH/status" ]'
APP_PID= status=$(<"$SCRATCH/status")
((status > 0 && status < 126)) || fail "exit status $status, want an error status (1-125; above is a signal)"
one_line "$err" || fail "want one line on stderr, got:"$'\n'"$(cat "$err")"

# Two ticks in the window, each the end of one wait.
waits=$(awk -v from="$from" -v to="$to" -v pid="$(head -c 32 "$log" | cut -d' ' -f1)" \
    '$1 == pid && $2 > from && $2 < to && / pselect6\(/' "$log" | wc -l)
((waits <= 3)) || fail "$waits waits while it ticked twice: it wakes between ticks"
RUNS=sleep expect_footprint "$log" "/tmp/.X11-unix/X${DISPLAY#:}" "$(bus_socket)"
echo PASS
