# The interval box: Enter, Escape and the window losing the focus change
# nothing; leaving the box with a too short interval shows the message and
# sets 3000; closing the window while the box holds one shows nothing and
# ends the program with status 0.
source "$(dirname "$0")/common.sh"
start_display
xdotool mousemove --sync 600 500
start_program 5000 5
xdotool windowfocus --sync "$WID"
xdotool key shift+Tab  # button -> interval, its text selected
xdotool type 2500
xdotool key Return
sleep 0.5
expect_no_message "after Enter"
xdotool key Escape
sleep 0.5
kill -0 "$APP_PID" && xdotool getwindowname "$WID" >/dev/null || fail "Escape closed the window"
[ "$(focused_box_text)" = 2500 ] || fail "Enter moved the focus or changed the box"
xdotool windowfocus --sync "$(xwininfo -root | awk '/Window id/ {print $4}')"  # the window loses the focus
sleep 0.5
expect_no_message "when the window lost the focus"
xdotool windowfocus --sync "$WID"

xdotool key Tab  # interval -> button
dismiss_message "on leaving the box with 2500"
xdotool windowfocus --sync "$WID" key shift+Tab  # the focus went on to the button
[ "$(focused_box_text)" = 3000 ] || fail "the interval box does not read 3000"
expect_swing "$(track_pointer 11 2)" 600 500 5 2 3000

xdotool type 2500
"$X_HELPER" close "$WID"
wait_for_exit
[ "$APP_STATUS" -eq 0 ] || fail "closing gave status $APP_STATUS"
echo PASS
