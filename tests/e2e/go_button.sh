# The button stops the swing and starts it again.
source "$(dirname "$0")/common.sh"
start_display
xdotool mousemove --sync 600 500
start_program 3000 5
click_control 3120 2160 975 615  # btoGO: Stop
read -r x y < <(xdotool getmouselocation | awk -F'[: ]' '{print $2, $4}')
expect_still 8
xdotool click 1  # Go
expect_swing "$(track_pointer 11 2)" "$x" "$y" 5 2 3000
echo PASS
