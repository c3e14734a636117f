# Nudges that follow a program. Refused with their status before any window: a bad or gone --pid, a name
# with a folder, a lone --, a command not found or killed by a signal. A copy following --while nudges only
# while a process of that name lives, started and ended here, and a second start's --status says it waits;
# beside it, a copy of its own runs -- sh -c 'sleep 4; exit 7', nudges meanwhile and ends with 7.
source "$(dirname "$0")/common.sh"
start_xvfb
ln -s "$(command -v sleep)" "$SCRATCH/follow-me"  # a process named follow-me
sleep 0 & gone=$!
wait "$gone"

while IFS='|' read -r arguments status named; do
    eval "set -- $arguments"
    "$PROGRAM" "$@" 2>"$SCRATCH/err" && got=0 || got=$?
    [ "$got" = "$status" ] && { [ -z "$named" ] || grep -qF -- "$named" "$SCRATCH/err"; } ||
        fail "$arguments: status $got, not $status; it said: $(<"$SCRATCH/err")"
done <<EOF_ROWS
--pid 0|2|"0"
--pid $gone 3000|2|--pid $gone
--while bin/follow-me|2|"bin/follow-me"
3000 --|2|--
-- no-such-command-here -x|127|"no-such-command-here"
-- sh -c 'kill -TERM \$\$'|143|
EOF_ROWS
[ -z "$(windows '^Nudgewick')" ] || fail "a refused start left a window"

xdotool mousemove --sync 600 0  # on row 0: the first tick of a copy nudges
start_program --while follow-me 3000 5
start=$SECONDS
"$PROGRAM" 3000 5 -- sh -c 'sleep 4; exit 7' & OWN_PID=$!
track=$(track_pointer 5)
wait "$OWN_PID" && status=0 || status=$?
[ "$status" = 7 ] && ((SECONDS - start < 6)) || fail "-- sh -c 'sleep 4; exit 7' ended with $status"
[ "$(wc -l <<<"$track")" = 2 ] || fail "the copy of its own did not nudge once in 4 s:"$'\n'"$track"

"$PROGRAM" --status >"$SCRATCH/out" && fail "--status while waiting: status 0"
grep -qx "waiting for follow-me" "$SCRATCH/out" || fail "--status: $(<"$SCRATCH/out")"
read -r x y < <(pointer)
expect_still 4
"$SCRATCH/follow-me" 60 & FOLLOWED_PID=$!
at_exit 'stop_pid FOLLOWED_PID'
expect_swing "$(track_pointer 10 2)" "$x" "$y" 5 2 3000
stop_pid FOLLOWED_PID
sleep 3.5  # a tick notices
expect_still 7
echo PASS
