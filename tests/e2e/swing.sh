# A pointer left alone swings right then left by the distance, once a tick.
source "$(dirname "$0")/common.sh"
start_display
xdotool mousemove --sync 500 400
start_program 3000 5
# The first tick only notes where the pointer is; the next ones nudge it.
expect_swing "$(track_pointer 15 3)" 500 400 5 3 3000
echo PASS
