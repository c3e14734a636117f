# The button stops the swing and starts it again; a new interval entered
# while stopped resumes the ticks as the focus leaves the box, so the click
# that took the focus stops them once more.
source "$(dirname "$0")/common.sh"
start_display
xdotool mousemove --sync 600 500
start_program 3000 5
click_control 3120 2160 975 615  # btoGO: Stop
read -r x y < <(xdotool getmouselocation | awk -F'[: ]' '{print $2, $4}')
expect_still 7
xdotool click 1  # Go
expect_swing "$(track_pointer 11 2)" "$x" "$y" 5 2 3000

xdotool click 1  # Stop
xdotool windowfocus --sync "$WID" key shift+Tab  # button -> interval, its text selected
xdotool type 4000
xdotool mousemove --sync "$x" "$y" click 1  # the box resumes the ticks, the click stops them
expect_still 9
xdotool click 1  # Go, at the interval the box took
expect_swing "$(track_pointer 14 2)" "$x" "$y" 5 2 4000
echo PASS
