# The hotkey through XTEST, combinations that cannot be taken, and work hours that end a minute later.
source "$(dirname "$0")/common.sh"
start_xvfb
at_exit 'stop_pid GRAB_PID'

xdotool mousemove --sync 600 500
start_program --hotkey ctrl+alt+n 3000 5 2>"$SCRATCH/errors"
expect_swing "$(track_pointer 12 2)" 600 500 5 2 3000
xdotool key ctrl+alt+n
read -r x y < <(pointer)
expect_still 7
xdotool key Caps_Lock ctrl+alt+n Caps_Lock  # the lock keys make other combinations, which are grabbed too
expect_swing "$(track_pointer 8 2)" "$x" "$y" "$([ "$x" = 600 ] && echo 5 || echo -5)" 2 3000
[ ! -s "$SCRATCH/errors" ] || fail "the program complained: $(cat "$SCRATCH/errors")"
stop_pid APP_PID

start_program --hotkey ctrl+shift+f13 3000 5 2>"$SCRATCH/no-key"
wait_until "the missing F13 was not said" '[ -s "$SCRATCH/no-key" ]'
# As the keyboard names the key, which the line for a taken combination does not.
one_line "$SCRATCH/no-key" && grep -q F13 "$SCRATCH/no-key" || fail "F13's absence not said once: $(cat "$SCRATCH/no-key")"
stop_pid APP_PID

"$X_HELPER" grab g >"$SCRATCH/grab" & GRAB_PID=$!
wait_until "the test's grab did not take" '[ -s "$SCRATCH/grab" ]'

# Hours from two hours ago to the start of a minute 30 to 90 s away, which leaves time for a few nudges first.
end=$(date -d '+90 seconds' +%H:%M)
hours="$(date -d "$end today -2 hours" +%H:%M)-$end"
xdotool mousemove --sync 600 500
start_program --hours "$hours" --hotkey ctrl+alt+g 3000 5 2>"$SCRATCH/errors"
expect_swing "$(track_pointer 12 2)" 600 500 5 2 3000
one_line "$SCRATCH/errors" && grep hotkey "$SCRATCH/errors" | grep -q ctrl+alt+g ||
    fail "the taken hotkey was not said once, by its combination: $(cat "$SCRATCH/errors")"
while [ "$(date +%H:%M)" != "$end" ]; do sleep 0.2; done
sleep 1
expect_still 7
kill -0 "$APP_PID" || fail "the program ended"
stop_pid APP_PID
echo PASS
