# The window at 144 and 96 dpi, its focus order, a blank start, the interval box's keys and floor, the swing, closing.
source "$(dirname "$0")/common.sh"
start_xvfb

expect_size() {
    local size
    size=$(xwininfo -id "$WID" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')
    [ "$size" = "$1" ] || fail "window is $size, want $1"
}

# start_program waits for the title. 1440 twips an inch: 4125 x 2925 twips
# at 144 dpi are 412.5 x 292.5 pixels.
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER 'Xft.dpi: 144'
start_program "  "
expect_size 413x293
stop_pid APP_PID
xprop -root -remove RESOURCE_MANAGER

xdotool mousemove --sync 600 500
start_program "  "
expect_size 275x195

# No window manager here: the window gets the keyboard only when given it.
focus "$WID"
xdotool key Tab  # button -> pixels
[ "$(focused_box_text)" = 0 ] || fail "the pixels box does not read 0"
xdotool type 7
xdotool key Tab  # pixels -> interval; the distance is now 7
[ "$(focused_box_text)" = 0 ] || fail "the interval box does not read 0"
expect_still 4

xdotool type 2500
xdotool key Return
sleep 0.5
expect_no_message "after Enter"
xdotool key Escape
sleep 0.5
kill -0 "$APP_PID" && xdotool getwindowname "$WID" >/dev/null || fail "Escape closed the window"
[ "$(focused_box_text)" = 2500 ] || fail "Enter moved the focus or changed the box"
focus "$(xwininfo -root | awk '/Window id/ {print $4}')"  # the window loses the focus
sleep 0.5
expect_no_message "when the window lost the focus"

focus "$WID"
xdotool key Tab  # interval -> button
dismiss_message "on leaving the box with 2500"
focus "$WID"
xdotool key shift+Tab  # the focus went on to the button
[ "$(focused_box_text)" = 3000 ] || fail "the interval box does not read 3000"
# The first tick only notes where the pointer is; the next ones nudge it.
expect_swing "$(track_pointer 16 3)" 600 500 7 3 3000

xdotool type 2500
"$X_HELPER" close "$WID"
wait_for_exit
[ "$APP_STATUS" -eq 0 ] || fail "closing gave status $APP_STATUS"
echo PASS
