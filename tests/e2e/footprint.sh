# Under strace: no toolkit file read, no writes, only the X socket and the session bus's, no process, one
# thread, though the toolkit's preferences are malformed; and when X goes away, a quick, quiet, error end.
# A notification-area watcher on the bus takes the icon meanwhile, and the accessibility switch runs, off, with
# its bus up and named in AT_SPI_BUS_ADDRESS: the program must not connect to that bus.
source "$(dirname "$0")/common.sh"
start_xvfb
export XDG_RUNTIME_DIR=$SCRATCH/run GSETTINGS_BACKEND=memory
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_session_bus
/usr/libexec/at-spi-bus-launcher --a11y=0 --screen-reader=0 & LAUNCHER_PID=$!
at_exit 'stop_pid LAUNCHER_PID'
address() { gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress 2>/dev/null; }
wait_until "the accessibility bus did not start" 'address >"$SCRATCH/address"'
export AT_SPI_BUS_ADDRESS; AT_SPI_BUS_ADDRESS=$(sed -E "s/^\('(.*)',\)$/\1/" "$SCRATCH/address")
/usr/bin/python3 "$(dirname "$0")/sni_host.py" watcher >"$SCRATCH/watcher" & WATCHER_PID=$!
at_exit 'stop_pid WATCHER_PID'
xdotool mousemove 1000 740  # parked: every tick nudges
log=$SCRATCH/log err=$SCRATCH/stderr home=$SCRATCH/home
mkdir -p "$home/.fltk/fltk.org"
# Three lines of comments, then a group FLTK would name [./options]: its reader crashes on the entry.
printf ';\n;\n;\n[options]\nVisibleFocus:1\n' >"$home/.fltk/fltk.org/fltk.prefs"

(
    HOME=$home strace -f -qq -o "$log" -e trace="$TRACED" "$PROGRAM" 3000 3 2>"$err" && status=0 || status=$?
    echo "$status" >"$SCRATCH/status"
) &
runner=$!
[ "$(track_pointer 20 3 | wc -l)" = 4 ] || fail "the pointer was not nudged 3 times in 20 s"
grep -q '^registered' "$SCRATCH/watcher" || fail "the icon did not register with the watcher"
APP_PID=$(pgrep -P "$(pgrep -P "$runner")")
threads=$(awk '/^Threads:/ {print $2}' /proc/"$APP_PID"/status)
[ "$threads" = 1 ] || fail "runs $threads threads, want 1 (/proc status)"

stop_pid XVFB_PID
for _ in {1..20}; do [ -s "$SCRATCH/status" ] && break; sleep 0.05; done
[ -s "$SCRATCH/status" ] || fail "still running 1 s after its X server went away"
APP_PID= status=$(<"$SCRATCH/status")
((status > 0 && status < 126)) || fail "exit status $status, want an error status (1-125; above is a signal)"
one_line "$err" || fail "want one line on stderr, got:"$'\n'"$(cat "$err")"

expect_footprint "$log" "/tmp/.X11-unix/X${DISPLAY#:}" "$(bus_socket)"
echo PASS
