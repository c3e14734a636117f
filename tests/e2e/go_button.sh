# The button stops and resumes; an interval typed while stopped resumes ticks that the click taking the focus stops.
source "$(dirname "$0")/common.sh"
start_xvfb
xdotool mousemove --sync 600 500
start_program 3000 5
click_control 3120 2160 975 615  # btoGO: Stop
read -r x y < <(pointer)
expect_still 7
xdotool click 1  # Go
expect_swing "$(track_pointer 11 2)" "$x" "$y" 5 2 3000

xdotool click 1  # Stop
focus "$WID"
xdotool key shift+Tab  # button -> interval, its text selected
xdotool type 4000
xdotool mousemove --sync "$x" "$y" click 1  # the box resumes the ticks, the click stops them
expect_still 9
xdotool click 1  # Go, at the interval the box took
expect_swing "$(track_pointer 14 2)" "$x" "$y" 5 2 4000
echo PASS
