# Under Wine: a 5 px swing the button stops; the floor message on Tab only; --version and a bad word answered in a box.
source "$(dirname "$0")/wine.sh"

# Runs a second nudgewick.exe, which takes the focus with one message and no
# window; answers it; sets STATUS, and OUT and ERR to what it printed.
answer() {
    wine "$PROGRAM" "$@" >"$SCRATCH/out" 2>"$SCRATCH/err" &
    local other=$!
    wait_for_window '^Nudgewick$' >/dev/null
    sleep 1
    [ "$(windows '^Nudgewick$' | wc -l)" = 1 ] || fail "losing the focus to another program brought up a message"
    [ "$(windows '^Nudgewick 1\.0$' | wc -l)" = 1 ] || fail "a window opened for: $*"
    dismiss_message "for $*"
    STATUS=0
    wait "$other" || STATUS=$?
    OUT=$(<"$SCRATCH/out") ERR=$(<"$SCRATCH/err")
}

start_session
start_program 3000 5
# Wine doubles relative moves above 6 pixels, hence 5; and it knows where the
# pointer is only over one of its windows, hence a blank part of nudgewick's.
eval "$(xdotool getwindowgeometry --shell "$WID")"  # X Y WIDTH HEIGHT of the client area
twips() { echo $(($1 * WIDTH / 4125)); }             # the layout's client area is 4125 twips wide
column=$((X + WIDTH / 3)) row=$((Y + HEIGHT / 2))
xdotool mousemove --sync "$column" "$row"
expect_swing "$(track_pointer 13 2)" "$column" "$row" 5 2 3000
# The button: 3120,2160 twips, 975x615.
xdotool mousemove --sync $((X + $(twips 3607))) $((Y + $(twips 2467))) click 1
xdotool mousemove --sync "$column" "$row"
expect_still 8

# The button has the focus; two Tabs reach the interval box and select its text.
focus "$WID"
xdotool key --delay 100 Tab Tab
xdotool type --delay 50 2500
xdotool key --delay 100 Return Escape
sleep 1
expect_no_message "on Enter or Escape in the interval box"
[ -n "$(windows '^Nudgewick 1\.0$')" ] || fail "Enter or Escape closed the window"

answer --version
[ "$STATUS" = 0 ] && grep -qx 'Nudgewick 1\.00' <<<"$OUT" || fail "--version gave status $STATUS and printed: $OUT"

# Back in the window the focus is in the box again: Tab leaves it.
focus "$WID"
xdotool key Tab
dismiss_message "when Tab left the box with 2500"
sleep 2
expect_no_message "again once dismissed"

answer 12x 5
[ "$STATUS" = 2 ] && grep -q 'interval "12x"' <<<"$ERR" || fail "a bad interval gave status $STATUS and printed: $ERR"
echo PASS
