# Input from any other program of the user's (hostile_bus.py): the program answers or refuses each call, keeps
# nudging on time, stays on both buses, does not grow, and says nothing of it.
#   bash hostile_bus.sh PROGRAM X_HELPER
source "$(dirname "$0")/common.sh"
start_xvfb
start_accessibility --a11y=0
xdotool mousemove 600 500
start_program 3000 3 2>"$SCRATCH/errors"
switch Set org.a11y.Status IsEnabled '<true>'
: >"$SCRATCH/track"
track_pointer 600 >"$SCRATCH/track" & TRACK_PID=$!
at_exit 'stop_pid TRACK_PID'
wait_until "no first nudge" '[ "$(wc -l <"$SCRATCH/track")" -ge 2 ]'

/usr/bin/python3 "$(dirname "$0")/hostile_bus.py" "$APP_PID" || fail "the program did not stand the calls"
ask() { "$X_HELPER" ask _NUDGEWICK_INSTANCE "$@" >/dev/null; }
for parameter in "STRING 3000 5" "UTF8_STRING --stop"$'\xff' "UTF8_STRING $(printf '%5000s' --stop)"; do
    ! ask _NUDGEWICK_COMMAND "${parameter%% *}" "${parameter#* }" || fail "the copy took: ${parameter:0:40}"
done
! ask TARGETS UTF8_STRING --stop && ! ask _NUDGEWICK_COMMAND || fail "the copy took a conversion without its command"
"$X_HELPER" vanish _NUDGEWICK_INSTANCE _NUDGEWICK_COMMAND UTF8_STRING --status
# Its refusal first: the next asker's window may take the number of the one that vanished, and with it the refusal.
wait_until "the copy sent no refusal to the vanished window" 'grep -qs X_SendEvent "$SCRATCH/errors"'
ask _NUDGEWICK_COMMAND UTF8_STRING --status || fail "the copy no longer answers"

stop_pid TRACK_PID
awk 'NR > 2 && ($1 - last < 2400 || $1 - last > 3600) { bad = 1 } NR > 1 { last = $1 } END { exit bad || NR < 4 }' \
    "$SCRATCH/track" || fail "the nudges were held up:"$'\n'"$(cat "$SCRATCH/track")"
[ "$(track_pointer 7 2 | wc -l)" = 3 ] || fail "no longer nudging"
# The requestor that vanished before the answer is the one thing said, as for the clipboard.
! grep -v "ignored an X error: BadWindow" "$SCRATCH/errors" || fail "the program wrote the lines above"
echo PASS
