# Nudges that follow a program: --pid, --while and a command after --.
source "$(dirname "$0")/common.sh"
start_xvfb
ln -s "$(command -v sleep)" "$SCRATCH/follow-me"  # a process named follow-me
sleep 0 & gone=$! && wait "$gone"
for row in "--pid $gone|2" "-- no-such-command-here|127" "-- sh -c 'kill -TERM \$\$'|143"; do
    eval "set -- ${row%|*}"
    "$PROGRAM" "$@" 2>/dev/null && status=0 || status=$?
    [ "$status" = "${row#*|}" ] || fail "${row%|*}: status $status, not ${row#*|}"
done
start_program -- sleep 60
command=$(pgrep -P "$APP_PID")
at_exit 'stop_pid command'
close_window
kill -0 "$command" || fail "closing the window ended the command"
stop_pid command

xdotool mousemove --sync 600 0  # on row 0: the first tick of a copy nudges
start_program --while follow-me 3000 5
"$PROGRAM" 3000 5 -- sh -c 'sleep 4; exit 7' & OWN_PID=$!
track=$(track_pointer 5)
APP_PID=$OWN_PID wait_for_exit 7 "with its command, sh -c 'sleep 4; exit 7'"  # then the --while copy is APP_PID again
[ "$(wc -l <<<"$track")" = 2 ] || fail "the copy of its own did not nudge once in 4 s:"$'\n'"$track"

read -r x y < <(pointer)
expect_still 4
"$SCRATCH/follow-me" 60 & FOLLOWED_PID=$!
at_exit 'stop_pid FOLLOWED_PID'
expect_swing "$(track_pointer 10 2)" "$x" "$y" 5 2 3000
stop_pid FOLLOWED_PID
sleep 3.5  # a tick notices
expect_still 7
echo PASS
