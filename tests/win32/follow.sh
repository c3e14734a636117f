# Under Wine: no such command (127), --pid of no process (2); -- runs the probe, nudges while it runs and ends
# with its status. A copy following --while PROBE (any case, no .exe) nudges only while a probe lives; a second
# start's --pid of another probe stops the ticks at its end, and --status says so. A locked session (the window's
# WM_WTSSESSION_CHANGE) holds the nudges back until unlocked; --battery refuses what is no percentage.
#   bash follow.sh NUDGEWICK.EXE PROBE.EXE, in the Wine prefix the tests share.
source "$(dirname "$0")/wine.sh"
PROBE="Z:${2//\//\\}"
start_session
for row in "-- nosuch.exe|127" "--pid 99999|2" "--battery 101|2" "--battery -1|2" "--battery 4.5|2" "--battery|2"; do
    wine "$PROGRAM" ${row%|*} 2>/dev/null && status=0 || status=$?
    [ "$status" = "${row#*|}" ] || fail "${row%|*}: status $status, not ${row#*|}"
done

xdotool mousemove --sync 600 0  # on row 0: the first tick nudges
wine "$PROGRAM" 3000 5 -- "$PROBE" wait 5000 7 >/dev/null & APP_PID=$!
track=$(track_pointer 6)
wait_for_exit 7 "with its command, probe wait 5000 7"
[ "$(wc -l <<<"$track")" -ge 2 ] || fail "no nudge while the command ran:"$'\n'"$track"

# A probe that waits a minute; sets FOLLOWED_PID (Linux's) and pid (Windows').
probe_runs() {
    : >"$SCRATCH/probe"
    wine "$PROBE" wait 60000 0 >"$SCRATCH/probe" & FOLLOWED_PID=$!
    wait_until "the probe did not start" 'grep -q "^pid" "$SCRATCH/probe"'
    pid=$(tr -d '\r' <"$SCRATCH/probe" | awk '{print $2}')
}
at_exit 'stop_pid FOLLOWED_PID'
start_program --while PROBE 3000 5
expect_still 4
# Watched from before the probe starts: under load the first nudge may come before the probe says it runs.
read -r x y < <(pointer)
track_pointer 13 2 >"$SCRATCH/track" & TRACK_PID=$!
probe_runs
wait "$TRACK_PID"
expect_swing "$(cat "$SCRATCH/track")" "$x" "$y" 5 2 3000
wine "$PROBE" session 7  # WTS_SESSION_LOCK
expect_still 7
wine "$PROBE" session 8
[ "$(track_pointer 8 2 | wc -l)" = 3 ] || fail "no nudges after the unlock"
stop_pid FOLLOWED_PID
sleep 3.5  # a tick notices
expect_still 7
probe_runs
wine "$PROGRAM" --pid "$pid" >/dev/null || fail "the copy did not take --pid"
stop_pid FOLLOWED_PID
wait_until "the ticks did not stop" '! wine "$PROGRAM" --status >"$SCRATCH/status"'
grep -q "stopped: process $pid ended" "$SCRATCH/status" || fail "--status: $(<"$SCRATCH/status")"
stop_pid APP_PID
echo PASS
